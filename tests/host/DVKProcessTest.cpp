// Host process services: program lookup on $PATH and detached starts without a shell.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <thread>

#include "host/DVKFiles.h"
#include "host/DVKProcess.h"
#include "support/InstallFolderFixture.h"

namespace {

class Process : public InstallFolderFixture
{
protected:
    void TearDown() override
    {
        setenv("PATH", m_savedPath.c_str(), 1);
        InstallFolderFixture::TearDown();
    }
    std::string WriteFile(const std::string& name, const std::string& text, mode_t mode)
    {
        std::ofstream(PathOf(name)) << text;
        chmod(PathOf(name).c_str(), mode);
        return PathOf(name);
    }

    const std::string m_savedPath = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
};

} // namespace

TEST_F(Process, ProgramsAreFoundOnlyAsExecutableFiles)
{
    const std::string tool = WriteFile("tool", "#!/bin/sh\n", 0755);
    WriteFile("plain", "text", 0644);
    ASSERT_TRUE(dvk::CreateDirectories(PathOf("folder")));
    setenv("PATH", ("/nonexistent::" + m_folder).c_str(), 1);

    std::string found;
    for (const std::string& name : {std::string("tool"), tool}) {
        EXPECT_TRUE(dvk::FindProgramOnPath(name, found)) << name;
        EXPECT_EQ(found, tool);
    }
    for (const std::string& name :
         {std::string("plain"), std::string("folder"), std::string(""), PathOf("missing")}) {
        EXPECT_FALSE(dvk::FindProgramOnPath(name, found)) << name;
        EXPECT_EQ(found, "");
    }
}

TEST_F(Process, DetachedStartPassesArgumentsVerbatimAndReapsTheChild)
{
    const std::string tool = WriteFile(
        "tool", "#!/bin/sh\nprintf '%s|' \"$@\" > \"$0.tmp\"\nmv \"$0.tmp\" \"${0%/*}/out.txt\"\n", 0755);
    std::string error;
    ASSERT_TRUE(dvk::StartDetachedProcess(tool, {"a b", "$(x);'\"", ""}, error)) << error;
    for (int i = 0; i < 1000 && !Exists("out.txt"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(ReadFile("out.txt"), "a b|$(x);'\"||");
    int running = 1;
    for (int i = 0; i < 1000 && (running = dvk::ReapDetachedProcesses()) > 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(running, 0);
    EXPECT_FALSE(dvk::StartDetachedProcess("", {}, error));
    EXPECT_FALSE(error.empty());
}
