// libFuzzer target: any bytes loaded into an XML packet, as in-memory text and as a file, then
// queried, extended by identifier, stripped, written and read back, without a fault. A document
// that loads must also write out as text that loads again, and that text is stable from then on
// (the first reading may still drop empty text nodes, which write as nothing). Written text holds
// only characters that XML 1.0 can carry, also through references. Paths that the packet answers
// through identifiers, positions and known results must select what plain XPath selects.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include <unistd.h>

#include "CSEString.h"
#include "CSEXMLPacket.h"
#include "host/DVKXmlChars.h"

namespace {

std::string g_filePath;

std::unique_ptr<CSEXMLPacket> NewPacket()
{
    return std::unique_ptr<CSEXMLPacket>(CSEXMLPacket::GetXMLPacketPtr(-1));
}

void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

int DigitValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return 99;
}

// The code of the character reference that starts at text[at] ("&#" digits ";" or "&#x" hex ";").
unsigned long ReferencedCode(const std::u16string& text, std::size_t at)
{
    std::size_t i = at + 2;
    const int base = i < text.size() && text[i] == u'x' ? 16 : 10;
    i += base == 16 ? 1 : 0;
    unsigned long code = 0;
    for (; i < text.size() && text[i] != u';' && code <= 0x10FFFF; ++i) {
        const int digit = DigitValue(text[i]);
        Require(digit < base);
        code = code * base + static_cast<unsigned long>(digit);
    }
    return code;
}

// What a strict parser requires of the characters: none that XML cannot carry, raw or as a
// reference outside CDATA sections (where "&#" is only text).
void RequireXmlChars(const CSEString& written)
{
    const std::u16string& units = written().Text();
    Require(dvk::IsXmlText(units));
    std::u16string outside;
    for (std::size_t from = 0; from < units.size();) {
        const std::size_t open = units.find(u"<![CDATA[", from);
        outside.append(units, from, open == std::u16string::npos ? std::u16string::npos : open - from);
        if (open == std::u16string::npos)
            break;
        const std::size_t close = units.find(u"]]>", open);
        from = close == std::u16string::npos ? units.size() : close + 3;
    }
    for (std::size_t at = outside.find(u"&#"); at != std::u16string::npos; at = outside.find(u"&#", at + 2)) {
        const unsigned long code = ReferencedCode(outside, at);
        Require(code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
                (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF));
    }
}

CSEString Reread(const CSEString& written)
{
    std::unique_ptr<CSEXMLPacket> reread = NewPacket();
    Require(reread->loadXMLinMemory(written) == 0);
    CSEString rewritten;
    Require(reread->getXMLString(rewritten) == 0);
    return rewritten;
}

CSEString Decimal(int number)
{
    return CSEString(std::to_string(number).c_str());
}

// In parentheses a path is a filter expression, which the packet always evaluates as a whole.
void CheckSameAsPlain(CSEXMLPacket& packet, const CSEString& path)
{
    const CSEString plain = u"(" + path + u")";
    const int count = packet.getNodeCount(path);
    Require(count == packet.getNodeCount(plain));
    CSEString a, b;
    for (int i = 0; i < count && i < 3; ++i) {
        Require(packet.getAttributeValueAt(path, i, u"iGSSLID", a) == packet.getAttributeValueAt(plain, i, u"iGSSLID", b));
        Require(a == b);
    }
    Require(packet.getNodeXMLString(path, a) == packet.getNodeXMLString(plain, b));
    Require(a == b);
}

void CheckShortcuts(CSEXMLPacket& packet, int identifier)
{
    // Empties the query cache (the parent path finds nothing), so no read below reuses a result
    // from before a change.
    packet.removeChildNode(u"/*[false()]", u"/*");
    CSEString root, child;
    packet.getRootNodeName(root);
    packet.getChildNodeName(u"/*", 0, child);
    const CSEString identified = u"[@iGSSLID='" + Decimal(identifier) + u"']";
    const CSEString paths[] = {
        u"//*" + identified + u"/*",
        u"//" + child + identified + u"/..",
        u"/" + root + u"/" + child + identified + u"/ancestor-or-self::*",
        u"//*" + identified + u"//*[2]",
        u"/*/" + child,
        u"//*/" + child + u"[2]",
        u"//*" + identified + u"/" + child + u"[1]",
    };
    for (const CSEString& path : paths)
        CheckSameAsPlain(packet, path);
    const CSEString lists[] = {u"/*/*", u"//*/" + child, u"//*" + identified + u"/*"};
    for (const CSEString& list : lists) {
        for (int k = 1; k <= 3; ++k) {
            CSEString name, value, plainName, plainValue;
            packet.getNamedNVPair(list, k - 1, name, value);
            packet.getNamedNVPair(u"(" + list + u"[" + Decimal(k) + u"])", 0, plainName, plainValue);
            Require(name == plainName && value == plainValue);
        }
    }
}

