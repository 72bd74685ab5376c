// Behaviour of the XML packet: building and reading by node path and identifier, the query cache,
// parsing and writing, failure results, and identifier operations that match their node paths.
#include <gtest/gtest.h>

#include <chrono>
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

std::string U8(const CSEString& text)
{
    return text().ToUTF8();
}

CSEString Wide(const std::string& utf8)
{
    return CSEString(utf8.c_str());
}

std::string TempPath(const std::string& name)
{
    return std::string(::testing::TempDir()) + "packet_" + std::to_string(::getpid()) + "_" + name;
}

std::string Xml(CSEXMLPacket& packet)
{
    CSEString text;
    packet.getXMLString(text);
    return U8(text);
}

std::string NodeXml(CSEXMLPacket& packet, const CSEString& path)
{
    CSEString text;
    packet.getNodeXMLString(path, text);
    return U8(text);
}

std::string Value(CSEXMLPacket& packet, const CSEString& path)
{
    CSEString value;
    packet.getNodeValue(path, value);
    return U8(value);
}

std::unique_ptr<CSEXMLPacket> NewPacket(int initialIdentifier = -1)
{
    return std::unique_ptr<CSEXMLPacket>(CSEXMLPacket::GetXMLPacketPtr(initialIdentifier));
}

class XMLPacket : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(m_packet, nullptr);
        ASSERT_EQ(m_packet->loadXMLinMemory(u"<?xml version='1.0'?><command cname='checkout'/>"), 0);
    }

    CSEString IdPath(int id) { return m_packet->getNodePathFromUniqueId(id); }

    std::unique_ptr<CSEXMLPacket> m_packet = NewPacket();
};

} // namespace

// --- identifiers ------------------------------------------------------------------------------

TEST(XMLPacketIdentifiers, NumberingContinuesAfterTheInitialValue)
{
    auto fresh = NewPacket(-1);
    ASSERT_EQ(fresh->loadXMLinMemory(u"<r/>"), 0);
    EXPECT_EQ(fresh->getLastValueOfUniqueIdentifier(), 0);
    EXPECT_EQ(fresh->createChildNode(u"/r", u"a", u"", kText), 1);

    auto later = NewPacket(10);
    ASSERT_EQ(later->loadXMLinMemory(u"<r/>"), 0);
    EXPECT_EQ(later->createChildNode(u"/r", u"a", u"", kText), 11);
    EXPECT_EQ(later->getLastValueOfUniqueIdentifier(), 11);

    later->SetGSSLUniqueIdentifier(100);
    EXPECT_EQ(later->createChildNode(u"/r", u"a", u"", kText), 101);

    later->SetGSSLUniqueIdentifier(INT_MAX);
    EXPECT_EQ(later->createChildNode(u"/r", u"top", u"", kText), INT_MIN) << "wraps, never overflows";
    EXPECT_EQ(later->getNodeCount(later->getNodePathFromUniqueId(INT_MIN)), 1);
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

    // A parse replaces the document of that packet only.
    ASSERT_EQ(second->loadXMLinMemory(u"<other/>"), 0);
    CSEString name;
    first->getRootNodeName(name);
    EXPECT_EQ(U8(name), "r");

    CSEDVKXMLPacket copy(*static_cast<CSEDVKXMLPacket*>(first.get()));
    EXPECT_EQ(copy.getNodeCount(u"/r/b"), 1);
    copy = copy;
    EXPECT_EQ(copy.getNodeCount(u"/r/b"), 1);
}

// --- building ---------------------------------------------------------------------------------

TEST_F(XMLPacket, CreateChildNodeWritesTextOrCDataAndStamps)
{
    EXPECT_EQ(m_packet->createChildNode(u"//command", u"name", u"a<b & c", kText), 1);
    EXPECT_EQ(m_packet->createChildNode(1, u"raw", u"x<y", kCData), 2);
    EXPECT_EQ(m_packet->createChildNode(u"//command", u"empty", u"", kText), 3);
    EXPECT_EQ(NodeXml(*m_packet, u"//name"),
              "<name iGSSLID=\"1\">a&lt;b &amp; c<raw iGSSLID=\"2\"><![CDATA[x<y]]></raw>\n</name>\n");
    EXPECT_EQ(NodeXml(*m_packet, IdPath(3)), "<empty iGSSLID=\"3\" />\n");
    EXPECT_EQ(Value(*m_packet, u"//name"), "a<b & c");
    EXPECT_EQ(Value(*m_packet, u"//raw"), "x<y");
}

TEST_F(XMLPacket, CreateChildNodeWithoutElementOrParentUsesUpAnIdentifier)
{
    const std::string envelope = Xml(*m_packet);
    EXPECT_EQ(m_packet->createChildNode(u"//command", u"", u"text", kText), 1);
    EXPECT_EQ(m_packet->createChildNode(u"//command", u"x", u"text", 3), 2);
    EXPECT_EQ(m_packet->createChildNode(u"//command", u"x", u"text", 0), 3);

    auto empty = NewPacket();
    EXPECT_EQ(empty->createChildNode(u"/r", u"a", u"", kText), -1);
    EXPECT_EQ(empty->getLastValueOfUniqueIdentifier(), 0) << "no document: no identifier used";

    EXPECT_EQ(m_packet->createChildNode(u"//missing", u"a", u"", kText), -1);
    EXPECT_EQ(m_packet->createChildNode(77, u"a", u"", kText), -1);
    EXPECT_EQ(m_packet->getLastValueOfUniqueIdentifier(), 5) << "a missing parent uses one up";

    // Refused by the XML layer instead of writing a document that cannot be read back.
    EXPECT_EQ(m_packet->createChildNode(u"//command", u"bad name", u"", kText), -1);
    EXPECT_EQ(m_packet->createChildNode(u"//command", u"a<b", u"", kText), -1);
    EXPECT_EQ(m_packet->createChildNode(u"/", u"second", u"", kText), -1);
    EXPECT_EQ(m_packet->createChildNode(u"//command/@cname", u"a", u"", kText), -1);
    EXPECT_EQ(m_packet->createChildNode(u"//command[", u"a", u"", kText), -1);
    EXPECT_EQ(Xml(*m_packet), envelope);
}

TEST_F(XMLPacket, CreateProperty)
{
    const int id = m_packet->createChildNode(u"//command", u"object", u"", kText);
    EXPECT_EQ(m_packet->createProperty(id, u"name", u"O'Brien \"1\" <&>"), 0);
    EXPECT_EQ(m_packet->createProperty(u"//command", u"ver", u"5"), 0);
    EXPECT_EQ(m_packet->createProperty(u"//command", u"ver", u"6", 1), 0);
    CSEString value;
    EXPECT_EQ(m_packet->getAttributeValue(IdPath(id), u"name", value), 0);
    EXPECT_EQ(U8(value), "O'Brien \"1\" <&>");
    EXPECT_EQ(m_packet->getAttributeValue(u"//command", u"ver", value), 0);
    EXPECT_EQ(U8(value), "6");

    EXPECT_EQ(m_packet->createProperty(id, u"", u"v"), -1);
    EXPECT_EQ(m_packet->createProperty(99, u"a", u"v"), -1);
    EXPECT_EQ(m_packet->createProperty(id, u"bad name", u"v"), -1);
    EXPECT_EQ(m_packet->createProperty(u"//command/@cname", u"a", u"v"), -1);
    auto empty = NewPacket();
    EXPECT_EQ(empty->createProperty(u"/r", u"a", u"v"), -1);
}

