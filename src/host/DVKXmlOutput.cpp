// Writing a tree: the parser's writer, with carriage returns in text kept as references.
#include "host/DVKXmlOutput.h"

#include <cstring>

#include "host/DVKXmlPugi.h"

namespace dvk {
namespace {

constexpr const char* kIndent = "  ";
// Indentation costs a line's depth in blanks: a very deep tree would write out as many times its
// own size, so past this many blanks the text is written without layout (the same document).
constexpr std::size_t kIndentBudget = std::size_t(32) << 20;

struct WritePlan
{
    unsigned int format = pugi::format_default;
    bool carriageReturns = false; // some text holds one: the writer has to mend them
};

bool HoldsCarriageReturn(pugi::xml_node node)
{
    const pugi::xml_node_type type = node.type();
    return (type == pugi::node_pcdata || type == pugi::node_cdata) &&
           std::strchr(node.value(), '\r') != nullptr;
}

// One walk over top and its subtree: indented unless the indentation would exceed the budget, and
// whether any text holds a carriage return.
WritePlan PlanWriting(pugi::xml_node top)
{
    WritePlan plan;
    plan.carriageReturns = HoldsCarriageReturn(top);
    const std::size_t indentWidth = std::strlen(kIndent);
    std::size_t blanks = 0;
    std::size_t depth = 1;
    pugi::xml_node current = top.first_child();
    while (current) {
        if (plan.format != pugi::format_raw) {
            blanks += depth * indentWidth;
            if (blanks > kIndentBudget)
                plan.format = pugi::format_raw;
        }
        plan.carriageReturns = plan.carriageReturns || HoldsCarriageReturn(current);
        if (plan.format == pugi::format_raw && plan.carriageReturns)
            break;
        if (current.first_child()) {
            current = current.first_child();
            ++depth;
            continue;
        }
        while (current != top && !current.next_sibling()) {
            current = current.parent();
            --depth;
        }
        if (current == top)
            break;
        current = current.next_sibling();
    }
    return plan;
}

// Passes the written text on with each literal carriage return replaced. The parser's writer
// escapes them in attribute values only; in text and CDATA they are the one thing to mend (once the
// tree holds only characters that XML can carry).
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
    const WritePlan plan = PlanWriting(document);
    CarriageReturnWriter mended(out);
    pugi::xml_writer& writer = plan.carriageReturns ? static_cast<pugi::xml_writer&>(mended) : out;
    document.save(writer, kIndent, plan.format, pugi::encoding_utf8);
}

void WriteXml(pugi::xml_node node, pugi::xml_writer& out)
{
    const WritePlan plan = PlanWriting(node);
    CarriageReturnWriter mended(out);
    pugi::xml_writer& writer = plan.carriageReturns ? static_cast<pugi::xml_writer&>(mended) : out;
    node.print(writer, kIndent, plan.format, pugi::encoding_utf8);
}

} // namespace dvk
