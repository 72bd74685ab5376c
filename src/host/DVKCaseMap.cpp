// Unicode simple lowercase mapping over UTF-16 text: binary search over the generated runs.
#include "host/DVKCaseMap.h"

#include <algorithm>

namespace dvk {

namespace {

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Reads the code point at text[at] (a pair when well formed) and advances at past it.
char32_t NextCodePoint(const std::u16string& text, std::size_t& at)
{
    const char16_t unit = text[at++];
    if (!IsHighSurrogate(unit) || at == text.size() || !IsLowSurrogate(text[at]))
        return unit;
    const char16_t low = text[at++];
    return 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (low - 0xDC00);
}

} // namespace

char32_t SimpleLowercase(char32_t c)
{
    if (c < 0x80)
        return (c >= U'A' && c <= U'Z') ? c + 32 : c;
    const LowerRun* end = kLowerRuns + kLowerRunCount;
    const LowerRun* after = std::upper_bound(
        kLowerRuns, end, c, [](char32_t value, const LowerRun& run) { return value < run.first; });
    if (after == kLowerRuns)
        return c;
    const LowerRun& run = after[-1];
    if (c > run.last || (c - run.first) % run.step != 0)
        return c;
    return static_cast<char32_t>(static_cast<std::int32_t>(c) + run.delta);
}

void LowerUtf16(std::u16string& text)
{
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t start = at;
        const char32_t lower = SimpleLowercase(NextCodePoint(text, at));
        if (lower < 0x10000) {
            text[start] = static_cast<char16_t>(lower);
            continue;
        }
        text[start] = static_cast<char16_t>(0xD800 + ((lower - 0x10000) >> 10));
        text[start + 1] = static_cast<char16_t>(0xDC00 + ((lower - 0x10000) & 0x3FF));
    }
}

bool EqualIgnoringCase(const std::u16string& first, const std::u16string& second)
{
    if (first.size() != second.size())
        return false;
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < first.size()) {
        const char16_t a = first[i];
        const char16_t b = second[j];
        if (a == b && !IsHighSurrogate(a)) {
            ++i;
            ++j;
            continue;
        }
        if (SimpleLowercase(NextCodePoint(first, i)) != SimpleLowercase(NextCodePoint(second, j)))
            return false;
    }
    return j == second.size();
}

} // namespace dvk
