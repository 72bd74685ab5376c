// Behaviour of the CSEString-keyed maps: look-up by key text, insertion order, deep copies and cost.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CSEStringCSEStringMap.h"
#include "CSEStringCSEStringVectorMap.h"
#include "CSEStringVoidPtrMap.h"

namespace {

std::vector<std::u16string> Keys(CSEStringCSEStringMap& map)
{
    std::vector<std::u16string> keys;
    for (CSEStringCSEStringMapIterator it = map.begin(); it != map.end(); ++it)
        keys.push_back(it->key().Text());
    return keys;
}

} // namespace

TEST(CSEStringMaps, TheKeyTextDecidesAndInsertionOrderHoldsThroughFindAndDeepCopies)
{
    CSEStringCSEStringMap map;
    EXPECT_TRUE(map.find(u"zeta") == map.end() && map.size() == 0) << "find adds nothing";
    for (const char16_t* key : {u"zeta", u"alpha", u"mid", u"beta"})
        EXPECT_TRUE(map[key] == u"") << "indexing adds an absent key";
    map[u"alpha"] = u"again"; // an existing key keeps its place
    EXPECT_TRUE(map.find(u"Alpha") == map.end());
    CSEStringCSEStringMapIterator it = map.find(u"mid");
    EXPECT_TRUE((++it)->key == u"beta");
    EXPECT_TRUE(++it == map.end());
    EXPECT_TRUE(++it == map.end()); // the end stays the end
    CSEStringCSEStringMapIterator detached;
    EXPECT_TRUE(++detached == CSEStringCSEStringMapIterator());

    CSEStringCSEStringMap copy(map);
    copy[u"alpha"] = u"changed";
    copy[u"new"] = u"";
    EXPECT_TRUE(map[u"alpha"] == u"again");
    EXPECT_EQ(Keys(map), (std::vector<std::u16string>{u"zeta", u"alpha", u"mid", u"beta"}));
    map = copy;
    copy.clear();
    EXPECT_TRUE(copy.begin() == copy.end());
    EXPECT_EQ(Keys(map), (std::vector<std::u16string>{u"zeta", u"alpha", u"mid", u"beta", u"new"}));
    EXPECT_TRUE(map[u"alpha"] == u"changed");

    // Two distinct keys with the same host hash code (found by an offline search).
    const CSEString first(u"part-752617"), second(u"part-2798260");
    ASSERT_EQ(first().ComputeHashKey(), second().ComputeHashKey());
    map[first] = u"one";
    EXPECT_TRUE(map.find(second) == map.end());
    map[second] = u"two";
    EXPECT_TRUE(map[first] == u"one" && map[second] == u"two");

    CSEStringVoidPtrMap pointers;
    EXPECT_EQ(pointers[u"cad-1"], nullptr);
}

TEST(CSEStringMaps, HundredThousandKeysStayFast)
{
    const auto numbered = [](const char16_t* prefix, int i) { return prefix + CSEString().getCSEStringFromInt(i); };
    const int count = 100000;
    CSEStringCSEStringMap map;
    for (int i = 0; i < count; ++i)
        map[numbered(u"cad-", i)] = numbered(u"file-", i);
    ASSERT_EQ(map.size(), count);
    for (int i = 0; i < count; i += 997)
        EXPECT_TRUE(map.find(numbered(u"cad-", i))->value == numbered(u"file-", i));
    CSEStringCSEStringMap copy(map);
    EXPECT_EQ(copy.size(), count);
}

TEST(CSEStringCSEStringVectorMap, OffersItsTableOperationsAndKeepsOwningItsPairs)
{
    typedef CSEStringCSEStringVectorPair Pair;
    CSEStringCSEStringVectorMap lists;
    EXPECT_TRUE(lists[u"a.prt"].empty());
    lists[u"a.prt"].push_back(u"x");
    Pair* added = new Pair;
    added->key = u"b.asm";
    added->value.push_back(u"y");
    EXPECT_TRUE(lists.Insert(added));
    Pair probe; // a pair the map must never delete
    probe.key = u"a.prt";
    EXPECT_FALSE(lists.Insert(&probe)) << "its key is already present";
    EXPECT_FALSE(lists.Insert(nullptr));
    EXPECT_EQ(lists.size(), 2);
    EXPECT_EQ(lists.Locate(&probe), &*lists.find(u"a.prt"));
    CSEStringCSEStringVectorMap copy(lists);
    EXPECT_TRUE(lists == copy);
    const std::unique_ptr<Pair> removed(lists.Remove(&probe)); // handed back to the caller
    ASSERT_NE(removed, nullptr);
    EXPECT_TRUE(removed->value[0] == u"x");
    EXPECT_TRUE(lists != copy);
    lists.RemoveAll();
    EXPECT_EQ(lists.size(), 0);
    EXPECT_TRUE(copy[u"b.asm"][0] == u"y") << "the copy owns pairs of its own";
}

TEST(CSEStringMapsDeathTest, MisusedIteratorsAreFatal)
{
    EXPECT_DEATH(CSEStringVoidPtrMapIterator(nullptr), "AssertionFailed:pMap != NULL");
    CSEStringCSEStringMap map;
    EXPECT_DEATH((void)(*map.end()).key, "AssertionFailed:m_pPair != NULL");
}
