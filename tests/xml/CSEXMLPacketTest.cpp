// Behaviour of the XML packet: building and reading by node path and identifier, the query cache,
// parsing and writing, failure results, and identifier operations that match their node paths.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "CSEDVKXMLPacket.h"
#include "CSEXMLPacket.h"
#include "common/StrictXml.h"
#include "core/LogLines.h"
#include "support/InstallFolderFixture.h"

namespace {

const int kText = 1;
const int kCData = 2;
const int kNotFound = -1003;

using P = CSEXMLPacket&;

std::string U8(const CSEString& text) { return text().ToUTF8(); }
CSEString Wide(const std::string& utf8) { return CSEString(utf8.c_str()); }
CSEString Decimal(int number) { return Wide(std::to_string(number)); }

std::string TempPath(const std::string& name)
{
    return std::string(::testing::TempDir()) + "packet_" + std::to_string(::getpid()) + "_" + name;
}

std::unique_ptr<CSEXMLPacket> NewPacket(int initialIdentifier = -1)
{
    return std::unique_ptr<CSEXMLPacket>(CSEXMLPacket::GetXMLPacketPtr(initialIdentifier));
}

std::unique_ptr<CSEXMLPacket> Loaded(const CSEString& text)
{
    auto packet = NewPacket();
    EXPECT_EQ(packet->loadXMLinMemory(text), 0) << U8(text);
    return packet;
}

// The whole document as text, or the first node of the path.
std::string Xml(P packet, const CSEString& path = CSEString())
{
    CSEString text;
    if (path == u"")
        packet.getXMLString(text);
    else
        packet.getNodeXMLString(path, text);
    return U8(text);
}

// The text as the packet writes it after reading it: equal for texts that hold the same XML,
// whatever their layout and quoting.
std::string Canonical(const std::string& text) { return Xml(*Loaded(Wide(text))); }

std::string Value(P packet, const CSEString& path)
{
    CSEString value;
    packet.getNodeValue(path, value);
    return U8(value);
}

// "name=value" of a pair read by position.
std::string Pair(P packet, const CSEString& path, int index)
{
    CSEString name(u"stale"), value(u"stale");
    EXPECT_EQ(packet.getNamedNVPair(path, index, name, value), 0);
    return U8(name) + "=" + U8(value);
}

class XMLPacket : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(m_packet->loadXMLinMemory(u"<?xml version='1.0'?><command cname='checkout'/>"), 0); }

    CSEString IdPath(int id) { return m_packet->getNodePathFromUniqueId(id); }

    std::unique_ptr<CSEXMLPacket> m_packet = NewPacket();
};

} // namespace

// --- identifiers and building -----------------------------------------------------------------

TEST(XMLPacketIdentifiers, NumberingContinuesAfterTheInitialValue)
{
    auto fresh = Loaded(u"<r/>");
    EXPECT_EQ(fresh->getLastValueOfUniqueIdentifier(), 0);
    EXPECT_EQ(fresh->createChildNode(u"/r", u"a", u"", kText), 1);
    auto later = NewPacket(10);
    ASSERT_EQ(later->loadXMLinMemory(u"<r/>"), 0);
    EXPECT_EQ(later->createChildNode(u"/r", u"a", u"", kText), 11);
    later->SetGSSLUniqueIdentifier(INT_MAX);
    EXPECT_EQ(later->createChildNode(u"/r", u"top", u"", kText), INT_MIN) << "wraps, never overflows";
    EXPECT_EQ(later->getNodeCount(later->getNodePathFromUniqueId(INT_MIN)), 1);
    EXPECT_EQ(U8(later->getNodePathFromUniqueId(-3)), "//*[@iGSSLID='-3']");
}

TEST(XMLPacketIdentifiers, AssignmentCopiesTheCounterAndSharesTheDocument)
{
    auto first = NewPacket(40);
    ASSERT_EQ(first->loadXMLinMemory(u"<r><a/></r>"), 0);
    auto second = NewPacket();
    *second = *first;
    EXPECT_EQ(second->getLastValueOfUniqueIdentifier(), 40);
    EXPECT_EQ(first->createChildNode(u"/r", u"b", u"", kText), 41);
    EXPECT_EQ(second->getNodeCount(u"/r/b"), 1);

    // A removal through one packet must not leave the other holding freed nodes.
    EXPECT_EQ(second->getNodeCount(u"/r/a"), 1);
    EXPECT_EQ(first->removeChildNode(u"/r", u"/r/a"), 0);
    EXPECT_EQ(second->getNodeCount(u"/r/a"), 0);
    EXPECT_EQ(second->setAttributeValueAt(u"/r/a", 0, u"k", u"v"), kNotFound);

    // A parse replaces the document of that packet only; a copy (even onto itself) keeps the other's.
    ASSERT_EQ(second->loadXMLinMemory(u"<other/>"), 0);
    CSEDVKXMLPacket copy(*static_cast<CSEDVKXMLPacket*>(first.get()));
    copy = copy;
    EXPECT_EQ(copy.getNodeCount(u"/r/b"), 1);
}

