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

// A plain list that only points at element.
DVKListPtrCSEString View(CSEString* element)
{
    DVKListPtrCSEString view;
    view.Append(element);
    return view;
}

std::vector<std::u16string> Walk(const CSEWrapperStringVector& vector)
{
    std::vector<std::u16string> texts;
    for (CSEWrapperStringIterator it = vector.begin(); it != vector.end(); ++it)
        texts.push_back((*it)().Text());
    return texts;
}

} // namespace

TEST(CSEWrapperStringVector, ReadingIsClampedAndLocateIsOneBased)
{
    const CSEWrapperStringVector names = Of({u"a.prt", u"b.asm", u"a.prt"});
    EXPECT_EQ(names.Locate(u"a.prt", 2), 3);
    EXPECT_EQ(names.Locate(u"A.PRT"), 0);
    EXPECT_TRUE(names[-5] == u"a.prt" && names[1] == u"b.asm" && names[300] == u"a.prt");
    CSEWrapperStringIterator it = names.begin();
    EXPECT_TRUE(++it == u"b.asm") << "increment returns the new element";
    ++it;
    EXPECT_TRUE(++it == u"a.prt") << "at the end: clamped to the last element";
    EXPECT_TRUE(it == names.end());

    const CSEWrapperStringVector none;
    EXPECT_TRUE(none[0] == u"" && none[-1] == u"" && *none.begin() == u"" && none.begin() == none.end());
    CSEWrapperStringIterator detached;
    EXPECT_TRUE(*detached == u"" && ++detached == u"");
}

TEST(CSEWrapperStringVector, CopiesAreDeepAndKeepNullElements)
{
    CSEWrapperStringVector vector = Of({u"a"});
    vector.Append(nullptr);
    EXPECT_TRUE(vector[1] == u"");
    EXPECT_EQ(vector.Locate(u"b"), 0) << "a null element is passed over";
    CSEWrapperStringVector copy(vector);
    EXPECT_EQ(static_cast<const DVKListPtrCSEString&>(copy)[2], nullptr);
    *static_cast<DVKListPtrCSEString&>(copy)[1] = u"changed";
    EXPECT_TRUE(vector[0] == u"a");
    vector = copy;
    vector = static_cast<const CSEWrapperStringVector&>(vector);
    copy.clear();
    EXPECT_EQ(Walk(vector), (std::vector<std::u16string>{u"changed", u""}));
}

// Every list operation on a vector, also through a DVKListPtrCSEString&, keeps the vector the one
// owner of its elements (a leak or a double free shows under the address sanitizer).
TEST(CSEWrapperStringVector, OwnsItsElementsWhicheverListOperationIsUsed)
{
    typedef DVKListPtrCSEString List;
    CSEString outside(u"outside");
    const struct
    {
        const char* name;
        std::function<void(List&)> act;
        std::vector<std::u16string> left;
    } cases[] = {
        {"Append copies", [&](List& l) { l.Append(&outside); }, {u"a", u"b", u"c", u"outside"}},
        {"Append of a vector", [](List& l) { l.Append(Of({u"d"})); }, {u"a", u"b", u"c", u"d"}},
        {"Append of itself", [](List& l) { l.Append(l); }, {u"a", u"b", u"c", u"a", u"b", u"c"}},
        {"InsertAt copies", [&](List& l) { l.InsertAt(1, &outside); }, {u"outside", u"a", u"b", u"c"}},
        {"InsertAt refused", [&](List& l) { EXPECT_EQ(l.InsertAt(9, &outside), -1); }, {u"a", u"b", u"c"}},
        {"Size cuts", [](List& l) { l.Size(1); }, {u"a"}},
        {"Size(0)", [](List& l) { l.Size(0); }, {}},
        {"RemovePosition", [](List& l) { EXPECT_EQ(l.RemovePosition(2), 1); }, {u"a", u"c"}},
        {"RemovePosition of a count", [](List& l) { EXPECT_EQ(l.RemovePosition(2, 5), 2); }, {u"a"}},
        {"RemoveValue", [](List& l) { EXPECT_EQ(l.RemoveValue(l[1]), 1); }, {u"b", u"c"}},
        {"Remove of a view", [](List& l) { EXPECT_EQ(l.Remove(View(l[3])), 1); }, {u"a", u"b"}},
        {"Remove of itself", [](List& l) { EXPECT_EQ(l.Remove(l), 3); }, {}},
        {"RemoveAll", [](List& l) { l.RemoveAll(DVKCollec::FreeMemory); }, {}},
        {"assignment of a vector", [](List& l) { l = Of({u"x"}); }, {u"x"}},
        {"assignment of a view of its own elements", [](List& l) { l = List(l); }, {u"a", u"b", u"c"}},
        {"Intersection into itself", [](List& l) { EXPECT_EQ(List::Intersection(l, View(l[2]), l), 1); }, {u"b"}},
    };
    for (const auto& c : cases) {
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
