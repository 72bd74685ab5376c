// The host Unicode string: UTF-16 storage, whole-text search, case mapping, trimming and hashing.
#include "DVKUnicodeString.h"

#include <cstring>

#include "host/DVKCaseMap.h"
#include "host/DVKUtf.h"

namespace {

bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f' ||
           c == 0x00A0;
}

} // namespace

DVKUnicodeString::DVKUnicodeString(const char16_t* text)
{
    if (text != nullptr)
        m_text = text;
}

DVKUnicodeString::DVKUnicodeString(const char16_t* text, std::size_t length)
{
    if (text != nullptr)
        m_text.assign(text, length);
}

DVKUnicodeString::DVKUnicodeString(const char* utf8Text)
{
    if (utf8Text != nullptr)
        m_text = dvk::Utf8ToUtf16(utf8Text, std::strlen(utf8Text));
}

DVKUnicodeString::DVKUnicodeString(std::u16string text) : m_text(std::move(text)) {}

DVKUnicodeString DVKUnicodeString::FromUTF8(const char* utf8Text, std::size_t byteCount)
{
    return DVKUnicodeString(dvk::Utf8ToUtf16(utf8Text, byteCount));
}

std::string DVKUnicodeString::ToUTF8() const
{
    return dvk::Utf16ToUtf8(m_text);
}

int DVKUnicodeString::Find(const DVKUnicodeString& what, int from) const
{
    if (from < 0 || static_cast<std::size_t>(from) > m_text.size())
        return -1;
    const auto at = m_text.find(what.m_text, static_cast<std::size_t>(from));
    return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

int DVKUnicodeString::ReverseFind(const DVKUnicodeString& what) const
{
    const auto at = m_text.rfind(what.m_text);
    return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

DVKUnicodeString DVKUnicodeString::SubString(int start, int length) const
{
    const int size = Length();
    if (start < 0)
        start = 0;
    if (start >= size || length == 0)
        return DVKUnicodeString();
    const int rest = size - start;
    const int take = (length < 0 || length > rest) ? rest : length;
    return DVKUnicodeString(m_text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(take)));
}

DVKUnicodeString DVKUnicodeString::Strip(int hostMode) const
{
    if (hostMode == 4) {
        std::u16string out;
        out.reserve(m_text.size());
        for (char16_t c : m_text)
            if (!IsBlank(c))
                out += c;
        return DVKUnicodeString(std::move(out));
    }
    std::size_t first = 0;
    std::size_t last = m_text.size();
    if (hostMode == 1 || hostMode == 3)
        while (first < last && IsBlank(m_text[first]))
            ++first;
    if (hostMode == 2 || hostMode == 3)
        while (last > first && IsBlank(m_text[last - 1]))
            --last;
    return DVKUnicodeString(m_text.substr(first, last - first));
}

void DVKUnicodeString::ToLower()
{
    dvk::LowerUtf16(m_text);
}

int DVKUnicodeString::ReplaceSubString(const DVKUnicodeString& from, const DVKUnicodeString& to)
{
    if (from.m_text.empty())
        return 0;
    int count = 0;
    std::u16string out;
    std::size_t pos = 0;
    for (;;) {
        const auto at = m_text.find(from.m_text, pos);
        if (at == std::u16string::npos)
            break;
        out.append(m_text, pos, at - pos);
        out += to.m_text;
        pos = at + from.m_text.size();
        ++count;
    }
    if (count == 0)
        return 0;
    out.append(m_text, pos, std::u16string::npos);
    m_text.swap(out);
    return count;
}

unsigned int DVKUnicodeString::ComputeHashKey() const
{
    // FNV-1a over the UTF-16 code units.
    unsigned int hash = 2166136261u;
    for (char16_t c : m_text) {
        hash ^= static_cast<unsigned int>(c & 0xFF);
        hash *= 16777619u;
        hash ^= static_cast<unsigned int>(c >> 8);
        hash *= 16777619u;
    }
    return hash;
}
