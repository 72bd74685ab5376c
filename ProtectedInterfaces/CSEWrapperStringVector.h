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
    CSEWrapperStringIterator(const CSEWrapperStringVector* vector, int index);

    CSEString operator*() const;
    /// Advances and returns the element at the new index (clamped).
    CSEString operator++();
    bool operator==(const CSEWrapperStringIterator& other) const;
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
    typedef CSEWrapperStringIterator iterator;

    CSEWrapperStringVector();
    CSEWrapperStringVector(const CSEWrapperStringVector& other);
    virtual ~CSEWrapperStringVector();
    CSEWrapperStringVector& operator=(const CSEWrapperStringVector& other);

    void push_back(const CSEString& text);
    /// The element at index, clamped to the first or last element; empty text when the vector is.
    CSEString operator[](int index) const;
    iterator begin() const;
    iterator end() const;
    void clear();
    bool empty() const;
    /// 1-based position of the first element equal to text at or after start, 0 when absent.
    int Locate(const CSEString& text, int start = 1) const;

protected:
    /// A heap copy of the string (null for null, or when memory runs out).
    CSEString* Admit(CSEString* value) override;
    void Release(CSEString* value) override;
};

#endif
