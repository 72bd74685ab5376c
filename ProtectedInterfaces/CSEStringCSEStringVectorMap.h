// CSEStringCSEStringVectorMap: hash map from CSEString to string vector, iterated in insertion order; with its pair and iterator.
#ifndef CSESTRINGCSESTRINGVECTORMAP_H
#define CSESTRINGCSESTRINGVECTORMAP_H

#include "CSEString.h"
#include "CSEStringMapCore.h"
#include "CSEWrapperStringVector.h"
#include "DVKHashTab.h"

class CSEStringCSEStringVectorPair
{
public:
    CSEStringCSEStringVectorPair();
    CSEStringCSEStringVectorPair(const CSEStringCSEStringVectorPair& other);
    CSEStringCSEStringVectorPair& operator=(const CSEStringCSEStringVectorPair& other);
    ~CSEStringCSEStringVectorPair();

    // The table's comparison function: 0 when the keys are equal, 1 otherwise.
    static int Compare(const void* left, const void* right);

    CSEString key;
    CSEWrapperStringVector value;
};

// The typed host table of the vector map's pairs.
class DVKHashTabCSEStringCSEStringVectorPair : public DVKHashTab<CSEStringCSEStringVectorPair>
{
public:
    DVKHashTabCSEStringCSEStringVectorPair(DVKHashFunction hash, DVKCompareFunction compare, int dimension)
        : DVKHashTab<CSEStringCSEStringVectorPair>(hash, compare, dimension)
    {
    }
};

class CSEStringCSEStringVectorMapIterator;

class CSEStringCSEStringVectorMap : public CSEStringMapBase<CSEStringCSEStringVectorMap, CSEStringCSEStringVectorMapIterator, CSEStringCSEStringVectorPair, CSEWrapperStringVector, DVKHashTabCSEStringCSEStringVectorPair>
{
public:
    CSEStringCSEStringVectorMap();
};

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
