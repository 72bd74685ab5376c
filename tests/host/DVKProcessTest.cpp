// Host process services: program lookup on $PATH and detached starts without a shell.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "host/DVKFiles.h"
#include "host/DVKProcess.h"

namespace {

class Process : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/qorvi-process-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_folder = pattern;
        const char* path = std::getenv("PATH");
        m_savedPath = path != nullptr ? path : "";
    }
    void TearDown() override
    {
        setenv("PATH", m_savedPath.c_str(), 1);
        dvk::DeleteTree(m_folder);
    }

    std::string WriteFile(const std::string& name, const std::string& text, mode_t mode)
    {
        const std::string path = m_folder + "/" + name;
        std::ofstream(path) << text;
        chmod(path.c_str(), mode);
        return path;
    }

    std::string m_folder;
    std::string m_savedPath;
};

} // namespace

TEST_F(Process, ProgramsAreFoundOnlyAsExecutableFiles)
{
    const std::string tool = WriteFile("tool", "#!/bin/sh\n", 0755);
    WriteFile("plain", "text", 0644);
    ASSERT_TRUE(dvk::CreateDirectories(m_folder + "/folder"));
    setenv("PATH", ("/nonexistent::" + m_folder).c_str(), 1);

    std::string found;
    EXPECT_TRUE(dvk::FindProgramOnPath("tool", found));
    EXPECT_EQ(found, tool);
    EXPECT_TRUE(dvk::FindProgramOnPath(tool, found));
    EXPECT_EQ(found, tool);
    EXPECT_FALSE(dvk::FindProgramOnPath("plain", found));
    EXPECT_EQ(found, "");
    EXPECT_FALSE(dvk::FindProgramOnPath("folder", found));
    EXPECT_FALSE(dvk::FindProgramOnPath("", found));
    EXPECT_FALSE(dvk::FindProgramOnPath(m_folder + "/missing", found));
}

TEST_F(Process, DetachedStartPassesArgumentsVerbatimAndReapsTheChild)
{
    const std::string out = m_folder + "/out.txt";
    const std::string tool = WriteFile("tool", "#!/bin/sh\nprintf '%s|' \"$@\" > \"" + out +
                                                   ".tmp\"\n/bin/mv \"" + out + ".tmp\" \"" + out + "\"\n",
                                       0755);
    std::string error;
    ASSERT_TRUE(dvk::StartDetachedProcess(tool, {"a b", "$(x);'\"", ""}, error)) << error;
    for (int i = 0; i < 1000 && !dvk::PathExists(out); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::string text;
    ASSERT_TRUE(dvk::ReadWholeFile(out, text));
    EXPECT_EQ(text, "a b|$(x);'\"||");
    int running = 1;
    for (int i = 0; i < 1000 && (running = dvk::ReapDetachedProcesses()) > 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(running, 0);

    EXPECT_FALSE(dvk::StartDetachedProcess(m_folder + "/missing", {"x"}, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(dvk::StartDetachedProcess("", {}, error));
    EXPECT_EQ(dvk::GetProcessId(), static_cast<int>(getpid()));
}
