// XmlDocument: an XML document that the library parses, builds and writes.
#ifndef QORVI_HOST_DVKXMLDOCUMENT_H
#define QORVI_HOST_DVKXMLDOCUMENT_H

#include <cstddef>
#include <memory>
#include <string>

#include "host/DVKXmlNode.h"
#include "host/DVKXmlStatus.h"

namespace dvk {

// Owns its tree; node handles on it live as long as the document and their nodes. A new document
// is empty (no document element). Parsing never validates and accepts one document element only;
// it keeps elements, attributes, text and CDATA (comments, processing instructions, declarations and
// blanks between elements are dropped). A parse replaces the whole tree, and a failed parse leaves
// the document empty, never half-read.
class XmlDocument
{
public:
    XmlDocument();
    ~XmlDocument();
    XmlDocument(XmlDocument&& other) noexcept;
    XmlDocument& operator=(XmlDocument&& other) noexcept;
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    // The encoding of a file is detected (byte order mark or declaration; UTF-8 by default); bytes
    // that are not UTF-8, and characters that XML cannot carry, read as U+FFFD.
    XmlStatus LoadFile(const std::u16string& path);
    // In-memory text: UTF-16 or UTF-8. A declared encoding is ignored, the text is what it is.
    XmlStatus LoadText(const std::u16string& text);
    XmlStatus LoadUtf8(const char* text, std::size_t byteCount);
    void Clear();

    // The document node (parent of the document element).
    XmlNode Root() const;
    // Null while the document is empty.
    XmlNode DocumentElement() const;

    // The whole document with an XML declaration, indented by two spaces (a document so deep that
    // the indentation would dwarf it is written without layout).
    std::u16string ToText() const;
    // The same text written as UTF-8, replacing the file whole (through a temporary file renamed
    // over it) and readable by its owner only.
    XmlStatus SaveFile(const std::u16string& path) const;

private:
    struct Tree;
    // Keeps a freshly parsed tree when its parse succeeded, else empties the document.
    XmlStatus Adopt(std::unique_ptr<Tree>& tree, XmlStatus status);

    std::unique_ptr<Tree> m_pTree; // null only in a moved-from document, which reads as empty
};

} // namespace dvk

#endif
