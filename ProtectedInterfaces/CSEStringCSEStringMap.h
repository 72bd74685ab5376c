/// \file
/// CSEStringCSEStringMap: hash map from CSEString to CSEString, iterated in insertion order; with its pair and iterator.
#ifndef CSESTRINGCSESTRINGMAP_H
#define CSESTRINGCSESTRINGMAP_H

#include "CSEString.h"
#include "CSEStringMapCore.h"
#include "DVKHashTab.h"

/// One entry of a CSEStringCSEStringMap: the key and its value.
class CSEStringCSEStringPair
{
public:
    CSEStringCSEStringPair();
    /// Copies key and value.
    CSEStringCSEStringPair(const CSEStringCSEStringPair& other);
    /// Copies key and value; returns this pair.
    CSEStringCSEStringPair& operator=(const CSEStringCSEStringPair& other);
    ~CSEStringCSEStringPair();

    /// The table's comparison function: 0 when keys and values are equal, 1 otherwise.
    static int Compare(const void* left, const void* right);

    CSEString key;  ///<The key.
    CSEString value;  ///<The value.
};

class CSEStringCSEStringMapIterator;

/// Hash map from CSEString to CSEString, iterated in insertion order; with its pair and iterator.
class CSEStringCSEStringMap : public CSEStringMapBase<CSEStringCSEStringMap, CSEStringCSEStringMapIterator, CSEStringCSEStringPair, CSEString>
{
public:
    CSEStringCSEStringMap();
};

/// Forward iterator over a CSEStringCSEStringMap in insertion order; end() is the iterator past the last pair.
class CSEStringCSEStringMapIterator : public CSEStringMapIteratorBase<CSEStringCSEStringMapIterator, CSEStringCSEStringMap, CSEStringCSEStringPair>
{
    typedef CSEStringMapIteratorBase<CSEStringCSEStringMapIterator, CSEStringCSEStringMap, CSEStringCSEStringPair> Base;

public:
    CSEStringCSEStringMapIterator() = default;
    /// An iterator at the end of map.
    explicit CSEStringCSEStringMapIterator(CSEStringCSEStringMap* map) : Base(map) {}

    /// \cond
private:
    friend CSEStringCSEStringMap::MapBase;
    CSEStringCSEStringMapIterator(CSEStringCSEStringMap* map, const DVKHashPosition& from) : Base(map, from) {}
    CSEStringCSEStringMapIterator(CSEStringCSEStringPair* pair, CSEStringCSEStringMap* map, const DVKHashPosition& at) : Base(pair, map, at) {}
    /// \endcond
};

#endif
