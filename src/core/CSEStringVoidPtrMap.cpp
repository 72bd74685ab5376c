// CSEStringVoidPtrMap: its pair and its constructor; the map operations come from the shared map base.
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

CSEStringVoidPtrMap::CSEStringVoidPtrMap() : MapBase(&CSEStringVoidPtrPair::Compare) {}