TEST_F(XMLPacket, NamedPairsHoldNameAndValueSections)
{
    const int list = m_packet->createChildNode(u"//command", u"attrs", u"", kText);
    EXPECT_EQ(m_packet->createNamedNVPair(list, u"attribute", u"N", u"V", u"value"), 0);
    EXPECT_EQ(m_packet->createAttributeNVPair(list, u"N2", u"V2"), 0);
    EXPECT_EQ(m_packet->createAttributeNMandatoryVPair(list, u"M", u"MV"), 0);
    EXPECT_EQ(m_packet->createAttributeNDefaultVPair(list, u"D", u"DV"), 0);
    EXPECT_EQ(m_packet->createAttributeName(list, u"only"), 0);
    EXPECT_EQ(NodeXml(*m_packet, IdPath(list)),
              "<attrs iGSSLID=\"1\">\n"
              "  <attribute iGSSLID=\"2\">\n    <name><![CDATA[N]]></name>\n    <value><![CDATA[V]]></value>\n  </attribute>\n"
              "  <attribute iGSSLID=\"3\">\n    <name><![CDATA[N2]]></name>\n    <value><![CDATA[V2]]></value>\n  </attribute>\n"
              "  <attribute iGSSLID=\"4\">\n    <name><![CDATA[M]]></name>\n    <MandatoryValue><![CDATA[MV]]></MandatoryValue>\n  </attribute>\n"
              "  <attribute iGSSLID=\"5\">\n    <name><![CDATA[D]]></name>\n    <DefaultValue><![CDATA[DV]]></DefaultValue>\n  </attribute>\n"
              "  <attribute iGSSLID=\"6\">\n    <name><![CDATA[only]]></name>\n  </attribute>\n"
              "</attrs>\n");

    CSEString name, value;
    EXPECT_EQ(m_packet->getNamedNVPair(u"//attrs/attribute", 0, name, value), 0);
    EXPECT_EQ(U8(name) + "=" + U8(value), "N=V");
    EXPECT_EQ(m_packet->getNamedNVPair(u"//attrs/attribute", 1, name, value), 0);
    EXPECT_EQ(U8(name) + "=" + U8(value), "N2=V2");
    // Pairs without a "value" child, or without any child, read as empty texts.
    EXPECT_EQ(m_packet->getNamedNVPair(u"//attrs/attribute", 2, name, value), 0);
    EXPECT_EQ(U8(name) + "=" + U8(value), "M=");
    EXPECT_EQ(m_packet->getNamedNVPair(u"//attrs/attribute", 4, name, value), 0);
    EXPECT_EQ(U8(name) + "=" + U8(value), "only=");
    EXPECT_EQ(m_packet->getNamedNVPair(u"//attrs", 0, name, value), 0);
    EXPECT_EQ(U8(name) + "=" + U8(value), "N=V") << "first name and value below";
    EXPECT_EQ(m_packet->getNamedNVPair(u"//command", 0, name, value), 0);
    EXPECT_EQ(m_packet->getNamedNVPair(u"//attrs/attribute", 9, name, value), 0);
    EXPECT_EQ(U8(name) + U8(value), "");
    EXPECT_EQ(m_packet->getNamedNVPair(u"//attrs/attribute", INT_MAX, name, value), 0);
    m_packet->createChildNode(u"//command", u"bare", u"", kText);
    name = u"stale";
    EXPECT_EQ(m_packet->getNamedNVPair(u"//bare", 0, name, value), 0);
    EXPECT_EQ(U8(name) + U8(value), "");
}

TEST_F(XMLPacket, NamedPairFailures)
{
    auto empty = NewPacket();
    EXPECT_EQ(empty->createNamedNVPair(u"/r", u"attribute", u"n", u"v", u"value"), -1);
    EXPECT_EQ(empty->getLastValueOfUniqueIdentifier(), 0);

    EXPECT_EQ(m_packet->createNamedNVPair(u"//missing", u"attribute", u"n", u"v", u"value"), kNotFound);
    EXPECT_EQ(m_packet->createAttributeNVPair(42, u"n", u"v"), kNotFound);
    EXPECT_EQ(m_packet->getLastValueOfUniqueIdentifier(), 2);

    const std::string before = Xml(*m_packet);
    EXPECT_EQ(m_packet->createNamedNVPair(u"//command", u"", u"n", u"v", u"value"), 0);
    EXPECT_EQ(m_packet->getLastValueOfUniqueIdentifier(), 3);
    EXPECT_EQ(m_packet->createNamedNVPair(u"//command", u"bad name", u"n", u"v", u"value"), -1);
    EXPECT_EQ(m_packet->createNamedNVPair(u"//command", u"attribute", u"n", u"v", u"bad value"), -1);
    EXPECT_EQ(m_packet->createNamedNVPair(u"//command/@cname", u"attribute", u"n", u"v", u"value"), -1);
    EXPECT_EQ(Xml(*m_packet), before) << "nothing half-made is left behind";

    // An empty name or value leaves its element empty.
    EXPECT_EQ(m_packet->createNamedNVPair(u"//command", u"attribute", u"", u"", u"value"), 0);
    EXPECT_EQ(NodeXml(*m_packet, u"//attribute"),
              "<attribute iGSSLID=\"7\">\n  <name />\n  <value />\n</attribute>\n");
}

TEST_F(XMLPacket, NamedPairLikeRLXWritesTheNameAsTextAndEmptiesTheCache)
{
    EXPECT_EQ(m_packet->getNodeCount(u"//attribute"), 0);
    EXPECT_EQ(m_packet->createNamedNVPairLikeRLX(u"//command", u"attribute", u"a<b", u"v", u"value"), 0);
    EXPECT_EQ(NodeXml(*m_packet, u"//attribute"),
              "<attribute iGSSLID=\"1\">\n  <name>a&lt;b</name>\n  <value><![CDATA[v]]></value>\n</attribute>\n");
    EXPECT_EQ(m_packet->getNodeCount(u"//attribute"), 1);

    CSEString name, value;
    m_packet->getNamedNVPair(u"//attribute", 0, name, value);
    EXPECT_EQ(U8(name), "a<b");

    auto empty = NewPacket();
    EXPECT_EQ(empty->createNamedNVPairLikeRLX(u"/r", u"attribute", u"n", u"v", u"value"), -1);
    EXPECT_EQ(m_packet->createNamedNVPairLikeRLX(u"//missing", u"attribute", u"n", u"v", u"value"), kNotFound);
}

// --- reading ----------------------------------------------------------------------------------

TEST_F(XMLPacket, NodeValues)
{
    ASSERT_EQ(m_packet->loadXMLinMemory(u"<r><t>text</t><e/><m><x>in</x>after</m><c><![CDATA[a]]>b</c></r>"), 0);
    EXPECT_EQ(Value(*m_packet, u"//t"), "text");
    EXPECT_EQ(Value(*m_packet, u"//c"), "ab") << "adjacent CDATA and text read as one";
    CSEString value(u"stale");
    EXPECT_EQ(m_packet->getNodeValue(u"//e", value), 0) << "no text: empty, no crash";
    EXPECT_EQ(U8(value), "");
    EXPECT_EQ(m_packet->getNodeValue(u"//m", value), 0);
    EXPECT_EQ(U8(value), "") << "the first child is an element";
    EXPECT_EQ(m_packet->getNodeValue(u"//t/text()", value), 0);
    EXPECT_EQ(U8(value), "") << "a text node has no child";
    value = u"stale";
    EXPECT_EQ(m_packet->getNodeValue(u"//missing", value), kNotFound);
    EXPECT_EQ(U8(value), "");

    EXPECT_EQ(m_packet->appendNodeValue(u"//t", u" more"), 0);
    EXPECT_EQ(Value(*m_packet, u"//t"), "text more");
    EXPECT_EQ(m_packet->appendNodeValue(u"//e", u"<x>"), 0);
    EXPECT_EQ(NodeXml(*m_packet, u"//e"), "<e>&lt;x&gt;</e>\n");
    EXPECT_EQ(m_packet->appendNodeValue(u"//missing", u"x"), kNotFound);
    EXPECT_EQ(m_packet->appendNodeValue(u"//t/text()", u"x"), -1);
}

TEST_F(XMLPacket, CDataHoldingItsEndMarkerSurvivesWritingAndReading)
{
    const CSEString tricky(u"one]]>two]]]>three]]>");
    const int list = m_packet->createChildNode(u"//command", u"data", tricky, kCData);
    m_packet->createNamedNVPair(list, u"attribute", tricky, tricky + CSEString(u"!"), u"value");
    const std::string written = Xml(*m_packet);

    auto reread = NewPacket();
    ASSERT_EQ(reread->loadXMLinMemory(Wide(written)), 0) << written;
    EXPECT_EQ(Value(*reread, u"//data"), U8(tricky));
    CSEString name, value;
    reread->getNamedNVPair(u"//data/attribute", 0, name, value);
    EXPECT_EQ(U8(name), U8(tricky));
    EXPECT_EQ(U8(value), U8(tricky) + "!");
    EXPECT_EQ(Xml(*reread), written);
}

