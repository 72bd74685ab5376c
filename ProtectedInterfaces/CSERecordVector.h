/// \file
/// The owning vector of the library's records: heap copies over the host list, 0-based here.
#ifndef CSERECORDVECTOR_H
#define CSERECORDVECTOR_H

#include "DVKListVal.h"

/// The owning vector of the library's records: heap copies over the host list, 0-based here.
template <class T>
class CSERecordVector
{
public:
    /// Stores a copy.
    void push_back(const T& record) { m_list.Append(record); }
    /// index 0..size()-1; any other index is a broken invariant of the caller.
    const T& operator[](int index) const { return m_list[index + 1]; }
    /// The record at index 0..size()-1, writable.
    T& operator[](int index) { return m_list[index + 1]; }
    /// Returns the number of records.
    int size() const { return m_list.Size(); }
    /// True when there are no records.
    bool empty() const { return m_list.Size() == 0; }
    /// Removes every record.
    void clear() { m_list.RemoveAll(); }

    /// Same records in the same order.
    bool operator==(const CSERecordVector& other) const { return m_list == other.m_list; }
    /// True when the vectors differ in size or any record.
    bool operator!=(const CSERecordVector& other) const { return !(*this == other); }

private:
    DVKListVal<T> m_list;
};

#endif
