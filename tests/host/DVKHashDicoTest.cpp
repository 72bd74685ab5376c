// The host dictionary: exact look-up, refused duplicates, insertion order, growth, emptying.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/DVKHashDico.h"

TEST(DVKHashDicoTest, KeepsEveryEntryInInsertionOrderWhileGrowing)
{
    const auto key = [](int i) { return DVKUnicodeString(("id" + std::to_string(i)).c_str()); };
    std::vector<int> values(5000);
    DVKHashDico dico(1);
    for (int i = values.size() - 1; i >= 0; --i)
        ASSERT_TRUE(dico.Insert(key(i), &values[i]));
    EXPECT_FALSE(dico.Insert(key(7), &values[0]));
    EXPECT_FALSE(dico.Insert(DVKUnicodeString(u"new"), nullptr));
    int position = 0;
    DVKUnicodeString text;
    for (int i = values.size() - 1; i >= 0; --i) {
        ASSERT_EQ(dico.Next(position, &text), &values[i]);
        ASSERT_EQ(text, key(i));
        ASSERT_EQ(dico.Locate(key(i)), &values[i]);
    }
    EXPECT_EQ(dico.Next(position), nullptr);
    EXPECT_EQ(dico.Locate(DVKUnicodeString(u"ID7")), nullptr);

    dico.RemoveAll();
    EXPECT_EQ(dico.Size(), 0);
    EXPECT_EQ(dico.Locate(key(7)), nullptr);
    EXPECT_TRUE(dico.Insert(key(7), &values[0]));
}
