// CSEStringCSEStringMap: hash map from CSEString to CSEString, iterated in insertion order; with its pair and iterator.
#ifndef CSESTRINGCSESTRINGMAP_H
#define CSESTRINGCSESTRINGMAP_H

#include "CSEString.h"
#include "CSEStringMapCore.h"
#include "DVKHashTab.h"

class CSEStringCSEStringPair
{
public:
    CSEStringCSEStringPair();
    CSEStringCSEStringPair(const CSEStringCSEStringPair& other);
    CSEStringCSEStringPair& operator=(const CSEStringCSEStringPair& other);
    ~CSEStringCSEStringPair();

    // The table's comparison function: 0 when keys and values are equal, 1 otherwise.
    static int Compare(const void* left, const void* right);

    CSEString key;
    CSEString value;
};

class CSEStringCSEStringMapIterator;

class CSEStringCSEStringMap
{
public:
    typedef CSEStringCSEStringMapIterator iterator;

    CSEStringCSEStringMap();
    // Copies every pair, keeping the order.
    CSEStringCSEStringMap(const CSEStringCSEStringMap& other);
    CSEStringCSEStringMap& operator=(const CSEStringCSEStringMap& other);
    virtual ~CSEStringCSEStringMap();

    // The value of key; an absent key is added with the default value.
    CSEString& operator[](CSEString key);
    // The pair of key, or end() (nothing is added).
    iterator find(CSEString key);
    iterator begin();
    iterator end();
    int size() const;
    void clear();

private:
    friend class CSEStringMapIteratorBase<CSEStringCSEStringMapIterator, CSEStringCSEStringMap, CSEStringCSEStringPair>;
    typedef CSEStringMapCore<CSEStringCSEStringPair> Core;
    Core& GetCore() { return m_core; }

    Core m_core;
};

class CSEStringCSEStringMapIterator : public CSEStringMapIteratorBase<CSEStringCSEStringMapIterator, CSEStringCSEStringMap, CSEStringCSEStringPair>
{
    typedef CSEStringMapIteratorBase<CSEStringCSEStringMapIterator, CSEStringCSEStringMap, CSEStringCSEStringPair> Base;

public:
    CSEStringCSEStringMapIterator() = default;
    explicit CSEStringCSEStringMapIterator(CSEStringCSEStringMap* map) : Base(map) {}

private:
    friend class CSEStringCSEStringMap;
    CSEStringCSEStringMapIterator(CSEStringCSEStringMap* map, const DVKHashPosition& from) : Base(map, from) {}
    CSEStringCSEStringMapIterator(CSEStringCSEStringPair* pair, CSEStringCSEStringMap* map, const DVKHashPosition& at) : Base(pair, map, at) {}
};

#endif
