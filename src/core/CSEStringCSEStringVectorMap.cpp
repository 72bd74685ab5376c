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

bool CSEStringCSEStringVectorMap::Insert(Pair* pair)
{
    DVKHashPosition position;
    if (pair == nullptr || GetCore().Find(pair->key, position) != nullptr)
        return false;
    return GetCore().GetTable().Insert(pair);
}

int CSEStringCSEStringVectorMap::Dimension() const
{
    return GetCore().GetTable().Dimension();
}

int CSEStringCSEStringVectorMap::Collisions() const
{
    return GetCore().GetTable().Collisions();
}

int CSEStringCSEStringVectorMap::Unused() const
{
    return GetCore().GetTable().Unused();
}

DVKHashCodeIter CSEStringCSEStringVectorMap::CreateIterator() const
{
    return GetCore().GetTable().CreateIterator();
}

CSEStringCSEStringVectorPair* CSEStringCSEStringVectorMap::operator[](const DVKHashCodeIter& iterator) const
{
    return GetCore().GetTable()[iterator];
}

CSEStringCSEStringVectorPair* CSEStringCSEStringVectorMap::KeyLocate(unsigned int hashCode) const
{
    return GetCore().GetTable().KeyLocate(hashCode);
}

CSEStringCSEStringVectorPair* CSEStringCSEStringVectorMap::KeyLocatePosition(unsigned int hashCode,
                                                                             DVKHashPosition& position) const
{
    return GetCore().GetTable().KeyLocatePosition(hashCode, position);
}

CSEStringCSEStringVectorPair* CSEStringCSEStringVectorMap::Locate(const Pair* pair) const
{
    return GetCore().GetTable().Locate(pair);
}

CSEStringCSEStringVectorPair* CSEStringCSEStringVectorMap::LocatePosition(const Pair* pair,
                                                                          DVKHashPosition& position) const
{
    return GetCore().GetTable().LocatePosition(pair, position);
}

CSEStringCSEStringVectorPair* CSEStringCSEStringVectorMap::Retrieve(const DVKHashPosition& position) const
{
    return GetCore().GetTable().Retrieve(position);
}

CSEStringCSEStringVectorPair* CSEStringCSEStringVectorMap::Next(DVKHashPosition& position) const
{
    return GetCore().GetTable().Next(position);
}

CSEStringCSEStringVectorPair* CSEStringCSEStringVectorMap::Next(DVKHashPosition& position,
                                                                unsigned int hashCode) const
{
    return GetCore().GetTable().Next(position, hashCode);
}

CSEStringCSEStringVectorPair* CSEStringCSEStringVectorMap::Remove(const Pair* pair)
{
    return GetCore().GetTable().Remove(pair);
}

CSEStringCSEStringVectorPair* CSEStringCSEStringVectorMap::RemovePosition(const DVKHashPosition& position)
{
    return GetCore().GetTable().RemovePosition(position);
}

void CSEStringCSEStringVectorMap::RemoveAll()
{
    clear();
}

bool CSEStringCSEStringVectorMap::operator==(const CSEStringCSEStringVectorMap& other) const
{
    return GetCore().GetTable() == other.GetCore().GetTable();
}

bool CSEStringCSEStringVectorMap::operator!=(const CSEStringCSEStringVectorMap& other) const
{
    return !(*this == other);
}

void CSEStringCSEStringVectorMap::ApplyGlobalFunct(void (*function)(Pair* pair)) const
{
    GetCore().GetTable().ApplyGlobalFunct(function);
}

void CSEStringCSEStringVectorMap::ApplyMemberFunct(void (Pair::*member)()) const
{
    GetCore().GetTable().ApplyMemberFunct(member);
}

void CSEStringCSEStringVectorMap::ApplyDelete()
{
    clear();
}
