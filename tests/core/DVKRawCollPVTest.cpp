// Behaviour of the host lists: raw pointers, integers, typed string pointers and owned values.
#include <gtest/gtest.h>

#include <vector>

#include "CSEString.h"
#include "DVKListPtrCSEString.h"
#include "DVKListValDVKUnicodeString.h"
#include "DVKRawCollPV.h"
#include "DVKRawCollint.h"

namespace {

int g_cells[10];

void* At(int i)
{
    return &g_cells[i];
}

DVKRawCollPV Of(const std::vector<int>& cells)
{
    DVKRawCollPV coll;
    for (int i : cells)
        coll.Append(At(i));
    return coll;
}

} // namespace

TEST(DVKRawCollPV, PositionsCountFromOneAndRemovalsStopAtTheEnd)
{
    DVKRawCollPV coll = Of({0, 2});
    EXPECT_EQ(coll.InsertAt(2, At(1)), 0);
    EXPECT_EQ(coll.InsertAt(4, At(3)), 0);
    EXPECT_EQ(coll.InsertAt(9, At(4)), -1);
    EXPECT_TRUE(coll == Of({0, 1, 2, 3}));
    EXPECT_EQ(coll.Locate(At(0)), 1);
    EXPECT_EQ(coll.Locate(At(0), 2), 0);
    EXPECT_EQ(coll.Size(6), 6);
    EXPECT_EQ(coll[6], nullptr);
    EXPECT_EQ(coll.RemoveNulls(), 2);
    EXPECT_EQ(coll.RemovePosition(2, 10), 3);
    EXPECT_EQ(coll.RemovePosition(5), 0);
    EXPECT_TRUE(coll == Of({0}));

    DVKRawCollint ids;
    ids.Append(7);
    EXPECT_EQ(ids[1], 7);
}

TEST(DVKRawCollPV, SetOperationsKeepFirstOccurrencesInOrder)
{
    DVKRawCollPV coll = Of({3, 1, 3, 2, 1, 4});
    EXPECT_EQ(coll.NbOccur(At(3)), 2);
    EXPECT_EQ(coll.RemoveDuplicates(), 2);
    EXPECT_TRUE(coll == Of({3, 1, 2, 4}));
    DVKRawCollPV common;
    EXPECT_EQ(DVKRawCollPV::Intersection(coll, Of({4, 9, 3, 4}), common), 2);
    EXPECT_TRUE(common == Of({3, 4}));
    EXPECT_EQ(coll.Remove(Of({4, 9, 3})), 2);
    EXPECT_TRUE(coll == Of({1, 2}));
    EXPECT_EQ(coll.RemoveValue(At(2)), 2);
    EXPECT_EQ(coll.RemoveValue(At(2)), 0);
    EXPECT_EQ(coll.Append(coll), 2) << "appending itself doubles the list";
    EXPECT_TRUE(coll == Of({1, 1}));
}

TEST(DVKRawCollPVDeathTest, PositionOutsideTheListIsFatal)
{
    DVKRawCollPV coll;
    EXPECT_DEATH(coll[1], "AssertionFailed:position >= 1 && position <= Size\\(\\)");
    DVKRawCollint numbers;
    EXPECT_DEATH(numbers[0], "AssertionFailed:");
}

TEST(DVKListPtrCSEString, SortsStablyAndComparesTextsThroughTheTypedInterface)
{
    CSEString b(u"b"), a1(u"a"), c(u"c"), a2(u"a");
    DVKListPtrCSEString list;
    for (CSEString* text : {&b, &a1, &c, &a2})
        list.Append(text);
    const auto byText = [](const CSEString* left, const CSEString* right) {
        return *left < *right ? -1 : (*right < *left ? 1 : 0);
    };
    list.QuickSort(byText);
    CSEString* const sorted[] = {&a1, &a2, &b, &c};
    EXPECT_TRUE(list == DVKListPtrCSEString(sorted, 4));

    CSEString otherA1(u"a"), otherA2(u"a"), otherB(u"b"), otherC(u"c");
    CSEString* const others[] = {&otherA1, &otherA2, &otherB, &otherC};
    const DVKListPtrCSEString equalTexts(others, 4);
    EXPECT_EQ(DVKListPtrCSEString::Compare(list, equalTexts, byText), 0);
    EXPECT_TRUE(list != equalTexts) << "list equality compares the pointers";
}

TEST(DVKListVal, OwnsCopiesAndComparesByValue)
{
    DVKListValDVKUnicodeString texts;
    for (const char16_t* text : {u"one", u"two", u"one"})
        texts.Append(DVKUnicodeString(text));
    EXPECT_EQ(texts.Locate(DVKUnicodeString(u"one"), 2), 3);

    DVKListValDVKUnicodeString copy(texts);
    EXPECT_TRUE(copy == texts);
    copy[1] = DVKUnicodeString(u"changed");
    EXPECT_TRUE(texts[1] == DVKUnicodeString(u"one"));
    EXPECT_TRUE(copy != texts);
    EXPECT_EQ(copy.RemoveValue(DVKUnicodeString(u"two")), 2);
    EXPECT_EQ(copy.RemovePosition(7), 0);
    copy = texts;
    const DVKListValDVKUnicodeString& same = copy;
    copy = same;
    EXPECT_TRUE(copy == texts) << "assignment, to itself too";
}
