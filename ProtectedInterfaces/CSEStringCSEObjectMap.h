/// \file
/// CSEStringCSEObjectMap: hash map from CSEString to object record, iterated in insertion order; with its pair and iterator.
#ifndef CSESTRINGCSEOBJECTMAP_H
#define CSESTRINGCSEOBJECTMAP_H

#include "CSEObjectInfo.h"
#include "CSEString.h"
#include "CSEStringMapCore.h"
#include "DVKHashTab.h"

/// One entry of a CSEStringCSEObjectMap: the key and its value.
class CSEStringCSEObjectPair
{
public:
    CSEStringCSEObjectPair();
    /// Copies key and value.
    CSEStringCSEObjectPair(const CSEStringCSEObjectPair& other);
    /// Copies key and value; returns this pair.
    CSEStringCSEObjectPair& operator=(const CSEStringCSEObjectPair& other);
    ~CSEStringCSEObjectPair();

    /// The table's comparison function: 0 when the keys are equal, 1 otherwise.
    static int Compare(const void* left, const void* right);

    CSEString key;  ///<The key.
    CSEObjectInfo value;  ///<The value.
};

class CSEStringCSEObjectMapIterator;

/// Hash map from CSEString to object record, iterated in insertion order; with its pair and iterator.
class CSEStringCSEObjectMap : public CSEStringMapBase<CSEStringCSEObjectMap, CSEStringCSEObjectMapIterator, CSEStringCSEObjectPair, CSEObjectInfo>
{
public:
    CSEStringCSEObjectMap();
};

/// Forward iterator over a CSEStringCSEObjectMap in insertion order; end() is the iterator past the last pair.
class CSEStringCSEObjectMapIterator : public CSEStringMapIteratorBase<CSEStringCSEObjectMapIterator, CSEStringCSEObjectMap, CSEStringCSEObjectPair>
{
    typedef CSEStringMapIteratorBase<CSEStringCSEObjectMapIterator, CSEStringCSEObjectMap, CSEStringCSEObjectPair> Base;

public:
    CSEStringCSEObjectMapIterator() = default;
    /// An iterator at the end of map.
    explicit CSEStringCSEObjectMapIterator(CSEStringCSEObjectMap* map) : Base(map) {}

    /// \cond
private:
    friend CSEStringCSEObjectMap::MapBase;
    CSEStringCSEObjectMapIterator(CSEStringCSEObjectMap* map, const DVKHashPosition& from) : Base(map, from) {}
    CSEStringCSEObjectMapIterator(CSEStringCSEObjectPair* pair, CSEStringCSEObjectMap* map, const DVKHashPosition& at) : Base(pair, map, at) {}
    /// \endcond
};

#endif
