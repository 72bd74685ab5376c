/// \file
/// The host's raw pointer collection: untyped pointers at positions 1..Size(), never owned.
#ifndef DVKRAWCOLLPV_H
#define DVKRAWCOLLPV_H

#include <vector>

/// What RemoveAll does with the collection's own storage (the pointed-to objects are never touched).
struct DVKCollec
{
    /// Whether RemoveAll keeps (KeepMemory) or frees (FreeMemory) the collection's storage.
    enum MemoryHandling
    {
        KeepMemory = 0,
        FreeMemory = 1
    };
};

/// The host's raw pointer collection: untyped pointers at positions 1..Size(), never owned.
class DVKRawCollPV
{
public:
    /// Orders two element values: negative, 0 or positive; context is the caller's own.
    typedef int (*CompareFunction)(const void* left, const void* right, const void* context);

    /// An empty collection with room for dimension pointers.
    explicit DVKRawCollPV(int dimension = 0);
    /// A collection of the count pointers of values.
    DVKRawCollPV(void* const* values, int count);
    /// Copies the pointers.
    DVKRawCollPV(const DVKRawCollPV& other) = default;
    /// Copies the pointers; returns this collection.
    DVKRawCollPV& operator=(const DVKRawCollPV& other) = default;
    ~DVKRawCollPV() = default;

    /// Each returns the new size.
    int Append(void* value);
    /// Appends other's pointers; returns the new size.
    int Append(const DVKRawCollPV& other);
    /// position 1..Size()+1; 0 when inserted, -1 when the position is out of range.
    int InsertAt(int position, void* value);

    /// Returns the number of pointers.
    int Size() const { return static_cast<int>(m_values.size()); }
    /// Grows with null pointers or cuts the tail; returns the new size (negative sizes count as 0).
    int Size(int newSize);

    /// position 1..Size(); any other position is a broken invariant of the caller.
    void*& operator[](int position);
    /// The pointer at position 1..Size(); any other position is a broken invariant of the caller.
    void* operator[](int position) const;

    /// Position of the first occurrence at or after start, 0 when absent.
    int Locate(const void* value, int start = 1) const;
    /// Removes the first occurrence; its former position, 0 when absent.
    int RemoveValue(const void* value);
    /// Removes every occurrence of every value of the list; returns how many were removed.
    int Remove(const DVKRawCollPV& values);
    /// Return how many were removed (0 for a position out of range).
    int RemovePosition(int position);
    /// Removes up to count pointers from position; returns how many were removed (0 out of range).
    int RemovePosition(int position, int count);
    /// Removes every pointer; memory says whether the storage is freed.
    void RemoveAll(DVKCollec::MemoryHandling memory = DVKCollec::KeepMemory);
    /// Removes the null pointers; returns how many were removed.
    int RemoveNulls();
    /// Keeps the first occurrence of each value; returns how many were removed.
    int RemoveDuplicates();

    /// Same pointers in the same order.
    bool operator==(const DVKRawCollPV& other) const { return m_values == other.m_values; }
    /// The negation of operator==.
    bool operator!=(const DVKRawCollPV& other) const { return !(*this == other); }

    /// 0 when swapped, -1 when a position is out of range.
    int Swap(int first, int second);
    /// Stable sort by compare(left, right, context) < 0.
    void QuickSort(CompareFunction compare, const void* context = nullptr);
    /// Copies the Size() pointers into array; returns how many.
    int FillArray(void** array) const;
    /// Returns how often the pointer occurs.
    int NbOccur(const void* value) const;

    /// result := the distinct values of first that also occur in second, in first's order; returns
    /// the count.
    static int Intersection(const DVKRawCollPV& first, const DVKRawCollPV& second,
                            DVKRawCollPV& result);
    /// Lexicographic comparison by compare: negative, 0 (same length, every pair equal) or positive.
    static int Compare(const DVKRawCollPV& first, const DVKRawCollPV& second,
                       CompareFunction compare, const void* context = nullptr);

private:
    std::vector<void*> m_values;
};

#endif
