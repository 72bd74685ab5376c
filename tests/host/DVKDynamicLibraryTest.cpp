// Host run-time loading: which owners and modes let another user change a library before it loads.
#include <gtest/gtest.h>

#include "host/DVKDynamicLibrary.h"

TEST(HostDynamicLibrary, OnlyTheUserOrRootMayBeAbleToChangeALibraryOrItsFolders)
{
    const unsigned long user = 1000, other = 1001;
    const struct
    {
        unsigned long owner;
        unsigned int mode;
        bool isFolder, trusted;
    } cases[] = {
        {user, 0755, false, true},   {0, 0755, true, true},       {other, 0755, false, false},
        {other, 0755, true, false},  {user, 0775, false, false},  {0, 0757, true, false},
        {0, 01777, true, true},      // only an entry's owner may replace it in a sticky folder
        {user, 01777, false, false}, // the sticky bit means nothing on a file
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(::testing::Message() << entry.owner << " " << std::oct << entry.mode
                                          << (entry.isFolder ? " folder" : " file"));
        const std::string why =
            dvk::WhyReplaceableByOthers(entry.owner, entry.mode, entry.isFolder, user);
        EXPECT_EQ(why.empty(), entry.trusted) << why;
    }
}
