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
    CSEString b(u"b"), a1(u"a"), a2(u"a"), otherA(u"a"), otherB(u"b");
    CSEString* const unsorted[] = {&b, &a1, &a2};
    DVKListPtrCSEString list(unsorted, 3);
    const auto byText = [](const CSEString* left, const CSEString* right) {
        return *left < *right ? -1 : (*right < *left ? 1 : 0);
    };
    list.QuickSort(byText);
    CSEString* const sorted[] = {&a1, &a2, &b};
    EXPECT_TRUE(list == DVKListPtrCSEString(sorted, 3));
    CSEString* const others[] = {&otherA, &otherA, &otherB};
    const DVKListPtrCSEString equalTexts(others, 3);
    EXPECT_EQ(DVKListPtrCSEString::Compare(list, equalTexts, byText), 0);
    EXPECT_TRUE(list != equalTexts) << "list equality compares the pointers";
}

// Copies owning their values are checked through the record vectors built on this list.
TEST(DVKListVal, FindsAndRemovesByValueAndSurvivesSelfAssignment)
{
    DVKListValDVKUnicodeString texts;
    for (const char16_t* text : {u"one", u"two", u"one"})
        texts.Append(DVKUnicodeString(text));
    EXPECT_EQ(texts.Locate(DVKUnicodeString(u"one"), 2), 3);
    EXPECT_EQ(texts.RemovePosition(7), 0);
    EXPECT_EQ(texts.RemoveValue(DVKUnicodeString(u"two")), 2);
    const DVKListValDVKUnicodeString& same = texts;
    texts = same;
    ASSERT_EQ(texts.Size(), 2);
    EXPECT_TRUE(texts[2] == DVKUnicodeString(u"one"));
}
