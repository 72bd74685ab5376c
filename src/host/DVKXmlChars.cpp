// The characters XML 1.0 can carry, checked and replaced in UTF-16 and checked in UTF-8.
#include "host/DVKXmlChars.h"

#include "host/DVKUtf.h"

namespace dvk {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

bool IsForbiddenControl(char32_t code)
{
    return code < 0x20 && code != u'\t' && code != u'\n' && code != u'\r';
}

// Whether XML cannot carry the character at text[i]; length tells how many units it spans (two
// for a surrogate pair).
bool ForbiddenAt(const std::u16string& text, std::size_t i, std::size_t& length)
{
    const char16_t unit = text[i];
    length = 1;
    if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
        length = 2;
        return false;
    }
    return IsForbiddenControl(unit) || unit == 0xFFFE || unit == 0xFFFF || IsHighSurrogate(unit) ||
           IsLowSurrogate(unit);
}

} // namespace

bool IsXmlText(const std::u16string& text)
{
    std::size_t length = 0;
    for (std::size_t i = 0; i < text.size(); i += length) {
        if (ForbiddenAt(text, i, length))
            return false;
    }
    return true;
}

bool ReplaceNonXmlChars(std::u16string& text)
{
    bool replaced = false;
    std::size_t length = 0;
    for (std::size_t i = 0; i < text.size(); i += length) {
        if (ForbiddenAt(text, i, length)) {
            text[i] = kReplacement;
            replaced = true;
        }
    }
    return replaced;
}

bool IsXmlTextUtf8(const char* text, std::size_t byteCount)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    for (std::size_t i = 0; i < byteCount; ++i) {
        if (IsForbiddenControl(bytes[i]))
            return false;
        // U+FFFE and U+FFFF are EF BF BE and EF BF BF.
        if (bytes[i] == 0xEF && i + 2 < byteCount && bytes[i + 1] == 0xBF && bytes[i + 2] >= 0xBE)
            return false;
    }
    return IsValidUtf8(text, byteCount);
}

std::string XmlUtf8(const std::u16string& text)
{
    if (IsXmlText(text))
        return Utf16ToUtf8(text);
    std::u16string replaced(text);
    ReplaceNonXmlChars(replaced);
    return Utf16ToUtf8(replaced);
}

} // namespace dvk
