// CSEWrapperStringVector: heap copies over the string-pointer list, clamped reading, and its iterator.
#include "CSEWrapperStringVector.h"

#include <new>

CSEWrapperStringIterator::CSEWrapperStringIterator() : m_iIndex(-1), m_pVector(nullptr) {}

CSEWrapperStringIterator::CSEWrapperStringIterator(const CSEWrapperStringVector* vector, int index)
    : m_iIndex(index), m_pVector(vector)
{
}

CSEString CSEWrapperStringIterator::operator*() const
{
    return m_pVector == nullptr ? CSEString() : (*m_pVector)[m_iIndex];
}

CSEString CSEWrapperStringIterator::operator++()
{
    ++m_iIndex;
    return **this;
}

bool CSEWrapperStringIterator::operator==(const CSEWrapperStringIterator& other) const
{
    return m_pVector == other.m_pVector && m_iIndex == other.m_iIndex;
}

bool CSEWrapperStringIterator::operator!=(const CSEWrapperStringIterator& other) const
{
    return !(*this == other);
}

CSEWrapperStringVector::CSEWrapperStringVector() = default;

CSEWrapperStringVector::CSEWrapperStringVector(const CSEWrapperStringVector& other)
    : DVKListPtrCSEString(other.Size())
{
    Append(other);
}

CSEWrapperStringVector::~CSEWrapperStringVector()
{
    clear();
}

CSEWrapperStringVector& CSEWrapperStringVector::operator=(const CSEWrapperStringVector& other)
{
    DVKListPtrCSEString::operator=(other);
    return *this;
}

CSEString* CSEWrapperStringVector::Admit(CSEString* value)
{
    return value == nullptr ? nullptr : new (std::nothrow) CSEString(*value);
}

void CSEWrapperStringVector::Release(CSEString* value)
{
    delete value;
}

void CSEWrapperStringVector::push_back(const CSEString& text)
{
    // Admit only reads the string it copies.
    Append(const_cast<CSEString*>(&text));
}

CSEString CSEWrapperStringVector::operator[](int index) const
{
    const int count = Size();
    if (count == 0)
        return CSEString();
    if (index < 0)
        index = 0;
    if (index >= count)
        index = count - 1;
    const CSEString* text = DVKListPtrCSEString::operator[](index + 1);
    return text == nullptr ? CSEString() : *text;
}

CSEWrapperStringVector::iterator CSEWrapperStringVector::begin() const
{
    return iterator(this, 0);
}

CSEWrapperStringVector::iterator CSEWrapperStringVector::end() const
{
    return iterator(this, Size());
}

void CSEWrapperStringVector::clear()
{
    RemoveAll();
}

bool CSEWrapperStringVector::empty() const
{
    return Size() == 0;
}

int CSEWrapperStringVector::Locate(const CSEString& text, int start) const
{
    for (int position = start < 1 ? 1 : start; position <= Size(); ++position) {
        const CSEString* candidate = DVKListPtrCSEString::operator[](position);
        if (candidate != nullptr && *candidate == text)
            return position;
    }
    return 0;
}
