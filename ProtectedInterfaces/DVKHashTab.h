/// \file
/// The host's typed hash table: DVKHashTable's interface for entries of one type T.
#ifndef DVKHASHTAB_H
#define DVKHASHTAB_H

#include "DVKHashTable.h"

/// The host's typed hash table: DVKHashTable's interface for entries of one type T.
template <class T>
class DVKHashTab
{
public:
    /// An empty table (see DVKHashTable).
    DVKHashTab(DVKHashFunction hash, DVKCompareFunction compare, int dimension = 10)
        : m_table(hash, compare, dimension)
    {
    }

    /// Appends the entry (not owned); false when refused.
    bool Insert(T* entry) { return m_table.Insert(entry); }
    /// Returns the number of entries.
    int Size() const { return m_table.Size(); }
    /// Returns the number of buckets.
    int Dimension() const { return m_table.Dimension(); }
    /// Returns the number of entries sharing a bucket with an earlier one.
    int Collisions() const { return m_table.Collisions(); }
    /// Returns the number of empty buckets.
    int Unused() const { return m_table.Unused(); }

    /// A walk over the table in insertion order.
    DVKHashCodeIter CreateIterator() const { return DVKHashCodeIter(m_table); }
    /// The entry at the walk's cursor; null when none.
    T* operator[](const DVKHashCodeIter& iterator) const { return Retrieve(iterator.Position()); }

    /// The earliest inserted entry with the hash code; null when none.
    T* KeyLocate(unsigned int hashCode) const { return Typed(m_table.KeyLocate(hashCode)); }
    /// As KeyLocate, and position becomes its cursor.
    T* KeyLocatePosition(unsigned int hashCode, DVKHashPosition& position) const
    {
        return Typed(m_table.KeyLocatePosition(hashCode, position));
    }
    /// The earliest inserted entry that compares the same as entry; null when none.
    T* Locate(const T* entry) const { return Typed(m_table.Locate(entry)); }
    /// As Locate, and position becomes its cursor.
    T* LocatePosition(const T* entry, DVKHashPosition& position) const
    {
        return Typed(m_table.LocatePosition(entry, position));
    }
    /// The entry at the cursor; null when none.
    T* Retrieve(const DVKHashPosition& position) const { return Typed(m_table.Retrieve(position)); }
    /// The entry after the cursor in insertion order (the cursor moves onto it); null at the end.
    T* Next(DVKHashPosition& position) const { return Typed(m_table.Next(position)); }
    /// The next entry after the cursor with the hash code; null when none.
    T* Next(DVKHashPosition& position, unsigned int hashCode) const
    {
        return Typed(m_table.Next(position, hashCode));
    }
    /// Removes and returns the entry (null when absent); it is not deleted.
    T* Remove(const T* entry) { return Typed(m_table.Remove(entry)); }
    /// Removes and returns the entry at the cursor (null when none); it is not deleted.
    T* RemovePosition(const DVKHashPosition& position) { return Typed(m_table.RemovePosition(position)); }
    /// Removes every entry; none is deleted.
    void RemoveAll() { m_table.RemoveAll(); }

    /// Same number of entries, and each entry here has a same entry in the other.
    bool operator==(const DVKHashTab& other) const { return m_table == other.m_table; }
    /// The negation of operator==.
    bool operator!=(const DVKHashTab& other) const { return m_table != other.m_table; }

    /// Call a function, or a member function, on every entry in insertion order.
    void ApplyGlobalFunct(void (*function)(T* entry)) const
    {
        if (function != nullptr)
            m_table.ApplyGlobalFunct(&CallGlobal, &function);
    }
    /// Calls the member function on every entry in insertion order (null: nothing).
    void ApplyMemberFunct(void (T::*member)()) const
    {
        if (member != nullptr)
            m_table.ApplyGlobalFunct(&CallMember, &member);
    }
    /// Deletes every entry, then empties the table.
    void ApplyDelete()
    {
        m_table.ApplyGlobalFunct(&DeleteEntry, nullptr);
        m_table.RemoveAll();
    }

private:
    static T* Typed(void* entry) { return static_cast<T*>(entry); }
    static void CallGlobal(void* entry, void* context)
    {
        (*static_cast<void (**)(T*)>(context))(Typed(entry));
    }
    static void CallMember(void* entry, void* context)
    {
        (Typed(entry)->**static_cast<void (T::**)()>(context))();
    }
    static void DeleteEntry(void* entry, void*) { delete Typed(entry); }

    DVKHashTable m_table;
};

#endif
