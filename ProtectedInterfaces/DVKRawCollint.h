/// \file
/// The host's collection of integers, positions 1..Size().
#ifndef DVKRAWCOLLINT_H
#define DVKRAWCOLLINT_H

#include <vector>

/// The host's collection of integers, positions 1..Size().
class DVKRawCollint
{
public:
    DVKRawCollint() = default;

    /// Returns the new size.
    int Append(int value);
    /// Returns the number of values.
    int Size() const { return static_cast<int>(m_values.size()); }
    /// position 1..Size(); any other position is a broken invariant of the caller.
    int& operator[](int position);
    /// The value at position 1..Size(); any other position is a broken invariant of the caller.
    int operator[](int position) const;
    /// Position of the first occurrence at or after start, 0 when absent.
    int Locate(int value, int start = 1) const;
    /// Removes every value.
    void RemoveAll() { m_values.clear(); }

    /// Same values in the same order.
    bool operator==(const DVKRawCollint& other) const { return m_values == other.m_values; }
    /// The negation of operator==.
    bool operator!=(const DVKRawCollint& other) const { return !(*this == other); }

private:
    std::vector<int> m_values;
};

#endif
