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
