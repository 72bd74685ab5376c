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

// The table operations, each forwarding to the typed table.
typedef CSEStringCSEStringVectorMap Map;
typedef CSEStringCSEStringVectorPair Pair;

bool Map::Insert(Pair* pair)
{
    DVKHashPosition position;
    if (pair == nullptr || GetCore().Find(pair->key, position) != nullptr)
        return false;
    return GetCore().GetTable().Insert(pair);
}

int Map::Dimension() const
{
    return GetCore().GetTable().Dimension();
}

int Map::Collisions() const
{
    return GetCore().GetTable().Collisions();
}

int Map::Unused() const
{
    return GetCore().GetTable().Unused();
}

DVKHashCodeIter Map::CreateIterator() const
{
    return GetCore().GetTable().CreateIterator();
}

Pair* Map::operator[](const DVKHashCodeIter& iterator) const
{
    return GetCore().GetTable()[iterator];
}

Pair* Map::KeyLocate(unsigned int hashCode) const
{
    return GetCore().GetTable().KeyLocate(hashCode);
}

Pair* Map::KeyLocatePosition(unsigned int hashCode, DVKHashPosition& position) const
{
    return GetCore().GetTable().KeyLocatePosition(hashCode, position);
}

Pair* Map::Locate(const Pair* pair) const
{
    return GetCore().GetTable().Locate(pair);
}

Pair* Map::LocatePosition(const Pair* pair, DVKHashPosition& position) const
{
    return GetCore().GetTable().LocatePosition(pair, position);
}

Pair* Map::Retrieve(const DVKHashPosition& position) const
{
    return GetCore().GetTable().Retrieve(position);
}

Pair* Map::Next(DVKHashPosition& position) const
{
    return GetCore().GetTable().Next(position);
}

Pair* Map::Next(DVKHashPosition& position, unsigned int hashCode) const
{
    return GetCore().GetTable().Next(position, hashCode);
}

Pair* Map::Remove(const Pair* pair)
{
    return GetCore().GetTable().Remove(pair);
}

Pair* Map::RemovePosition(const DVKHashPosition& position)
{
    return GetCore().GetTable().RemovePosition(position);
}

void Map::RemoveAll()
{
    clear();
}

bool Map::operator==(const Map& other) const
{
    return GetCore().GetTable() == other.GetCore().GetTable();
}

bool Map::operator!=(const Map& other) const
{
    return !(*this == other);
}

void Map::ApplyGlobalFunct(void (*function)(Pair* pair)) const
{
    GetCore().GetTable().ApplyGlobalFunct(function);
}

void Map::ApplyMemberFunct(void (Pair::*member)()) const
{
    GetCore().GetTable().ApplyMemberFunct(member);
}

void Map::ApplyDelete()
{
    clear();
}
