/// \file
/// CSEString: the library's value string over the host Unicode string, with a standard-string interface.
#ifndef CSESTRING_H
#define CSESTRING_H

#include "DVKUnicodeString.h"

/// Strip modes; every caller of the library trims both ends (CSEStripBoth).
enum CSEStripMode
{
    CSEStripLeading = 0,
    CSEStripTrailing = 1,
    CSEStripBoth = 2,
    CSEStripAll = 3
};

/// The library's value string over the host Unicode string, with a standard-string interface.
class CSEString
{
public:
    static const int npos = -1;  ///<Returned by the searches when nothing is found.

    CSEString();
    /// A copy of the host string.
    CSEString(const DVKUnicodeString& text);
    /// A copy of other.
    CSEString(const CSEString& other);
    /// The UTF-8 text decoded (null gives the empty string).
    CSEString(const char* utf8Text);
    /// A copy of the UTF-16 text (null gives the empty string).
    CSEString(const char16_t* text);
    /// A string of the one character.
    explicit CSEString(char16_t character);
    virtual ~CSEString();

    /// Returns a copy as a host string.
    operator DVKUnicodeString() const;
    /// Returns the host string inside, writable.
    DVKUnicodeString& operator()() { return m_sText; }
    /// Returns the host string inside.
    const DVKUnicodeString& operator()() const { return m_sText; }

    /// True when the texts are equal, case sensitive.
    bool operator==(const CSEString& other) const;
    /// True when the texts are equal, case sensitive (null reads as empty).
    bool operator==(const char16_t* text) const;
    /// True when the texts differ.
    bool operator!=(const CSEString& other) const;
    /// True when the texts differ (null reads as empty).
    bool operator!=(const char16_t* text) const;
    /// Orders by UTF-16 code units.
    bool operator<(const CSEString& other) const;

    /// Copies other's text; returns this string.
    CSEString& operator=(const CSEString& other);
    /// Copies the text (null gives empty); returns this string.
    CSEString& operator=(const char16_t* text);

    /// Returns this text followed by text.
    CSEString operator+(const char16_t* text) const;
    /// Appends other; returns this string.
    CSEString& operator+=(const CSEString& other);
    /// Appends the text; returns this string.
    CSEString& operator+=(const char16_t* text);
    /// Appends other; returns this string.
    CSEString& append(const CSEString& other);
    /// Appends the text; returns this string.
    CSEString& append(const char16_t* text);

    /// A new zero-terminated copy; the caller releases it with delete[] (or a CSEAutoPtr).
    char16_t* c_str() const;
    /// Returns the length in UTF-16 code units.
    int size() const;
    /// Returns the length in UTF-16 code units.
    int length() const;
    /// Up to len units from start (a negative len: to the end), clipped to the text.
    CSEString substr(int start, int len) const;
    /// The units from start to the end, clipped to the text.
    CSEString substr(int start) const;
    /// Whole-text searches (find_first_of is the same search as find); -1 when absent.
    int find(const CSEString& text) const;
    /// Despite its name, the position of the first occurrence of the whole text (as find); npos when absent.
    int find_first_of(const CSEString& text) const;
    /// Despite its name, the position of the last occurrence of the whole text; npos when absent.
    int find_last_of(const CSEString& text) const;
    /// Empties the string.
    void clear();
    /// Lower-cases the text in place.
    void ToLower();
    /// A copy without the blanks that mode names.
    CSEString Strip(CSEStripMode mode) const;
    /// Replaces every occurrence of from (non-empty) by to; returns how many were replaced.
    int ReplaceSubString(const CSEString& from, const CSEString& to);
    /// Sets this string to the number in decimal; returns a copy of it.
    CSEString getCSEStringFromInt(int number);

private:
    DVKUnicodeString m_sText;
};

/// Returns left followed by right.
CSEString operator+(const char16_t* left, const CSEString& right);
/// Returns left followed by right.
CSEString operator+(const CSEString& left, const CSEString& right);

#endif