TEST_F(XMLPacket, NamedPairPositionsCountUnderEachParent)
{
    // "path[k]": the k-th match under each parent, the first of those in document order. The inner
    // list lies inside the outer list's second pair, so its third pair comes before the outer third.
    ASSERT_EQ(m_packet->loadXMLinMemory(
                  u"<r><l><p><name>1</name></p><p><name>2</name><l><p><name>3</name></p><p><name>4</name></p>"
                  u"<p><name>5</name></p></l></p><p><name>6</name><value>v</value></p></l></r>"),
              0);
    const struct
    {
        const char16_t* path;
        int index;
        const char* name;
    } cases[] = {
        {u"//l/p", 0, "1"},     {u"//l/p", 1, "2"},          {u"//l/p", 2, "5"},
        {u"//l/p", 3, ""},      {u"//p", 2, "5"},            {u"/r/l/p", 2, "6"},
        {u"//l/p[name!='1']", 0, "2"}, {u"//l/p[name!='1']", 2, "5"}, {u"//l/p[name!='1']", 3, ""},
        {u"(//l/p)", 2, "3"},   {u"//l/p[last()]", 0, "5"},  {u"//l/*", 2, "5"},
        {u"//l[p]/p", 1, "2"},  {u"//l/p[1]", 0, "1"},       {u"//l/p", -1, ""},
    };
    for (const auto& c : cases) {
        CSEString name(u"stale"), value;
        EXPECT_EQ(m_packet->getNamedNVPair(c.path, c.index, name, value), 0);
        EXPECT_EQ(U8(name), c.name) << U8(c.path) << " " << c.index;
    }
    CSEString name, value;
    m_packet->getNamedNVPair(u"/r/l/p", 2, name, value);
    EXPECT_EQ(U8(value), "v");
}

TEST_F(XMLPacket, ChildrenAndCounts)
{
    ASSERT_EQ(m_packet->loadXMLinMemory(u"<r iGSSLID='1'><a/>text<b><c/></b></r>"), 0);
    EXPECT_EQ(m_packet->getChildNodeCount(u"/r"), 3);
    EXPECT_EQ(m_packet->getChildNodeCount(1), 3);
    EXPECT_EQ(m_packet->getChildNodeCount(u"//missing"), 0);
    EXPECT_EQ(m_packet->getChildNodeCount(5), 0);
    EXPECT_EQ(m_packet->getNodeCount(u"//*"), 4);
    EXPECT_EQ(m_packet->getNodeCount(u"//missing"), 0);
    EXPECT_EQ(m_packet->getNodeCount(u"count(//*)"), 0);

    CSEString name(u"stale");
    const char* expected[] = {"a", "", "b", "", ""};
    for (int index = 0; index < 5; ++index) {
        EXPECT_EQ(m_packet->getChildNodeName(u"/r", index, name), 0);
        EXPECT_EQ(U8(name), expected[index]) << index;
    }
    for (int index = 4; index >= 0; --index) {
        m_packet->getChildNodeName(u"/r", index, name);
        EXPECT_EQ(U8(name), expected[index]) << index;
    }
    EXPECT_EQ(m_packet->getChildNodeName(u"/r", -1, name), 0);
    EXPECT_EQ(U8(name), "");
    EXPECT_EQ(m_packet->getChildNodeName(u"//missing", 0, name), 0);

    // Reading on after a removal sees the children as they are now.
    m_packet->getChildNodeName(u"/r", 2, name);
    ASSERT_EQ(m_packet->removeChildNode(u"/r", u"/r/a"), 0);
    m_packet->getChildNodeName(u"/r", 1, name);
    EXPECT_EQ(U8(name), "b");
    m_packet->getChildNodeName(u"/r", 2, name);
    EXPECT_EQ(U8(name), "");
}

