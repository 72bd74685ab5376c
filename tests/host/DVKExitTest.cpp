// Behaviour of the process-exit callbacks and the asctime stamps.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "host/DVKExit.h"
#include "host/DVKTime.h"

namespace {

std::vector<int> g_calls;

int Record(int argument)
{
    g_calls.push_back(argument);
    return 0;
}

} // namespace

TEST(HostExit, CallbacksRunNewestFirstOnceAndAtProcessExit)
{
    g_calls.clear();
    dvk::CallOnExit(&Record, 1);
    dvk::CallOnExit(nullptr, 9);
    dvk::CallOnExit([](int) -> int { throw 42; }, 0);
    dvk::CallOnExit(
        [](int argument) {
            dvk::CallOnExit(&Record, argument + 1);
            return Record(argument);
        },
        2);
    dvk::CallOnExit(&Record, 3);
    dvk::RunExitCallbacks();
    EXPECT_EQ(g_calls, (std::vector<int>{3, 2, 3, 1})) << "a callback registered meanwhile runs too";
    dvk::RunExitCallbacks();
    EXPECT_EQ(g_calls.size(), 4u);

    const dvk::ExitCallback print = [](int argument) { return std::fprintf(stderr, "[%d]", argument); };
    EXPECT_EXIT(
        {
            dvk::CallOnExit(print, 1);
            dvk::CallOnExit(print, 2);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "\\[2\\]\\[1\\]");
}

TEST(HostTime, AscTimeLayout)
{
    std::tm time{};
    time.tm_year = 2024 - 1900;
    time.tm_mday = 3;
    time.tm_wday = 3;
    time.tm_hour = 4;
    EXPECT_EQ(dvk::FormatAscTime(time), "Wed Jan  3 04:00:00 2024");
    time.tm_wday = 99;
    time.tm_mon = -4;
    EXPECT_EQ(dvk::FormatAscTime(time).size(), 24u) << "a broken time keeps the layout";
}
