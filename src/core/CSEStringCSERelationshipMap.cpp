// CSEStringCSERelationshipMap: the map operations over the shared engine.
#include "CSEStringCSERelationshipMap.h"

CSEStringCSERelationshipPair::CSEStringCSERelationshipPair() = default;
CSEStringCSERelationshipPair::CSEStringCSERelationshipPair(const CSEStringCSERelationshipPair& other) = default;
CSEStringCSERelationshipPair& CSEStringCSERelationshipPair::operator=(const CSEStringCSERelationshipPair& other) = default;
CSEStringCSERelationshipPair::~CSEStringCSERelationshipPair() = default;

int CSEStringCSERelationshipPair::Compare(const void* left, const void* right)
{
    const auto* a = static_cast<const CSEStringCSERelationshipPair*>(left);
    const auto* b = static_cast<const CSEStringCSERelationshipPair*>(right);
    if (a == nullptr || b == nullptr)
        return a == b ? 0 : 1;
    return a->key == b->key ? 0 : 1;
}

CSEStringCSERelationshipMap::CSEStringCSERelationshipMap() : m_core(&CSEStringCSERelationshipPair::Compare) {}
CSEStringCSERelationshipMap::CSEStringCSERelationshipMap(const CSEStringCSERelationshipMap& other) = default;
CSEStringCSERelationshipMap& CSEStringCSERelationshipMap::operator=(const CSEStringCSERelationshipMap& other) = default;
CSEStringCSERelationshipMap::~CSEStringCSERelationshipMap() = default;

CSERelationship& CSEStringCSERelationshipMap::operator[](CSEString key)
{
    return m_core.Obtain(key).value;
}

CSEStringCSERelationshipMap::iterator CSEStringCSERelationshipMap::find(CSEString key)
{
    DVKHashPosition position;
    CSEStringCSERelationshipPair* pair = m_core.Find(key, position);
    return pair == nullptr ? end() : iterator(pair, this, position);
}

CSEStringCSERelationshipMap::iterator CSEStringCSERelationshipMap::begin()
{
    return iterator(this, DVKHashPosition());
}

CSEStringCSERelationshipMap::iterator CSEStringCSERelationshipMap::end()
{
    return iterator(this);
}

int CSEStringCSERelationshipMap::size() const
{
    return m_core.Size();
}

void CSEStringCSERelationshipMap::clear()
{
    m_core.Clear();
}