TEST_F(XMLPacket, LargeAndDeepDocumentsAreHandledInLinearTime)
{
    const int list = m_packet->createChildNode(u"//command", u"list", u"", kText);
    const int count = 100000;
    for (int i = 0; i < count; ++i)
        m_packet->createChildNode(list, i % 2 ? u"odd" : u"even", u"", kText);
    ASSERT_EQ(m_packet->getChildNodeCount(list), count);
    CSEString name;
    int odd = 0;
    for (int i = 0; i < count; ++i) {
        m_packet->getChildNodeName(m_packet->getNodePathFromUniqueId(list), i, name);
        odd += name == u"odd";
    }
    EXPECT_EQ(odd, count / 2);

    // Many elements carrying one identifier (a text can hold that) are stripped in linear time.
    std::string text = "<r>";
    for (int i = 0; i < 2 * count; ++i)
        text += "<o iGSSLID='1'/>";
    ASSERT_EQ(m_packet->loadXMLinMemory(Wide(text + "</r>")), 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(m_packet->removeAttributeFromAllNodes(u"iGSSLID"), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << "quadratic: a minute";
    EXPECT_EQ(m_packet->getNodeCount(IdPath(1)), 0);

    // A very deep document is written without layout (indenting it would take gigabytes) and its
    // subtree is removed without exhausting the stack.
    const std::string deep = std::string("<r>") + [&] {
        std::string levels;
        for (int i = 1; i < 2 * count; ++i)
            levels += "<d>";
        levels += "<d/>";
        for (int i = 1; i < 2 * count; ++i)
            levels += "</d>";
        return levels;
    }() + "</r>";
    ASSERT_EQ(m_packet->loadXMLinMemory(Wide(deep)), 0);
    EXPECT_EQ(Xml(*m_packet), "<?xml version=\"1.0\"?>" + deep);
    EXPECT_EQ(m_packet->removeChildNode(u"/r", u"/r/d"), 0);
    EXPECT_EQ(Xml(*m_packet), "<?xml version=\"1.0\"?>\n<r />\n");
}

TEST_F(XMLPacket, AttributesByPosition)
{
    ASSERT_EQ(m_packet->loadXMLinMemory(u"<r><o k='1'/>t<o k='2'/><o/></r>"), 0);
    CSEString value(u"stale");
    EXPECT_EQ(m_packet->getAttributeValueAt(u"//o", 1, u"k", value), 0);
    EXPECT_EQ(U8(value), "2");
    EXPECT_EQ(m_packet->getAttributeValueAt(u"//o", 2, u"k", value), 0);
    EXPECT_EQ(U8(value), "");
    EXPECT_EQ(m_packet->getAttributeValueAt(u"/r/node()", 1, u"k", value), 0) << "a text node";
    EXPECT_EQ(U8(value), "");
    value = u"stale";
    EXPECT_EQ(m_packet->getAttributeValueAt(u"//o", 3, u"k", value), kNotFound);
    EXPECT_EQ(U8(value), "");
    EXPECT_EQ(m_packet->getAttributeValueAt(u"//o", -1, u"k", value), kNotFound);
    EXPECT_EQ(m_packet->getAttributeValueAt(u"//o", 0, u"", value), kNotFound);
    EXPECT_EQ(m_packet->getAttributeValueAt(u"//missing", 0, u"k", value), kNotFound);

    EXPECT_EQ(m_packet->setAttributeValueAt(u"//o", 2, u"k", u"3"), 0);
    m_packet->getAttributeValueAt(u"//o", 2, u"k", value);
    EXPECT_EQ(U8(value), "3");
    EXPECT_EQ(m_packet->setAttributeValueAt(u"//o", 3, u"k", u"v"), kNotFound);
    EXPECT_EQ(m_packet->setAttributeValueAt(u"//o", 0, u"", u"v"), kNotFound);
    EXPECT_EQ(m_packet->setAttributeValueAt(u"/r/node()", 1, u"k", u"v"), kNotFound);
    EXPECT_EQ(m_packet->setAttributeValueAt(u"//o", 0, u"bad name", u"v"), -1);

    EXPECT_EQ(m_packet->getAttributeValue(u"//o", u"k", value), 0);
    EXPECT_EQ(U8(value), "1");
    EXPECT_EQ(m_packet->getAttributeValue(u"//o", u"absent", value), 0);
    EXPECT_EQ(U8(value), "");
    EXPECT_EQ(m_packet->getAttributeValue(u"//missing", u"k", value), -1);
    EXPECT_EQ(m_packet->getAttributeValue(u"/r/text()", u"k", value), -1);
}

TEST_F(XMLPacket, RemoveAttribute)
{
    const int id = m_packet->createChildNode(u"//command", u"o", u"", kText);
    m_packet->createProperty(id, u"k", u"v");
    EXPECT_EQ(m_packet->removeAttribute(IdPath(id), u"k"), 0);
    EXPECT_EQ(m_packet->removeAttribute(IdPath(id), u"absent"), 0);
    EXPECT_EQ(NodeXml(*m_packet, IdPath(id)), "<o iGSSLID=\"1\" />\n");
    EXPECT_EQ(m_packet->removeAttribute(u"//missing", u"k"), kNotFound);
    EXPECT_EQ(m_packet->removeAttribute(u"//command/@cname", u"k"), kNotFound);

    // Without its identifier the element is no longer found by it.
    EXPECT_EQ(m_packet->removeAttribute(u"//o", u"iGSSLID"), 0);
    EXPECT_EQ(m_packet->createChildNode(id, u"child", u"", kText), -1);
    EXPECT_EQ(m_packet->getUniqueIdOfNode(u"//o"), -1);

    // A removed attribute is freed: a packet on the same document that cached it does not reuse
    // that result (ASan checks), while a cached result of elements stays in use.
    CSEDVKXMLPacket sharing;
    sharing = *m_packet;
    m_packet->createProperty(u"//o", u"big", CSEString(DVKUnicodeString(std::u16string(20000, u'x'))));
    EXPECT_EQ(sharing.getNodeCount(u"//o/@big"), 1);
    EXPECT_EQ(m_packet->removeAttributeFromAllNodes(u"big"), 0);
    CSEString value(u"stale");
    EXPECT_EQ(sharing.getNodeValue(u"//o/@big", value), kNotFound);
    EXPECT_EQ(sharing.getNodeCount(u"//o"), 1);
    m_packet->createChildNode(u"//command", u"o", u"", kText);
    EXPECT_EQ(m_packet->removeAttribute(u"//command", u"cname"), 0);
    EXPECT_EQ(sharing.getNodeCount(u"//o"), 1);
}

TEST_F(XMLPacket, UniqueIdOfNodeAndRootName)
{
    const int id = m_packet->createChildNode(u"//command", u"o", u"", kText);
    EXPECT_EQ(m_packet->getUniqueIdOfNode(u"//o"), id);
    EXPECT_EQ(m_packet->getUniqueIdOfNode(u"//command"), -1) << "no identifier";
    EXPECT_EQ(m_packet->getUniqueIdOfNode(u"//missing"), -1);
    CSEString name;
    EXPECT_EQ(m_packet->getRootNodeName(name), 0);
    EXPECT_EQ(U8(name), "command");
    auto empty = NewPacket();
    EXPECT_EQ(empty->getRootNodeName(name), 1);
    EXPECT_EQ(U8(name), "");
    EXPECT_EQ(m_packet->reservedNoOp(), 0);
}

// --- node paths and literals ------------------------------------------------------------------

TEST(XMLPacketLiterals, EveryTextBecomesOneLiteral)
{
    EXPECT_EQ(U8(CSEXMLPacket::MakeXPathLiteral(u"abc")), "'abc'");
    EXPECT_EQ(U8(CSEXMLPacket::MakeXPathLiteral(u"")), "''");
    EXPECT_EQ(U8(CSEXMLPacket::MakeXPathLiteral(u"O'Brien.prt")), "\"O'Brien.prt\"");
    EXPECT_EQ(U8(CSEXMLPacket::MakeXPathLiteral(u"say \"hi\"")), "'say \"hi\"'");
    EXPECT_EQ(U8(CSEXMLPacket::MakeXPathLiteral(u"O'Brien \"2\"")), "concat('O', \"'\", 'Brien \"2\"')");
    EXPECT_EQ(U8(CSEXMLPacket::MakeXPathLiteral(u"'\"''")), "concat(\"'\", '\"', \"'\", \"'\")");
}

TEST_F(XMLPacket, LiteralsFindTheValuesTheyQuote)
{
    const char16_t* names[] = {u"plain.prt", u"O'Brien.prt", u"say \"hi\".prt", u"O'Brien \"2\".prt",
                               u"'\"", u"\"'", u"''\"\"", u"", u"\u00e9t\u00e9's \"\u20ac\""};
    for (const char16_t* name : names) {
        const int id = m_packet->createChildNode(u"//command", u"cadobject", u"", kText);
        m_packet->createProperty(id, u"cadid", name);
    }
    for (const char16_t* name : names) {
        const CSEString path = u"//command/cadobject[@cadid=" + CSEXMLPacket::MakeXPathLiteral(name) + u"]";
        EXPECT_EQ(m_packet->getNodeCount(path), 1) << U8(path);
        CSEString value;
        m_packet->getAttributeValue(path, u"cadid", value);
        EXPECT_EQ(U8(value), U8(name));
    }
    EXPECT_EQ(U8(m_packet->getNodePathFromUniqueId(12)), "//*[@iGSSLID='12']");
    EXPECT_EQ(U8(m_packet->getNodePathFromUniqueId(-3)), "//*[@iGSSLID='-3']");
}

// --- removing ---------------------------------------------------------------------------------

TEST_F(XMLPacket, RemoveChildNode)
{
    const int a = m_packet->createChildNode(u"//command", u"a", u"", kText);
    const int inner = m_packet->createChildNode(a, u"inner", u"", kText);
    const int b = m_packet->createChildNode(u"//command", u"b", u"", kText);

    EXPECT_EQ(m_packet->removeChildNode(u"//missing", u"//a"), 0) << "no parent: nothing to do";
    EXPECT_EQ(m_packet->removeChildNode(u"//command", u"//missing"), 1);
    EXPECT_EQ(m_packet->removeChildNode(u"//command", u"//inner"), 1) << "not a direct child";
    EXPECT_EQ(m_packet->removeChildNode(u"//command", u"//command/@cname"), 1);
    EXPECT_EQ(m_packet->getNodeCount(u"//*"), 4);

    EXPECT_EQ(m_packet->removeChildNode(u"//command", IdPath(a)), 0);
    EXPECT_EQ(m_packet->getNodeCount(u"//*"), 2);
    for (int removed : {a, inner}) {
        EXPECT_EQ(m_packet->getNodeCount(IdPath(removed)), 0);
        EXPECT_EQ(m_packet->createChildNode(removed, u"x", u"", kText), -1);
        EXPECT_EQ(m_packet->getChildNodeCount(removed), 0);
    }
    EXPECT_EQ(m_packet->createChildNode(b, u"x", u"", kText), b + 3);

    EXPECT_EQ(m_packet->removeChildNode(u"/", u"/command"), 0);
    CSEString name;
    EXPECT_EQ(m_packet->getRootNodeName(name), 1);
    EXPECT_EQ(m_packet->createChildNode(b, u"x", u"", kText), -1);
}

TEST_F(XMLPacket, RemoveAttributeFromAllNodesStripsTheIdentifiers)
{
    const int a = m_packet->createChildNode(u"//command", u"a", u"", kText);
    EXPECT_EQ(m_packet->getNodeCount(u"//*"), 2) << "caches //*";
    m_packet->createChildNode(a, u"late", u"", kText);
    m_packet->createAttributeNVPair(a, u"n", u"v");
    EXPECT_EQ(m_packet->removeAttributeFromAllNodes(u"iGSSLID"), 0);
    EXPECT_EQ(Xml(*m_packet).find("iGSSLID"), std::string::npos) << "elements made after a cached //* too";
    EXPECT_EQ(m_packet->createChildNode(a, u"x", u"", kText), -1);
    EXPECT_EQ(m_packet->removeAttributeFromAllNodes(u"absent"), 0);

    auto empty = NewPacket();
    EXPECT_EQ(empty->removeAttributeFromAllNodes(u"iGSSLID"), kNotFound);
}

// --- importing --------------------------------------------------------------------------------

TEST_F(XMLPacket, AppendXMLStringImportsUnstamped)
{
    const int list = m_packet->createChildNode(u"//command", u"list", u"", kText);
    EXPECT_EQ(m_packet->appendXMLString(list, u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                                              u"<o n=\"1\"><c>\u00e9</c><!-- dropped --></o>"),
              0);
    EXPECT_EQ(m_packet->appendXMLString(u"//list", u"<o n=\"2\"/>"), 0);
    EXPECT_EQ(m_packet->getLastValueOfUniqueIdentifier(), list);
    EXPECT_EQ(NodeXml(*m_packet, u"//list"),
              "<list iGSSLID=\"1\">\n  <o n=\"1\">\n    <c>\xC3\xA9</c>\n  </o>\n  <o n=\"2\" />\n</list>\n");

    const std::string before = Xml(*m_packet);
    EXPECT_EQ(m_packet->appendXMLString(list, u"<o><unclosed></o>"), -1);
    EXPECT_EQ(m_packet->appendXMLString(list, u"<a/><b/>"), -1);
    EXPECT_EQ(m_packet->appendXMLString(list, u""), -1);
    EXPECT_EQ(m_packet->appendXMLString(u"//missing", u"<o/>"), kNotFound);
    EXPECT_EQ(m_packet->appendXMLString(u"//list/@iGSSLID", u"<o/>"), -1);
    EXPECT_EQ(Xml(*m_packet), before);
    auto empty = NewPacket();
    EXPECT_EQ(empty->appendXMLString(u"/r", u"<o/>"), -1);
}

TEST_F(XMLPacket, AppendedIdentifiersAreFoundById)
{
    const int list = m_packet->createChildNode(u"//command", u"list", u"", kText);
    ASSERT_EQ(m_packet->appendXMLString(list, u"<o iGSSLID=\"50\"><p iGSSLID=\"51\"/></o>"), 0);
    EXPECT_EQ(m_packet->createChildNode(51, u"x", u"", kText), 2);
    EXPECT_EQ(m_packet->getChildNodeCount(51), 1);
    // A second element carrying identifier 1: both are found, the first in document order wins.
    ASSERT_EQ(m_packet->appendXMLString(list, u"<dup iGSSLID=\"1\"/>"), 0);
    EXPECT_EQ(m_packet->getNodeCount(IdPath(1)), 2);
    CSEString text;
    m_packet->getNodeXMLString(1, text);
    EXPECT_EQ(U8(text).rfind("<list", 0), 0u);
}

TEST_F(XMLPacket, CopyNodeCopiesAShallowStampedElement)
{
    auto source = NewPacket(500);
    ASSERT_EQ(source->loadXMLinMemory(u"<r><o iGSSLID=\"7\" cadid=\"O'Brien.prt\"><c/></o>text</r>"), 0);
    const int active = m_packet->createChildNode(u"//command", u"active", u"", kText);

    const int copied = m_packet->copyNode(active, source.get(), u"//o");
    EXPECT_EQ(copied, active + 1);
    EXPECT_EQ(NodeXml(*m_packet, IdPath(copied)), "<o iGSSLID=\"2\" cadid=\"O'Brien.prt\" />\n");
    EXPECT_EQ(m_packet->getNodeCount(IdPath(7)), 0) << "the copy carries its own identifier";
    EXPECT_EQ(m_packet->copyNode(u"//active", source.get(), u"/r/text()"), copied + 1);
    EXPECT_EQ(m_packet->getChildNodeCount(active), 2);
    EXPECT_NE(NodeXml(*m_packet, u"//active").find("/>text</active>"), std::string::npos);
    const int again = m_packet->copyNode(u"//active", m_packet.get(), IdPath(copied));
    EXPECT_EQ(m_packet->getNodeCount(u"//active/o"), 2) << "copy within the same packet";
    EXPECT_EQ(m_packet->getUniqueIdOfNode(IdPath(again)), again);

    EXPECT_EQ(m_packet->copyNode(active, nullptr, u"//o"), -1);
    EXPECT_EQ(m_packet->copyNode(active, source.get(), u"//missing"), -1);
    EXPECT_EQ(m_packet->copyNode(99, source.get(), u"//o"), -1);
    EXPECT_EQ(m_packet->copyNode(active, source.get(), u"//o/@cadid"), -1);
    auto empty = NewPacket();
    EXPECT_EQ(empty->copyNode(u"/r", source.get(), u"//o"), -1);
    EXPECT_EQ(empty->getLastValueOfUniqueIdentifier(), 0);
}

// --- parsing and writing ----------------------------------------------------------------------

TEST_F(XMLPacket, FailedParsesLeaveNoDocument)
{
    for (const char16_t* bad : {u"", u"<a><b></a>", u"<a/><b/>", u"no xml", u"<a x='1></a>", u"<a>",
                                u"<a iGSSLID='1' iGSSLID='2'/>"}) {
        ASSERT_EQ(m_packet->loadXMLinMemory(u"<r/>"), 0);
        EXPECT_EQ(m_packet->loadXMLinMemory(bad), -1) << U8(bad);
        CSEString text(u"stale");
        EXPECT_EQ(m_packet->getXMLString(text), -1);
        EXPECT_EQ(U8(text), "");
        EXPECT_EQ(m_packet->getNodeCount(u"//*"), 0);
        EXPECT_EQ(m_packet->createChildNode(u"/r", u"a", u"", kText), -1);
    }
}

TEST_F(XMLPacket, ParsingEmptiesTheQueryCache)
{
    ASSERT_EQ(m_packet->loadXMLinMemory(u"<r><a/></r>"), 0);
    EXPECT_EQ(m_packet->getNodeCount(u"//a"), 1);
    ASSERT_EQ(m_packet->loadXMLinMemory(u"<r><a/><a/></r>"), 0);
    EXPECT_EQ(m_packet->getNodeCount(u"//a"), 2);

    // Identifiers carried by the parsed text are found, and the old document's are gone.
    m_packet->createChildNode(u"/r", u"mine", u"", kText);
    ASSERT_EQ(m_packet->loadXMLinMemory(u"<r iGSSLID=\"5\"><x iGSSLID=\"07\"/></r>"), 0);
    EXPECT_EQ(m_packet->getNodeCount(IdPath(1)), 0);
    EXPECT_EQ(m_packet->createChildNode(5, u"b", u"", kText), 2);
    EXPECT_EQ(m_packet->getNodeCount(IdPath(7)), 0) << "\"07\" is not the text of identifier 7";
}

TEST_F(XMLPacket, LoadAndSaveFiles)
{
    const std::string path = TempPath("O'Brien request \u00e9.xml");
    m_packet->createChildNode(u"//command", u"object", u"\u00e9\u20ac", kText);
    ASSERT_EQ(m_packet->saveXMLFile(Wide(path)), 0);
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, Xml(*m_packet));
    EXPECT_NE(bytes.find("\n  <object iGSSLID=\"1\">\xC3\xA9\xE2\x82\xAC</object>\n"), std::string::npos) << bytes;

    auto reread = NewPacket();
    ASSERT_EQ(reread->loadXMLFile(Wide(path)), 0);
    EXPECT_EQ(Xml(*reread), bytes);
    EXPECT_EQ(reread->createChildNode(1, u"child", u"", kText), 1) << "identifiers of the file are indexed";

    std::ofstream(path, std::ios::binary) << "<r><unclosed></r>";
    EXPECT_EQ(reread->loadXMLFile(Wide(path)), -1);
    EXPECT_EQ(reread->getNodeCount(u"//*"), 0) << "no partial tree";
    std::remove(path.c_str());

    EXPECT_EQ(reread->loadXMLFile(Wide(path)), -1) << "missing file";
    EXPECT_EQ(reread->loadXMLFile(u""), -1);
    EXPECT_EQ(reread->saveXMLFile(Wide(path)), -1) << "no document";
    EXPECT_EQ(m_packet->saveXMLFile(Wide(TempPath("no-such-folder/x.xml"))), -1);
    CSEString text;
    EXPECT_EQ(reread->getXMLString(text), -1);
}

TEST_F(XMLPacket, SavedFileReplacesTheOldOneWholeAndOnlyItsOwnerReadsIt)
{
    const std::string path = TempPath("saved.xml");
    const std::string earlier = TempPath("saved-earlier.xml");
    std::ofstream(path, std::ios::binary) << "<earlier/>";
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    ASSERT_EQ(::link(path.c_str(), earlier.c_str()), 0);

    ASSERT_EQ(m_packet->saveXMLFile(Wide(path)), 0);
    struct stat info;
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u) << "a request may carry a password";
    std::ifstream in(earlier, std::ios::binary);
    const std::string old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(old, "<earlier/>") << "a reader of the old file never sees it half rewritten";
    auto reread = NewPacket();
    ASSERT_EQ(reread->loadXMLFile(Wide(path)), 0);
    EXPECT_EQ(Xml(*reread), Xml(*m_packet));
    std::remove(path.c_str());
    std::remove(earlier.c_str());
}