TEST_F(XMLPacket, BuiltElementsAndPairsReadBackWhatWasWritten)
{
    EXPECT_EQ(m_packet->createChildNode(u"//command", u"name", u"a<b & c", kText), 1);
    EXPECT_EQ(m_packet->createChildNode(1, u"raw", u"x<y", kCData), 2);
    const int list = m_packet->createChildNode(u"//command", u"attrs", u"", kText);
    EXPECT_EQ(m_packet->createProperty(list, u"name", u"O'Brien \"1\" <&>"), 0);
    EXPECT_EQ(m_packet->createProperty(u"//command", u"ver", u"5"), 0);
    EXPECT_EQ(m_packet->createProperty(u"//command", u"ver", u"6", 1), 0);
    EXPECT_EQ(m_packet->createNamedNVPair(list, u"attribute", u"N", u"V", u"value"), 0);
    EXPECT_EQ(m_packet->createAttributeNVPair(list, u"N2", u"V2"), 0);
    EXPECT_EQ(m_packet->createAttributeNMandatoryVPair(list, u"M", u"MV"), 0);
    EXPECT_EQ(m_packet->createAttributeNDefaultVPair(list, u"D", u"DV"), 0);
    EXPECT_EQ(m_packet->createAttributeName(list, u"only"), 0);
    EXPECT_EQ(m_packet->createNamedNVPair(list, u"attribute", u"", u"", u"value"), 0);
    EXPECT_EQ(m_packet->getNodeCount(u"//attrs/attribute"), 6);
    EXPECT_EQ(m_packet->createNamedNVPairLikeRLX(IdPath(list), u"attribute", u"a<b", u"v", u"value"), 0);
    EXPECT_EQ(m_packet->getNodeCount(u"//attrs/attribute"), 7) << "a text pair empties the cache";
    EXPECT_EQ(m_packet->setAttributeValueAt(u"//attrs/attribute", 1, u"k", u"3"), 0);
    EXPECT_EQ(m_packet->appendNodeValue(u"//name", u" <more>"), 0);
    EXPECT_EQ(Canonical(Xml(*m_packet)), Canonical(
        "<command cname='checkout' ver='6'><name iGSSLID='1'>a&lt;b &amp; c<raw iGSSLID='2'><![CDATA[x<y]]></raw> &lt;more&gt;</name>"
        "<attrs iGSSLID='3' name='O&apos;Brien &quot;1&quot; &lt;&amp;&gt;'>"
        "<attribute iGSSLID='4'><name><![CDATA[N]]></name><value><![CDATA[V]]></value></attribute>"
        "<attribute iGSSLID='5' k='3'><name><![CDATA[N2]]></name><value><![CDATA[V2]]></value></attribute>"
        "<attribute iGSSLID='6'><name><![CDATA[M]]></name><MandatoryValue><![CDATA[MV]]></MandatoryValue></attribute>"
        "<attribute iGSSLID='7'><name><![CDATA[D]]></name><DefaultValue><![CDATA[DV]]></DefaultValue></attribute>"
        "<attribute iGSSLID='8'><name><![CDATA[only]]></name></attribute><attribute iGSSLID='9'><name/><value/></attribute>"
        "<attribute iGSSLID='10'><name>a&lt;b</name><value><![CDATA[v]]></value></attribute></attrs></command>"));

    // Pairs without a "value" child read an empty value; a path ending above the pairs reads the first.
    const struct { const char16_t* path; int index; const char* pair; } reads[] = {
        {u"//attrs/attribute", 0, "N=V"}, {u"//attrs/attribute", 1, "N2=V2"}, {u"//attrs/attribute", 2, "M="},
        {u"//attrs/attribute", 4, "only="}, {u"//attrs/attribute", 6, "a<b=v"}, {u"//attrs", 0, "N=V"},
        {u"//attrs/attribute", 9, "="}, {u"//attrs/attribute", INT_MAX, "="}, {u"//raw", 0, "="},
    };
    for (const auto& r : reads)
        EXPECT_EQ(Pair(*m_packet, r.path, r.index), r.pair) << U8(r.path) << " " << r.index;
}

// Each call does its work or returns its failure; none leaves anything half made. Creating calls
// use up an identifier even when they create nothing. Reads empty their output first; a missing
// node, an index outside the result or an empty name is not found.
TEST(XMLPacketFailures, ResultsIdentifiersUsedAndAnUnchangedDocument)
{
    auto source = Loaded(u"<s><o k='v'/></s>");
    CSEXMLPacket* from = source.get();
    const CSEString pair(u"attribute"), value(u"value");
    CSEString out;
    const struct { const char* what; std::function<int(P)> call; int result; int used; const char* out = nullptr; } cases[] = {
        {"no element name", [](P p) { return p.createChildNode(u"//command", u"", u"t", kText); }, 1, 1},
        {"other kind", [](P p) { return p.createChildNode(u"//command", u"x", u"t", 3); }, 1, 1},
        {"missing parent", [](P p) { return p.createChildNode(u"//missing", u"a", u"", kText); }, -1, 1},
        {"bad name", [](P p) { return p.createChildNode(u"//command", u"a<b", u"", kText); }, -1, 1},
        {"second root", [](P p) { return p.createChildNode(u"/", u"second", u"", kText); }, -1, 1},
        {"child of attribute", [](P p) { return p.createChildNode(u"//command/@cname", u"a", u"", kText); }, -1, 1},
        {"unreadable path", [](P p) { return p.createChildNode(u"//command[", u"a", u"", kText); }, -1, 1},
        {"property no name", [](P p) { return p.createProperty(u"//command", u"", u"v"); }, -1, 0},
        {"property of attribute", [](P p) { return p.createProperty(u"//command/@cname", u"a", u"v"); }, -1, 0},
        {"pair missing parent", [&](P p) { return p.createNamedNVPair(u"//missing", pair, u"n", u"v", value); }, kNotFound, 1},
        {"text pair missing parent", [&](P p) { return p.createNamedNVPairLikeRLX(u"//no", pair, u"n", u"", u""); }, kNotFound, 1},
        {"pair no element name", [&](P p) { return p.createNamedNVPair(u"//command", u"", u"n", u"v", value); }, 0, 1},
        {"pair bad name", [&](P p) { return p.createNamedNVPair(u"//command", u"bad name", u"n", u"v", value); }, -1, 1},
        {"pair bad value name", [&](P p) { return p.createNamedNVPair(u"//command", pair, u"n", u"v", u"a b"); }, -1, 1},
        {"pair of attribute", [&](P p) { return p.createNamedNVPair(u"//command/@cname", pair, u"n", u"v", value); }, -1, 1},
        {"import missing parent", [](P p) { return p.appendXMLString(u"//missing", u"<o/>"); }, kNotFound, 0},
        {"import unclosed", [](P p) { return p.appendXMLString(u"//command", u"<o><unclosed></o>"); }, -1, 0},
        {"import two roots", [](P p) { return p.appendXMLString(u"//command", u"<a/><b/>"); }, -1, 0},
        {"import nothing", [](P p) { return p.appendXMLString(u"//command", u""); }, -1, 0},
        {"import into attribute", [](P p) { return p.appendXMLString(u"//command/@cname", u"<o/>"); }, -1, 0},
        {"copy no source", [](P p) { return p.copyNode(u"//command", nullptr, u"//o"); }, -1, 0},
        {"copy missing node", [&](P p) { return p.copyNode(u"//command", from, u"//missing"); }, -1, 1},
        {"copy attribute", [&](P p) { return p.copyNode(u"//command", from, u"//o/@k"); }, -1, 1},
        {"append missing", [](P p) { return p.appendNodeValue(u"//missing", u"x"); }, kNotFound, 0},
        {"append to text", [](P p) { return p.appendNodeValue(u"//command/text()", u"x"); }, -1, 0},
        {"unset missing", [](P p) { return p.removeAttribute(u"//missing", u"k"); }, kNotFound, 0},
        {"unset of attribute", [](P p) { return p.removeAttribute(u"//command/@cname", u"k"); }, kNotFound, 0},
        {"set at past end", [](P p) { return p.setAttributeValueAt(u"//command", 1, u"k", u"v"); }, kNotFound, 0},
        {"set at no name", [](P p) { return p.setAttributeValueAt(u"//command", 0, u"", u"v"); }, kNotFound, 0},
        {"set at bad name", [](P p) { return p.setAttributeValueAt(u"//command", 0, u"bad name", u"v"); }, -1, 0},
        {"set at text", [](P p) { return p.setAttributeValueAt(u"//command/node()", 0, u"k", u"v"); }, kNotFound, 0},
        {"remove missing child", [](P p) { return p.removeChildNode(u"//command", u"//missing"); }, 1, 0},
        {"remove attribute", [](P p) { return p.removeChildNode(u"//command", u"//command/@cname"); }, 1, 0},
        {"remove from missing", [](P p) { return p.removeChildNode(u"//missing", u"//command"); }, 0, 0},
        {"text", [&](P p) { return p.getNodeValue(u"//t", out); }, 0, 0, "text"},
        {"CDATA and text", [&](P p) { return p.getNodeValue(u"//c", out); }, 0, 0, "ab"},
        {"no text", [&](P p) { return p.getNodeValue(u"//e", out); }, 0, 0, ""},
        {"element first", [&](P p) { return p.getNodeValue(u"//m", out); }, 0, 0, ""},
        {"of a text node", [&](P p) { return p.getNodeValue(u"//t/text()", out); }, 0, 0, ""},
        {"missing value", [&](P p) { return p.getNodeValue(u"//missing", out); }, kNotFound, 0, ""},
        {"at", [&](P p) { return p.getAttributeValueAt(u"//*[@k]", 1, u"k", out); }, 0, 0, "2"},
        {"absent at", [&](P p) { return p.getAttributeValueAt(u"//*[@k]", 0, u"j", out); }, 0, 0, ""},
        {"at a text node", [&](P p) { return p.getAttributeValueAt(u"//command/node()", 0, u"k", out); }, 0, 0, ""},
        {"past the end", [&](P p) { return p.getAttributeValueAt(u"//*[@k]", 2, u"k", out); }, kNotFound, 0, ""},
        {"before the start", [&](P p) { return p.getAttributeValueAt(u"//*[@k]", -1, u"k", out); }, kNotFound, 0, ""},
        {"no name", [&](P p) { return p.getAttributeValueAt(u"//*[@k]", 0, u"", out); }, kNotFound, 0, ""},
        {"missing at", [&](P p) { return p.getAttributeValueAt(u"//missing", 0, u"k", out); }, kNotFound, 0, ""},
        {"first", [&](P p) { return p.getAttributeValue(u"//*[@k]", u"k", out); }, 0, 0, "1"},
        {"absent", [&](P p) { return p.getAttributeValue(u"//e", u"k", out); }, 0, 0, ""},
        {"missing", [&](P p) { return p.getAttributeValue(u"//missing", u"k", out); }, -1, 0, ""},
        {"of text", [&](P p) { return p.getAttributeValue(u"//command/text()", u"k", out); }, -1, 0, ""},
    };
    for (const auto& c : cases) {
        auto packet = Loaded(u"<command cname='checkout'>text<t k='1'>text</t><o k='2'/><e/><m><x/>after</m>"
                             u"<c><![CDATA[a]]>b</c></command>");
        const std::string before = Xml(*packet);
        out = u"stale";
        EXPECT_EQ(c.call(*packet), c.result) << c.what;
        EXPECT_EQ(packet->getLastValueOfUniqueIdentifier(), c.used) << c.what;
        EXPECT_EQ(Xml(*packet), before) << c.what;
        EXPECT_EQ(U8(out), c.out ? c.out : "stale") << c.what;
    }
}

