// The host dictionary: exact look-up, refused duplicates, iteration in insertion order, emptying.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/DVKHashDico.h"

TEST(DVKHashDicoTest, LooksUpRefusesDuplicatesAndIteratesInInsertionOrder)
{
    int values[3] = {1, 2, 3};
    DVKHashDico dico(1);
    EXPECT_TRUE(dico.Insert(DVKUnicodeString(u"b"), &values[0]));
    EXPECT_TRUE(dico.Insert(DVKUnicodeString(u"a"), &values[1]));
    EXPECT_TRUE(dico.Insert(DVKUnicodeString(u""), &values[2]));
    EXPECT_FALSE(dico.Insert(DVKUnicodeString(u"a"), &values[0]));
    EXPECT_FALSE(dico.Insert(DVKUnicodeString(u"c"), nullptr));
    EXPECT_EQ(dico.Locate(DVKUnicodeString(u"a")), &values[1]);
    EXPECT_EQ(dico.Locate(DVKUnicodeString(u"A")), nullptr);

    std::vector<std::u16string> keys;
    int position = 0;
    DVKUnicodeString key;
    while (dico.Next(position, &key) != nullptr)
        keys.push_back(key.Text());
    EXPECT_EQ(keys, (std::vector<std::u16string>{u"b", u"a", u""}));
    EXPECT_EQ(dico.Next(position), nullptr);

    dico.RemoveAll();
    EXPECT_EQ(dico.Size(), 0);
    EXPECT_EQ(dico.Locate(DVKUnicodeString(u"b")), nullptr);
    EXPECT_TRUE(dico.Insert(DVKUnicodeString(u"b"), &values[0]));
}

TEST(DVKHashDicoTest, KeepsEveryEntryWhileGrowing)
{
    const auto key = [](std::size_t i) { return DVKUnicodeString(("id" + std::to_string(i)).c_str()); };
    std::vector<int> values(5000);
    DVKHashDico dico(1);
    for (std::size_t i = 0; i < values.size(); ++i)
        ASSERT_TRUE(dico.Insert(key(i), &values[i]));
    int found = 0;
    for (std::size_t i = 0; i < values.size(); ++i)
        found += dico.Locate(key(i)) == &values[i] ? 1 : 0;
    EXPECT_EQ(found, 5000);
    EXPECT_EQ(dico.Locate(key(5000)), nullptr);
}
