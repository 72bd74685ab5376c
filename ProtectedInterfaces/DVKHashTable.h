/// \file
/// The host's hash table of untyped entries: O(1) average look-up, iteration in insertion order.
#ifndef DVKHASHTABLE_H
#define DVKHASHTABLE_H

#include <vector>

/// The hash code of an entry (called with null it must answer 0).
typedef unsigned int (*DVKHashFunction)(const void* entry);
/// 0 when the two entries are the same entry, 1 otherwise.
typedef int (*DVKCompareFunction)(const void* left, const void* right);

/// An iteration cursor. position is the insertion serial of the current entry (0: before the first
/// entry); bucket is where that entry was last seen (1-based), a hint that keeps stepping O(1).
/// The start cursor is bucket 1, position 0. A cursor stays usable across removals.
struct DVKHashPosition
{
    int bucket = 1;  ///<Bucket where the current entry was last seen (1-based), a hint.
    int position = 0;  ///<Insertion serial of the current entry; 0 before the first.
};

/// The host's hash table of untyped entries: O(1) average look-up, iteration in insertion order.
class DVKHashTable
{
public:
    /// An empty table with the hash and comparison functions and dimension buckets to start with.
    DVKHashTable(DVKHashFunction hash, DVKCompareFunction compare, int dimension = 10);
    /// Copies the index, not the entries: both tables then point to the same entries.
    DVKHashTable(const DVKHashTable& other) = default;
    /// Copies the index, not the entries; returns this table.
    DVKHashTable& operator=(const DVKHashTable& other) = default;
    ~DVKHashTable() = default;

    /// Appends the entry (never null) at the end of the iteration order; false when refused.
    bool Insert(void* entry);
    /// Returns the number of entries.
    int Size() const { return m_iLive; }
    /// Number of buckets, entries sharing a bucket with an earlier one, empty buckets.
    int Dimension() const { return static_cast<int>(m_heads.size()); }
    /// Returns the number of entries sharing a bucket with an earlier one.
    int Collisions() const;
    /// Returns the number of empty buckets.
    int Unused() const;

    /// The earliest inserted entry whose hash code is hashCode; null when none.
    void* KeyLocate(unsigned int hashCode) const;
    /// As KeyLocate, and position becomes its cursor.
    void* KeyLocatePosition(unsigned int hashCode, DVKHashPosition& position) const;
    /// The earliest inserted entry that the comparison function finds the same as entry.
    void* Locate(const void* entry) const;
    /// As Locate, and position becomes its cursor.
    void* LocatePosition(const void* entry, DVKHashPosition& position) const;
    /// The entry at the cursor; null when it has been removed or the cursor is at the start.
    void* Retrieve(const DVKHashPosition& position) const;
    /// The entry after the cursor in insertion order, and the cursor moves onto it; null at the end
    /// (the cursor then stays where it was).
    void* Next(DVKHashPosition& position) const;
    /// The next entry after the cursor with the given hash code (start cursor: the first one).
    void* Next(DVKHashPosition& position, unsigned int hashCode) const;
    /// Remove and return the entry (null when absent); the entry itself is not deleted.
    void* Remove(const void* entry);
    /// Removes and returns the entry at the cursor (null when none); the entry is not deleted.
    void* RemovePosition(const DVKHashPosition& position);
    /// Removes every entry; none is deleted.
    void RemoveAll();

    /// Same number of entries, and each entry of this table has a same entry in the other.
    bool operator==(const DVKHashTable& other) const;
    /// The negation of operator==.
    bool operator!=(const DVKHashTable& other) const { return !(*this == other); }

    /// Calls function(entry, context) for every entry in insertion order; it must not change the table.
    void ApplyGlobalFunct(void (*function)(void* entry, void* context), void* context) const;

private:
    struct Slot
    {
        void* entry;        ///< null once removed
        unsigned int hash;
        int serial;
        int chainNext;      ///< next slot of the same bucket, in insertion order; -1 at the end
    };

    int BucketOf(unsigned int hashCode) const;
    int SlotOf(const DVKHashPosition& position) const;
    int FirstSlotAfter(const DVKHashPosition& position) const;
    void* Take(int slot, DVKHashPosition& position) const;
    void Kill(int slot);
    void Rebuild(int bucketCount);

    DVKHashFunction m_hash;
    DVKCompareFunction m_compare;
    int m_iDimension;
    std::vector<Slot> m_slots;      ///< insertion order, removed slots kept until the next rebuild
    std::vector<int> m_heads;       ///< first slot of each bucket, -1 when empty
    std::vector<int> m_tails;       ///< last slot of each bucket
    int m_iLive = 0;
    int m_iFirstLive = 0;           ///< every slot before it has been removed
    int m_iLastSerial = 0;
};

/// Walks a table in insertion order.
class DVKHashCodeIter
{
public:
    /// A walk over table, before its first entry.
    explicit DVKHashCodeIter(const DVKHashTable& table) : m_pTable(&table) {}

    /// The next entry (null at the end).
    void* Next() { return m_pTable->Next(m_position); }
    /// The entry at the cursor; null before the first or once removed.
    void* Current() const { return m_pTable->Retrieve(m_position); }
    /// Back before the first entry.
    void Reset() { m_position = DVKHashPosition(); }
    /// Returns the cursor.
    const DVKHashPosition& Position() const { return m_position; }

private:
    const DVKHashTable* m_pTable;
    DVKHashPosition m_position;
};

#endif