// --- reading ----------------------------------------------------------------------------------

TEST_F(XMLPacket, NamedPairPositionsCountUnderEachParent)
{
    // "path[k]": the k-th match under each parent, the first of those in document order. The inner
    // list lies inside the outer list's second pair, so its third pair comes before the outer third.
    ASSERT_EQ(m_packet->loadXMLinMemory(
                  u"<r><l><p><name>1</name></p><p><name>2</name><l><p><name>3</name></p><p><name>4</name></p>"
                  u"<p><name>5</name></p></l></p><p><name>6</name><value>v</value></p></l></r>"),
              0);
    const struct { const char16_t* path; int index; const char* pair; } cases[] = {
        {u"//l/p", 0, "1="},     {u"//l/p", 1, "2="},          {u"//l/p", 2, "5="},
        {u"//l/p", 3, "="},      {u"//p", 2, "5="},            {u"/r/l/p", 2, "6=v"},
        {u"//l/p[name!='1']", 0, "2="}, {u"//l/p[name!='1']", 2, "5="}, {u"//l/p[name!='1']", 3, "="},
        {u"(//l/p)", 2, "3="},   {u"//l/p[last()]", 0, "5="},  {u"//l/*", 2, "5="},
        {u"//l[p]/p", 1, "2="},  {u"//l/p[1]", 0, "1="},       {u"//l/p", -1, "="},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Pair(*m_packet, c.path, c.index), c.pair) << U8(c.path) << " " << c.index;
}

TEST_F(XMLPacket, ChildNamesAndCounts)
{
    ASSERT_EQ(m_packet->loadXMLinMemory(u"<r iGSSLID='1'><a/>text<b><c/></b></r>"), 0);
    EXPECT_EQ(m_packet->getChildNodeCount(1), 3);
    EXPECT_EQ(m_packet->getNodeCount(u"count(//*)"), 0) << "not a node set";

    // Forwards, backwards, and on after a removal: a text node or a missing child has no name.
    const auto nameAt = [&](int index) {
        CSEString name(u"stale");
        EXPECT_EQ(m_packet->getChildNodeName(u"/r", index, name), 0);
        return U8(name);
    };
    std::string names;
    for (int index : {0, 1, 2, 3, 4, 3, 2, 1, 0, -1, 2})
        names += nameAt(index) + ",";
    EXPECT_EQ(names, "a,,b,,,,b,,a,,b,");
    ASSERT_EQ(m_packet->removeChildNode(u"/r", u"/r/a"), 0);
    EXPECT_EQ(nameAt(1) + "," + nameAt(2), "b,");
}

// Sizes at which a quadratic walk would not finish and a recursive one would overflow the stack.
TEST_F(XMLPacket, LargeAndDeepDocuments)
{
    const int count = 100000;
    // Many elements carrying one identifier (a text can hold that) are all stripped.
    std::string text = "<r>";
    for (int i = 0; i < 2 * count; ++i)
        text += "<o iGSSLID='1'/>";
    ASSERT_EQ(m_packet->loadXMLinMemory(Wide(text + "</r>")), 0);
    EXPECT_EQ(m_packet->removeAttributeFromAllNodes(u"iGSSLID"), 0);
    EXPECT_EQ(m_packet->getNodeCount(IdPath(1)), 0);
    EXPECT_EQ(m_packet->getNodeCount(u"//@iGSSLID"), 0);

    // A very deep document is written without gigabytes of indentation and reads back; its
    // subtree is removed.
    std::string deep = "<r>";
    for (int i = 0; i < 2 * count; ++i)
        deep += "<d>";
    for (int i = 0; i < 2 * count; ++i)
        deep += "</d>";
    deep += "</r>";
    ASSERT_EQ(m_packet->loadXMLinMemory(Wide(deep)), 0);
    const std::string written = Xml(*m_packet);
    EXPECT_LT(written.size(), 2 * deep.size());
    EXPECT_EQ(NewPacket()->loadXMLinMemory(Wide(written)), 0);
    EXPECT_EQ(m_packet->removeChildNode(u"/r", u"/r/d"), 0);
    EXPECT_EQ(m_packet->getNodeCount(u"//*"), 1);
}

