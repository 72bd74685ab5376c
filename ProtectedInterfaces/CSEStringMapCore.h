/// \file
/// The engine shared by the CSEString-keyed maps: owned heap pairs in a host table, insertion order.
#ifndef CSESTRINGMAPCORE_H
#define CSESTRINGMAPCORE_H

#include "CSEString.h"
#include "DVKHashTab.h"

/// Ends the process with "AssertionFailed:" + condition (a map iterator used against its contract).
[[noreturn]] void CSEMapFatalError(const char* condition);

/// The hash function of every map: the host string hash of the pair's key (null hashes to 0).
template <class Pair>
unsigned int CSEStringPairHash(const void* entry)
{
    return entry == nullptr ? 0u : static_cast<const Pair*>(entry)->key().ComputeHashKey();
}

/// The engine shared by the CSEString-keyed maps: owned heap pairs in a host table, insertion order.
template <class Pair, class Table = DVKHashTab<Pair>>
class CSEStringMapCore
{
public:
    static const int kDimension = 10;  ///<Buckets of a new map's table.

    /// An empty map whose pairs compare with compare.
    explicit CSEStringMapCore(DVKCompareFunction compare)
        : m_compare(compare), m_table(&CSEStringPairHash<Pair>, compare, kDimension)
    {
    }
    /// Copies every pair, keeping the order.
    CSEStringMapCore(const CSEStringMapCore& other) : CSEStringMapCore(other.m_compare) { CopyPairs(other); }
    /// Deletes the own pairs and copies other's, keeping the order; returns this map.
    CSEStringMapCore& operator=(const CSEStringMapCore& other)
    {
        if (&other == this)
            return *this;
        Clear();
        CopyPairs(other);
        return *this;
    }
    ~CSEStringMapCore() { Clear(); }

    /// The pair whose key equals key: the hash code finds the candidates, the key text decides.
    Pair* Find(const CSEString& key, DVKHashPosition& position) const
    {
        const unsigned int hashCode = key().ComputeHashKey();
        DVKHashPosition at;
        for (Pair* pair = m_table.KeyLocatePosition(hashCode, at); pair != nullptr;
             pair = m_table.Next(at, hashCode)) {
            if (pair->key == key) {
                position = at;
                return pair;
            }
        }
        return nullptr;
    }
    /// The pair of key, appended with the default value when absent.
    Pair& Obtain(const CSEString& key)
    {
        DVKHashPosition position;
        if (Pair* found = Find(key, position))
            return *found;
        Pair* created = new Pair;
        created->key = key;
        m_table.Insert(created);
        return *created;
    }
    /// The pair after the cursor in insertion order; null at the end.
    Pair* Next(DVKHashPosition& position) const { return m_table.Next(position); }
    /// Returns the number of pairs.
    int Size() const { return m_table.Size(); }
    /// Returns the table of the pairs.
    Table& GetTable() { return m_table; }
    /// Returns the table of the pairs.
    const Table& GetTable() const { return m_table; }
    /// Deletes every pair in insertion order, then empties the table.
    void Clear() { m_table.ApplyDelete(); }

private:
    void CopyPairs(const CSEStringMapCore& other)
    {
        DVKHashPosition position;
        for (Pair* pair = other.Next(position); pair != nullptr; pair = other.Next(position))
            m_table.Insert(new Pair(*pair));
    }

    DVKCompareFunction m_compare;
    Table m_table;
};

/// What every map iterator does: a map, the current pair (null at the end) and the table cursor.
template <class Iterator, class Map, class Pair>
class CSEStringMapIteratorBase
{
public:
    /// The current pair; at the end a fatal error.
    Pair& operator*() const { return *Current(); }
    /// The current pair; at the end a fatal error.
    Pair* operator->() const { return Current(); }
    /// Moves to the next pair in insertion order; an iterator at the end or without a map stays.
    Iterator& operator++()
    {
        if (m_pMap != nullptr && m_pPair != nullptr)
            m_pPair = m_pMap->GetCore().Next(m_position);
        return static_cast<Iterator&>(*this);
    }
    /// True when both walk the same map and are at the same pair.
    bool operator==(const Iterator& other) const { return m_pMap == other.m_pMap && m_pPair == other.m_pPair; }
    /// The negation of operator==.
    bool operator!=(const Iterator& other) const { return !(*this == other); }

protected:
    CSEStringMapIteratorBase() = default;
    /// An iterator at the end of map (null map: fatal error).
    explicit CSEStringMapIteratorBase(Map* map) : m_pMap(map) { RequireMap(); }
    /// Positioned on the pair after the cursor from.
    CSEStringMapIteratorBase(Map* map, const DVKHashPosition& from) : m_pMap(map), m_position(from)
    {
        RequireMap();
        m_pPair = m_pMap->GetCore().Next(m_position);
    }
    /// An iterator on pair, whose cursor is at (null map: fatal error).
    CSEStringMapIteratorBase(Pair* pair, Map* map, const DVKHashPosition& at)
        : m_pMap(map), m_pPair(pair), m_position(at)
    {
        RequireMap();
    }

private:
    void RequireMap() const
    {
        if (m_pMap == nullptr)
            CSEMapFatalError("pMap != NULL");
    }
    Pair* Current() const
    {
        if (m_pPair == nullptr)
            CSEMapFatalError("m_pPair != NULL");
        return m_pPair;
    }

    Map* m_pMap = nullptr;
    Pair* m_pPair = nullptr;
    DVKHashPosition m_position;
};

/// The operations every map offers, written once over the engine. Map is the named map class,
/// Iterator its iterator; the named classes only choose the pair's comparison function.
template <class Map, class Iterator, class Pair, class Value, class Table = DVKHashTab<Pair>>
class CSEStringMapBase
{
public:
    /// The map's iterator.
    typedef Iterator iterator;
    /// This base, as the named maps refer to it.
    typedef CSEStringMapBase MapBase;

    virtual ~CSEStringMapBase() = default;

    /// The value of key; an absent key is added with the default value.
    Value& operator[](CSEString key) { return m_core.Obtain(key).value; }
    /// The pair of key, or end() (nothing is added).
    Iterator find(CSEString key)
    {
        DVKHashPosition position;
        Pair* pair = m_core.Find(key, position);
        return pair == nullptr ? end() : Iterator(pair, Self(), position);
    }
    /// An iterator on the first pair in insertion order (end() when empty).
    Iterator begin() { return Iterator(Self(), DVKHashPosition()); }
    /// The iterator past the last pair.
    Iterator end() { return Iterator(Self()); }
    /// Returns the number of pairs.
    int size() const { return m_core.Size(); }
    /// Deletes every pair.
    void clear() { m_core.Clear(); }

protected:
    /// The engine under the map.
    typedef CSEStringMapCore<Pair, Table> Core;

    /// An empty map whose pairs compare with compare.
    explicit CSEStringMapBase(DVKCompareFunction compare) : m_core(compare) {}
    /// Copies every pair, keeping the order.
    CSEStringMapBase(const CSEStringMapBase& other) = default;
    /// Replaces the pairs with copies of other's, keeping the order; returns this map.
    CSEStringMapBase& operator=(const CSEStringMapBase& other) = default;
    /// Returns the engine.
    Core& GetCore() { return m_core; }
    /// Returns the engine.
    const Core& GetCore() const { return m_core; }

private:
    friend class CSEStringMapIteratorBase<Iterator, Map, Pair>;
    Map* Self() { return static_cast<Map*>(this); }

    Core m_core;
};

#endif