// --- the query cache --------------------------------------------------------------------------

TEST_F(XMLPacket, RepeatedQueryReusesItsResultUntilEmptied)
{
    const int list = m_packet->createChildNode(u"//command", u"list", u"", kText);
    m_packet->createChildNode(list, u"o", u"", kText);
    EXPECT_EQ(m_packet->getNodeCount(u"//o"), 1);
    // Children made under the cached path's own node match it, yet the earlier result is reused.
    m_packet->createChildNode(u"//o", u"o", u"", kText);
    m_packet->createNamedNVPair(u"//o", u"o", u"n", u"v", u"value");
    EXPECT_EQ(m_packet->getNodeCount(u"//o"), 1);
    EXPECT_EQ(m_packet->createProperty(u"//o", u"k", u"v", 1), 0) << "query mode 1 evaluates afresh";
    EXPECT_EQ(m_packet->getNodeCount(u"//o"), 3);

    m_packet->createChildNode(u"//o", u"o", u"", kText);
    EXPECT_EQ(m_packet->getNodeCount(u"//o"), 3);
    EXPECT_EQ(m_packet->appendXMLString(u"//o", u"<o/>"), 0);
    EXPECT_EQ(m_packet->getNodeCount(u"//o"), 5) << "appendXMLString empties the cache";

    m_packet->createChildNode(u"//o", u"o", u"", kText);
    EXPECT_EQ(m_packet->getNodeCount(u"//o"), 5);
    EXPECT_EQ(m_packet->removeChildNode(u"//missing", u"//o"), 0);
    EXPECT_EQ(m_packet->getNodeCount(u"//o"), 6) << "removeChildNode empties the cache";

    m_packet->createChildNode(u"//o", u"o", u"", kText);
    EXPECT_EQ(m_packet->getNodeCount(u"//o"), 6);
    m_packet->createNamedNVPairLikeRLX(u"//o", u"attribute", u"n", u"v", u"value");
    EXPECT_EQ(m_packet->getNodeCount(u"//o"), 7) << "createNamedNVPairLikeRLX empties the cache";

    // An empty result is cached too, and each packet on a shared document keeps its own cache.
    CSEDVKXMLPacket other;
    other = *m_packet;
    EXPECT_EQ(m_packet->getNodeCount(u"//late"), 0);
    other.createChildNode(u"//command", u"late", u"", kText);
    EXPECT_EQ(other.getNodeCount(u"//late"), 1);
    EXPECT_EQ(m_packet->createProperty(u"//late", u"k", u"v"), -1);
    EXPECT_EQ(m_packet->createProperty(u"//late", u"k", u"v", 1), 0);
}

