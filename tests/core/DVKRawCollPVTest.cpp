// Behaviour of the host lists: raw pointers, integers, typed string pointers and owned values.
#include <gtest/gtest.h>

#include <vector>

#include "CSEString.h"
#include "DVKListPtrCSEString.h"
#include "DVKListValDVKUnicodeString.h"
#include "DVKRawCollPV.h"
#include "DVKRawCollint.h"

namespace {

// Ten distinct addresses to store.
struct Slots
{
    int cells[10] = {};
    void* at(int i) { return &cells[i]; }
};

std::vector<void*> Contents(const DVKRawCollPV& coll)
{
    std::vector<void*> values;
    for (int position = 1; position <= coll.Size(); ++position)
        values.push_back(coll[position]);
    return values;
}

} // namespace

TEST(DVKRawCollPV, PositionsCountFromOne)
{
    Slots s;
    DVKRawCollPV coll;
    coll.Append(s.at(0));
    coll.Append(s.at(2));
    EXPECT_EQ(coll.InsertAt(2, s.at(1)), 0);
    EXPECT_EQ(coll.InsertAt(4, s.at(3)), 0);
    EXPECT_EQ(coll.InsertAt(9, s.at(4)), -1);
    EXPECT_EQ(Contents(coll), (std::vector<void*>{s.at(0), s.at(1), s.at(2), s.at(3)}));
    EXPECT_EQ(coll.Locate(s.at(0)), 1);
    EXPECT_EQ(coll.Locate(s.at(0), 2), 0);
    EXPECT_EQ(coll.Locate(s.at(9)), 0);
    EXPECT_EQ(coll.Size(6), 6);
    EXPECT_EQ(coll[6], nullptr);
    EXPECT_EQ(coll.RemoveNulls(), 2);
    EXPECT_EQ(coll.RemovePosition(2, 10), 3);
    EXPECT_EQ(coll.RemovePosition(5), 0);
    EXPECT_EQ(Contents(coll), std::vector<void*>{s.at(0)});
}

TEST(DVKRawCollPV, SetOperationsKeepFirstOccurrencesInOrder)
{
    Slots s;
    DVKRawCollPV coll;
    for (int i : {3, 1, 3, 2, 1, 4})
        coll.Append(s.at(i));
    EXPECT_EQ(coll.NbOccur(s.at(3)), 2);
    EXPECT_EQ(coll.RemoveDuplicates(), 2);
    EXPECT_EQ(Contents(coll), (std::vector<void*>{s.at(3), s.at(1), s.at(2), s.at(4)}));

    DVKRawCollPV other;
    for (int i : {4, 9, 3})
        other.Append(s.at(i));
    DVKRawCollPV common;
    EXPECT_EQ(DVKRawCollPV::Intersection(coll, other, common), 2);
    EXPECT_EQ(Contents(common), (std::vector<void*>{s.at(3), s.at(4)}));

    EXPECT_EQ(coll.Remove(other), 2);
    EXPECT_EQ(Contents(coll), (std::vector<void*>{s.at(1), s.at(2)}));
    EXPECT_EQ(coll.RemoveValue(s.at(2)), 2);
    EXPECT_EQ(coll.RemoveValue(s.at(2)), 0);
}

TEST(DVKRawCollPV, AppendingItselfDoublesTheList)
{
    Slots s;
    DVKRawCollPV coll;
    coll.Append(s.at(0));
    coll.Append(s.at(1));
    EXPECT_EQ(coll.Append(coll), 4);
    EXPECT_EQ(Contents(coll), (std::vector<void*>{s.at(0), s.at(1), s.at(0), s.at(1)}));
}

TEST(DVKRawCollPVDeathTest, PositionOutsideTheListIsFatal)
{
    DVKRawCollPV coll;
    EXPECT_DEATH(coll[1], "AssertionFailed:position >= 1 && position <= Size\\(\\)");
    DVKRawCollint numbers;
    EXPECT_DEATH(numbers[0], "AssertionFailed:");
}

TEST(DVKRawCollint, HoldsIntegersFromPositionOne)
{
    DVKRawCollint ids;
    ids.Append(7);
    ids.Append(9);
    EXPECT_EQ(ids.Size(), 2);
    EXPECT_EQ(ids[1], 7);
    EXPECT_EQ(ids[2], 9);
    EXPECT_EQ(ids.Locate(9), 2);
    ids.RemoveAll();
    EXPECT_EQ(ids.Size(), 0);
}

TEST(DVKListPtrCSEString, SortsComparesAndFillsThroughTheTypedInterface)
{
    CSEString b(u"b"), a(u"a"), c(u"c");
    DVKListPtrCSEString list;
    list.Append(&b);
    list.Append(&a);
    list.Append(&c);
    const auto byText = [](const CSEString* left, const CSEString* right) {
        return *left < *right ? -1 : (*right < *left ? 1 : 0);
    };
    list.QuickSort(byText);
    EXPECT_EQ(list[1], &a);
    EXPECT_EQ(list[3], &c);

    CSEString otherA(u"a"), otherB(u"b"), otherC(u"c");
    CSEString* others[] = {&otherA, &otherB, &otherC};
    const DVKListPtrCSEString equalTexts(others, 3);
    EXPECT_EQ(DVKListPtrCSEString::Compare(list, equalTexts, byText), 0);
    EXPECT_TRUE(list != equalTexts); // list equality compares the pointers

    CSEString* filled[3] = {};
    EXPECT_EQ(list.FillArray(filled), 3);
    EXPECT_EQ(filled[1], &b);
    list[2] = &otherB;
    EXPECT_EQ(list.Locate(&otherB), 2);
    EXPECT_EQ(list.Swap(1, 3), 0);
    EXPECT_EQ(list[1], &c);
}

TEST(DVKListVal, OwnsCopiesAndComparesByValue)
{
    DVKListValDVKUnicodeString texts;
    texts.Append(DVKUnicodeString(u"one"));
    texts.Append(DVKUnicodeString(u"two"));
    texts.Append(DVKUnicodeString(u"one"));
    EXPECT_EQ(texts.Locate(DVKUnicodeString(u"one"), 2), 3);

    DVKListValDVKUnicodeString copy(texts);
    EXPECT_TRUE(copy == texts);
    copy[1] = DVKUnicodeString(u"changed");
    EXPECT_TRUE(texts[1] == DVKUnicodeString(u"one"));
    EXPECT_TRUE(copy != texts);

    EXPECT_EQ(copy.RemoveValue(DVKUnicodeString(u"two")), 2);
    EXPECT_EQ(copy.RemovePosition(7), 0);
    copy = texts;
    EXPECT_TRUE(copy == texts);
    const DVKListValDVKUnicodeString& same = copy;
    copy = same;
    EXPECT_EQ(copy.Size(), 3);
    copy.RemoveAll();
    EXPECT_EQ(copy.Size(), 0);
}
