// Host run-time loading: which owners and modes let another user change a library before it loads.
#include <gtest/gtest.h>

#include <string>

#include "host/DVKDynamicLibrary.h"

TEST(HostDynamicLibrary, OnlyTheUserOrRootMayBeAbleToChangeALibraryOrItsFolders)
{
    const unsigned long user = 1000;
    const struct
    {
        unsigned long owner;
        unsigned int mode;
        bool isDirectory;
        bool trusted;
    } cases[] = {
        {user, 0755, false, true},
        {0, 0755, false, true},
        {0, 0755, true, true},
        {1001, 0755, false, false},  // another user owns it
        {1001, 0755, true, false},
        {user, 0775, false, false},  // group may write
        {user, 0757, false, false},  // others may write
        {0, 0775, true, false},
        {0, 01777, true, true},      // only an entry's owner may replace it in a sticky folder
        {user, 01777, false, false}, // the sticky bit means nothing on a file
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(std::to_string(entry.owner) + " " + std::to_string(entry.mode) +
                     (entry.isDirectory ? " folder" : " file"));
        const std::string why =
            dvk::WhyReplaceableByOthers(entry.owner, entry.mode, entry.isDirectory, user);
        EXPECT_EQ(why.empty(), entry.trusted) << why;
    }
}
