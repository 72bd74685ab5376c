/// \file
/// CSEStringCSEStringVectorMap: hash map from CSEString to string vector, iterated in insertion order; with its pair and iterator.
#ifndef CSESTRINGCSESTRINGVECTORMAP_H
#define CSESTRINGCSESTRINGVECTORMAP_H

#include "CSEString.h"
#include "CSEStringMapCore.h"
#include "CSEWrapperStringVector.h"
#include "DVKHashTab.h"

/// One entry of a CSEStringCSEStringVectorMap: the key and its value.
class CSEStringCSEStringVectorPair
{
public:
    CSEStringCSEStringVectorPair();
    /// Copies key and value.
    CSEStringCSEStringVectorPair(const CSEStringCSEStringVectorPair& other);
    /// Copies key and value; returns this pair.
    CSEStringCSEStringVectorPair& operator=(const CSEStringCSEStringVectorPair& other);
    ~CSEStringCSEStringVectorPair();

    /// The table's comparison function: 0 when the keys are equal, 1 otherwise.
    static int Compare(const void* left, const void* right);

    CSEString key;  ///<The key.
    CSEWrapperStringVector value;  ///<The value.
};

/// The typed host table of the vector map's pairs.
class DVKHashTabCSEStringCSEStringVectorPair : public DVKHashTab<CSEStringCSEStringVectorPair>
{
public:
    /// An empty table (see DVKHashTable).
    DVKHashTabCSEStringCSEStringVectorPair(DVKHashFunction hash, DVKCompareFunction compare, int dimension)
        : DVKHashTab<CSEStringCSEStringVectorPair>(hash, compare, dimension)
    {
    }
};

class CSEStringCSEStringVectorMapIterator;

/// Besides the map operations, the vector map offers the operations of its typed table. The map owns
/// its pairs throughout: Insert takes a heap pair (refused, and left to the caller, when it is null
/// or its key is already present); Remove and RemovePosition hand the pair back to the caller, who
/// deletes it; RemoveAll and ApplyDelete delete every pair.
class CSEStringCSEStringVectorMap : public CSEStringMapBase<CSEStringCSEStringVectorMap, CSEStringCSEStringVectorMapIterator, CSEStringCSEStringVectorPair, CSEWrapperStringVector, DVKHashTabCSEStringCSEStringVectorPair>
{
    typedef CSEStringCSEStringVectorPair Pair;

public:
    CSEStringCSEStringVectorMap();

    using MapBase::operator[];

    /// Adds the heap pair, which the map then owns; false (pair left to the caller) when null or its key is
    /// present.
    bool Insert(Pair* pair);
    /// Returns the number of buckets.
    int Dimension() const;
    /// Returns the number of pairs sharing a bucket with an earlier one.
    int Collisions() const;
    /// Returns the number of empty buckets.
    int Unused() const;
    /// A walk over the pairs in insertion order.
    DVKHashCodeIter CreateIterator() const;
    /// The pair at the walk's cursor; null when none.
    Pair* operator[](const DVKHashCodeIter& iterator) const;
    /// The first pair whose key has this hash code (the key's DVKUnicodeString::ComputeHashKey).
    Pair* KeyLocate(unsigned int hashCode) const;
    /// As KeyLocate, and position becomes its cursor.
    Pair* KeyLocatePosition(unsigned int hashCode, DVKHashPosition& position) const;
    /// The pair with the same key as pair.
    Pair* Locate(const Pair* pair) const;
    /// As Locate, and position becomes its cursor.
    Pair* LocatePosition(const Pair* pair, DVKHashPosition& position) const;
    /// The pair at the cursor; null when none.
    Pair* Retrieve(const DVKHashPosition& position) const;
    /// The pair after the cursor in insertion order (the cursor moves onto it); null at the end.
    Pair* Next(DVKHashPosition& position) const;
    /// The next pair after the cursor with the hash code; null when none.
    Pair* Next(DVKHashPosition& position, unsigned int hashCode) const;
    /// Removes the pair with pair's key and hands it to the caller, who deletes it; null when absent.
    Pair* Remove(const Pair* pair);
    /// Removes the pair at the cursor and hands it to the caller, who deletes it; null when none.
    Pair* RemovePosition(const DVKHashPosition& position);
    /// Deletes every pair.
    void RemoveAll();
    /// Same number of pairs, and every key of this map is a key of the other.
    bool operator==(const CSEStringCSEStringVectorMap& other) const;
    /// The negation of operator==.
    bool operator!=(const CSEStringCSEStringVectorMap& other) const;
    /// Calls the function on every pair in insertion order (null: nothing).
    void ApplyGlobalFunct(void (*function)(Pair* pair)) const;
    /// Calls the member function on every pair in insertion order (null: nothing).
    void ApplyMemberFunct(void (Pair::*member)()) const;
    /// Deletes every pair.
    void ApplyDelete();
};

/// Forward iterator over a CSEStringCSEStringVectorMap in insertion order; end() is the iterator past the last pair.
class CSEStringCSEStringVectorMapIterator : public CSEStringMapIteratorBase<CSEStringCSEStringVectorMapIterator, CSEStringCSEStringVectorMap, CSEStringCSEStringVectorPair>
{
    typedef CSEStringMapIteratorBase<CSEStringCSEStringVectorMapIterator, CSEStringCSEStringVectorMap, CSEStringCSEStringVectorPair> Base;

public:
    CSEStringCSEStringVectorMapIterator() = default;
    /// An iterator at the end of map.
    explicit CSEStringCSEStringVectorMapIterator(CSEStringCSEStringVectorMap* map) : Base(map) {}

    /// \cond
private:
    friend CSEStringCSEStringVectorMap::MapBase;
    CSEStringCSEStringVectorMapIterator(CSEStringCSEStringVectorMap* map, const DVKHashPosition& from) : Base(map, from) {}
    CSEStringCSEStringVectorMapIterator(CSEStringCSEStringVectorPair* pair, CSEStringCSEStringVectorMap* map, const DVKHashPosition& at) : Base(pair, map, at) {}
    /// \endcond
};

#endif
