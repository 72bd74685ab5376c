// CSEStringVoidPtrMap: the map operations over the shared engine.
#include "CSEStringVoidPtrMap.h"

CSEStringVoidPtrPair::CSEStringVoidPtrPair() = default;
CSEStringVoidPtrPair::CSEStringVoidPtrPair(const CSEStringVoidPtrPair& other) = default;
CSEStringVoidPtrPair& CSEStringVoidPtrPair::operator=(const CSEStringVoidPtrPair& other) = default;
CSEStringVoidPtrPair::~CSEStringVoidPtrPair() = default;

int CSEStringVoidPtrPair::Compare(const void* left, const void* right)
{
    const auto* a = static_cast<const CSEStringVoidPtrPair*>(left);
    const auto* b = static_cast<const CSEStringVoidPtrPair*>(right);
    if (a == nullptr || b == nullptr)
        return a == b ? 0 : 1;
    return (a->key == b->key && a->value == b->value) ? 0 : 1;
}

CSEStringVoidPtrMap::CSEStringVoidPtrMap() : m_core(&CSEStringVoidPtrPair::Compare) {}
CSEStringVoidPtrMap::CSEStringVoidPtrMap(const CSEStringVoidPtrMap& other) = default;
CSEStringVoidPtrMap& CSEStringVoidPtrMap::operator=(const CSEStringVoidPtrMap& other) = default;
CSEStringVoidPtrMap::~CSEStringVoidPtrMap() = default;

void*& CSEStringVoidPtrMap::operator[](CSEString key)
{
    return m_core.Obtain(key).value;
}

CSEStringVoidPtrMap::iterator CSEStringVoidPtrMap::find(CSEString key)
{
    DVKHashPosition position;
    CSEStringVoidPtrPair* pair = m_core.Find(key, position);
    return pair == nullptr ? end() : iterator(pair, this, position);
}

CSEStringVoidPtrMap::iterator CSEStringVoidPtrMap::begin()
{
    return iterator(this, DVKHashPosition());
}

CSEStringVoidPtrMap::iterator CSEStringVoidPtrMap::end()
{
    return iterator(this);
}

int CSEStringVoidPtrMap::size() const
{
    return m_core.Size();
}

void CSEStringVoidPtrMap::clear()
{
    m_core.Clear();
}
