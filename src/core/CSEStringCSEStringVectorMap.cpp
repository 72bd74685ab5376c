// CSEStringCSEStringVectorMap: the map operations over the shared engine.
#include "CSEStringCSEStringVectorMap.h"

CSEStringCSEStringVectorPair::CSEStringCSEStringVectorPair() = default;
CSEStringCSEStringVectorPair::CSEStringCSEStringVectorPair(const CSEStringCSEStringVectorPair& other) = default;
CSEStringCSEStringVectorPair& CSEStringCSEStringVectorPair::operator=(const CSEStringCSEStringVectorPair& other) = default;
CSEStringCSEStringVectorPair::~CSEStringCSEStringVectorPair() = default;

int CSEStringCSEStringVectorPair::Compare(const void* left, const void* right)
{
    const auto* a = static_cast<const CSEStringCSEStringVectorPair*>(left);
    const auto* b = static_cast<const CSEStringCSEStringVectorPair*>(right);
    if (a == nullptr || b == nullptr)
        return a == b ? 0 : 1;
    return a->key == b->key ? 0 : 1;
}

CSEStringCSEStringVectorMap::CSEStringCSEStringVectorMap() : m_core(&CSEStringCSEStringVectorPair::Compare) {}
CSEStringCSEStringVectorMap::CSEStringCSEStringVectorMap(const CSEStringCSEStringVectorMap& other) = default;
CSEStringCSEStringVectorMap& CSEStringCSEStringVectorMap::operator=(const CSEStringCSEStringVectorMap& other) = default;
CSEStringCSEStringVectorMap::~CSEStringCSEStringVectorMap() = default;

CSEWrapperStringVector& CSEStringCSEStringVectorMap::operator[](CSEString key)
{
    return m_core.Obtain(key).value;
}

CSEStringCSEStringVectorMap::iterator CSEStringCSEStringVectorMap::find(CSEString key)
{
    DVKHashPosition position;
    CSEStringCSEStringVectorPair* pair = m_core.Find(key, position);
    return pair == nullptr ? end() : iterator(pair, this, position);
}

CSEStringCSEStringVectorMap::iterator CSEStringCSEStringVectorMap::begin()
{
    return iterator(this, DVKHashPosition());
}

CSEStringCSEStringVectorMap::iterator CSEStringCSEStringVectorMap::end()
{
    return iterator(this);
}

int CSEStringCSEStringVectorMap::size() const
{
    return m_core.Size();
}

void CSEStringCSEStringVectorMap::clear()
{
    m_core.Clear();
}
