// CSEStringCSERelationshipMap: its pair and its constructor; the map operations come from the shared map base.
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

CSEStringCSERelationshipMap::CSEStringCSERelationshipMap() : MapBase(&CSEStringCSERelationshipPair::Compare) {}
