// XmlDocument: parsing into a fresh tree that replaces the old one only when the parse succeeded.
#include "host/DVKXmlDocument.h"

#include <cstring>
#include <limits>
#include <new>
#include <string>
#include <string_view>
#include <unordered_set>

#include "host/DVKFiles.h"
#include "host/DVKUtf.h"
#include "host/DVKXmlChars.h"
#include "host/DVKXmlOutput.h"
#include "host/DVKXmlPugi.h"

namespace dvk {

struct XmlDocument::Tree
{
    pugi::xml_document document;
};

namespace {

// The parser does not refuse an element that repeats an attribute; a well-formed document has none.
bool RepeatsAnAttribute(pugi::xml_node element, std::unordered_set<std::string_view>& seen)
{
    seen.clear();
    for (pugi::xml_attribute attribute : element.attributes()) {
        if (!seen.insert(std::string_view(attribute.name(), std::strlen(attribute.name()))).second)
            return true;
    }
    return false;
}

// A UTF-8 file is taken byte for byte: text that is not well-formed UTF-8 is read as the rest of the
// library reads it, each malformed sequence as U+FFFD, so that what is written reads back the same.
// The parser also takes characters that XML cannot carry (raw, or as references): they read as
// U+FFFD too, so that the tree never holds what could not be written.
template <typename Item>
void MendUtf8(Item item)
{
    const char* name = item.name();
    if (!IsXmlTextUtf8(name, std::strlen(name)))
        item.set_name(XmlUtf8(Utf8ToUtf16(name, std::strlen(name))).c_str());
    const char* value = item.value();
    if (!IsXmlTextUtf8(value, std::strlen(value)))
        item.set_value(XmlUtf8(Utf8ToUtf16(value, std::strlen(value))).c_str());
}

XmlStatus ParseStatus(pugi::xml_document& document, const pugi::xml_parse_result& result)
{
    if (result.status == pugi::status_file_not_found || result.status == pugi::status_io_error)
        return XmlStatus(XmlStatusCode::FileError, result.description());
    if (result.status == pugi::status_out_of_memory)
        return XmlStatus(XmlStatusCode::OutOfMemory, result.description());
    if (!result)
        return XmlStatus(XmlStatusCode::ParseError, std::string(result.description()) + " at offset " +
                                                        std::to_string(result.offset));
    int elements = 0;
    for (pugi::xml_node child = document.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element)
            ++elements;
    }
    if (elements != 1)
        return XmlStatus(XmlStatusCode::ParseError, "a document holds exactly one document element");
    WalkDescendants(document, [](pugi::xml_node node) {
        MendUtf8(node);
        for (pugi::xml_attribute attribute : node.attributes())
            MendUtf8(attribute);
        return true;
    });
    std::unordered_set<std::string_view> seen;
    bool repeated = false;
    WalkDescendants(document, [&](pugi::xml_node node) {
        repeated = node.type() == pugi::node_element && RepeatsAnAttribute(node, seen);
        return !repeated;
    });
    if (repeated)
        return XmlStatus(XmlStatusCode::ParseError, "an element repeats an attribute");
    return XmlStatus();
}

std::string Utf8Text(const pugi::xml_document& document)
{
    XmlStringWriter writer;
    WriteXml(document, writer);
    return std::move(writer.Text());
}

} // namespace

XmlDocument::XmlDocument() : m_pTree(new Tree) {}
XmlDocument::~XmlDocument() = default;
XmlDocument::XmlDocument(XmlDocument&& other) noexcept = default;
XmlDocument& XmlDocument::operator=(XmlDocument&& other) noexcept = default;

XmlStatus XmlDocument::LoadFile(const std::u16string& path)
{
    if (path.find(u'\0') != std::u16string::npos)
        return XmlStatus(XmlStatusCode::FileError, "a file name holds no zero character");
    // Only a regular file is read: a folder or a device would be taken for a file of absurd size.
    const std::string utf8Path = Utf16ToUtf8(path);
    std::string bytes;
    if (!ReadRegularFile(utf8Path, std::numeric_limits<std::size_t>::max(), bytes)) {
        Clear();
        return XmlStatus(XmlStatusCode::FileError, "not a readable file: " + utf8Path);
    }
    std::unique_ptr<Tree> tree(new (std::nothrow) Tree);
    if (!tree)
        return XmlStatus(XmlStatusCode::OutOfMemory, "out of memory");
    const pugi::xml_parse_result result =
        tree->document.load_buffer(bytes.data(), bytes.size(), kXmlParseOptions, pugi::encoding_auto);
    return Adopt(tree, ParseStatus(tree->document, result));
}

XmlStatus XmlDocument::LoadText(const std::u16string& text)
{
    const std::string utf8 = Utf16ToUtf8(text);
    return LoadUtf8(utf8.data(), utf8.size());
}

XmlStatus XmlDocument::LoadUtf8(const char* text, std::size_t byteCount)
{
    std::unique_ptr<Tree> tree(new (std::nothrow) Tree);
    if (!tree)
        return XmlStatus(XmlStatusCode::OutOfMemory, "out of memory");
    const pugi::xml_parse_result result =
        tree->document.load_buffer(text, byteCount, kXmlParseOptions, pugi::encoding_utf8);
    return Adopt(tree, ParseStatus(tree->document, result));
}

XmlStatus XmlDocument::Adopt(std::unique_ptr<Tree>& tree, XmlStatus status)
{
    if (status)
        m_pTree = std::move(tree);
    else
        Clear();
    return status;
}

void XmlDocument::Clear()
{
    if (m_pTree)
        m_pTree->document.reset();
}

XmlNode XmlDocument::Root() const
{
    if (!m_pTree)
        return XmlNode();
    return XmlNodeAccess::Make(m_pTree->document);
}

XmlNode XmlDocument::DocumentElement() const
{
    if (!m_pTree)
        return XmlNode();
    return XmlNodeAccess::Make(m_pTree->document.document_element());
}

std::u16string XmlDocument::ToText() const
{
    if (!m_pTree)
        return std::u16string();
    return Utf8ToUtf16(Utf8Text(m_pTree->document));
}

XmlStatus XmlDocument::SaveFile(const std::u16string& path) const
{
    if (path.find(u'\0') != std::u16string::npos)
        return XmlStatus(XmlStatusCode::FileError, "a file name holds no zero character");
    if (!m_pTree || !WriteWholeFile(Utf16ToUtf8(path), Utf8Text(m_pTree->document), kOwnerOnlyFile))
        return XmlStatus(XmlStatusCode::FileError, "cannot write the file");
    return XmlStatus();
}

} // namespace dvk
