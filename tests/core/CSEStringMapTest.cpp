// Behaviour of the CSEString-keyed maps: insertion, look-up by key text, order, copies and cost.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "CSEStringCSEObjectMap.h"
#include "CSEStringCSERelationshipMap.h"
#include "CSEStringCSEStringMap.h"
#include "CSEStringCSEStringVectorMap.h"
#include "CSEStringVoidPtrMap.h"

namespace {

CSEString Numbered(const char16_t* prefix, int number)
{
    CSEString digits;
    digits.getCSEStringFromInt(number);
    return CSEString(prefix) + digits;
}

// Two distinct keys with the same host hash code (found by an offline search; the test checks it).
const std::pair<CSEString, CSEString>& CollidingKeys()
{
    static const std::pair<CSEString, CSEString> keys(u"part-752617", u"part-2798260");
    return keys;
}

std::vector<std::u16string> Keys(CSEStringCSEStringMap& map)
{
    std::vector<std::u16string> keys;
    for (CSEStringCSEStringMapIterator it = map.begin(); it != map.end(); ++it)
        keys.push_back((*it).key().Text());
    return keys;
}

} // namespace

TEST(CSEStringCSEStringMap, IndexingAnAbsentKeyAddsItButFindDoesNot)
{
    CSEStringCSEStringMap map;
    EXPECT_TRUE(map.find(u"a.prt") == map.end());
    EXPECT_EQ(map.size(), 0);
    EXPECT_TRUE(map[u"a.prt"] == u"");
    EXPECT_EQ(map.size(), 1);
    map[u"a.prt"] = u"/work";
    EXPECT_EQ(map.size(), 1);
    CSEStringCSEStringMapIterator found = map.find(u"a.prt");
    ASSERT_TRUE(found != map.end());
    EXPECT_TRUE(found->value == u"/work");
    EXPECT_TRUE(map.find(u"A.prt") == map.end());
}

TEST(CSEStringCSEStringMap, KeysSharingAHashCodeAreDistinctEntries)
{
    const CSEString& first = CollidingKeys().first;
    const CSEString& second = CollidingKeys().second;
    ASSERT_TRUE(first != second);
    ASSERT_EQ(first().ComputeHashKey(), second().ComputeHashKey());

    CSEStringCSEStringMap map;
    map[first] = u"one";
    EXPECT_TRUE(map.find(second) == map.end());
    map[second] = u"two";
    EXPECT_EQ(map.size(), 2);
    EXPECT_TRUE(map[first] == u"one");
    EXPECT_TRUE(map[second] == u"two");
    EXPECT_TRUE(map.find(second)->key == second);

    CSEStringCSEObjectMap objects;
    objects[second].cadId = u"B";
    objects[first].cadId = u"A";
    EXPECT_TRUE(objects.find(first)->value.cadId == u"A");
    EXPECT_TRUE(objects.find(second)->value.cadId == u"B");
}

TEST(CSEStringCSEStringMap, IteratesInInsertionOrderAndFindContinuesFromItsEntry)
{
    CSEStringCSEStringMap map;
    for (const char16_t* key : {u"zeta", u"alpha", u"mid", u"beta"})
        map[key] = key;
    map[u"alpha"] = u"again"; // an existing key keeps its place
    EXPECT_EQ(Keys(map), (std::vector<std::u16string>{u"zeta", u"alpha", u"mid", u"beta"}));

    CSEStringCSEStringMapIterator it = map.find(u"mid");
    EXPECT_TRUE((++it)->key == u"beta");
    EXPECT_TRUE(++it == map.end());
    EXPECT_TRUE(++it == map.end()); // the end stays the end
}

TEST(CSEStringCSEStringMap, CopiesAreDeepAndKeepTheOrder)
{
    CSEStringCSEStringMap source;
    source[u"b"] = u"2";
    source[u"a"] = u"1";
    CSEStringCSEStringMap copy(source);
    copy[u"a"] = u"changed";
    copy[u"c"] = u"3";
    EXPECT_TRUE(source[u"a"] == u"1");
    EXPECT_EQ(source.size(), 2);
    EXPECT_EQ(Keys(copy), (std::vector<std::u16string>{u"b", u"a", u"c"}));

    source = copy;
    EXPECT_EQ(Keys(source), (std::vector<std::u16string>{u"b", u"a", u"c"}));
    copy.clear();
    EXPECT_EQ(copy.size(), 0);
    EXPECT_TRUE(copy.begin() == copy.end());
    EXPECT_TRUE(source[u"a"] == u"changed");
}

