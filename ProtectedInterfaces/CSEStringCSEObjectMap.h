/// \file
/// CSEStringCSEObjectMap: hash map from CSEString to object record, iterated in insertion order; with its pair and iterator.
#ifndef CSESTRINGCSEOBJECTMAP_H
#define CSESTRINGCSEOBJECTMAP_H

#include "CSEObjectInfo.h"
#include "CSEString.h"
#include "CSEStringMapCore.h"
#include "DVKHashTab.h"

/// CSEStringCSEObjectMap: hash map from CSEString to object record, iterated in insertion order; with its
/// pair and iterator.
class CSEStringCSEObjectPair
{
public:
    CSEStringCSEObjectPair();
    CSEStringCSEObjectPair(const CSEStringCSEObjectPair& other);
    CSEStringCSEObjectPair& operator=(const CSEStringCSEObjectPair& other);
    ~CSEStringCSEObjectPair();

    /// The table's comparison function: 0 when the keys are equal, 1 otherwise.
    static int Compare(const void* left, const void* right);

    CSEString key;
    CSEObjectInfo value;
};

class CSEStringCSEObjectMapIterator;

/// Hash map from CSEString to object record, iterated in insertion order; with its pair and iterator.
class CSEStringCSEObjectMap : public CSEStringMapBase<CSEStringCSEObjectMap, CSEStringCSEObjectMapIterator, CSEStringCSEObjectPair, CSEObjectInfo>
{
public:
    CSEStringCSEObjectMap();
};

/// CSEStringCSEObjectMap: hash map from CSEString to object record, iterated in insertion order; with its
/// pair and iterator.
class CSEStringCSEObjectMapIterator : public CSEStringMapIteratorBase<CSEStringCSEObjectMapIterator, CSEStringCSEObjectMap, CSEStringCSEObjectPair>
{
    typedef CSEStringMapIteratorBase<CSEStringCSEObjectMapIterator, CSEStringCSEObjectMap, CSEStringCSEObjectPair> Base;

public:
    CSEStringCSEObjectMapIterator() = default;
    explicit CSEStringCSEObjectMapIterator(CSEStringCSEObjectMap* map) : Base(map) {}

private:
    friend CSEStringCSEObjectMap::MapBase;
    CSEStringCSEObjectMapIterator(CSEStringCSEObjectMap* map, const DVKHashPosition& from) : Base(map, from) {}
    CSEStringCSEObjectMapIterator(CSEStringCSEObjectPair* pair, CSEStringCSEObjectMap* map, const DVKHashPosition& at) : Base(pair, map, at) {}
};

#endif
