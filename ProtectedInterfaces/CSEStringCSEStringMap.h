/// \file
/// CSEStringCSEStringMap: hash map from CSEString to CSEString, iterated in insertion order; with its pair and iterator.
#ifndef CSESTRINGCSESTRINGMAP_H
#define CSESTRINGCSESTRINGMAP_H

#include "CSEString.h"
#include "CSEStringMapCore.h"
#include "DVKHashTab.h"

/// CSEStringCSEStringMap: hash map from CSEString to CSEString, iterated in insertion order; with its pair
/// and iterator.
class CSEStringCSEStringPair
{
public:
    CSEStringCSEStringPair();
    CSEStringCSEStringPair(const CSEStringCSEStringPair& other);
    CSEStringCSEStringPair& operator=(const CSEStringCSEStringPair& other);
    ~CSEStringCSEStringPair();

    /// The table's comparison function: 0 when keys and values are equal, 1 otherwise.
    static int Compare(const void* left, const void* right);

    CSEString key;
    CSEString value;
};

class CSEStringCSEStringMapIterator;

/// Hash map from CSEString to CSEString, iterated in insertion order; with its pair and iterator.
class CSEStringCSEStringMap : public CSEStringMapBase<CSEStringCSEStringMap, CSEStringCSEStringMapIterator, CSEStringCSEStringPair, CSEString>
{
public:
    CSEStringCSEStringMap();
};

/// CSEStringCSEStringMap: hash map from CSEString to CSEString, iterated in insertion order; with its pair
/// and iterator.
class CSEStringCSEStringMapIterator : public CSEStringMapIteratorBase<CSEStringCSEStringMapIterator, CSEStringCSEStringMap, CSEStringCSEStringPair>
{
    typedef CSEStringMapIteratorBase<CSEStringCSEStringMapIterator, CSEStringCSEStringMap, CSEStringCSEStringPair> Base;

public:
    CSEStringCSEStringMapIterator() = default;
    explicit CSEStringCSEStringMapIterator(CSEStringCSEStringMap* map) : Base(map) {}

private:
    friend CSEStringCSEStringMap::MapBase;
    CSEStringCSEStringMapIterator(CSEStringCSEStringMap* map, const DVKHashPosition& from) : Base(map, from) {}
    CSEStringCSEStringMapIterator(CSEStringCSEStringPair* pair, CSEStringCSEStringMap* map, const DVKHashPosition& at) : Base(pair, map, at) {}
};

#endif
