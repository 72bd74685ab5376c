// Behaviour of CSEWrapperStringVector and its iterator: ownership, clamped reading, 1-based Locate.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "CSEWrapperStringVector.h"

namespace {

CSEWrapperStringVector Of(std::initializer_list<const char16_t*> texts)
{
    CSEWrapperStringVector vector;
    for (const char16_t* text : texts)
        vector.push_back(text);
    return vector;
}

std::vector<std::u16string> Walk(const CSEWrapperStringVector& vector)
{
    std::vector<std::u16string> texts;
    for (CSEWrapperStringIterator it = vector.begin(); it != vector.end(); ++it)
        texts.push_back((*it)().Text());
    return texts;
}

} // namespace

TEST(CSEWrapperStringVector, LocateIsOneBasedBesideZeroBasedIndexing)
{
    const CSEWrapperStringVector names = Of({u"a.prt", u"b.asm", u"a.prt"});
    EXPECT_EQ(names.Locate(u"a.prt"), 1);
    EXPECT_EQ(names.Locate(u"a.prt", 2), 3);
    EXPECT_EQ(names.Locate(u"A.PRT"), 0);
    EXPECT_EQ(names.Locate(u"missing"), 0);
    EXPECT_TRUE(names[1] == u"b.asm");
}

TEST(CSEWrapperStringVector, IndicesOutsideAreClamped)
{
    const CSEWrapperStringVector names = Of({u"first", u"middle", u"last"});
    EXPECT_TRUE(names[-5] == u"first");
    EXPECT_TRUE(names[3] == u"last");
    EXPECT_TRUE(names[300] == u"last");
}

TEST(CSEWrapperStringVector, EmptyVectorReadsAsEmptyText)
{
    const CSEWrapperStringVector none;
    EXPECT_TRUE(none.empty());
    EXPECT_TRUE(none[0] == u"");
    EXPECT_TRUE(none[-1] == u"");
    EXPECT_TRUE(*none.begin() == u"");
    EXPECT_TRUE(none.begin() == none.end());
    CSEWrapperStringIterator detached;
    EXPECT_TRUE(*detached == u"");
    EXPECT_TRUE(++detached == u"");
}

TEST(CSEWrapperStringVector, IteratorWalksInOrderAndIncrementReturnsTheNewElement)
{
    const CSEWrapperStringVector names = Of({u"x", u"y", u"z"});
    EXPECT_EQ(Walk(names), (std::vector<std::u16string>{u"x", u"y", u"z"}));

    CSEWrapperStringIterator it = names.begin();
    EXPECT_TRUE(++it == u"y");
    EXPECT_TRUE(++it == u"z");
    EXPECT_TRUE(++it == u"z"); // at end(): clamped to the last element
    EXPECT_TRUE(it == names.end());
    EXPECT_TRUE(CSEWrapperStringIterator(&names, 1) != names.begin());
}

TEST(CSEWrapperStringVector, CopiesAreDeepAndIndependent)
{
    CSEWrapperStringVector source = Of({u"one", u"two"});
    CSEWrapperStringVector copy(source);
    copy.clear();
    EXPECT_TRUE(copy.empty());
    EXPECT_EQ(Walk(source), (std::vector<std::u16string>{u"one", u"two"}));

    CSEWrapperStringVector assigned = Of({u"old1", u"old2", u"old3"});
    assigned = source;
    *static_cast<DVKListPtrCSEString&>(assigned)[1] = u"changed";
    EXPECT_EQ(Walk(assigned), (std::vector<std::u16string>{u"changed", u"two"}));
    EXPECT_TRUE(source[0] == u"one");

    const CSEWrapperStringVector& same = assigned;
    assigned = same;
    EXPECT_EQ(assigned.Size(), 2);
}