TEST_F(XMLPacket, LiteralsFindTheValuesTheyQuote)
{
    const char16_t* names[] = {u"plain.prt", u"O'Brien.prt", u"say \"hi\".prt", u"O'Brien \"2\".prt",
                               u"'\"", u"\"'", u"''\"\"", u"", u"\u00e9t\u00e9's \"\u20ac\""};
    for (const char16_t* name : names)
        m_packet->createProperty(m_packet->createChildNode(u"//command", u"cadobject", u"", kText), u"cadid", name);
    for (const char16_t* name : names) {
        const CSEString path = u"//command/cadobject[@cadid=" + CSEXMLPacket::MakeXPathLiteral(name) + u"]";
        CSEString value;
        EXPECT_EQ(m_packet->getNodeCount(path), 1) << U8(path);
        EXPECT_EQ(m_packet->getAttributeValue(path, u"cadid", value), 0);
        EXPECT_EQ(U8(value), U8(name));
    }
}

// --- removing and importing -------------------------------------------------------------------

TEST_F(XMLPacket, RemovedElementsAndIdentifiersAreNoLongerFound)
{
    const int a = m_packet->createChildNode(u"//command", u"a", u"", kText);
    const int inner = m_packet->createChildNode(a, u"inner", u"", kText);
    const int b = m_packet->createChildNode(u"//command", u"b", u"", kText);
    EXPECT_EQ(m_packet->removeChildNode(u"//command", u"//inner"), 1) << "not a direct child";
    EXPECT_EQ(m_packet->removeChildNode(u"//command", IdPath(a)), 0);
    for (int removed : {a, inner}) {
        EXPECT_EQ(m_packet->getNodeCount(IdPath(removed)), 0);
        EXPECT_EQ(m_packet->createChildNode(removed, u"x", u"", kText), -1);
    }
    EXPECT_EQ(m_packet->createChildNode(b, u"x", u"", kText), b + 3);

    // An element without its identifier is no longer found by it, also when it was made after "//*"
    // was cached.
    EXPECT_EQ(m_packet->getUniqueIdOfNode(u"//b"), b);
    EXPECT_EQ(m_packet->getUniqueIdOfNode(u"//command"), -1);
    EXPECT_EQ(m_packet->removeAttribute(u"//b", u"iGSSLID"), 0);
    EXPECT_EQ(m_packet->getUniqueIdOfNode(u"//b"), -1);
    EXPECT_EQ(m_packet->createChildNode(b, u"x", u"", kText), -1);
    EXPECT_EQ(m_packet->getNodeCount(u"//*"), 3);
    const int late = m_packet->createChildNode(u"//x", u"late", u"", kText);
    m_packet->createAttributeNVPair(late, u"n", u"v");
    EXPECT_EQ(m_packet->removeAttributeFromAllNodes(u"iGSSLID"), 0);
    EXPECT_EQ(Xml(*m_packet).find("iGSSLID"), std::string::npos);
    EXPECT_EQ(m_packet->createChildNode(late, u"x", u"", kText), -1);

    // A removed attribute is freed: a packet on the same document that cached it does not reuse
    // that result (ASan checks), while a cached result of elements stays in use.
    CSEDVKXMLPacket sharing;
    sharing = *m_packet;
    m_packet->createProperty(u"//x", u"big", CSEString(DVKUnicodeString(std::u16string(20000, u'x'))));
    EXPECT_EQ(sharing.getNodeCount(u"//x/@big"), 1);
    EXPECT_EQ(m_packet->removeAttributeFromAllNodes(u"big"), 0);
    CSEString value(u"stale");
    EXPECT_EQ(sharing.getNodeValue(u"//x/@big", value), kNotFound);
    EXPECT_EQ(sharing.getNodeCount(u"//x"), 1);
    m_packet->createChildNode(u"//command", u"x", u"", kText);
    EXPECT_EQ(m_packet->removeAttribute(u"//command", u"cname"), 0);
    EXPECT_EQ(sharing.getNodeCount(u"//x"), 1);

    EXPECT_EQ(m_packet->removeChildNode(u"/", u"/command"), 0);
    CSEString name;
    EXPECT_EQ(m_packet->getRootNodeName(name), 1);
}

TEST_F(XMLPacket, ImportsAreUnstampedAndCopiesShallowAndStamped)
{
    const int list = m_packet->createChildNode(u"//command", u"list", u"", kText);
    const CSEString imported(u"<?xml version=\"1.0\" encoding=\"UTF-8\"?><o n='1'><c>\u00e9</c><!-- x --></o>");
    EXPECT_EQ(m_packet->appendXMLString(list, imported), 0);
    auto source = NewPacket(500);
    ASSERT_EQ(source->loadXMLinMemory(u"<r><o iGSSLID=\"7\" cadid=\"O'Brien.prt\"><c/></o>text</r>"), 0);
    EXPECT_EQ(m_packet->copyNode(list, source.get(), u"//o"), 2);
    EXPECT_EQ(m_packet->copyNode(u"//list", source.get(), u"/r/text()"), 3);
    EXPECT_EQ(Canonical(Xml(*m_packet, u"//list")),
              Canonical("<list iGSSLID='1'><o n='1'><c>\xC3\xA9</c></o><o iGSSLID='2' cadid=\"O'Brien.prt\"/>text</list>"));
    EXPECT_EQ(m_packet->getNodeCount(IdPath(7)), 0) << "the copy carries its own identifier";
    const int again = m_packet->copyNode(u"//list", m_packet.get(), IdPath(2));
    EXPECT_EQ(m_packet->getNodeCount(u"//list/o[@cadid]"), 2) << "copy within the same packet";
    EXPECT_EQ(m_packet->getUniqueIdOfNode(IdPath(again)), again);

    // Identifiers carried by an import are found; of two carriers the first in document order wins.
    ASSERT_EQ(m_packet->appendXMLString(list, u"<o iGSSLID=\"50\"><p iGSSLID=\"51\"/></o>"), 0);
    EXPECT_EQ(m_packet->createChildNode(51, u"x", u"", kText), again + 1);
    EXPECT_EQ(m_packet->getChildNodeCount(51), 1);
    ASSERT_EQ(m_packet->appendXMLString(list, u"<dup iGSSLID=\"1\"/>"), 0);
    EXPECT_EQ(m_packet->getNodeCount(IdPath(1)), 2);
    EXPECT_EQ(m_packet->getChildNodeCount(1), m_packet->getChildNodeCount(u"//list"));
}

