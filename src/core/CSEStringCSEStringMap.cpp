// CSEStringCSEStringMap: the map operations over the shared engine.
#include "CSEStringCSEStringMap.h"

CSEStringCSEStringPair::CSEStringCSEStringPair() = default;
CSEStringCSEStringPair::CSEStringCSEStringPair(const CSEStringCSEStringPair& other) = default;
CSEStringCSEStringPair& CSEStringCSEStringPair::operator=(const CSEStringCSEStringPair& other) = default;
CSEStringCSEStringPair::~CSEStringCSEStringPair() = default;

int CSEStringCSEStringPair::Compare(const void* left, const void* right)
{
    const auto* a = static_cast<const CSEStringCSEStringPair*>(left);
    const auto* b = static_cast<const CSEStringCSEStringPair*>(right);
    if (a == nullptr || b == nullptr)
        return a == b ? 0 : 1;
    return (a->key == b->key && a->value == b->value) ? 0 : 1;
}

CSEStringCSEStringMap::CSEStringCSEStringMap() : m_core(&CSEStringCSEStringPair::Compare) {}
CSEStringCSEStringMap::CSEStringCSEStringMap(const CSEStringCSEStringMap& other) = default;
CSEStringCSEStringMap& CSEStringCSEStringMap::operator=(const CSEStringCSEStringMap& other) = default;
CSEStringCSEStringMap::~CSEStringCSEStringMap() = default;

CSEString& CSEStringCSEStringMap::operator[](CSEString key)
{
    return m_core.Obtain(key).value;
}

CSEStringCSEStringMap::iterator CSEStringCSEStringMap::find(CSEString key)
{
    DVKHashPosition position;
    CSEStringCSEStringPair* pair = m_core.Find(key, position);
    return pair == nullptr ? end() : iterator(pair, this, position);
}

CSEStringCSEStringMap::iterator CSEStringCSEStringMap::begin()
{
    return iterator(this, DVKHashPosition());
}

CSEStringCSEStringMap::iterator CSEStringCSEStringMap::end()
{
    return iterator(this);
}

int CSEStringCSEStringMap::size() const
{
    return m_core.Size();
}

void CSEStringCSEStringMap::clear()
{
    m_core.Clear();
}
