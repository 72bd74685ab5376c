// CSEStringCSEObjectMap: the map operations over the shared engine.
#include "CSEStringCSEObjectMap.h"

CSEStringCSEObjectPair::CSEStringCSEObjectPair() = default;
CSEStringCSEObjectPair::CSEStringCSEObjectPair(const CSEStringCSEObjectPair& other) = default;
CSEStringCSEObjectPair& CSEStringCSEObjectPair::operator=(const CSEStringCSEObjectPair& other) = default;
CSEStringCSEObjectPair::~CSEStringCSEObjectPair() = default;

int CSEStringCSEObjectPair::Compare(const void* left, const void* right)
{
    const auto* a = static_cast<const CSEStringCSEObjectPair*>(left);
    const auto* b = static_cast<const CSEStringCSEObjectPair*>(right);
    if (a == nullptr || b == nullptr)
        return a == b ? 0 : 1;
    return a->key == b->key ? 0 : 1;
}

CSEStringCSEObjectMap::CSEStringCSEObjectMap() : m_core(&CSEStringCSEObjectPair::Compare) {}
CSEStringCSEObjectMap::CSEStringCSEObjectMap(const CSEStringCSEObjectMap& other) = default;
CSEStringCSEObjectMap& CSEStringCSEObjectMap::operator=(const CSEStringCSEObjectMap& other) = default;
CSEStringCSEObjectMap::~CSEStringCSEObjectMap() = default;

CSEObjectInfo& CSEStringCSEObjectMap::operator[](CSEString key)
{
    return m_core.Obtain(key).value;
}

CSEStringCSEObjectMap::iterator CSEStringCSEObjectMap::find(CSEString key)
{
    DVKHashPosition position;
    CSEStringCSEObjectPair* pair = m_core.Find(key, position);
    return pair == nullptr ? end() : iterator(pair, this, position);
}

CSEStringCSEObjectMap::iterator CSEStringCSEObjectMap::begin()
{
    return iterator(this, DVKHashPosition());
}

CSEStringCSEObjectMap::iterator CSEStringCSEObjectMap::end()
{
    return iterator(this);
}

int CSEStringCSEObjectMap::size() const
{
    return m_core.Size();
}

void CSEStringCSEObjectMap::clear()
{
    m_core.Clear();
}
