// Behaviour of the host hash table beyond what the string-map tests reach (insertion order, growth,
// shared codes): removal while walking and its cost, equality, reuse, the typed table.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <vector>

#include "DVKHashTab.h"
#include "DVKHashTable.h"

namespace {

struct Item
{
    int id;
    unsigned int code;
    int touched = 0;
    void Touch() { ++touched; }
};

unsigned int CodeOf(const void* entry)
{
    return entry == nullptr ? 0u : static_cast<const Item*>(entry)->code;
}

int SameId(const void* left, const void* right)
{
    return static_cast<const Item*>(left)->id == static_cast<const Item*>(right)->id ? 0 : 1;
}

// Items whose codes collide in groups of `spread` (code = id % spread), owned by the test, all
// inserted into the table.
std::vector<std::unique_ptr<Item>> Fill(DVKHashTable& table, int count, unsigned int spread)
{
    std::vector<std::unique_ptr<Item>> items;
    for (int id = 0; id < count; ++id) {
        items.push_back(std::unique_ptr<Item>(new Item{id, static_cast<unsigned int>(id) % spread}));
        table.Insert(items.back().get());
    }
    return items;
}

// The ids a walk meets (only those with hash code `code` unless it is negative); every entry whose
// id is not a multiple of keepEvery (every entry, for 0) is removed at the walk's cursor.
std::vector<int> Walk(DVKHashTable& table, int keepEvery = 1, int code = -1)
{
    std::vector<int> ids;
    DVKHashPosition at;
    while (void* entry = code < 0 ? table.Next(at) : table.Next(at, static_cast<unsigned int>(code))) {
        ids.push_back(static_cast<Item*>(entry)->id);
        if (keepEvery == 0 || ids.back() % keepEvery != 0) {
            EXPECT_EQ(table.RemovePosition(at), entry);
        }
    }
    return ids;
}

std::vector<int> Range(int first, int last, int step = 1)
{
    std::vector<int> ids;
    for (int id = first; id < last; id += step)
        ids.push_back(id);
    return ids;
}

} // namespace

TEST(DVKHashTable, RemovingTheCurrentEntryKeepsTheWalkGoing)
{
    // Removing all but each fifth entry causes sweeps that must not lose the walk's place.
    DVKHashTable table(&CodeOf, &SameId);
    const auto items = Fill(table, 200, 13);
    EXPECT_EQ(Walk(table, 5), Range(0, 200));
    EXPECT_EQ(Walk(table), Range(0, 200, 5));
    EXPECT_EQ(table.Size(), 40);

    DVKHashPosition at;
    EXPECT_EQ(table.LocatePosition(items[195].get(), at), items[195].get());
    EXPECT_EQ(table.Remove(items[195].get()), items[195].get());
    EXPECT_EQ(table.Retrieve(at), nullptr);
    EXPECT_EQ(table.Remove(items[195].get()), nullptr);
    EXPECT_EQ(table.KeyLocate(8), items[60].get()) << "the earliest remaining id with code 8";
    Item probe{60, 8};
    EXPECT_EQ(table.Locate(&probe), items[60].get()) << "an equal entry, not the same object";

    DVKHashTable shared(&CodeOf, &SameId, 4);
    const auto same = Fill(shared, 100, 1);
    EXPECT_EQ(Walk(shared, 0, 0), Range(0, 100)) << "a walk over one code";
    EXPECT_EQ(shared.Size(), 0);
    EXPECT_EQ(shared.KeyLocate(0), nullptr);
}

TEST(DVKHashTable, RemovingFromTheFrontStaysLinear)
{
    const int count = 200000;
    DVKHashTable table(&CodeOf, &SameId);
    const auto items = Fill(table, count, 1u << 20);
    const auto start = std::chrono::steady_clock::now();
    int removed = 0;
    for (DVKHashPosition first; table.Next(first) != nullptr; first = DVKHashPosition(), ++removed)
        table.RemovePosition(first);
    EXPECT_EQ(removed, count);
    // A quadratic walk over 200,000 entries takes minutes; the linear one a fraction of a second.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(DVKHashTable, EqualityIgnoresOrderAndTheTableIsReusableAfterRemoveAll)
{
    DVKHashTable table(&CodeOf, &SameId, 10);
    const auto items = Fill(table, 4, 1);
    DVKHashTable reversed(&CodeOf, &SameId);
    for (int id = 3; id >= 0; --id)
        reversed.Insert(items[static_cast<std::size_t>(id)].get());
    EXPECT_TRUE(table == reversed) << "the same entries in another order";
    Item extra{9, 0};
    reversed.Insert(&extra);
    EXPECT_TRUE(table != reversed);
    EXPECT_FALSE(table.Insert(nullptr));

    table.RemoveAll();
    EXPECT_EQ(table.Size(), 0);
    EXPECT_TRUE(Walk(table).empty());
    table.Insert(&extra);
    EXPECT_EQ(Walk(table), std::vector<int>{9});
}

TEST(DVKHashTab, TypedTableAppliesFunctionsInOrderAndDeletesItsEntries)
{
    DVKHashTab<Item> table(&CodeOf, &SameId, 10);
    for (int id = 0; id < 5; ++id)
        table.Insert(new Item{id, static_cast<unsigned int>(id)});
    table.ApplyMemberFunct(&Item::Touch);
    static std::vector<int> touched; // in the order applied
    table.ApplyGlobalFunct([](Item* item) { touched.push_back(item->touched * 10 + item->id); });
    EXPECT_EQ(touched, (std::vector<int>{10, 11, 12, 13, 14}));
    table.ApplyDelete(); // ASan reports a leak if an entry is missed
    EXPECT_EQ(table.Size(), 0);
}