// --- parsing and writing ----------------------------------------------------------------------

TEST_F(XMLPacket, ParsingReplacesTheDocumentOrLeavesNone)
{
    for (const char16_t* bad : {u"", u"<a><b></a>", u"<a/><b/>", u"no xml", u"<a x='1></a>", u"<a>",
                                u"<a iGSSLID='1' iGSSLID='2'/>"}) {
        ASSERT_EQ(m_packet->loadXMLinMemory(u"<r/>"), 0);
        EXPECT_EQ(m_packet->loadXMLinMemory(bad), -1) << U8(bad);
        CSEString text(u"stale");
        EXPECT_EQ(m_packet->getXMLString(text), -1);
        EXPECT_EQ(U8(text), "");
        EXPECT_EQ(m_packet->getNodeCount(u"//*"), 0);
    }
    // A parse forgets earlier results and identifiers, and indexes those the text carries.
    ASSERT_EQ(m_packet->loadXMLinMemory(u"<r><a/></r>"), 0);
    EXPECT_EQ(m_packet->getNodeCount(u"//a"), 1);
    m_packet->createChildNode(u"/r", u"mine", u"", kText);
    ASSERT_EQ(m_packet->loadXMLinMemory(u"<r iGSSLID=\"5\"><a/><a/><x iGSSLID=\"07\"/></r>"), 0);
    EXPECT_EQ(m_packet->getNodeCount(u"//a"), 2);
    EXPECT_EQ(m_packet->getNodeCount(IdPath(1)), 0);
    EXPECT_EQ(m_packet->createChildNode(5, u"b", u"", kText), 2);
    EXPECT_EQ(m_packet->getNodeCount(IdPath(7)), 0) << "\"07\" is not the text of identifier 7";
}

// A saved file replaces the old one whole (a reader of the old file never sees it half rewritten)
// and only its owner reads it (a request may carry a password).
TEST_F(XMLPacket, LoadAndSaveFiles)
{
    const std::string path = TempPath("O'Brien request \u00e9.xml"), earlier = TempPath("earlier.xml");
    std::ofstream(path, std::ios::binary) << "<earlier/>";
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    ASSERT_EQ(::link(path.c_str(), earlier.c_str()), 0);
    m_packet->createChildNode(u"//command", u"object", u"\u00e9\u20ac", kText);
    ASSERT_EQ(m_packet->saveXMLFile(Wide(path)), 0);
    struct stat info;
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    std::ifstream in(earlier, std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()), "<earlier/>");

    auto reread = NewPacket();
    ASSERT_EQ(reread->loadXMLFile(Wide(path)), 0);
    EXPECT_EQ(Xml(*reread), Xml(*m_packet));
    EXPECT_EQ(reread->createChildNode(1, u"child", u"", kText), 1) << "identifiers of the file are indexed";
    std::ofstream(path, std::ios::binary) << "<r><unclosed></r>";
    EXPECT_EQ(reread->loadXMLFile(Wide(path)), -1);
    EXPECT_EQ(reread->getNodeCount(u"//*"), 0) << "no partial tree";
    std::remove(path.c_str());
    std::remove(earlier.c_str());
}

// --- the query cache --------------------------------------------------------------------------

// A repeated query reuses its result, also after a matching element was added, until query mode 1
// or one of the calls that empty the cache evaluates it afresh.
TEST(XMLPacketCache, RepeatedQueryReusesItsResultUntilEmptied)
{
    const struct { const char* call; std::function<void(P)> apply; bool afresh; } cases[] = {
        {"child", [](P p) { p.createChildNode(u"//o", u"o", u"", kText); }, false},
        {"pair", [](P p) { p.createNamedNVPair(u"//o", u"o", u"n", u"v", u"value"); }, false},
        {"property", [](P p) { p.createProperty(u"//o", u"k", u"v"); }, false},
        {"query mode 1", [](P p) { p.createProperty(u"//o", u"k", u"v", 1); }, true},
        {"import", [](P p) { p.appendXMLString(u"//o", u"<o/>"); }, true},
        {"removal", [](P p) { p.removeChildNode(u"//missing", u"//o"); }, true},
        {"text pair", [](P p) { p.createNamedNVPairLikeRLX(u"//o", u"attribute", u"n", u"v", u"value"); }, true},
    };
    for (const auto& c : cases) {
        auto packet = Loaded(u"<command><o/></command>");
        ASSERT_EQ(packet->getNodeCount(u"//o"), 1);
        packet->createChildNode(u"//o", u"o", u"", kText);
        c.apply(*packet);
        EXPECT_EQ(packet->getNodeCount(u"//o"), c.afresh ? Loaded(Wide(Xml(*packet)))->getNodeCount(u"//o") : 1) << c.call;
    }

    // An empty result is cached too, and each packet on a shared document keeps its own cache.
    auto packet = Loaded(u"<command/>");
    CSEDVKXMLPacket other;
    other = *packet;
    EXPECT_EQ(packet->getNodeCount(u"//late"), 0);
    other.createChildNode(u"//command", u"late", u"", kText);
    EXPECT_EQ(other.getNodeCount(u"//late"), 1);
    EXPECT_EQ(packet->createProperty(u"//late", u"k", u"v"), -1);
    EXPECT_EQ(packet->createProperty(u"//late", u"k", u"v", 1), 0);
}

