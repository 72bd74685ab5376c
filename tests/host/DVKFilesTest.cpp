// Behaviour of the host path and file services.
#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <vector>

#include "host/DVKFiles.h"
#include "support/InstallFolderFixture.h"

namespace {

using HostFiles = InstallFolderFixture;

} // namespace

TEST(HostPaths, JoinAppendAndSplitUseOneSeparator)
{
    EXPECT_EQ(dvk::MakePath("/a/", "/b.xml"), "/a/b.xml");
    EXPECT_EQ(dvk::MakePath("", "b.xml") + dvk::MakePath("/a", "") + dvk::AppendSlash(""), "b.xml/a/");
    for (const std::vector<std::string>& split : std::vector<std::vector<std::string>>{
             {"/inst/logs/Qx.log", "/inst/logs", "Qx.log"}, {"/x.log", "/", "x.log"}, {"x.log", "", "x.log"},
             {"/a/", "/a", ""}}) {
        std::string folder, name;
        dvk::SplitPath(split[0], folder, name);
        EXPECT_EQ(folder + "|" + name, split[1] + "|" + split[2]);
    }
}

TEST_F(HostFiles, WholeFilesKeepEveryByteAndLeaveNoTemporary)
{
    const std::string bytes("secret\0with nul\n", 16);
    ASSERT_TRUE(dvk::WriteWholeFile(PathOf("token.txt"), bytes, 0600));
    std::string read;
    EXPECT_TRUE(dvk::ReadWholeFile(PathOf("token.txt"), read));
    EXPECT_EQ(read, bytes);
    EXPECT_TRUE(dvk::ReadFileHead(PathOf("token.txt"), 6, read));
    EXPECT_EQ(read, "secret") << "a bounded read stops at its limit";
    std::vector<std::string> names;
    ASSERT_TRUE(dvk::ListDirectory(m_folder, names));
    EXPECT_EQ(names, std::vector<std::string>{"token.txt"}) << "no temporary file is left";

    EXPECT_FALSE(dvk::WriteWholeFile(PathOf("no/such/folder/f"), "x"));
    read = "stale";
    EXPECT_FALSE(dvk::ReadWholeFile(PathOf("missing"), read));
    EXPECT_TRUE(read.empty());
    EXPECT_FALSE(dvk::ReadFileHead(PathOf("missing"), 10, read));
    EXPECT_FALSE(dvk::PathExists(""));
}

TEST_F(HostFiles, FoldersAreCreatedWithTheirParentsAndDeletedWhole)
{
    ASSERT_TRUE(dvk::CreateDirectories(PathOf("a/b/c")));
    EXPECT_TRUE(dvk::CreateDirectories(PathOf("a/b/c"))) << "an existing folder is success";
    ASSERT_TRUE(dvk::WriteWholeFile(PathOf("a/z.txt"), "z"));
    EXPECT_FALSE(dvk::CreateDirectories(PathOf("a/z.txt/sub"))) << "a file is in the way";
    EXPECT_FALSE(dvk::CreateDirectories(""));
    EXPECT_TRUE(dvk::DeleteTree(PathOf("a")));
    EXPECT_FALSE(dvk::PathExists(PathOf("a")));
}

TEST_F(HostFiles, RealPathOfPathsThatDoNotExistYet)
{
    ASSERT_TRUE(dvk::CreateDirectories(PathOf("target/sub")));
    ASSERT_EQ(::symlink(PathOf("target").c_str(), PathOf("link").c_str()), 0);
    std::string folder, real;
    ASSERT_TRUE(dvk::GetRealPath(m_folder, folder));
    ASSERT_TRUE(dvk::GetRealPath(PathOf("link/sub/../sub/./later.txt"), real));
    EXPECT_EQ(real, folder + "/target/sub/later.txt");
    ASSERT_TRUE(dvk::GetRealPath(PathOf("nothere/x/../y"), real));
    EXPECT_EQ(real, folder + "/nothere/y");
    ASSERT_TRUE(dvk::GetRealPath("relative.txt", real));
    EXPECT_EQ(real.front(), '/');
    EXPECT_FALSE(dvk::GetRealPath("", real));
}
