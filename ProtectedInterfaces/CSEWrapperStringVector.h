/// \file
/// CSEWrapperStringVector: an owning vector of strings, 0-based at this interface, and its iterator.
#ifndef CSEWRAPPERSTRINGVECTOR_H
#define CSEWRAPPERSTRINGVECTOR_H

#include "CSEString.h"
#include "DVKListPtrCSEString.h"

class CSEWrapperStringVector;

/// Walks a vector by 0-based index; reading never fails (out-of-range indices are clamped).
class CSEWrapperStringIterator
{
public:
    CSEWrapperStringIterator();
    /// An iterator at position index (from 0) of the vector.
    CSEWrapperStringIterator(const CSEWrapperStringVector* vector, int index);

    /// Returns a copy of the string at the position.
    CSEString operator*() const;
    /// Advances and returns the element at the new index (clamped).
    CSEString operator++();
    /// True when both are at the same position of the same vector.
    bool operator==(const CSEWrapperStringIterator& other) const;
    /// True when vector or position differ.
    bool operator!=(const CSEWrapperStringIterator& other) const;

private:
    int m_iIndex;
    const CSEWrapperStringVector* m_pVector;
};

/// Every element is a heap copy owned by the vector, whichever operation puts it there or takes it
/// away, also through a DVKListPtrCSEString&: a string given by pointer (Append, InsertAt) is copied
/// and stays the caller's; an element removed, cut off (Size(n)) or replaced by an assignment is
/// deleted. A list assigned from the vector only views its elements. The one way around this is the
/// list's writable slot (operator[] of a non-const DVKListPtrCSEString&): whoever stores a pointer
/// there hands the vector a heap string to own and takes back the one it replaces.
class CSEWrapperStringVector : public DVKListPtrCSEString
{
public:
    /// The vector's iterator.
    typedef CSEWrapperStringIterator iterator;

    CSEWrapperStringVector();
    /// Copies the strings.
    CSEWrapperStringVector(const CSEWrapperStringVector& other);
    virtual ~CSEWrapperStringVector();
    /// Copies the strings; returns this vector.
    CSEWrapperStringVector& operator=(const CSEWrapperStringVector& other);

    /// Appends a copy of text.
    void push_back(const CSEString& text);
    /// The element at index, clamped to the first or last element; empty text when the vector is.
    CSEString operator[](int index) const;
    /// Returns an iterator at the first string.
    iterator begin() const;
    /// Returns the iterator past the last string.
    iterator end() const;
    /// Removes every string.
    void clear();
    /// True when there are no strings.
    bool empty() const;
    /// 1-based position of the first element equal to text at or after start, 0 when absent.
    int Locate(const CSEString& text, int start = 1) const;

protected:
    /// A heap copy of the string (null for null, or when memory runs out).
    CSEString* Admit(CSEString* value) override;
    void Release(CSEString* value) override;
};

#endif