// Every kind of change shows in reads that the packet answers from remembered results: positions,
// identifier steps and steps from known nodes.
TEST(XMLPacketCache, RememberedResultsFollowEveryChange)
{
    const auto reads = [](P packet) {
        const CSEString pairs(u"//list/attribute");
        std::string summary = std::to_string(packet.getNodeCount(pairs)) + ":";
        for (int i = 0; i < 4; ++i)
            summary += Pair(packet, pairs, i) + ";";
        CSEString value;
        packet.getAttributeValueAt(pairs, 0, u"k", value);
        summary += U8(value) + ":";
        for (const char16_t* path : {u"//list/attribute[@k='x']", u"//*[@iGSSLID='1']/attribute[name='n1']",
                                     u"//list/attribute[name='n1']", u"//command/list[@iGSSLID='1']/attribute",
                                     u"//list[@iGSSLID=\"1\"]/attribute"})
            summary += std::to_string(packet.getNodeCount(path));
        return summary;
    };
    const auto at = [](P p, int id) { return p.getNodePathFromUniqueId(id); };
    const struct { const char* change; std::function<void(P)> apply; } changes[] = {
        {"pair", [](P p) { p.createAttributeNVPair(1, u"n3", u"v3"); }},
        {"child", [](P p) { p.createChildNode(1, u"attribute", u"", kText); }},
        {"import", [](P p) { p.appendXMLString(1, u"<attribute k='x'><name>n4</name></attribute>"); }},
        {"removal", [&](P p) { p.removeChildNode(at(p, 1), at(p, 2)); }},
        {"property", [](P p) { p.createProperty(3, u"k", u"x"); }},
        {"by position", [](P p) { p.setAttributeValueAt(u"//command/list/attribute", 1, u"k", u"x"); }},
        {"unset", [&](P p) { p.removeAttribute(at(p, 2), u"k"); }},
        {"unset all", [](P p) { p.removeAttributeFromAllNodes(u"k"); }},
        {"text", [&](P p) { p.appendNodeValue(at(p, 2) + u"/name", u"x"); }},
        {"copy", [&](P p) { p.copyNode(1, &p, at(p, 2)); }},
        {"text pair", [&](P p) { p.createNamedNVPairLikeRLX(at(p, 1), u"attribute", u"n5", u"v5", u"value"); }},
        {"restamp", [](P p) { p.createProperty(1, u"iGSSLID", u"77"); }},
        {"unstamp", [&](P p) { p.removeAttribute(at(p, 1), u"iGSSLID"); }},
        {"sharer", [](P p) { CSEDVKXMLPacket sharer; sharer = p; sharer.createAttributeNVPair(1, u"n6", u"v6"); }},
    };
    for (const auto& c : changes) {
        auto packet = Loaded(u"<command/>");
        const int list = packet->createChildNode(u"/command", u"list", u"", kText);
        packet->createAttributeNVPair(list, u"n1", u"v1");
        packet->createAttributeNVPair(list, u"n2", u"v2");
        packet->createProperty(list + 1, u"k", u"x");
        const std::string before = reads(*packet);
        c.apply(*packet);
        const std::string after = reads(*Loaded(Wide(Xml(*packet))));
        EXPECT_NE(after, before) << c.change << ": the change must show in the reads";
        EXPECT_EQ(reads(*packet), after) << c.change;
    }
}

TEST_F(XMLPacket, PathsThroughIdentifiersAndKnownNodesGiveWhatXPathGives)
{
    ASSERT_EQ(m_packet->loadXMLinMemory(
                  u"<command iGSSLID='1'><structure iGSSLID='2'><active iGSSLID='3'>"
                  u"<cadobject iGSSLID='4' cadid='a'><cadobject iGSSLID='5' cadid='b'><cadobject iGSSLID='6' cadid='a'/>"
                  u"</cadobject><relationship iGSSLID='7'/></cadobject></active></structure>"
                  u"<cadobjectlist iGSSLID='8'><cadobject iGSSLID='9' cadid='a'><attribute iGSSLID='15'/></cadobject>"
                  u"<cadobject iGSSLID='10' cadid='b'/></cadobjectlist>"
                  u"<o iGSSLID='11'><o iGSSLID='12'><p iGSSLID='13'/></o><p iGSSLID='14'/></o></command>"),
              0);
    // An imported element shares identifier 9; identifier 7 leaves with its element.
    ASSERT_EQ(m_packet->appendXMLString(8, u"<cadobject iGSSLID='9' cadid='c'/>"), 0);
    ASSERT_EQ(m_packet->removeChildNode(IdPath(4), IdPath(7)), 0);
    // "before" is asked first, so that its result is known.
    const struct { const char16_t* before; const char16_t* path; const char* identifiers; } cases[] = {
        {u"", u"//structure//cadobject[@iGSSLID='6']/ancestor::*[@cadid='a']", "4"},
        {u"", u"//structure//cadobject[@iGSSLID='6']", "6"},
        {u"", u"/command/structure/active/cadobject/cadobject[@iGSSLID='5']", "5"},
        {u"", u"/command/structure/cadobject/cadobject[@iGSSLID='5']", ""},
        {u"", u"//cadobject[@cadid='b']/cadobject[@iGSSLID='6']", "6"},
        {u"", u"//cadobject[@cadid='a']/cadobject[@iGSSLID='6']", ""},
        {u"", u"//cadobjectlist/cadobject[@iGSSLID='4']", ""},
        {u"", u"//relationship[@iGSSLID='4']/..", ""},
        {u"", u"//*[@iGSSLID='4'][@cadid='a']/cadobject", "5"},
        {u"", u"//*[@iGSSLID='4'][2]", ""}, {u"", u"//*[@iGSSLID='5']//*", "6"}, {u"", u"//*[@iGSSLID='7']/..", ""},
        {u"", u"//cadobjectlist/cadobject[@iGSSLID='9']", "9 9"},
        {u"", u"//cadobject[@iGSSLID='9']/attribute", "15"},
        {u"", u"//*[@iGSSLID='11']/o/p", "13"},
        {u"//o", u"//o/p", "13 14"}, {u"//o", u"//o/p[1]", "13 14"},
        {u"", u"//*[@iGSSLID='8']/cadobject[2]", "10"},
        {u"", u"//cadobject/cadobject[1]", "5 6"},
        {u"", u"//*[@iGSSLID='7']/..|//*[@iGSSLID='13']", "13"},
    };
    const auto identifiers = [&](const CSEString& path) {
        std::string found;
        CSEString value;
        for (int i = 0; i < m_packet->getNodeCount(path); ++i) {
            m_packet->getAttributeValueAt(path, i, u"iGSSLID", value);
            found += (i ? " " : "") + U8(value);
        }
        return found;
    };
    for (const auto& c : cases) {
        m_packet->getNodeCount(c.before);
        EXPECT_EQ(identifiers(c.path), c.identifiers) << U8(c.path);
        EXPECT_EQ(identifiers(u"(" + CSEString(c.path) + u")"), c.identifiers) << U8(c.path);
    }
}

// --- identifier forms against their node paths ------------------------------------------------

namespace {

// Runs the same random operations on two packets: one addresses elements by identifier and by
// paths that extend identifiers or end in a position, the other by node paths that the packet must
// evaluate as XPath (the identifier's path in double quotes, "//*[@iGSSLID=\"n\"]", and other paths
// in parentheses, as filter expressions). Results, counters and documents must agree after every step.
class TwinRun
{
public:
    explicit TwinRun(unsigned seed) : m_random(seed) {}

    void Load(const CSEString& text) { Check(m_byId->loadXMLinMemory(text), m_byPath->loadXMLinMemory(text), "load"); }
    void SetSource(const CSEString& text) { ASSERT_EQ(m_source->loadXMLinMemory(text), 0); }

