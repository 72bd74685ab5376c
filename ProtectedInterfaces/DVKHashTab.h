/// \file
/// The host's typed hash table: DVKHashTable's interface for entries of one type T.
#ifndef DVKHASHTAB_H
#define DVKHASHTAB_H

#include "DVKHashTable.h"

template <class T>
/// The host's typed hash table: DVKHashTable's interface for entries of one type T.
class DVKHashTab
{
public:
    DVKHashTab(DVKHashFunction hash, DVKCompareFunction compare, int dimension = 10)
        : m_table(hash, compare, dimension)
    {
    }

    bool Insert(T* entry) { return m_table.Insert(entry); }
    int Size() const { return m_table.Size(); }
    int Dimension() const { return m_table.Dimension(); }
    int Collisions() const { return m_table.Collisions(); }
    int Unused() const { return m_table.Unused(); }

    DVKHashCodeIter CreateIterator() const { return DVKHashCodeIter(m_table); }
    T* operator[](const DVKHashCodeIter& iterator) const { return Retrieve(iterator.Position()); }

    T* KeyLocate(unsigned int hashCode) const { return Typed(m_table.KeyLocate(hashCode)); }
    T* KeyLocatePosition(unsigned int hashCode, DVKHashPosition& position) const
    {
        return Typed(m_table.KeyLocatePosition(hashCode, position));
    }
    T* Locate(const T* entry) const { return Typed(m_table.Locate(entry)); }
    T* LocatePosition(const T* entry, DVKHashPosition& position) const
    {
        return Typed(m_table.LocatePosition(entry, position));
    }
    T* Retrieve(const DVKHashPosition& position) const { return Typed(m_table.Retrieve(position)); }
    T* Next(DVKHashPosition& position) const { return Typed(m_table.Next(position)); }
    T* Next(DVKHashPosition& position, unsigned int hashCode) const
    {
        return Typed(m_table.Next(position, hashCode));
    }
    T* Remove(const T* entry) { return Typed(m_table.Remove(entry)); }
    T* RemovePosition(const DVKHashPosition& position) { return Typed(m_table.RemovePosition(position)); }
    void RemoveAll() { m_table.RemoveAll(); }

    bool operator==(const DVKHashTab& other) const { return m_table == other.m_table; }
    bool operator!=(const DVKHashTab& other) const { return m_table != other.m_table; }

    /// Call a function, or a member function, on every entry in insertion order.
    void ApplyGlobalFunct(void (*function)(T* entry)) const
    {
        if (function != nullptr)
            m_table.ApplyGlobalFunct(&CallGlobal, &function);
    }
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
