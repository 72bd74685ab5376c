// The object ordering over structures far deeper than the call stack would allow to recurse into.
#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "capture/MOCK_ReplayOrdering.h"

TEST(MOCK_ReplayOrderingTest, DeepChainsCompareLevelByLevel)
{
    // Two chains of the same files, 100,000 levels deep; the deepest file of one chain differs.
    const int depth = 100000;
    std::deque<MOCK_CADObject> objects;
    std::deque<MOCK_Relationship> relationships(1);
    const auto chain = [&](const std::u16string& last) {
        MOCK_CADObject* child = nullptr;
        for (int level = depth - 1; level >= 0; --level) {
            objects.emplace_back();
            MOCK_CADObject& object = objects.back();
            object.filename = level == depth - 1 ? last : u"f";
            if (child != nullptr)
                object.children.push_back(MOCK_Child{&relationships.front(), child});
            child = &object;
        }
        return child;
    };
    const MOCK_CADObject* a = chain(u"a");
    const MOCK_CADObject* b = chain(u"b");
    const MOCK_CADObject* alsoA = chain(u"a");
    MOCK_ReplayOrdering ordering;
    EXPECT_LT(ordering.CompareObjects(*a, *b), 0);
    EXPECT_GT(ordering.CompareObjects(*b, *a), 0);
    EXPECT_EQ(ordering.CompareObjects(*a, *alsoA), 0);
}