TEST_F(XMLPacket, IdentifierFormsUseTheCacheAsTheirNodePathWould)
{
    const int a = m_packet->createChildNode(u"//command", u"a", u"", kText);
    const int b = m_packet->createChildNode(u"//command", u"b", u"", kText);
    // The cache now holds a's node path; a takes b's identifier behind it.
    EXPECT_EQ(m_packet->getNodeCount(IdPath(a)), 1);
    EXPECT_EQ(m_packet->createProperty(u"//a", u"iGSSLID", Wide(std::to_string(b)), 1), 0);
    EXPECT_EQ(m_packet->createChildNode(b, u"under", u"", kText), b + 1);
    EXPECT_EQ(m_packet->getNodeCount(IdPath(b)), 2) << "a and b both carry b's identifier now";
    EXPECT_EQ(m_packet->getNodeCount(u"//a/under"), 1) << "the first in document order";

    EXPECT_EQ(m_packet->getChildNodeCount(a), 0) << "nothing carries a's identifier any more";
    EXPECT_EQ(m_packet->getNodeCount(IdPath(a)), 0);
}

namespace {

// Reads that the packet answers from remembered results while the document stays unchanged.
std::string Reads(CSEXMLPacket& packet)
{
    const CSEString pairs(u"//list/attribute");
    std::string summary = std::to_string(packet.getNodeCount(pairs)) + ":";
    CSEString name, value;
    for (int i = 0; i < 4; ++i) {
        packet.getNamedNVPair(pairs, i, name, value);
        summary += U8(name) + "=" + U8(value) + ";";
    }
    packet.getAttributeValueAt(pairs, 0, u"k", value);
    return summary + U8(value) + ":" + std::to_string(packet.getNodeCount(u"//list/attribute[@k='x']")) +
           std::to_string(packet.getNodeCount(u"//*[@iGSSLID='1']/attribute[name='n1']")) +
           std::to_string(packet.getNodeCount(u"//list/attribute[name='n1']")) +
           std::to_string(packet.getNodeCount(u"//command/list[@iGSSLID='1']/attribute")) +
           std::to_string(packet.getNodeCount(u"//list[@iGSSLID=\"1\"]/attribute"));
}

} // namespace

TEST_F(XMLPacket, RememberedResultsFollowEveryChange)
{
    const struct
    {
        const char* change;
        std::function<void(CSEXMLPacket&)> apply;
    } changes[] = {
        {"pair", [](CSEXMLPacket& p) { p.createAttributeNVPair(1, u"n3", u"v3"); }},
        {"child", [](CSEXMLPacket& p) { p.createChildNode(1, u"attribute", u"", kText); }},
        {"import", [](CSEXMLPacket& p) { p.appendXMLString(1, u"<attribute k='x'><name>n4</name></attribute>"); }},
        {"removal", [](CSEXMLPacket& p) { p.removeChildNode(p.getNodePathFromUniqueId(1), p.getNodePathFromUniqueId(2)); }},
        {"property", [](CSEXMLPacket& p) { p.createProperty(3, u"k", u"x"); }},
        {"by position", [](CSEXMLPacket& p) { p.setAttributeValueAt(u"//command/list/attribute", 1, u"k", u"x"); }},
        {"unset", [](CSEXMLPacket& p) { p.removeAttribute(p.getNodePathFromUniqueId(2), u"k"); }},
        {"unset all", [](CSEXMLPacket& p) { p.removeAttributeFromAllNodes(u"k"); }},
        {"text", [](CSEXMLPacket& p) { p.appendNodeValue(p.getNodePathFromUniqueId(2) + u"/name", u"x"); }},
        {"copy", [](CSEXMLPacket& p) { p.copyNode(1, &p, p.getNodePathFromUniqueId(2)); }},
        {"text pair", [](CSEXMLPacket& p) {
             p.createNamedNVPairLikeRLX(p.getNodePathFromUniqueId(1), u"attribute", u"n5", u"v5", u"value");
         }},
        {"restamp", [](CSEXMLPacket& p) { p.createProperty(1, u"iGSSLID", u"77"); }},
        {"unstamp", [](CSEXMLPacket& p) { p.removeAttribute(p.getNodePathFromUniqueId(1), u"iGSSLID"); }},
        {"sharer", [](CSEXMLPacket& p) {
             CSEDVKXMLPacket sharer;
             sharer = p;
             sharer.createAttributeNVPair(1, u"n6", u"v6");
         }},
    };
    for (const auto& c : changes) {
        auto packet = NewPacket();
        ASSERT_EQ(packet->loadXMLinMemory(u"<command/>"), 0);
        const int list = packet->createChildNode(u"/command", u"list", u"", kText);
        packet->createAttributeNVPair(list, u"n1", u"v1");
        packet->createAttributeNVPair(list, u"n2", u"v2");
        packet->createProperty(list + 1, u"k", u"x");
        const std::string before = Reads(*packet);
        c.apply(*packet);
        auto fresh = NewPacket();
        ASSERT_EQ(fresh->loadXMLinMemory(Wide(Xml(*packet))), 0);
        const std::string after = Reads(*fresh);
        EXPECT_NE(after, before) << c.change << ": the change must show in the reads";
        EXPECT_EQ(Reads(*packet), after) << c.change;
    }
}

