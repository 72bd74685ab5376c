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
    /// The first length units of text.
    DVKUnicodeString(const char16_t* text, std::size_t length);
    DVKUnicodeString(const char* utf8Text);                ///< null gives the empty string
    /// Takes the text.
    explicit DVKUnicodeString(std::u16string text);

    /// The byteCount bytes of UTF-8 decoded.
    static DVKUnicodeString FromUTF8(const char* utf8Text, std::size_t byteCount);

    /// Returns the text.
    const std::u16string& Text() const { return m_text; }
    /// Returns the text, writable.
    std::u16string& Text() { return m_text; }
    /// Returns the text, zero-terminated; valid until the string changes.
    const char16_t* Data() const { return m_text.c_str(); }
    /// Returns the length in UTF-16 code units.
    int Length() const { return static_cast<int>(m_text.size()); }
    /// True when the text is empty.
    bool IsEmpty() const { return m_text.empty(); }
    /// Returns the text encoded as UTF-8.
    std::string ToUTF8() const;

    /// Whole-text search; -1 when absent.
    int Find(const DVKUnicodeString& what, int from = 0) const;
    /// Position of the last occurrence of what; -1 when absent.
    int ReverseFind(const DVKUnicodeString& what) const;
    /// Up to length units from start (negative length: to the end), clipped to the text.
    DVKUnicodeString SubString(int start, int length) const;

    /// Strip modes: 1 leading blanks, 2 trailing blanks, 3 both ends, 4 every blank.
    DVKUnicodeString Strip(int hostMode) const;
    /// Lower-cases the text in place.
    void ToLower();
    /// Replaces every occurrence of from (non-empty) by to; returns how many were replaced.
    int ReplaceSubString(const DVKUnicodeString& from, const DVKUnicodeString& to);
    /// Returns the hash code of the text (FNV-1a over its code units).
    unsigned int ComputeHashKey() const;

    /// Appends other; returns this string.
    DVKUnicodeString& operator+=(const DVKUnicodeString& other)
    {
        m_text += other.m_text;
        return *this;
    }
    /// True when the texts are equal.
    bool operator==(const DVKUnicodeString& other) const { return m_text == other.m_text; }
    /// True when the texts differ.
    bool operator!=(const DVKUnicodeString& other) const { return m_text != other.m_text; }
    /// Orders by UTF-16 code units.
    bool operator<(const DVKUnicodeString& other) const { return m_text < other.m_text; }

private:
    std::u16string m_text;
};

#endif
