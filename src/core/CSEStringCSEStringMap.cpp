// CSEStringCSEStringMap: its pair and its constructor; the map operations come from the shared map base.
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

CSEStringCSEStringMap::CSEStringCSEStringMap() : MapBase(&CSEStringCSEStringPair::Compare) {}
