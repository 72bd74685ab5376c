// CSEString: standard-string operations forwarded to the host Unicode string.
#include "CSEString.h"

#include <cstring>
#include <string>

CSEString::CSEString() = default;
CSEString::CSEString(const DVKUnicodeString& text) : m_sText(text) {}
CSEString::CSEString(const CSEString& other) = default;
CSEString::CSEString(const char* utf8Text) : m_sText(utf8Text) {}
CSEString::CSEString(const char16_t* text) : m_sText(text) {}
CSEString::CSEString(char16_t character) : m_sText(&character, 1) {}
CSEString::~CSEString() = default;

CSEString::operator DVKUnicodeString() const
{
    return m_sText;
}

bool CSEString::operator==(const CSEString& other) const
{
    return m_sText == other.m_sText;
}

bool CSEString::operator==(const char16_t* text) const
{
    return m_sText.Text() == (text ? text : u"");
}

bool CSEString::operator!=(const CSEString& other) const
{
    return !(*this == other);
}

bool CSEString::operator!=(const char16_t* text) const
{
    return !(*this == text);
}

bool CSEString::operator<(const CSEString& other) const
{
    return m_sText < other.m_sText;
}

CSEString& CSEString::operator=(const CSEString& other) = default;

CSEString& CSEString::operator=(const char16_t* text)
{
    m_sText = DVKUnicodeString(text);
    return *this;
}

CSEString CSEString::operator+(const char16_t* text) const
{
    CSEString result(*this);
    result += text;
    return result;
}

CSEString& CSEString::operator+=(const CSEString& other)
{
    m_sText += other.m_sText;
    return *this;
}

CSEString& CSEString::operator+=(const char16_t* text)
{
    if (text != nullptr)
        m_sText.Text() += text;
    return *this;
}

CSEString& CSEString::append(const CSEString& other)
{
    return *this += other;
}

CSEString& CSEString::append(const char16_t* text)
{
    return *this += text;
}

char16_t* CSEString::c_str() const
{
    const std::u16string& text = m_sText.Text();
    auto* buffer = new char16_t[text.size() + 1];
    std::memcpy(buffer, text.c_str(), (text.size() + 1) * sizeof(char16_t));
    return buffer;
}

int CSEString::size() const
{
    return m_sText.Length();
}

int CSEString::length() const
{
    return size();
}

CSEString CSEString::substr(int start, int len) const
{
    return CSEString(m_sText.SubString(start, len));
}

CSEString CSEString::substr(int start) const
{
    return substr(start, npos);
}

int CSEString::find(const CSEString& text) const
{
    return m_sText.Find(text.m_sText, 0);
}

int CSEString::find_first_of(const CSEString& text) const
{
    return find(text);
}

int CSEString::find_last_of(const CSEString& text) const
{
    return m_sText.ReverseFind(text.m_sText);
}

void CSEString::clear()
{
    m_sText.Text().clear();
}

void CSEString::ToLower()
{
    m_sText.ToLower();
}

CSEString CSEString::Strip(CSEStripMode mode) const
{
    return CSEString(m_sText.Strip(static_cast<int>(mode) + 1));
}

int CSEString::ReplaceSubString(const CSEString& from, const CSEString& to)
{
    return m_sText.ReplaceSubString(from.m_sText, to.m_sText);
}

CSEString CSEString::getCSEStringFromInt(int number)
{
    m_sText = DVKUnicodeString(std::to_string(number).c_str());
    return *this;
}

CSEString operator+(const char16_t* left, const CSEString& right)
{
    CSEString result(left);
    result += right;
    return result;
}

CSEString operator+(const CSEString& left, const CSEString& right)
{
    CSEString result(left);
    result += right;
    return result;
}
