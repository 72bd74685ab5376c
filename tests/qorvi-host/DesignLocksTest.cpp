// The lock tables of the demo host line their columns up, also for names beyond ASCII.
#include <gtest/gtest.h>

#include "DesignLocks.h"

TEST(DesignLocks, TableColumnsLineUpByCharacters)
{
    const std::vector<std::string> lines =
        DesignLocks::Table({{"object", "locked"}, {"Zahnrad-\xC3\xBC", "yes"}, {"Nut", "no"}});
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "object     locked");
    EXPECT_EQ(lines[1], "-----------------");
    EXPECT_EQ(lines[2], "Zahnrad-\xC3\xBC  yes");
    EXPECT_EQ(lines[3], "Nut        no");
}
