/// \file
/// CSEStringCSERelationshipMap: hash map from CSEString to relationship record, iterated in insertion order; with its pair and iterator.
#ifndef CSESTRINGCSERELATIONSHIPMAP_H
#define CSESTRINGCSERELATIONSHIPMAP_H

#include "CSERelationship.h"
#include "CSEString.h"
#include "CSEStringMapCore.h"
#include "DVKHashTab.h"

/// CSEStringCSERelationshipMap: hash map from CSEString to relationship record, iterated in insertion order;
/// with its pair and iterator.
class CSEStringCSERelationshipPair
{
public:
    CSEStringCSERelationshipPair();
    CSEStringCSERelationshipPair(const CSEStringCSERelationshipPair& other);
    CSEStringCSERelationshipPair& operator=(const CSEStringCSERelationshipPair& other);
    ~CSEStringCSERelationshipPair();

    /// The table's comparison function: 0 when the keys are equal, 1 otherwise.
    static int Compare(const void* left, const void* right);

    CSEString key;
    CSERelationship value;
};

class CSEStringCSERelationshipMapIterator;

/// Hash map from CSEString to relationship record, iterated in insertion order; with its pair and iterator.
class CSEStringCSERelationshipMap : public CSEStringMapBase<CSEStringCSERelationshipMap, CSEStringCSERelationshipMapIterator, CSEStringCSERelationshipPair, CSERelationship>
{
public:
    CSEStringCSERelationshipMap();
};

/// CSEStringCSERelationshipMap: hash map from CSEString to relationship record, iterated in insertion order;
/// with its pair and iterator.
class CSEStringCSERelationshipMapIterator : public CSEStringMapIteratorBase<CSEStringCSERelationshipMapIterator, CSEStringCSERelationshipMap, CSEStringCSERelationshipPair>
{
    typedef CSEStringMapIteratorBase<CSEStringCSERelationshipMapIterator, CSEStringCSERelationshipMap, CSEStringCSERelationshipPair> Base;

public:
    CSEStringCSERelationshipMapIterator() = default;
    explicit CSEStringCSERelationshipMapIterator(CSEStringCSERelationshipMap* map) : Base(map) {}

private:
    friend CSEStringCSERelationshipMap::MapBase;
    CSEStringCSERelationshipMapIterator(CSEStringCSERelationshipMap* map, const DVKHashPosition& from) : Base(map, from) {}
    CSEStringCSERelationshipMapIterator(CSEStringCSERelationshipPair* pair, CSEStringCSERelationshipMap* map, const DVKHashPosition& at) : Base(pair, map, at) {}
};

#endif
