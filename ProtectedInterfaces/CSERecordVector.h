/// \file
/// The owning vector of the library's records: heap copies over the host list, 0-based here.
#ifndef CSERECORDVECTOR_H
#define CSERECORDVECTOR_H

#include "DVKListVal.h"

template <class T>
/// The owning vector of the library's records: heap copies over the host list, 0-based here.
class CSERecordVector
{
public:
    /// Stores a copy.
    void push_back(const T& record) { m_list.Append(record); }
    /// index 0..size()-1; any other index is a broken invariant of the caller.
    const T& operator[](int index) const { return m_list[index + 1]; }
    T& operator[](int index) { return m_list[index + 1]; }
    int size() const { return m_list.Size(); }
    bool empty() const { return m_list.Size() == 0; }
    void clear() { m_list.RemoveAll(); }

    /// Same records in the same order.
    bool operator==(const CSERecordVector& other) const { return m_list == other.m_list; }
    bool operator!=(const CSERecordVector& other) const { return !(*this == other); }

private:
    DVKListVal<T> m_list;
};

#endif
