/// \file
/// The host's typed list of CSEString pointers, positions 1..Size(); it never deletes the strings.
/// A derived list that owns its strings (CSEWrapperStringVector) takes them in and lets them go
/// through two hooks, which every operation below calls, so that ownership holds whichever
/// operation is used, also through a reference to this class.
#ifndef DVKLISTPTRCSESTRING_H
#define DVKLISTPTRCSESTRING_H

#include "DVKRawCollPV.h"

class CSEString;

/// The host's typed list of CSEString pointers, positions 1..Size(); it never deletes the strings. A derived
/// list that owns its strings (CSEWrapperStringVector) takes them in and lets them go through two hooks,
/// which every operation below calls, so that ownership holds whichever operation is used, also through a
/// reference to this class.
class DVKListPtrCSEString
{
public:
    /// Orders two strings: negative, 0 or positive.
    typedef int (*CompareFunction)(const CSEString* left, const CSEString* right);

    /// An empty list with room for dimension pointers.
    explicit DVKListPtrCSEString(int dimension = 0);
    /// Copies the pointers.
    DVKListPtrCSEString(const DVKListPtrCSEString& other);
    /// A list of the count pointers of values.
    DVKListPtrCSEString(CSEString* const* values, int count);
    virtual ~DVKListPtrCSEString();
    /// Replaces the pointers with other's (an owning list copies the strings); returns this list.
    DVKListPtrCSEString& operator=(const DVKListPtrCSEString& other);

    /// Appends the pointer; returns the new size.
    int Append(CSEString* value);
    /// Appends other's pointers (the list itself allowed); returns the new size.
    int Append(const DVKListPtrCSEString& other);
    /// Inserts at position 1..Size()+1; 0 when inserted, -1 when out of range.
    int InsertAt(int position, CSEString* value);
    /// Returns the number of pointers.
    int Size() const;
    /// Grows with null pointers or cuts the tail; returns the new size.
    int Size(int newSize);
    /// The pointer at position 1..Size(), writable; any other position is a broken invariant of the caller.
    CSEString*& operator[](int position);
    /// The pointer at position 1..Size(); any other position is a broken invariant of the caller.
    CSEString* operator[](int position) const;
    /// Position of the first occurrence of the pointer at or after start; 0 when absent.
    int Locate(const CSEString* value, int start = 1) const;
    /// Removes the first occurrence of the pointer; its former position, 0 when absent.
    int RemoveValue(const CSEString* value);
    /// Removes every occurrence of every pointer of values; returns how many were removed.
    int Remove(const DVKListPtrCSEString& values);
    /// Removes the pointer at position; returns how many were removed (0 out of range).
    int RemovePosition(int position);
    /// Removes up to count pointers from position; returns how many were removed (0 out of range).
    int RemovePosition(int position, int count);
    /// Removes every pointer; memory says whether the storage is freed.
    void RemoveAll(DVKCollec::MemoryHandling memory = DVKCollec::KeepMemory);
    /// Removes the null pointers; returns how many were removed.
    int RemoveNulls();
    /// Keeps the first occurrence of each pointer; returns how many were removed.
    int RemoveDuplicates();
    /// Same pointers in the same order.
    bool operator==(const DVKListPtrCSEString& other) const;
    /// The negation of operator==.
    bool operator!=(const DVKListPtrCSEString& other) const;
    /// Swaps two positions; 0 when swapped, -1 when a position is out of range.
    int Swap(int first, int second);
    /// Stable sort by compare (null: nothing).
    void QuickSort(CompareFunction compare);
    /// Copies the pointers into array; returns how many (0 for a null array).
    int FillArray(CSEString** array) const;
    /// Returns how often the pointer occurs.
    int NbOccur(const CSEString* value) const;

    /// result := the distinct pointers of first that also occur in second, in first's order; returns the
    /// count.
    static int Intersection(const DVKListPtrCSEString& first, const DVKListPtrCSEString& second,
                            DVKListPtrCSEString& result);
    /// Lexicographic comparison of the strings by compare: negative, 0 or positive.
    static int Compare(const DVKListPtrCSEString& first, const DVKListPtrCSEString& second,
                       CompareFunction compare);

protected:
    /// What the list stores for a value that comes in: the value itself here.
    virtual CSEString* Admit(CSEString* value);
    /// Called for every value that leaves the list (removed, cut off or replaced by assignment):
    /// nothing to do here.
    virtual void Release(CSEString* value);

private:
    /// Removes count values from position first on (as RemovePosition) and releases them.
    int RemoveRange(int first, int count);
    /// Makes the list hold the admitted values, releasing its own; values may be this list's own.
    void ReplaceWith(const DVKRawCollPV& values);

    DVKRawCollPV m_coll;
};

#endif