    void Step()
    {
        CSEXMLPacket& i = *m_byId;
        CSEXMLPacket& p = *m_byPath;
        const int id = Identifier(), other = Identifier();
        const CSEString path = Searched(id), idPath = i.getNodePathFromUniqueId(id);
        const CSEString name = Pick({u"o", u"p", u"name", u"value"}), value = Pick({u"v", u"O'Brien", u"]]>", u""});
        const CSEString idText = IdentifierText();
        const int position = static_cast<int>(m_random() % 4 + 1);
        const CSEString at = u"[" + Decimal(position) + u"]";
        const CSEString test = u"[@k=" + CSEXMLPacket::MakeXPathLiteral(value) + u"]";
        const CSEString named = (m_random() % 2 ? CSEString(u"*") : name) + u"[@iGSSLID='" + Decimal(id) + u"']";
        CSEString a, b;
        switch (m_random() % 24) {
        case 0:
        case 1: {
            const int kind = static_cast<int>(m_random() % 4);
            Check(i.createChildNode(id, name, value, kind), p.createChildNode(path, name, value, kind), "child");
            break;
        }
        case 2: Check(i.createProperty(id, u"k", value), p.createProperty(path, u"k", value), "prop"); break;
        case 3: Check(i.createProperty(id, u"iGSSLID", idText), p.createProperty(path, u"iGSSLID", idText), "restamp"); break;
        case 4: Check(i.createAttributeNVPair(id, name, value), p.createAttributeNVPair(path, name, value), "pair"); break;
        case 5: Check(i.getChildNodeCount(id), p.getChildNodeCount(path), "count"); break;
        case 6:
            Check(i.getNodeXMLString(id, a), p.getNodeXMLString(path, b), "nodexml");
            EXPECT_EQ(U8(a), U8(b)) << "nodexml at step " << m_steps;
            break;
        case 7: {
            const CSEString fragment = u"<f iGSSLID=\"" + idText + u"\"><g iGSSLID=\"" + IdentifierText() + u"\"/></f>";
            Check(i.appendXMLString(id, fragment), p.appendXMLString(path, fragment), "append");
            break;
        }
        case 8: Check(i.copyNode(id, m_source.get(), Searched(other)),
                      p.copyNode(path, m_source.get(), Searched(other)), "copy"); break;
        case 9: Check(i.removeChildNode(idPath, i.getNodePathFromUniqueId(other)),
                      p.removeChildNode(path, Searched(other)), "remove"); break;
        case 10: Check(i.removeAttribute(idPath, u"iGSSLID"), p.removeAttribute(path, u"iGSSLID"), "unstamp"); break;
        case 11: Check(i.setAttributeValueAt(u"//*", other % 8, u"iGSSLID", idText),
                       p.setAttributeValueAt(u"//*", other % 8, u"iGSSLID", idText), "setat"); break;
        case 12: Check(i.getNodeCount(idPath), p.getNodeCount(path), "nodes"); break;
        case 13: Check(i.getUniqueIdOfNode(idPath), p.getUniqueIdOfNode(path), "uid"); break;
        case 14: Check(i.createNamedNVPairLikeRLX(idPath, name, value, value, u"value"),
                       p.createNamedNVPairLikeRLX(path, name, value, value, u"value"), "rlx"); break;
        case 15:
            if (m_random() % 10 == 0)
                Load(Wide(Xml(i)));
            if (m_random() % 40 == 0)
                Check(i.removeAttributeFromAllNodes(u"iGSSLID"), p.removeAttributeFromAllNodes(u"iGSSLID"), "strip");
            break;
        case 16: {
            // A pair by position below one element, or below every element of a name.
            const CSEString pairs = m_random() % 2 ? idPath + u"/attribute" : u"//" + name + u"/attribute";
            EXPECT_EQ(Pair(i, pairs, position - 1), Pair(p, u"(" + pairs + at + u")", 0)) << "pair at step " << m_steps;
            break;
        }
        case 17: {
            const CSEString under = idPath + u"/" + name;
            Check(i.createChildNode(under, u"o", value, kText),
                  p.createChildNode(u"(" + under + u")", u"o", value, kText), "below");
            break;
        }
        case 18: ReadAlike(u"//command//" + named + u"/ancestor::*" + test, other % 3, "ancestors"); break;
        case 19: ReadAlike(idPath + u"/*", other % 3, "children"); break;
        case 20: {
            const CSEString head = Pick({u"//", u"/command/", u"/command/o/", u"//o//", u"//command/*/", u"//*[@k='v']/"});
            ReadAlike(head + named + (m_random() % 3 ? CSEString() : test) + u"/..", 0, "parent");
            break;
        }
        case 21: ReadAlike(m_random() % 2 ? idPath + u"/" + name + at : idPath + at, 0, "nth"); break;
        default:
            // Plain paths whose results are remembered, and steps from their nodes, which may lie one
            // inside another.
            Check(i.getNodeCount(u"//o"), p.getNodeCount(u"//o"), "plain");
            ReadAlike(u"//o/" + name, static_cast<int>(m_random() % 3), "below");
            break;
        }
        Check(i.getLastValueOfUniqueIdentifier(), p.getLastValueOfUniqueIdentifier(), "counter");
        ASSERT_EQ(Xml(i), Xml(p)) << "after step " << m_steps;
        ++m_steps;
    }

private:
    // The first node, node number index and the count, through the packet's shortcuts and as XPath.
    void ReadAlike(const CSEString& shortcut, int index, const char* what)
    {
        const CSEString plain = u"(" + shortcut + u")";
        EXPECT_EQ(Xml(*m_byId, shortcut), Xml(*m_byPath, plain)) << what << " at step " << m_steps;
        CSEString a, b;
        Check(m_byId->getAttributeValueAt(shortcut, index, u"iGSSLID", a),
              m_byPath->getAttributeValueAt(plain, index, u"iGSSLID", b), what);
        EXPECT_EQ(U8(a), U8(b)) << what << " at step " << m_steps;
        Check(m_byId->getNodeCount(shortcut), m_byPath->getNodeCount(plain), what);
    }
    CSEString Searched(int id) { return u"//*[@iGSSLID=\"" + Decimal(id) + u"\"]"; }
    int Identifier()
    {
        return static_cast<int>(m_random() % static_cast<unsigned>(m_byId->getLastValueOfUniqueIdentifier() + 4));
    }
    CSEString IdentifierText() { return (m_random() % 6 == 0 ? u"0" : u"") + Decimal(Identifier()); }
    CSEString Pick(std::initializer_list<const char16_t*> choices) { return *(choices.begin() + m_random() % choices.size()); }
    void Check(int byId, int byPath, const char* what) { EXPECT_EQ(byId, byPath) << what << " at step " << m_steps; }

    std::mt19937 m_random;
    std::unique_ptr<CSEXMLPacket> m_byId = NewPacket(), m_byPath = NewPacket(), m_source = NewPacket();
    int m_steps = 0;
};

} // namespace

TEST(XMLPacketTwins, IdentifierFormsMatchTheirNodePaths)
{
    for (unsigned seed = 1; seed <= 6; ++seed) {
        TwinRun run(seed);
        run.SetSource(u"<s iGSSLID=\"1\"><o iGSSLID=\"2\" k=\"x\"><p iGSSLID=\"3\"/></o><o iGSSLID=\"2\"/></s>");
        run.Load(u"<command cname=\"checkout\" iGSSLID=\"1\"><a iGSSLID=\"2\"/><b iGSSLID=\"2\"/>"
                 u"<c iGSSLID=\"03\"/><d iGSSLID=\"-1\"/></command>");
        for (int step = 0; step < 600 && !::testing::Test::HasFatalFailure(); ++step)
            run.Step();
    }
}

