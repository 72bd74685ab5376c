// Writing a tree: the parser's writer, with carriage returns in text kept as references.
#include "host/DVKXmlOutput.h"

#include <cstring>

#include "host/DVKXmlPugi.h"

namespace dvk {
namespace {

// Passes the written text on with each literal carriage return replaced. The parser's writer
// escapes them in attribute values only; in text and CDATA they are the one thing to mend.
class CarriageReturnWriter : public pugi::xml_writer
{
public:
    explicit CarriageReturnWriter(pugi::xml_writer& out) : m_out(out) {}

    void write(const void* data, size_t size) override
    {
        const char* text = static_cast<const char*>(data);
        std::size_t start = 0;
        for (std::size_t i = 0; i < size; ++i) {
            if (text[i] != '\r') {
                Follow(text[i]);
                continue;
            }
            m_out.write(text + start, i - start);
            const char* reference = m_inCData ? "]]>&#13;<![CDATA[" : "&#13;";
            m_out.write(reference, std::strlen(reference));
            m_matched = 0;
            start = i + 1;
        }
        m_out.write(text + start, size - start);
    }

private:
    // Follows the section marks across chunks. Outside a section "<![CDATA[" can only open one
    // ("<" is escaped in text and values); inside, the first "]]>" closes it (the parser splits a
    // section whose text holds one).
    void Follow(char c)
    {
        static const char kOpen[] = "<![CDATA[";
        if (!m_inCData) {
            m_matched = c == kOpen[m_matched] ? m_matched + 1 : (c == '<' ? 1 : 0);
            if (m_matched == sizeof(kOpen) - 1) {
                m_inCData = true;
                m_matched = 0;
            }
            return;
        }
        if (c == '>' && m_matched == 2) {
            m_inCData = false;
            m_matched = 0;
            return;
        }
        m_matched = c != ']' ? 0 : (m_matched < 2 ? m_matched + 1 : 2);
    }

    pugi::xml_writer& m_out;
    bool m_inCData = false;
    std::size_t m_matched = 0; // characters of the awaited mark seen so far
};

} // namespace

void WriteXml(const pugi::xml_document& document, pugi::xml_writer& out)
{
    CarriageReturnWriter writer(out);
    document.save(writer, kXmlIndent, XmlWriteFormat(document), pugi::encoding_utf8);
}

void WriteXml(pugi::xml_node node, pugi::xml_writer& out)
{
    CarriageReturnWriter writer(out);
    node.print(writer, kXmlIndent, XmlWriteFormat(node), pugi::encoding_utf8);
}

} // namespace dvk
