// Password masking for request texts: one linear scan over the markup, shared by every log and dump.
#include "commands/CSERequestMasking.h"

#include <utility>
#include <vector>

namespace {

typedef std::vector<std::pair<std::size_t, std::size_t>> ValueRanges; // [begin, end) of each value

template <typename Char>
bool IsBlank(Char c)
{
    return c == Char(' ') || c == Char('\t') || c == Char('\r') || c == Char('\n');
}

template <typename Char>
bool StartsWithAt(const std::basic_string<Char>& text, std::size_t at, const char* ascii)
{
    for (; *ascii != '\0'; ++ascii, ++at) {
        if (at >= text.size() || text[at] != Char(*ascii))
            return false;
    }
    return true;
}

// The position just after the next terminator at or after from; the end when there is none.
template <typename Char>
std::size_t SkipPast(const std::basic_string<Char>& text, std::size_t from, const char* terminator)
{
    const std::basic_string<Char> wanted(terminator, terminator + std::char_traits<char>::length(terminator));
    const std::size_t found = text.find(wanted, from);
    return found == std::basic_string<Char>::npos ? text.size() : found + wanted.size();
}

template <typename Char>
bool IsPasswordName(const std::basic_string<Char>& text, std::size_t begin, std::size_t end)
{
    static const char kName[] = "password";
    if (end - begin != sizeof(kName) - 1)
        return false;
    for (std::size_t i = 0; i < sizeof(kName) - 1; ++i) {
        Char c = text[begin + i];
        if (c >= Char('A') && c <= Char('Z'))
            c = Char(c - Char('A') + Char('a'));
        if (c != Char(kName[i]))
            return false;
    }
    return true;
}

template <typename Char>
bool EndsAttributeName(Char c)
{
    return IsBlank(c) || c == Char('=') || c == Char('>') || c == Char('/') || c == Char('<');
}

// Reads the attributes of a start tag whose name begins at `at`; records the password values and
// returns where the scan goes on. Every step consumes at least one character.
template <typename Char>
std::size_t ScanStartTag(const std::basic_string<Char>& text, std::size_t at, ValueRanges& ranges)
{
    const std::size_t n = text.size();
    std::size_t i = at;
    while (i < n && !EndsAttributeName(text[i]))
        ++i;
    for (;;) {
        while (i < n && IsBlank(text[i]))
            ++i;
        if (i >= n)
            return n;
        if (text[i] == Char('>'))
            return i + 1;
        if (text[i] == Char('<'))
            return i; // an unclosed tag: the next markup starts here
        if (text[i] == Char('/')) {
            ++i;
            continue;
        }
        const std::size_t nameBegin = i;
        while (i < n && !EndsAttributeName(text[i]))
            ++i;
        const std::size_t nameEnd = i;
        while (i < n && IsBlank(text[i]))
            ++i;
        if (i >= n || text[i] != Char('='))
            continue;
        ++i;
        while (i < n && IsBlank(text[i]))
            ++i;
        if (i >= n)
            return n;
        std::size_t valueBegin = i;
        std::size_t valueEnd;
        if (text[i] == Char('\'') || text[i] == Char('"')) {
            const std::size_t close = text.find(text[i], i + 1);
            valueBegin = i + 1;
            valueEnd = close == std::basic_string<Char>::npos ? n : close;
            i = valueEnd == n ? n : valueEnd + 1;
        } else {
            // Not XML, but a lenient reader would still take it as the value.
            while (i < n && !IsBlank(text[i]) && text[i] != Char('>') &&
                   !(text[i] == Char('/') && i + 1 < n && text[i + 1] == Char('>')))
                ++i;
            valueEnd = i;
        }
        if (IsPasswordName(text, nameBegin, nameEnd))
            ranges.emplace_back(valueBegin, valueEnd);
    }
}

template <typename Char>
std::basic_string<Char> Mask(const std::basic_string<Char>& text, const std::basic_string<Char>& mask)
{
    ValueRanges ranges;
    std::size_t i = 0;
    for (;;) {
        const std::size_t open = text.find(Char('<'), i);
        if (open == std::basic_string<Char>::npos)
            break;
        if (StartsWithAt(text, open, "<!--"))
            i = SkipPast(text, open + 4, "-->");
        else if (StartsWithAt(text, open, "<![CDATA["))
            i = SkipPast(text, open + 9, "]]>");
        else if (StartsWithAt(text, open, "<?"))
            i = SkipPast(text, open + 2, "?>");
        else if (StartsWithAt(text, open, "<!") || StartsWithAt(text, open, "</"))
            i = SkipPast(text, open + 2, ">");
        else
            i = ScanStartTag(text, open + 1, ranges);
    }
    if (ranges.empty())
        return text;
    std::basic_string<Char> masked;
    masked.reserve(text.size() + ranges.size() * mask.size());
    std::size_t copied = 0;
    for (const auto& range : ranges) {
        masked.append(text, copied, range.first - copied);
        masked.append(mask);
        copied = range.second;
    }
    masked.append(text, copied, std::basic_string<Char>::npos);
    return masked;
}

} // namespace

const char16_t* const CSERequestMasking::kMaskedValue = u"*****";

CSEString CSERequestMasking::MaskPasswords(const CSEString& xmlText)
{
    return CSEString(DVKUnicodeString(Mask(xmlText().Text(), std::u16string(kMaskedValue))));
}

std::string CSERequestMasking::MaskPasswords(const std::string& xmlBytes)
{
    return Mask(xmlBytes, std::string("*****"));
}
