// Behaviour of the host hash table: insertion order, shared hash codes, removal while walking, cost.
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

// Items whose codes collide in groups of `spread` (code = id % spread), owned by the test.
std::vector<std::unique_ptr<Item>> MakeItems(int count, unsigned int spread)
{
    std::vector<std::unique_ptr<Item>> items;
    for (int id = 0; id < count; ++id)
        items.push_back(std::unique_ptr<Item>(new Item{id, static_cast<unsigned int>(id) % spread}));
    return items;
}

std::vector<int> IdsInOrder(const DVKHashTable& table)
{
    std::vector<int> ids;
    DVKHashPosition position;
    while (void* entry = table.Next(position))
        ids.push_back(static_cast<Item*>(entry)->id);
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

TEST(DVKHashTable, IteratesInInsertionOrderAcrossGrowth)
{
    auto items = MakeItems(1000, 97);
    DVKHashTable table(&CodeOf, &SameId);
    EXPECT_EQ(table.Dimension(), 10);
    for (auto& item : items)
        ASSERT_TRUE(table.Insert(item.get()));
    EXPECT_EQ(table.Size(), 1000);
    EXPECT_GE(table.Dimension(), 1000);
    EXPECT_EQ(IdsInOrder(table), Range(0, 1000));
    EXPECT_FALSE(table.Insert(nullptr));
    EXPECT_EQ(table.Size(), 1000);
}

TEST(DVKHashTable, EntriesSharingACodeStayApartAndAreWalkedInOrder)
{
    auto items = MakeItems(6, 2); // codes 0,1,0,1,0,1
    DVKHashTable table(&CodeOf, &SameId, 1);
    for (auto& item : items)
        table.Insert(item.get());

    EXPECT_EQ(table.KeyLocate(1), items[1].get());
    std::vector<int> withCodeOne;
    DVKHashPosition position;
    while (void* entry = table.Next(position, 1))
        withCodeOne.push_back(static_cast<Item*>(entry)->id);
    EXPECT_EQ(withCodeOne, (std::vector<int>{1, 3, 5}));
    EXPECT_EQ(table.KeyLocate(7), nullptr);

    Item probe{4, 0};
    EXPECT_EQ(table.Locate(&probe), items[4].get());
    Item absent{8, 0};
    EXPECT_EQ(table.Locate(&absent), nullptr);
}

TEST(DVKHashTable, RemovingTheCurrentEntryKeepsTheWalkGoing)
{
    auto items = MakeItems(200, 13);
    DVKHashTable table(&CodeOf, &SameId);
    for (auto& item : items)
        table.Insert(item.get());

    // Remove every entry but each fifth while walking; the sweeps this causes must not lose the place.
    std::vector<int> seen;
    DVKHashPosition position;
    while (void* entry = table.Next(position)) {
        const int id = static_cast<Item*>(entry)->id;
        seen.push_back(id);
        if (id % 5 != 0) {
            EXPECT_EQ(table.RemovePosition(position), entry);
        }
    }
    EXPECT_EQ(seen, Range(0, 200));
    EXPECT_EQ(IdsInOrder(table), Range(0, 200, 5));
    EXPECT_EQ(table.Size(), 40);

    DVKHashPosition at;
    EXPECT_EQ(table.LocatePosition(items[195].get(), at), items[195].get());
    EXPECT_EQ(table.Retrieve(at), items[195].get());
    EXPECT_EQ(table.Remove(items[195].get()), items[195].get());
    EXPECT_EQ(table.Retrieve(at), nullptr);
    EXPECT_EQ(table.Remove(items[195].get()), nullptr);
    EXPECT_EQ(table.KeyLocate(8), items[60].get()); // the earliest remaining id with code 8
}

TEST(DVKHashTable, SameCodeWalkSurvivesRemovalOfItsCurrentEntry)
{
    auto items = MakeItems(100, 1);
    DVKHashTable table(&CodeOf, &SameId, 4);
    for (auto& item : items)
        table.Insert(item.get());
    std::vector<int> seen;
    DVKHashPosition position;
    while (void* entry = table.Next(position, 0)) {
        seen.push_back(static_cast<Item*>(entry)->id);
        table.RemovePosition(position);
    }
    EXPECT_EQ(seen, Range(0, 100));
    EXPECT_EQ(table.Size(), 0);
    EXPECT_EQ(table.KeyLocate(0), nullptr);
}

TEST(DVKHashTable, RemovingFromTheFrontStaysLinear)
{
    const int count = 200000;
    auto items = MakeItems(count, 1u << 20);
    DVKHashTable table(&CodeOf, &SameId);
    for (auto& item : items)
        table.Insert(item.get());

    const auto start = std::chrono::steady_clock::now();
    int removed = 0;
    for (;;) {
        DVKHashPosition first;
        if (table.Next(first) == nullptr)
            break;
        table.RemovePosition(first);
        ++removed;
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(removed, count);
    // A quadratic walk over 200,000 entries takes minutes; the linear one a fraction of a second.
    EXPECT_LT(std::chrono::duration_cast<std::chrono::seconds>(elapsed).count(), 5);
}

TEST(DVKHashTable, StatisticsEqualityAndRemoveAll)
{
    auto items = MakeItems(5, 1);
    DVKHashTable table(&CodeOf, &SameId, 10);
    DVKHashTable reversed(&CodeOf, &SameId, 10);
    for (int id = 0; id < 4; ++id) {
        table.Insert(items[static_cast<std::size_t>(id)].get());
        reversed.Insert(items[static_cast<std::size_t>(3 - id)].get());
    }
    EXPECT_EQ(table.Dimension(), 10);
    EXPECT_EQ(table.Collisions(), 3);
    EXPECT_EQ(table.Unused(), 9);
    EXPECT_TRUE(table == reversed) << "the same entries in another order";
    reversed.Insert(items[4].get());
    EXPECT_TRUE(table != reversed);

    table.RemoveAll();
    EXPECT_EQ(table.Size(), 0);
    EXPECT_EQ(table.Dimension(), 10);
    DVKHashPosition position;
    EXPECT_EQ(table.Next(position), nullptr);
    table.Insert(items[3].get());
    EXPECT_EQ(IdsInOrder(table), std::vector<int>{3});
}

TEST(DVKHashTab, TypedTableAppliesFunctionsAndDeletesItsEntries)
{
    DVKHashTab<Item> table(&CodeOf, &SameId, 10);
    for (int id = 0; id < 5; ++id)
        table.Insert(new Item{id, static_cast<unsigned int>(id)});
    table.ApplyMemberFunct(&Item::Touch);
    table.ApplyGlobalFunct([](Item* item) { item->touched += 10; });

    DVKHashCodeIter iterator = table.CreateIterator();
    std::vector<int> ids;
    while (iterator.Next() != nullptr) {
        Item* item = table[iterator];
        ids.push_back(item->id);
        EXPECT_EQ(item->touched, 11);
    }
    EXPECT_EQ(ids, Range(0, 5));
    EXPECT_EQ(table.KeyLocate(3)->id, 3);

    table.ApplyDelete(); // ASan reports a leak if an entry is missed
    EXPECT_EQ(table.Size(), 0);
}