namespace {

// The identifiers of the path's nodes, in order.
std::string Identifiers(CSEXMLPacket& packet, const CSEString& path)
{
    std::string identifiers;
    CSEString value;
    for (int i = 0; i < packet.getNodeCount(path); ++i) {
        packet.getAttributeValueAt(path, i, u"iGSSLID", value);
        identifiers += (i ? " " : "") + U8(value);
    }
    return identifiers;
}

} // namespace

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
    const struct
    {
        const char16_t* before; // asked first, so that its result is known
        const char16_t* path;
        const char* identifiers;
    } cases[] = {
        {u"", u"//structure//cadobject[@iGSSLID='6']/ancestor::*[@cadid='a']", "4"},
        {u"", u"//structure//cadobject[@iGSSLID='6']", "6"},
        {u"", u"/command/structure/active/cadobject/cadobject[@iGSSLID='5']", "5"},
        {u"", u"/command/structure/cadobject/cadobject[@iGSSLID='5']", ""},
        {u"", u"//cadobject[@cadid='b']/cadobject[@iGSSLID='6']", "6"},
        {u"", u"//cadobject[@cadid='a']/cadobject[@iGSSLID='6']", ""},
        {u"", u"//cadobjectlist/cadobject[@iGSSLID='4']", ""},
        {u"", u"//relationship[@iGSSLID='4']/..", ""},
        {u"", u"//*[@iGSSLID='4'][@cadid='a']/cadobject", "5"},
        {u"", u"//*[@iGSSLID='4'][2]", ""},
        {u"", u"//*[@iGSSLID='5']//*", "6"},
        {u"", u"//*[@iGSSLID='7']/..", ""},
        {u"", u"//cadobjectlist/cadobject[@iGSSLID='9']", "9 9"},
        {u"", u"//cadobject[@iGSSLID='9']/attribute", "15"},
        {u"", u"//*[@iGSSLID='11']/o/p", "13"},
        {u"//o", u"//o/p", "13 14"},
        {u"//o", u"//o/p[1]", "13 14"},
        {u"", u"//*[@iGSSLID='8']/cadobject[2]", "10"},
        {u"", u"//cadobject/cadobject[1]", "5 6"},
        {u"", u"//*[@iGSSLID='7']/..|//*[@iGSSLID='13']", "13"},
    };
    for (const auto& c : cases) {
        m_packet->getNodeCount(c.before);
        EXPECT_EQ(Identifiers(*m_packet, c.path), c.identifiers) << U8(c.path);
        EXPECT_EQ(Identifiers(*m_packet, u"(" + CSEString(c.path) + u")"), c.identifiers) << U8(c.path);
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

    void Load(const CSEString& text)
    {
        Check(m_byId->loadXMLinMemory(text), m_byPath->loadXMLinMemory(text), "load");
    }

    void Step()
    {
        const int id = Identifier();
        const int other = Identifier();
        const CSEString path = SearchedPath(id);
        const CSEString idPath = m_byId->getNodePathFromUniqueId(id);
        const CSEString name = Pick({u"o", u"p", u"name", u"value"});
        const CSEString value = Pick({u"v", u"O'Brien", u"]]>", u""});
        const CSEString idText = IdentifierText();
        CSEString a, b;
        const CSEString position(std::to_string(m_random() % 4 + 1).c_str());
        const CSEString test = u"[@k=" + CSEXMLPacket::MakeXPathLiteral(value) + u"]";
        const CSEString named = (m_random() % 2 ? CSEString(u"*") : name) + u"[@iGSSLID='" + CSEString(std::to_string(id).c_str()) + u"']";
        CSEString c, d;
        switch (m_random() % 26) {
        case 0:
        case 1: {
            const int kind = static_cast<int>(m_random() % 4);
            Check(m_byId->createChildNode(id, name, value, kind), m_byPath->createChildNode(path, name, value, kind),
                  "child");
            break;
        }
        case 2: Check(m_byId->createProperty(id, u"k", value), m_byPath->createProperty(path, u"k", value), "prop"); break;
        case 3: Check(m_byId->createProperty(id, u"iGSSLID", idText),
                      m_byPath->createProperty(path, u"iGSSLID", idText), "restamp"); break;
        case 4: Check(m_byId->createAttributeNVPair(id, name, value),
                      m_byPath->createAttributeNVPair(path, name, value), "pair"); break;
        case 5: Check(m_byId->getChildNodeCount(id), m_byPath->getChildNodeCount(path), "count"); break;
        case 6:
            Check(m_byId->getNodeXMLString(id, a), m_byPath->getNodeXMLString(path, b), "nodexml");
            EXPECT_EQ(U8(a), U8(b));
            break;
        case 7: {
            const CSEString fragment = u"<f iGSSLID=\"" + idText + u"\"><g iGSSLID=\"" +
                                       IdentifierText() + u"\"/></f>";
            Check(m_byId->appendXMLString(id, fragment), m_byPath->appendXMLString(path, fragment), "append");
            break;
        }
        case 8: Check(m_byId->copyNode(id, m_source.get(), SearchedPath(other)),
                      m_byPath->copyNode(path, m_source.get(), SearchedPath(other)), "copy"); break;
        case 9: Check(m_byId->removeChildNode(idPath, m_byId->getNodePathFromUniqueId(other)),
                      m_byPath->removeChildNode(path, SearchedPath(other)), "remove"); break;
        case 10: Check(m_byId->removeAttribute(idPath, u"iGSSLID"), m_byPath->removeAttribute(path, u"iGSSLID"),
                       "unstamp"); break;
        case 11: Check(m_byId->setAttributeValueAt(u"//*", other % 8, u"iGSSLID", idText),
                       m_byPath->setAttributeValueAt(u"//*", other % 8, u"iGSSLID", idText), "setat"); break;
        case 12: Check(m_byId->getNodeCount(idPath), m_byPath->getNodeCount(path), "nodes"); break;
        case 13: Check(m_byId->getUniqueIdOfNode(idPath), m_byPath->getUniqueIdOfNode(path), "uid"); break;
        case 14: Check(m_byId->createNamedNVPairLikeRLX(idPath, name, value, value, u"value"),
                       m_byPath->createNamedNVPairLikeRLX(path, name, value, value, u"value"), "rlx"); break;
        case 15: Check(m_byId->getNodeCount(u"//o"), m_byPath->getNodeCount(u"//o"), "plain"); break;
        case 16:
            if (m_random() % 10 == 0) {
                CSEString text;
                m_byId->getXMLString(text);
                Load(text);
            }
            break;
        case 17:
            if (m_random() % 40 == 0)
                Check(m_byId->removeAttributeFromAllNodes(u"iGSSLID"),
                      m_byPath->removeAttributeFromAllNodes(u"iGSSLID"), "strip");
            break;
        case 18:
        case 19: {
            // A pair by position below one element, or below every element of a name.
            const CSEString pairs = m_random() % 2 ? idPath + u"/attribute" : u"//" + name + u"/attribute";
            Check(m_byId->getNamedNVPair(pairs, std::stoi(U8(position)) - 1, a, b), 0, "pair at");
            m_byPath->getNamedNVPair(u"(" + pairs + u"[" + position + u"])", 0, c, d);
            EXPECT_EQ(U8(a) + "=" + U8(b), U8(c) + "=" + U8(d)) << "pair at step " << m_steps;
            break;
        }
        case 20: {
            const CSEString ancestors = u"//command//" + named + u"/ancestor::*" + test;
            Check(m_byId->getNodeCount(ancestors), m_byPath->getNodeCount(u"(" + ancestors + u")"), "ancestors");
            break;
        }
        case 21: {
            const CSEString under = idPath + u"/" + name;
            Check(m_byId->createChildNode(under, u"o", value, kText),
                  m_byPath->createChildNode(u"(" + under + u")", u"o", value, kText), "child below");
            break;
        }
        case 22: {
            const CSEString all = idPath + u"/*";
            Check(m_byId->getAttributeValueAt(all, other % 3, u"k", a),
                  m_byPath->getAttributeValueAt(u"(" + all + u")", other % 3, u"k", b), "value at");
            EXPECT_EQ(U8(a), U8(b));
            break;
        }
        case 23: {
            const CSEString head = Pick({u"//", u"/command/", u"/command/o/", u"//o//", u"//command/*/", u"//*[@k='v']/"});
            const CSEString parent = head + named + (m_random() % 3 ? CSEString() : test) + u"/..";
            Check(m_byId->getNodeXMLString(parent, a), m_byPath->getNodeXMLString(u"(" + parent + u")", b), "parent");
            EXPECT_EQ(U8(a), U8(b));
            break;
        }
        case 25: {
            // A step from the nodes of a remembered result, which may lie one inside another.
            Check(m_byId->getNodeCount(u"//o"), m_byPath->getNodeCount(u"//o"), "plain");
            const CSEString below = u"//o/" + name;
            const int index = static_cast<int>(m_random() % 3);
            Check(m_byId->getAttributeValueAt(below, index, u"iGSSLID", a),
                  m_byPath->getAttributeValueAt(u"(" + below + u")", index, u"iGSSLID", b), "below");
            EXPECT_EQ(U8(a), U8(b));
            break;
        }
        case 24: {
            const CSEString nth = m_random() % 2 ? idPath + u"/" + name + u"[" + position + u"]" : idPath + u"[" + position + u"]";
            Check(m_byId->getNodeXMLString(nth, a), m_byPath->getNodeXMLString(u"(" + nth + u")", b), "nth");
            EXPECT_EQ(U8(a), U8(b));
            break;
        }
        }
        Check(m_byId->getLastValueOfUniqueIdentifier(), m_byPath->getLastValueOfUniqueIdentifier(), "counter");
        CSEString first, second;
        m_byId->getXMLString(first);
        m_byPath->getXMLString(second);
        ASSERT_EQ(U8(first), U8(second)) << "after step " << m_steps;
        ++m_steps;
    }

    void SetSource(const CSEString& text) { ASSERT_EQ(m_source->loadXMLinMemory(text), 0); }

private:
    CSEString SearchedPath(int id)
    {
        return u"//*[@iGSSLID=\"" + CSEString(std::to_string(id).c_str()) + u"\"]";
    }
    int Identifier()
    {
        const int top = m_byId->getLastValueOfUniqueIdentifier() + 3;
        return static_cast<int>(m_random() % static_cast<unsigned>(top + 1));
    }
    CSEString IdentifierText()
    {
        if (m_random() % 6 == 0)
            return u"0" + CSEString(std::to_string(Identifier()).c_str());
        return CSEString(std::to_string(Identifier()).c_str());
    }
    CSEString Pick(std::initializer_list<const char16_t*> choices)
    {
        return CSEString(*(choices.begin() + m_random() % choices.size()));
    }
    void Check(int byId, int byPath, const char* what)
    {
        EXPECT_EQ(byId, byPath) << what << " at step " << m_steps;
    }

    std::mt19937 m_random;
    std::unique_ptr<CSEXMLPacket> m_byId = NewPacket();
    std::unique_ptr<CSEXMLPacket> m_byPath = NewPacket();
    std::unique_ptr<CSEXMLPacket> m_source = NewPacket();
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

// --- log lines --------------------------------------------------------------------------------

namespace {

class XMLPacketLog : public InstallFolderFixture
{
protected:
    void SetUp() override
    {
        InstallFolderFixture::SetUp();
        WriteSettings("[CLIENT]\ndebugflag=true\nclientloglevel=6\n");
    }

    bool Logged(int priority, const std::string& text) const
    {
        return LogHasLine(ReadFile("QxDravikV5.log"), priority, text);
    }

    std::unique_ptr<CSEXMLPacket> m_packet = NewPacket();
};

} // namespace

TEST_F(XMLPacketLog, ParseFailures)
{
    const std::string path = PathOf("missing.xml");
    EXPECT_EQ(m_packet->loadXMLFile(Wide(path)), -1);
    EXPECT_TRUE(Logged(6, "[CSEDVKXMLPacket::loadXMLFile] Entering."));
    EXPECT_TRUE(Logged(6, "[CSEDVKXMLPacket::loadXMLFile] XML file path is => " + path));
    EXPECT_TRUE(Logged(3, "Error occured in function : CSEDVKXMLPacket::loadXMLFile()"));
    EXPECT_TRUE(Logged(6, "[CSEDVKXMLPacket::loadXMLFile] Exiting."));

    EXPECT_EQ(m_packet->loadXMLinMemory(u"<a><b></a>"), -1);
    EXPECT_TRUE(Logged(3, "Error occured in function : CSEDVKXMLPacket::loadXMLinMemory()"));
}

TEST_F(XMLPacketLog, OperationsWithoutDocument)
{
    CSEString text;
    EXPECT_EQ(m_packet->getXMLString(text), -1);
    EXPECT_TRUE(Logged(3, "Error occured in function : CSEDVKXMLPacket::getXMLString(); "));
    EXPECT_EQ(m_packet->saveXMLFile(Wide(PathOf("out.xml"))), -1);
    EXPECT_TRUE(Logged(3, "Error occured in function : CSEDVKXMLPacket::saveXMLFile(); "));
    EXPECT_EQ(m_packet->createChildNode(u"/r", u"a", u"", kText), -1);
    EXPECT_TRUE(Logged(3, "Error occured in function : CSEDVKXMLPacket::createChildNode(); "));
    EXPECT_EQ(m_packet->createNamedNVPair(u"/r", u"attribute", u"n", u"v", u"value"), -1);
    EXPECT_TRUE(Logged(3, "Error occured in function : CSEDVKXMLPacket::createNamedNVPair(); "));
}

TEST_F(XMLPacketLog, RefusedChanges)
{
    ASSERT_EQ(m_packet->loadXMLinMemory(u"<r/>"), 0);
    EXPECT_EQ(m_packet->createProperty(u"/r", u"bad name", u"v"), -1);
    EXPECT_TRUE(Logged(3, "Error occured in function : CSEDVKXMLPacket::createProperty(); "));
    EXPECT_EQ(m_packet->saveXMLFile(Wide(PathOf("no-such-folder/out.xml"))), -1);
    EXPECT_TRUE(Logged(3, "Error occured in function : CSEDVKXMLPacket::saveXMLFile()"));
    EXPECT_EQ(m_packet->appendXMLString(u"/r", u"<unclosed>"), -1);
    EXPECT_TRUE(Logged(3, "Error occured in function : CSEDVKXMLPacket::appendXMLString()"));
    EXPECT_EQ(m_packet->getNodeCount(u"/r["), 0);
    EXPECT_TRUE(Logged(3, "[CSEDVKXMLPacket::QueryNodes] The node path cannot be evaluated => /r[ : "
                          "Unrecognized node test"));
}

// A strict reader refuses a whole request for one character that XML cannot carry: every write of
// the packet puts U+FFFD in its place (a zero character no longer cuts the value short), keeps a
// carriage return, and logs one line naming the element.
TEST_F(XMLPacketLog, ValuesThatXmlCannotCarryAreWrittenReplacedAndLogged)
{
    ASSERT_EQ(m_packet->loadXMLinMemory(u"<command><lql/><pair/></command>"), 0);
    const CSEString bad(DVKUnicodeString(std::u16string(u"ab\0cd\x01\uFFFE\r\n", 9)));
    const CSEString read(u"ab\uFFFDcd\uFFFD\uFFFD\r\n");
    const struct
    {
        const char* element;
        std::function<int()> write;
        const char16_t* readPath;
    } writes[] = {
        {"partname", [&] { return m_packet->createChildNode(u"/command", u"partname", bad, kText); }, u"//partname"},
        {"description", [&] { return m_packet->createChildNode(u"/command", u"description", bad, kCData); }, u"//description"},
        {"command", [&] { return m_packet->createProperty(u"/command", u"cadtitle", bad); }, u"/command/@cadtitle"},
        {"lql", [&] { return m_packet->setAttributeValueAt(u"//lql", 0, u"owner", bad); }, u"//lql/@owner"},
        {"name", [&] { return m_packet->createNamedNVPair(u"//pair", u"attribute", bad, u"v", u"value"); }, u"//pair/attribute[1]/name"},
        {"value", [&] { return m_packet->createNamedNVPair(u"//pair", u"attribute", u"n", bad, u"value"); }, u"//pair/attribute[2]/value"},
        {"lql", [&] { return m_packet->appendNodeValue(u"//lql", bad); }, u"//lql"},
    };
    for (const auto& w : writes) {
        const std::size_t before = LogTextsAt(ReadFile("QxDravikV5.log"), 3).size();
        EXPECT_GE(w.write(), 0) << w.element;
        const std::vector<std::string> lines = LogTextsAt(ReadFile("QxDravikV5.log"), 3);
        ASSERT_EQ(lines.size(), before + 1) << w.element;
        EXPECT_NE(lines.back().find(w.element), std::string::npos) << lines.back();
    }
    const std::size_t before = LogTextsAt(ReadFile("QxDravikV5.log"), 3).size();
    m_packet->createChildNode(u"/command", u"clean", read, kText);
    EXPECT_EQ(LogTextsAt(ReadFile("QxDravikV5.log"), 3).size(), before) << "nothing replaced, nothing logged";

    const std::string written = Xml(*m_packet);
    EXPECT_EQ(StrictXmlError(written), "") << written;
    auto reread = NewPacket();
    ASSERT_EQ(reread->loadXMLinMemory(Wide(written)), 0);
    for (const auto& w : writes)
        EXPECT_EQ(Value(*reread, w.readPath), U8(read)) << U8(w.readPath);
    EXPECT_EQ(Value(*reread, u"//clean"), U8(read));
}