TEST(CSEWrapperStringVector, PointerFormStaysReachableThroughTheList)
{
    CSEWrapperStringVector vector = Of({u"a"});
    CSEString c(u"c");
    vector.Append(nullptr);
    vector.Append(&c);
    DVKListPtrCSEString& list = vector;
    EXPECT_EQ(list.Size(), 3);
    EXPECT_EQ(list[2], nullptr);
    EXPECT_TRUE(*list[3] == u"c");
    EXPECT_NE(list[3], &c) << "the vector keeps a copy; the caller's string stays the caller's";
    EXPECT_TRUE(vector[1] == u"");
    EXPECT_EQ(vector.Locate(u"c"), 3);

    const CSEWrapperStringVector copy(vector);
    EXPECT_EQ(static_cast<const DVKListPtrCSEString&>(copy)[2], nullptr);
    EXPECT_TRUE(copy[2] == u"c");
}

// Every list operation on a vector, also through a DVKListPtrCSEString&, keeps the vector the one
// owner of its elements (a leak or a double free shows under the address sanitizer).
TEST(CSEWrapperStringVector, OwnsItsElementsWhicheverListOperationIsUsed)
{
    typedef DVKListPtrCSEString List;
    CSEString outside(u"outside");
    struct Case
    {
        const char* name;
        std::function<void(List&)> act;
        std::vector<std::u16string> left;
    };
    const std::vector<Case> cases = {
        {"Append copies", [&](List& l) { l.Append(&outside); }, {u"a", u"b", u"c", u"outside"}},
        {"Append of another vector copies",
         [](List& l) {
             const CSEWrapperStringVector other = Of({u"d"});
             l.Append(other);
         },
         {u"a", u"b", u"c", u"d"}},
        {"Append of itself", [](List& l) { l.Append(l); }, {u"a", u"b", u"c", u"a", u"b", u"c"}},
        {"InsertAt copies", [&](List& l) { l.InsertAt(1, &outside); },
         {u"outside", u"a", u"b", u"c"}},
        {"InsertAt refused", [&](List& l) { EXPECT_EQ(l.InsertAt(9, &outside), -1); },
         {u"a", u"b", u"c"}},
        {"Size cuts", [](List& l) { l.Size(1); }, {u"a"}},
        {"Size(0)", [](List& l) { l.Size(0); }, {}},
        {"RemovePosition", [](List& l) { EXPECT_EQ(l.RemovePosition(2), 1); }, {u"a", u"c"}},
        {"RemovePosition of a count", [](List& l) { EXPECT_EQ(l.RemovePosition(2, 5), 2); },
         {u"a"}},
        {"RemoveValue", [](List& l) { EXPECT_EQ(l.RemoveValue(l[1]), 1); }, {u"b", u"c"}},
        {"Remove of a view",
         [](List& l) {
             List view;
             view.Append(l[3]);
             EXPECT_EQ(l.Remove(view), 1);
         },
         {u"a", u"b"}},
        {"Remove of itself", [](List& l) { EXPECT_EQ(l.Remove(l), 3); }, {}},
        {"RemoveAll", [](List& l) { l.RemoveAll(DVKCollec::FreeMemory); }, {}},
        {"assignment of another vector",
         [](List& l) {
             const CSEWrapperStringVector other = Of({u"x"});
             l = other;
         },
         {u"x"}},
        {"assignment of a view of its own elements",
         [](List& l) {
             const List view(l);
             l = view;
         },
         {u"a", u"b", u"c"}},
        {"Intersection into itself",
         [](List& l) {
             List view;
             view.Append(l[2]);
             EXPECT_EQ(List::Intersection(l, view, l), 1);
         },
         {u"b"}},
    };
    for (const Case& c : cases) {
        CSEWrapperStringVector vector = Of({u"a", u"b", u"c"});
        c.act(vector);
        EXPECT_EQ(Walk(vector), c.left) << c.name;
    }
    EXPECT_TRUE(outside == u"outside");
}

TEST(CSEWrapperStringVector, LargeVectorsCopyAndClearInLinearTime)
{
    CSEWrapperStringVector ids;
    CSEString id;
    for (int i = 0; i < 100000; ++i)
        ids.push_back(id.getCSEStringFromInt(i));
    CSEWrapperStringVector copy(ids);
    EXPECT_TRUE(copy[99999] == u"99999");
    copy.clear();
    ids = copy;
    EXPECT_TRUE(ids.empty());
}
