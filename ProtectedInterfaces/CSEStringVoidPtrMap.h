/// \file
/// CSEStringVoidPtrMap: hash map from CSEString to untyped pointer (not owned), iterated in insertion order; with its pair and iterator.
#ifndef CSESTRINGVOIDPTRMAP_H
#define CSESTRINGVOIDPTRMAP_H

#include "CSEString.h"
#include "CSEStringMapCore.h"
#include "DVKHashTab.h"

/// CSEStringVoidPtrMap: hash map from CSEString to untyped pointer (not owned), iterated in insertion order;
/// with its pair and iterator.
class CSEStringVoidPtrPair
{
public:
    CSEStringVoidPtrPair();
    CSEStringVoidPtrPair(const CSEStringVoidPtrPair& other);
    CSEStringVoidPtrPair& operator=(const CSEStringVoidPtrPair& other);
    ~CSEStringVoidPtrPair();

    /// The table's comparison function: 0 when keys and pointers are equal, 1 otherwise.
    static int Compare(const void* left, const void* right);

    CSEString key;
    void* value = nullptr; ///< not owned
};

class CSEStringVoidPtrMapIterator;

/// Hash map from CSEString to untyped pointer (not owned), iterated in insertion order; with its pair and
/// iterator.
class CSEStringVoidPtrMap : public CSEStringMapBase<CSEStringVoidPtrMap, CSEStringVoidPtrMapIterator, CSEStringVoidPtrPair, void*>
{
public:
    CSEStringVoidPtrMap();
};

/// CSEStringVoidPtrMap: hash map from CSEString to untyped pointer (not owned), iterated in insertion order;
/// with its pair and iterator.
class CSEStringVoidPtrMapIterator : public CSEStringMapIteratorBase<CSEStringVoidPtrMapIterator, CSEStringVoidPtrMap, CSEStringVoidPtrPair>
{
    typedef CSEStringMapIteratorBase<CSEStringVoidPtrMapIterator, CSEStringVoidPtrMap, CSEStringVoidPtrPair> Base;

public:
    CSEStringVoidPtrMapIterator() = default;
    explicit CSEStringVoidPtrMapIterator(CSEStringVoidPtrMap* map) : Base(map) {}

private:
    friend CSEStringVoidPtrMap::MapBase;
    CSEStringVoidPtrMapIterator(CSEStringVoidPtrMap* map, const DVKHashPosition& from) : Base(map, from) {}
    CSEStringVoidPtrMapIterator(CSEStringVoidPtrPair* pair, CSEStringVoidPtrMap* map, const DVKHashPosition& at) : Base(pair, map, at) {}
};

#endif
