// The demo host's tables: columns line up whatever the bytes of a character.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "TextTable.h"

TEST(TextTable, ColumnsAlignOnCharactersAndEmptyCellsShowADash)
{
    TextTable table({"FILE", "STATE"});
    table.Add({"歯車.prt", "updated"});
    table.Add({"gear-housing.prt"});
    char buffer[512] = {};
    std::FILE* out = fmemopen(buffer, sizeof buffer, "w");
    ASSERT_NE(out, nullptr);
    table.Print(out);
    std::fclose(out);
    // A wide character takes two columns; columns are two blanks apart.
    EXPECT_EQ(std::string(buffer), "  FILE              STATE\n"
                                   "  歯車.prt          updated\n"
                                   "  gear-housing.prt  -\n");
    EXPECT_EQ(table.Rows(), 2);
}
