/// \file
/// The host platform's Unicode string: UTF-16 text with the handful of operations the library needs.
#ifndef DVKUNICODESTRING_H
#define DVKUNICODESTRING_H

#if __cplusplus < 201703L
#error "QorviCSECommon needs C++17: compile with -std=c++17 or later"
#endif

#include <cstddef>
#include <string>

/// The host platform's Unicode string: UTF-16 text with the handful of operations the library needs.
class DVKUnicodeString
{
public:
    DVKUnicodeString() = default;
    DVKUnicodeString(const char16_t* text);                ///< null gives the empty string
    DVKUnicodeString(const char16_t* text, std::size_t length);
    DVKUnicodeString(const char* utf8Text);                ///< null gives the empty string
    explicit DVKUnicodeString(std::u16string text);

    static DVKUnicodeString FromUTF8(const char* utf8Text, std::size_t byteCount);

    const std::u16string& Text() const { return m_text; }
    std::u16string& Text() { return m_text; }
    const char16_t* Data() const { return m_text.c_str(); }
    int Length() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    std::string ToUTF8() const;

    /// Whole-text search; -1 when absent.
    int Find(const DVKUnicodeString& what, int from = 0) const;
    int ReverseFind(const DVKUnicodeString& what) const;
    DVKUnicodeString SubString(int start, int length) const;

    /// Strip modes: 1 leading blanks, 2 trailing blanks, 3 both ends, 4 every blank.
    DVKUnicodeString Strip(int hostMode) const;
    void ToLower();
    /// Replaces every occurrence of from (non-empty) by to; returns how many were replaced.
    int ReplaceSubString(const DVKUnicodeString& from, const DVKUnicodeString& to);
    unsigned int ComputeHashKey() const;

    DVKUnicodeString& operator+=(const DVKUnicodeString& other)
    {
        m_text += other.m_text;
        return *this;
    }
    bool operator==(const DVKUnicodeString& other) const { return m_text == other.m_text; }
    bool operator!=(const DVKUnicodeString& other) const { return m_text != other.m_text; }
    bool operator<(const DVKUnicodeString& other) const { return m_text < other.m_text; }

private:
    std::u16string m_text;
};

#endif
