// CSEStringCSEStringVectorMap: its pair and its constructor; the map operations come from the shared map base.
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

CSEStringCSEStringVectorMap::CSEStringCSEStringVectorMap() : MapBase(&CSEStringCSEStringVectorPair::Compare) {}
