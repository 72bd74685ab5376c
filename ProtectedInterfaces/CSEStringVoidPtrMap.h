/// \file
/// CSEStringVoidPtrMap: hash map from CSEString to untyped pointer (not owned), iterated in insertion order; with its pair and iterator.
#ifndef CSESTRINGVOIDPTRMAP_H
#define CSESTRINGVOIDPTRMAP_H

#include "CSEString.h"
#include "CSEStringMapCore.h"
#include "DVKHashTab.h"

/// One entry of a CSEStringVoidPtrMap: the key and its value.
class CSEStringVoidPtrPair
{
public:
    CSEStringVoidPtrPair();
    /// Copies key and value (the pointer, not what it points to).
    CSEStringVoidPtrPair(const CSEStringVoidPtrPair& other);
    /// Copies key and value (the pointer); returns this pair.
    CSEStringVoidPtrPair& operator=(const CSEStringVoidPtrPair& other);
    ~CSEStringVoidPtrPair();

    /// The table's comparison function: 0 when keys and pointers are equal, 1 otherwise.
    static int Compare(const void* left, const void* right);

    CSEString key;  ///<The key.
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

/// Forward iterator over a CSEStringVoidPtrMap in insertion order; end() is the iterator past the last pair.
class CSEStringVoidPtrMapIterator : public CSEStringMapIteratorBase<CSEStringVoidPtrMapIterator, CSEStringVoidPtrMap, CSEStringVoidPtrPair>
{
    typedef CSEStringMapIteratorBase<CSEStringVoidPtrMapIterator, CSEStringVoidPtrMap, CSEStringVoidPtrPair> Base;

public:
    CSEStringVoidPtrMapIterator() = default;
    /// An iterator at the end of map.
    explicit CSEStringVoidPtrMapIterator(CSEStringVoidPtrMap* map) : Base(map) {}

    /// \cond
private:
    friend CSEStringVoidPtrMap::MapBase;
    CSEStringVoidPtrMapIterator(CSEStringVoidPtrMap* map, const DVKHashPosition& from) : Base(map, from) {}
    CSEStringVoidPtrMapIterator(CSEStringVoidPtrPair* pair, CSEStringVoidPtrMap* map, const DVKHashPosition& at) : Base(pair, map, at) {}
    /// \endcond
};

#endif
