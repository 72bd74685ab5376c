/// \file
/// The host's typed value list: owned copies of T at positions 1..Size().
#ifndef DVKLISTVAL_H
#define DVKLISTVAL_H

#include "DVKRawCollPV.h"

/// The host's typed value list: owned copies of T at positions 1..Size().
template <class T>
class DVKListVal
{
public:
    DVKListVal() = default;
    /// Copies every element.
    DVKListVal(const DVKListVal& other) : m_coll(other.Size())
    {
        for (int position = 1; position <= other.Size(); ++position)
            Append(other[position]);
    }
    /// Replaces the elements with copies of other's; returns this list.
    DVKListVal& operator=(const DVKListVal& other)
    {
        if (&other == this)
            return *this;
        DVKListVal copy(other);
        RemoveAll();
        m_coll = copy.m_coll;
        copy.m_coll.RemoveAll();
        return *this;
    }
    virtual ~DVKListVal() { RemoveAll(); }

    /// Appends a copy; returns the new size.
    int Append(const T& value) { return m_coll.Append(new T(value)); }
    /// Returns the number of elements.
    int Size() const { return m_coll.Size(); }
    /// position 1..Size(); any other position is a broken invariant of the caller.
    T& operator[](int position) { return *static_cast<T*>(m_coll[position]); }
    /// The element at position 1..Size(); any other position is a broken invariant of the caller.
    const T& operator[](int position) const { return *static_cast<const T*>(m_coll[position]); }

    /// Position of the first element equal to value at or after start, 0 when absent.
    int Locate(const T& value, int start = 1) const
    {
        for (int position = start < 1 ? 1 : start; position <= Size(); ++position)
            if ((*this)[position] == value)
                return position;
        return 0;
    }
    /// Removes the first element equal to value; its former position, 0 when absent.
    int RemoveValue(const T& value)
    {
        const int position = Locate(value);
        if (position != 0)
            RemovePosition(position);
        return position;
    }
    /// Returns how many were removed (0 for a position out of range, which is reported).
    int RemovePosition(int position)
    {
        if (position < 1 || position > Size())
            return m_coll.RemovePosition(position);
        T* value = static_cast<T*>(m_coll[position]);
        m_coll.RemovePosition(position);
        delete value;
        return 1;
    }
    /// Deletes every element.
    void RemoveAll()
    {
        for (int position = Size(); position >= 1; --position)
            delete static_cast<T*>(m_coll[position]);
        m_coll.RemoveAll();
    }

    /// Same size, and the elements at each position are equal.
    bool operator==(const DVKListVal& other) const
    {
        if (Size() != other.Size())
            return false;
        for (int position = 1; position <= Size(); ++position)
            if (!((*this)[position] == other[position]))
                return false;
        return true;
    }
    /// The negation of operator==.
    bool operator!=(const DVKListVal& other) const { return !(*this == other); }

private:
    DVKRawCollPV m_coll;
};

#endif
