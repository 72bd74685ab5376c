/// \file
/// CSEStringCSEStringVectorMap: hash map from CSEString to string vector, iterated in insertion order; with its pair and iterator.
#ifndef CSESTRINGCSESTRINGVECTORMAP_H
#define CSESTRINGCSESTRINGVECTORMAP_H

#include "CSEString.h"
#include "CSEStringMapCore.h"
#include "CSEWrapperStringVector.h"
#include "DVKHashTab.h"

/// CSEStringCSEStringVectorMap: hash map from CSEString to string vector, iterated in insertion order; with
/// its pair and iterator.
class CSEStringCSEStringVectorPair
{
public:
    CSEStringCSEStringVectorPair();
    CSEStringCSEStringVectorPair(const CSEStringCSEStringVectorPair& other);
    CSEStringCSEStringVectorPair& operator=(const CSEStringCSEStringVectorPair& other);
    ~CSEStringCSEStringVectorPair();

    /// The table's comparison function: 0 when the keys are equal, 1 otherwise.
    static int Compare(const void* left, const void* right);

    CSEString key;
    CSEWrapperStringVector value;
};

/// The typed host table of the vector map's pairs.
class DVKHashTabCSEStringCSEStringVectorPair : public DVKHashTab<CSEStringCSEStringVectorPair>
{
public:
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

    bool Insert(Pair* pair);
    int Dimension() const;
    int Collisions() const;
    int Unused() const;
    DVKHashCodeIter CreateIterator() const;
    Pair* operator[](const DVKHashCodeIter& iterator) const;
    /// The first pair whose key has this hash code (the key's DVKUnicodeString::ComputeHashKey).
    Pair* KeyLocate(unsigned int hashCode) const;
    Pair* KeyLocatePosition(unsigned int hashCode, DVKHashPosition& position) const;
    /// The pair with the same key as pair.
    Pair* Locate(const Pair* pair) const;
    Pair* LocatePosition(const Pair* pair, DVKHashPosition& position) const;
    Pair* Retrieve(const DVKHashPosition& position) const;
    Pair* Next(DVKHashPosition& position) const;
    Pair* Next(DVKHashPosition& position, unsigned int hashCode) const;
    Pair* Remove(const Pair* pair);
    Pair* RemovePosition(const DVKHashPosition& position);
    void RemoveAll();
    /// Same number of pairs, and every key of this map is a key of the other.
    bool operator==(const CSEStringCSEStringVectorMap& other) const;
    bool operator!=(const CSEStringCSEStringVectorMap& other) const;
    void ApplyGlobalFunct(void (*function)(Pair* pair)) const;
    void ApplyMemberFunct(void (Pair::*member)()) const;
    void ApplyDelete();
};

/// CSEStringCSEStringVectorMap: hash map from CSEString to string vector, iterated in insertion order; with
/// its pair and iterator.
class CSEStringCSEStringVectorMapIterator : public CSEStringMapIteratorBase<CSEStringCSEStringVectorMapIterator, CSEStringCSEStringVectorMap, CSEStringCSEStringVectorPair>
{
    typedef CSEStringMapIteratorBase<CSEStringCSEStringVectorMapIterator, CSEStringCSEStringVectorMap, CSEStringCSEStringVectorPair> Base;

public:
    CSEStringCSEStringVectorMapIterator() = default;
    explicit CSEStringCSEStringVectorMapIterator(CSEStringCSEStringVectorMap* map) : Base(map) {}

private:
    friend CSEStringCSEStringVectorMap::MapBase;
    CSEStringCSEStringVectorMapIterator(CSEStringCSEStringVectorMap* map, const DVKHashPosition& from) : Base(map, from) {}
    CSEStringCSEStringVectorMapIterator(CSEStringCSEStringVectorPair* pair, CSEStringCSEStringVectorMap* map, const DVKHashPosition& at) : Base(pair, map, at) {}
};

#endif
