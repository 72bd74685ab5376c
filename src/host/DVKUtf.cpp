// UTF-8 <-> UTF-16 conversion with replacement of malformed sequences.
#include "host/DVKUtf.h"

namespace dvk {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one sequence at text[i]; advances i past it (at least one byte). valid tells whether the
// sequence was well-formed; a malformed one gives the replacement character.
char32_t DecodeUtf8(const unsigned char* text, std::size_t count, std::size_t& i, bool& valid)
{
    const unsigned char lead = text[i++];
    valid = lead < 0x80;
    if (valid)
        return lead;
    int extra = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) { extra = 1; code = lead & 0x1F; minimum = 0x80; }
    else if ((lead & 0xF0) == 0xE0) { extra = 2; code = lead & 0x0F; minimum = 0x800; }
    else if ((lead & 0xF8) == 0xF0) { extra = 3; code = lead & 0x07; minimum = 0x10000; }
    else return kReplacement;
    for (int k = 0; k < extra; ++k) {
        if (i >= count || (text[i] & 0xC0) != 0x80)
            return kReplacement;
        code = (code << 6) | (text[i++] & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return kReplacement;
    valid = true;
    return code;
}

void AppendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace

std::u16string Utf8ToUtf16(const char* text, std::size_t byteCount)
{
    std::u16string out;
    if (text == nullptr)
        return out;
    out.reserve(byteCount);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    std::size_t i = 0;
    bool valid = true;
    while (i < byteCount) {
        const char32_t code = DecodeUtf8(bytes, byteCount, i, valid);
        if (code < 0x10000) {
            out += static_cast<char16_t>(code);
        } else {
            out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        }
    }
    return out;
}

std::u16string Utf8ToUtf16(const std::string& text)
{
    return Utf8ToUtf16(text.data(), text.size());
}

std::string Utf16ToUtf8(const char16_t* text, std::size_t unitCount)
{
    std::string out;
    if (text == nullptr)
        return out;
    out.reserve(unitCount);
    for (std::size_t i = 0; i < unitCount; ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < unitCount && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = kReplacement;
        }
        AppendUtf8(out, code);
    }
    return out;
}

std::string Utf16ToUtf8(const std::u16string& text)
{
    return Utf16ToUtf8(text.data(), text.size());
}

bool IsValidUtf8(const char* text, std::size_t byteCount)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    bool valid = true;
    for (std::size_t i = 0; i < byteCount && valid;)
        DecodeUtf8(bytes, byteCount, i, valid);
    return valid;
}

std::size_t Utf8CompletePrefix(const char* text, std::size_t byteCount)
{
    // Look back at most three bytes for a lead byte whose sequence runs past the end.
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    for (std::size_t back = 1; back <= 3 && back <= byteCount; ++back) {
        const unsigned char c = bytes[byteCount - back];
        if ((c & 0xC0) == 0x80)
            continue;
        std::size_t need = 1;
        if ((c & 0xE0) == 0xC0) need = 2;
        else if ((c & 0xF0) == 0xE0) need = 3;
        else if ((c & 0xF8) == 0xF0) need = 4;
        return need > back ? byteCount - back : byteCount;
    }
    return byteCount;
}

} // namespace dvk
