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
    static const int npos = -1;

    CSEString();
    CSEString(const DVKUnicodeString& text);
    CSEString(const CSEString& other);
    CSEString(const char* utf8Text);
    CSEString(const char16_t* text);
    explicit CSEString(char16_t character);
    virtual ~CSEString();

    operator DVKUnicodeString() const;
    DVKUnicodeString& operator()() { return m_sText; }
    const DVKUnicodeString& operator()() const { return m_sText; }

    bool operator==(const CSEString& other) const;
    bool operator==(const char16_t* text) const;
    bool operator!=(const CSEString& other) const;
    bool operator!=(const char16_t* text) const;
    bool operator<(const CSEString& other) const;

    CSEString& operator=(const CSEString& other);
    CSEString& operator=(const char16_t* text);

    CSEString operator+(const char16_t* text) const;
    CSEString& operator+=(const CSEString& other);
    CSEString& operator+=(const char16_t* text);
    CSEString& append(const CSEString& other);
    CSEString& append(const char16_t* text);

    /// A new zero-terminated copy; the caller releases it with delete[] (or a CSEAutoPtr).
    char16_t* c_str() const;
    int size() const;
    int length() const;
    CSEString substr(int start, int len) const;
    CSEString substr(int start) const;
    /// Whole-text searches (find_first_of is the same search as find); -1 when absent.
    int find(const CSEString& text) const;
    int find_first_of(const CSEString& text) const;
    int find_last_of(const CSEString& text) const;
    void clear();
    void ToLower();
    CSEString Strip(CSEStripMode mode) const;
    int ReplaceSubString(const CSEString& from, const CSEString& to);
    CSEString getCSEStringFromInt(int number);

private:
    DVKUnicodeString m_sText;
};

CSEString operator+(const char16_t* left, const CSEString& right);
CSEString operator+(const CSEString& left, const CSEString& right);

#endif
