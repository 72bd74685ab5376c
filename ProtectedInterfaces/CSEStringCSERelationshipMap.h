/// \file
/// CSEStringCSERelationshipMap: hash map from CSEString to relationship record, iterated in insertion order; with its pair and iterator.
#ifndef CSESTRINGCSERELATIONSHIPMAP_H
#define CSESTRINGCSERELATIONSHIPMAP_H

#include "CSERelationship.h"
#include "CSEString.h"
#include "CSEStringMapCore.h"
#include "DVKHashTab.h"

/// One entry of a CSEStringCSERelationshipMap: the key and its value.
class CSEStringCSERelationshipPair
{
public:
    CSEStringCSERelationshipPair();
    /// Copies key and value.
    CSEStringCSERelationshipPair(const CSEStringCSERelationshipPair& other);
    /// Copies key and value; returns this pair.
    CSEStringCSERelationshipPair& operator=(const CSEStringCSERelationshipPair& other);
    ~CSEStringCSERelationshipPair();

    /// The table's comparison function: 0 when the keys are equal, 1 otherwise.
    static int Compare(const void* left, const void* right);

    CSEString key;  ///<The key.
    CSERelationship value;  ///<The value.
};

class CSEStringCSERelationshipMapIterator;

/// Hash map from CSEString to relationship record, iterated in insertion order; with its pair and iterator.
class CSEStringCSERelationshipMap : public CSEStringMapBase<CSEStringCSERelationshipMap, CSEStringCSERelationshipMapIterator, CSEStringCSERelationshipPair, CSERelationship>
{
public:
    CSEStringCSERelationshipMap();
};

/// Forward iterator over a CSEStringCSERelationshipMap in insertion order; end() is the iterator past the last pair.
class CSEStringCSERelationshipMapIterator : public CSEStringMapIteratorBase<CSEStringCSERelationshipMapIterator, CSEStringCSERelationshipMap, CSEStringCSERelationshipPair>
{
    typedef CSEStringMapIteratorBase<CSEStringCSERelationshipMapIterator, CSEStringCSERelationshipMap, CSEStringCSERelationshipPair> Base;

public:
    CSEStringCSERelationshipMapIterator() = default;
    /// An iterator at the end of map.
    explicit CSEStringCSERelationshipMapIterator(CSEStringCSERelationshipMap* map) : Base(map) {}

    /// \cond
private:
    friend CSEStringCSERelationshipMap::MapBase;
    CSEStringCSERelationshipMapIterator(CSEStringCSERelationshipMap* map, const DVKHashPosition& from) : Base(map, from) {}
    CSEStringCSERelationshipMapIterator(CSEStringCSERelationshipPair* pair, CSEStringCSERelationshipMap* map, const DVKHashPosition& at) : Base(pair, map, at) {}
    /// \endcond
};

#endif