// --- without a document; the packet's log lines ----------------------------------------------

namespace {

class XMLPacketLog : public InstallFolderFixture
{
protected:
    void SetUp() override
    {
        InstallFolderFixture::SetUp();
        WriteSettings("[CLIENT]\ndebugflag=true\nclientloglevel=6\n");
    }

    bool Logged(int priority, const std::string& text) const { return LogHasLine(ReadFile("QxDravikV5.log"), priority, text); }
    std::size_t Errors() const { return LogTextsAt(ReadFile("QxDravikV5.log"), 3).size(); }

    std::unique_ptr<CSEXMLPacket> m_packet = NewPacket();
};

} // namespace

TEST_F(XMLPacketLog, FailuresReturnTheirResultAndLogTheirText)
{
    auto loaded = Loaded(u"<r/>");
    const std::string missing = PathOf("missing.xml"), error = "Error occured in function : CSEDVKXMLPacket::";
    CSEString text;
    CSEXMLPacket& none = *m_packet; // never holds a document
    const struct { std::function<int()> call; int result; std::string logged; } cases[] = {
        {[&] { return none.loadXMLFile(Wide(missing)); }, -1, error + "loadXMLFile()"},
        {[&] { return none.loadXMLinMemory(u"<a><b></a>"); }, -1, error + "loadXMLinMemory()"},
        {[&] { return none.getXMLString(text); }, -1, error + "getXMLString(); "},
        {[&] { return none.saveXMLFile(Wide(PathOf("out.xml"))); }, -1, error + "saveXMLFile(); "},
        {[&] { return none.createChildNode(u"/r", u"a", u"", kText); }, -1, error + "createChildNode(); "},
        {[&] { return none.createNamedNVPair(u"/r", u"attribute", u"n", u"v", u"value"); }, -1, error + "createNamedNVPair(); "},
        {[&] { return loaded->createProperty(u"/r", u"bad name", u"v"); }, -1, error + "createProperty(); "},
        {[&] { return loaded->saveXMLFile(Wide(PathOf("no-such-folder/out.xml"))); }, -1, error + "saveXMLFile()"},
        {[&] { return none.createNamedNVPairLikeRLX(u"/r", u"attribute", u"n", u"v", u"value"); }, -1, ""},
        {[&] { return none.createProperty(u"/r", u"a", u"v"); }, -1, ""},
        {[&] { return none.appendXMLString(u"/r", u"<o/>"); }, -1, ""},
        {[&] { return none.copyNode(u"/r", loaded.get(), u"/r"); }, -1, ""},
        {[&] { return none.removeAttributeFromAllNodes(u"iGSSLID"); }, kNotFound, ""},
        {[&] { return none.getRootNodeName(text); }, 1, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.call(), c.result) << c.logged;
        EXPECT_TRUE(c.logged.empty() || Logged(3, c.logged)) << c.logged;
    }
    EXPECT_EQ(U8(text), "");
    EXPECT_EQ(none.getLastValueOfUniqueIdentifier(), 0) << "no document: no identifier used";
    EXPECT_TRUE(Logged(6, "[CSEDVKXMLPacket::loadXMLFile] XML file path is => " + missing));
}

// A strict reader refuses a whole request for one character that XML cannot carry: every write of
// the packet puts U+FFFD in its place (a zero character no longer cuts the value short, a lone
// surrogate is no character), keeps a carriage return and "]]>" (a reader turns a literal carriage
// return into a line end; "]]>" ends a CDATA section), and logs one line naming the element.
TEST_F(XMLPacketLog, ValuesThatXmlCannotCarryAreWrittenReplacedAndLogged)
{
    ASSERT_EQ(m_packet->loadXMLinMemory(u"<command><lql/><pair/></command>"), 0);
    CSEXMLPacket& p = *m_packet;
    const CSEString bad(DVKUnicodeString(std::u16string(u"ab\0cd\x01\uFFFE\r\n]]>\xD800 \r", 15)));
    const CSEString read(u"ab\uFFFDcd\uFFFD\uFFFD\r\n]]>\uFFFD \r");
    const struct { const char* element; std::function<int()> write; const char16_t* readPath; } writes[] = {
        {"partname", [&] { return p.createChildNode(u"/command", u"partname", bad, kText); }, u"//partname"},
        {"description", [&] { return p.createChildNode(u"/command", u"description", bad, kCData); }, u"//description"},
        {"command", [&] { return p.createProperty(u"/command", u"cadtitle", bad); }, u"/command/@cadtitle"},
        {"lql", [&] { return p.setAttributeValueAt(u"//lql", 0, u"owner", bad); }, u"//lql/@owner"},
        {"name", [&] { return p.createNamedNVPair(u"//pair", u"attribute", bad, u"v", u"value"); }, u"//pair/attribute[1]/name"},
        {"value", [&] { return p.createNamedNVPair(u"//pair", u"attribute", u"n", bad, u"value"); }, u"//pair/attribute[2]/value"},
        {"lql", [&] { return p.appendNodeValue(u"//lql", bad); }, u"//lql"},
    };
    for (const auto& w : writes) {
        const std::size_t before = Errors();
        EXPECT_GE(w.write(), 0) << w.element;
        const std::vector<std::string> lines = LogTextsAt(ReadFile("QxDravikV5.log"), 3);
        ASSERT_EQ(lines.size(), before + 1) << w.element;
        EXPECT_NE(lines.back().find(w.element), std::string::npos) << lines.back();
    }
    const std::size_t before = Errors();
    p.createChildNode(u"/command", u"clean", read, kText);
    EXPECT_EQ(Errors(), before) << "nothing replaced, nothing logged";

    const std::string written = Xml(p);
    EXPECT_EQ(StrictXmlError(written), "") << written;
    auto reread = Loaded(Wide(written));
    for (const auto& w : writes)
        EXPECT_EQ(Value(*reread, w.readPath), U8(read)) << U8(w.readPath);
    EXPECT_EQ(Value(*reread, u"//clean"), U8(read));
    EXPECT_EQ(Xml(*reread), written);

    // The parser itself takes such characters, raw or as references; they must not reach the output.
    auto parsed = Loaded(u"<r a='\x01&#2;&#xFFFE;'>\x1F&#x1;&#xFFFF;<![CDATA[\x02\uFFFE]]></r>");
    EXPECT_EQ(Value(*parsed, u"/r/@a") + Value(*parsed, u"/r"), U8(u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"));
    EXPECT_EQ(StrictXmlError(Xml(*parsed)), "");
}