TEST(CSEStringCSEStringMap, HundredThousandKeysStayFast)
{
    const int count = 100000;
    CSEStringCSEStringMap map;
    for (int i = 0; i < count; ++i)
        map[Numbered(u"cad-", i)] = Numbered(u"file-", i);
    ASSERT_EQ(map.size(), count);
    for (int i = 0; i < count; i += 997)
        EXPECT_TRUE(map.find(Numbered(u"cad-", i))->value == Numbered(u"file-", i));

    CSEStringCSEStringMap copy(map);
    int expected = 0;
    bool inOrder = true;
    for (CSEStringCSEStringMapIterator it = copy.begin(); it != copy.end(); ++it, ++expected)
        inOrder = inOrder && it->key == Numbered(u"cad-", expected);
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(expected, count);
    map.clear();
    EXPECT_EQ(map.size(), 0);
}

TEST(CSEStringMaps, NewEntriesTakeTheirValueTypesDefaults)
{
    CSEStringCSEStringVectorMap lists;
    EXPECT_TRUE(lists[u"type"].empty());
    lists[u"type"].push_back(u"class-a");
    lists[u"type"].push_back(u"class-b");
    EXPECT_EQ(lists.find(u"type")->value.Size(), 2);
    CSEStringCSEStringVectorMap listsCopy(lists);
    lists.clear();
    EXPECT_TRUE(listsCopy[u"type"][1] == u"class-b");

    CSEStringVoidPtrMap pointers;
    EXPECT_EQ(pointers[u"cad-1"], nullptr);
    int structureId = 42;
    pointers[u"cad-1"] = &structureId;
    EXPECT_EQ(pointers.find(u"cad-1")->value, &structureId);

    CSEStringCSEObjectMap objects;
    EXPECT_TRUE(objects[u"cad-1"].tool == u"designtool");
    CSEStringCSERelationshipMap relationships;
    EXPECT_TRUE(relationships[u"rid-1"].topNode == u"dpt");
    EXPECT_EQ(relationships[u"rid-1"].quantity, 1);
    EXPECT_EQ(relationships.size(), 1);
}

TEST(CSEStringCSEStringVectorMap, OffersItsTableOperationsAndKeepsOwningItsPairs)
{
    typedef CSEStringCSEStringVectorPair Pair;
    CSEStringCSEStringVectorMap lists;
    lists[u"a.prt"].push_back(u"x");
    Pair* added = new Pair;
    added->key = u"b.asm";
    added->value.push_back(u"y");
    EXPECT_TRUE(lists.Insert(added));
    Pair probe;  // a pair the map must never delete
    probe.key = u"a.prt";
    EXPECT_FALSE(lists.Insert(&probe)) << "its key is already present";
    EXPECT_FALSE(lists.Insert(nullptr));
    EXPECT_EQ(lists.size(), 2);
    EXPECT_TRUE(lists[u"b.asm"][0] == u"y");

    EXPECT_EQ(lists.Locate(&probe), &*lists.find(u"a.prt"));
    EXPECT_EQ(lists.KeyLocate(CSEString(u"b.asm")().ComputeHashKey()), added);
    std::vector<std::u16string> walked;
    DVKHashCodeIter it = lists.CreateIterator();
    while (it.Next() != nullptr)
        walked.push_back(lists[it]->key().Text());
    EXPECT_EQ(walked, (std::vector<std::u16string>{u"a.prt", u"b.asm"}));
    EXPECT_EQ(lists.Dimension() - lists.Unused() + lists.Collisions(), lists.size());

    CSEStringCSEStringVectorMap same;
    same[u"b.asm"];
    same[u"a.prt"];
    EXPECT_TRUE(lists == same);
    const std::unique_ptr<Pair> removed(lists.Remove(&probe));  // handed back to the caller
    ASSERT_NE(removed, nullptr);
    EXPECT_TRUE(removed->value[0] == u"x");
    EXPECT_TRUE(lists != same);
    lists.RemoveAll();
    EXPECT_EQ(lists.size(), 0);
}

TEST(CSEStringMaps, IteratorWithoutAMapDoesNotMove)
{
    CSEStringCSEStringMapIterator detached;
    CSEStringCSEStringMapIterator same;
    ++detached;
    EXPECT_TRUE(detached == same);
    CSEStringCSEStringMap map;
    EXPECT_TRUE(detached != map.end());
    EXPECT_TRUE(CSEStringCSEStringMapIterator(&map) == map.end());
}

TEST(CSEStringMapsDeathTest, MisusedIteratorsAreFatal)
{
    EXPECT_DEATH(CSEStringVoidPtrMapIterator(nullptr), "AssertionFailed:pMap != NULL");
    CSEStringCSEStringMap map;
    EXPECT_DEATH((void)(*map.end()).key, "AssertionFailed:m_pPair != NULL");
}
