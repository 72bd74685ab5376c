// Behaviour of the process-exit callbacks and the asctime stamps.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "host/AscTimeMatcher.h"
#include "host/DVKEnv.h"
#include "host/DVKExit.h"
#include "host/DVKTime.h"

namespace {

std::vector<int>& Calls()
{
    static std::vector<int> calls;
    return calls;
}

int Record(int argument)
{
    Calls().push_back(argument);
    return 0;
}

int RegisterMore(int argument)
{
    Calls().push_back(argument);
    dvk::CallOnExit(&Record, argument + 1);
    return 0;
}

int Throwing(int)
{
    throw 42;
}

} // namespace

TEST(HostExit, CallbacksRunNewestFirstAndOnlyOnce)
{
    Calls().clear();
    dvk::CallOnExit(&Record, 1);
    dvk::CallOnExit(nullptr, 9);
    dvk::CallOnExit(&Throwing, 0);
    dvk::CallOnExit(&RegisterMore, 2);
    dvk::CallOnExit(&Record, 3);
    dvk::RunExitCallbacks();
    EXPECT_EQ(Calls(), (std::vector<int>{3, 2, 3, 1})) << "a callback registered meanwhile runs too";
    dvk::RunExitCallbacks();
    EXPECT_EQ(Calls().size(), 4u);
}

TEST(HostExit, RegisteredCallbacksRunWhenTheProcessExits)
{
    char pattern[] = "/tmp/qorvi-exit-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    // Plain storage: a static object built after the exit hook would be destroyed before it runs.
    static char marker[64];
    std::snprintf(marker, sizeof marker, "%s/order", pattern);
    struct Writer
    {
        static int Write(int argument)
        {
            std::FILE* file = std::fopen(marker, "a");
            std::fprintf(file, "%d", argument);
            std::fclose(file);
            return 0;
        }
    };
    EXPECT_EXIT(
        {
            dvk::CallOnExit(&Writer::Write, 1);
            dvk::CallOnExit(&Writer::Write, 2);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    std::FILE* file = std::fopen(marker, "r");
    ASSERT_NE(file, nullptr);
    char order[8] = {};
    ASSERT_NE(std::fgets(order, sizeof order, file), nullptr);
    std::fclose(file);
    EXPECT_STREQ(order, "21");
    std::remove(marker);
    std::remove(pattern);
}

TEST(HostTime, AscTimeLayout)
{
    std::tm time{};
    time.tm_year = 2024 - 1900;
    time.tm_mon = 0;
    time.tm_mday = 3;
    time.tm_wday = 3;
    time.tm_hour = 4;
    time.tm_min = 5;
    time.tm_sec = 6;
    EXPECT_EQ(dvk::FormatAscTime(time), "Wed Jan  3 04:05:06 2024");
    time.tm_mday = 28;
    time.tm_mon = 11;
    time.tm_wday = 6;
    time.tm_hour = 23;
    EXPECT_EQ(dvk::FormatAscTime(time), "Sat Dec 28 23:05:06 2024");
    time.tm_wday = 99;
    time.tm_mon = -4;
    EXPECT_EQ(dvk::FormatAscTime(time).size(), 24u) << "a broken time keeps the layout";
    EXPECT_TRUE(IsAscTimeStamp(dvk::LocalAscTimeStamp())) << dvk::LocalAscTimeStamp();
    EXPECT_TRUE(IsAscTimeStamp("Wed Jan  3 04:05:06 2024"));
    EXPECT_FALSE(IsAscTimeStamp("Wed Jan 3 04:05:06 2024 "));
}

TEST(HostEnv, SetEmptyAndUnsetAreTold)
{
    std::string value = "stale";
    unsetenv("QORVI_TEST_VARIABLE");
    EXPECT_FALSE(dvk::GetEnv("QORVI_TEST_VARIABLE", value));
    EXPECT_TRUE(value.empty());
    setenv("QORVI_TEST_VARIABLE", "", 1);
    EXPECT_TRUE(dvk::GetEnv("QORVI_TEST_VARIABLE", value));
    EXPECT_TRUE(value.empty());
    setenv("QORVI_TEST_VARIABLE", "/opt/dravik", 1);
    EXPECT_TRUE(dvk::GetEnv("QORVI_TEST_VARIABLE", value));
    EXPECT_EQ(value, "/opt/dravik");
    EXPECT_EQ(dvk::GetEnvOrEmpty("QORVI_TEST_VARIABLE"), "/opt/dravik");
    EXPECT_FALSE(dvk::GetEnv(nullptr, value));
    unsetenv("QORVI_TEST_VARIABLE");
}