// What was written must load again, and what that writes must write out unchanged.
void CheckRoundTrip(CSEXMLPacket& packet)
{
    CSEString written;
    Require(packet.getXMLString(written) == 0);
    RequireXmlChars(written);
    const CSEString rewritten = Reread(written);
    Require(Reread(rewritten) == rewritten);
}

void Exercise(CSEXMLPacket& packet, bool loaded, const CSEString& text)
{
    const CSEString head = text.substr(0, 40);
    const CSEString tail = text.substr(text.size() / 2);

    // A literal made of any text must be valid: the union with "/" then always selects something.
    // (A zero character is refused in any node path.)
    const CSEString literalPath = u"//*[@cadid=" + CSEXMLPacket::MakeXPathLiteral(head) + u"] | /";
    const int selected = packet.getNodeCount(literalPath);
    if (head().Text().find(u'\0') == std::u16string::npos)
        Require(loaded ? selected >= 1 : selected == 0);
    if (!loaded)
        return;
    CheckRoundTrip(packet);

    CSEString out, name, value;
    packet.getRootNodeName(out);
    packet.getNodeCount(u"//*");
    packet.getNodeXMLString(u"/*/*[1]", out);
    packet.getNodeValue(u"/*/*[last()]", out);
    packet.getNamedNVPair(u"/*/*", 0, name, value);
    for (int index = 0; index < 4; ++index)
        packet.getChildNodeName(u"/*", index, out);
    packet.getAttributeValueAt(u"//*", 1, u"iGSSLID", out);

    // Identifiers the text carried, and new ones, address elements.
    const int carried = packet.getUniqueIdOfNode(u"//*[@iGSSLID]");
    if (carried != -1) {
        packet.getNodeXMLString(carried, out);
        packet.getChildNodeCount(carried);
        CheckShortcuts(packet, carried);
    }
    const int list = packet.createChildNode(u"/*", u"list", head, 2);
    const int object = packet.createChildNode(list, u"object", tail, 1);
    packet.createProperty(object, u"cadid", head);
    packet.createAttributeNVPair(object, head, tail);
    packet.createNamedNVPairLikeRLX(packet.getNodePathFromUniqueId(object), u"attribute", tail, head, u"value");
    packet.copyNode(list, &packet, u"/*");
    if (carried != -1)
        packet.createChildNode(carried, u"child", u"", 1);
    packet.appendXMLString(object, tail);
    packet.appendXMLString(u"/*", text);
    CheckRoundTrip(packet);
    CheckShortcuts(packet, object);
    CheckShortcuts(packet, list);

    packet.removeChildNode(u"/*", u"/*/*[1]");
    packet.getChildNodeCount(list);
    Require(packet.removeAttributeFromAllNodes(u"iGSSLID") == 0);
    Require(packet.getNodeCount(u"//*[@iGSSLID] | //@iGSSLID") == 0);
    Require(packet.createChildNode(object, u"gone", u"", 1) == -1);
    CheckRoundTrip(packet);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // An installation folder without "settings.ini": the library logs nothing.
    char folder[] = "/tmp/packet-fuzz-XXXXXX";
    if (mkdtemp(folder) == nullptr)
        std::abort();
    setenv("QX_DRAVIK_INSTALL_DIR", folder, 1);
    g_filePath = std::string(folder) + "/input.xml";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const CSEString text(DVKUnicodeString::FromUTF8(bytes.data(), bytes.size()));

    std::unique_ptr<CSEXMLPacket> inMemory = NewPacket();
    Exercise(*inMemory, inMemory->loadXMLinMemory(text) == 0, text);

    std::ofstream(g_filePath, std::ios::binary | std::ios::trunc) << bytes;
    std::unique_ptr<CSEXMLPacket> fromFile = NewPacket();
    Exercise(*fromFile, fromFile->loadXMLFile(CSEString(g_filePath.c_str())) == 0, text);
    return 0;
}
