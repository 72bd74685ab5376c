// CSEXMLNodePath: splits a node path into its location steps by a scan of its top level.
#include "xml/CSEXMLNodePath.h"

#include <limits>

namespace {

bool IsNameStart(char16_t unit)
{
    return (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z') || unit == u'_' || unit >= 0x80;
}

bool IsNameUnit(char16_t unit)
{
    return IsNameStart(unit) || (unit >= u'0' && unit <= u'9') || unit == u'-' || unit == u'.';
}

bool IsHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// False for a zero or for half of a surrogate pair without its other half.
bool IsWholeCharacter(const std::u16string& text, std::size_t at)
{
    const char16_t unit = text[at];
    if (unit == 0 || IsLowSurrogate(unit))
        return false;
    return !IsHighSurrogate(unit) || (at + 1 < text.size() && IsLowSurrogate(text[at + 1]));
}

std::size_t SeparatorLength(CSEXMLNodePath::Separator separator)
{
    switch (separator) {
    case CSEXMLNodePath::Separator::Child: return 1;
    case CSEXMLNodePath::Separator::Descendant: return 2;
    default: return 0;
    }
}

// Length of the name that starts at begin (0 when none does).
std::size_t NameLength(const std::u16string& text, std::size_t begin)
{
    if (begin >= text.size() || !IsNameStart(text[begin]))
        return 0;
    std::size_t end = begin + 1;
    while (end < text.size() && IsNameUnit(text[end]))
        ++end;
    return end - begin;
}

} // namespace

CSEXMLNodePath::CSEXMLNodePath(const std::u16string& path)
{
    if (!Split(path))
        m_steps.clear();
}

bool CSEXMLNodePath::Split(const std::u16string& path)
{
    std::u16string open; // the brackets and parentheses not yet closed
    Step step;
    // Starts a step at the given place: reads its separator, returns where its text begins.
    auto startStep = [&](std::size_t at) {
        step = Step();
        step.start = at;
        if (at < path.size() && path[at] == u'/')
            step.separator = at + 1 < path.size() && path[at + 1] == u'/' ? Separator::Descendant : Separator::Child;
        return at + SeparatorLength(step.separator);
    };
    std::size_t textBegin = startStep(0);
    std::size_t i = textBegin;
    while (i < path.size()) {
        const char16_t unit = path[i];
        if (!IsWholeCharacter(path, i))
            return false;
        if (IsHighSurrogate(unit)) {
            i += 2;
            continue;
        }
        if (!open.empty() && (unit == u'\'' || unit == u'"')) {
            const std::size_t close = path.find(unit, i + 1);
            if (close == std::u16string::npos)
                return false;
            for (std::size_t j = i + 1; j < close; j += IsHighSurrogate(path[j]) ? 2 : 1) {
                if (!IsWholeCharacter(path, j))
                    return false;
            }
            i = close + 1;
            continue;
        }
        if (unit == u'[' || unit == u'(') {
            open.push_back(unit);
        } else if (unit == u']' || unit == u')') {
            if (open.empty() || open.back() != (unit == u']' ? u'[' : u'('))
                return false;
            open.pop_back();
        } else if (open.empty()) {
            if (unit == u'|' || unit == u' ' || unit == u'\t' || unit == u'\r' || unit == u'\n' ||
                unit == u'\'' || unit == u'"')
                return false;
            if (unit == u'/') {
                if (i == textBegin)
                    return false; // an empty step, as in "a///b" or in "/" alone
                step.end = i;
                ParseNamed(path, step);
                m_steps.push_back(step);
                i = textBegin = startStep(i);
                continue;
            }
        }
        ++i;
    }
    if (!open.empty() || textBegin >= path.size())
        return false;
    step.end = path.size();
    ParseNamed(path, step);
    m_steps.push_back(step);
    return true;
}

void CSEXMLNodePath::ParseNamed(const std::u16string& path, Step& step)
{
    std::size_t i = step.start + SeparatorLength(step.separator);
    const std::size_t nameLength = path[i] == u'*' ? 1 : NameLength(path, i);
    if (nameLength == 0)
        return;
    step.name = path.substr(i, nameLength);
    i += nameLength;
    // Predicates follow one another; the split has checked that brackets and literals close.
    while (i < step.end) {
        if (path[i] != u'[')
            return;
        std::size_t depth = 0;
        std::size_t j = i;
        for (; j < step.end; ++j) {
            const char16_t unit = path[j];
            if (unit == u'\'' || unit == u'"') {
                j = path.find(unit, j + 1);
                if (j >= step.end)
                    return;
            } else if (unit == u'[' || unit == u'(') {
                ++depth;
            } else if ((unit == u']' || unit == u')') && --depth == 0) {
                break;
            }
        }
        if (j >= step.end)
            return;
        Predicate predicate;
        predicate.begin = i;
        predicate.end = j + 1;
        predicate.text = path.substr(i + 1, j - i - 1);
        step.predicates.push_back(std::move(predicate));
        i = j + 1;
    }
    step.named = true;
}

bool CSEXMLNodePath::IsPosition(const std::u16string& predicate, std::size_t& position)
{
    if (predicate.empty())
        return false;
    const std::size_t largest = std::numeric_limits<std::size_t>::max();
    position = 0;
    for (char16_t unit : predicate) {
        if (unit < u'0' || unit > u'9')
            return false;
        const std::size_t digit = static_cast<std::size_t>(unit - u'0');
        position = position > (largest - digit) / 10 ? largest : position * 10 + digit;
    }
    return true;
}

bool CSEXMLNodePath::IsAttributeTest(const std::u16string& predicate, std::u16string& name,
                                     std::u16string& value, char16_t& quote)
{
    if (predicate.size() < 4 || predicate[0] != u'@')
        return false;
    const std::size_t nameLength = NameLength(predicate, 1);
    const std::size_t equals = 1 + nameLength;
    if (nameLength == 0 || equals + 2 >= predicate.size() || predicate[equals] != u'=')
        return false;
    quote = predicate[equals + 1];
    if ((quote != u'\'' && quote != u'"') || predicate.back() != quote ||
        predicate.find(quote, equals + 2) != predicate.size() - 1)
        return false;
    name = predicate.substr(1, nameLength);
    // Namespace declarations are no attributes to XPath.
    if (name == u"xmlns")
        return false;
    value = predicate.substr(equals + 2, predicate.size() - equals - 3);
    return true;
}
