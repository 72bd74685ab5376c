// CSEStringCSEObjectMap: its pair and its constructor; the map operations come from the shared map base.
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

CSEStringCSEObjectMap::CSEStringCSEObjectMap() : MapBase(&CSEStringCSEObjectPair::Compare) {}
