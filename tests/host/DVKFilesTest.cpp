// Behaviour of the host path and file services.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "host/DVKFiles.h"

namespace {

class HostFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/qorvi-files-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_folder = pattern;
    }
    void TearDown() override { dvk::DeleteTree(m_folder); }
    std::string In(const std::string& name) const { return m_folder + "/" + name; }
    std::string m_folder;
};

std::string Read(const std::string& path)
{
    std::string bytes;
    EXPECT_TRUE(dvk::ReadWholeFile(path, bytes)) << path;
    return bytes;
}

} // namespace

TEST(HostPaths, JoinAppendAndSplitUseOneSeparator)
{
    EXPECT_EQ(dvk::MakePath("/a", "b.xml"), "/a/b.xml");
    EXPECT_EQ(dvk::MakePath("/a/", "/b.xml"), "/a/b.xml");
    EXPECT_EQ(dvk::MakePath("", "b.xml"), "b.xml");
    EXPECT_EQ(dvk::MakePath("/a", ""), "/a");
    EXPECT_EQ(dvk::AppendSlash("/a/"), "/a/");
    EXPECT_EQ(dvk::AppendSlash(""), "/");
    const std::vector<std::vector<std::string>> splits = {{"/inst/logs/Qx.log", "/inst/logs", "Qx.log"},
                                                          {"/x.log", "/", "x.log"},
                                                          {"x.log", "", "x.log"},
                                                          {"/a/", "/a", ""}};
    for (const std::vector<std::string>& split : splits) {
        std::string folder, name;
        dvk::SplitPath(split[0], folder, name);
        EXPECT_EQ(folder, split[1]) << split[0];
        EXPECT_EQ(name, split[2]) << split[0];
    }
}

TEST_F(HostFiles, WriteReadStatAndPermissions)
{
    const std::string path = In("token.txt");
    const std::string bytes("secret\0with nul\n", 16);
    ASSERT_TRUE(dvk::WriteWholeFile(path, bytes, 0600));
    EXPECT_EQ(Read(path), bytes);
    std::string head;
    EXPECT_TRUE(dvk::ReadFileHead(path, 6, head));
    EXPECT_EQ(head, "secret") << "a bounded read stops at its limit";
    EXPECT_TRUE(dvk::ReadFileHead(path, 100, head));
    EXPECT_EQ(head, bytes);
    dvk::FileStat stat;
    ASSERT_TRUE(dvk::StatFile(path, stat));
    EXPECT_EQ(stat.size, 16u);
    EXPECT_TRUE(stat.isRegularFile && !stat.isDirectory);
    struct stat info;
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    ASSERT_TRUE(dvk::WriteWholeFile(path, "short", 0644));
    EXPECT_EQ(Read(path), "short") << "a rewrite replaces the whole content";
    std::vector<std::string> names;
    ASSERT_TRUE(dvk::ListDirectory(m_folder, names));
    EXPECT_EQ(names, std::vector<std::string>{"token.txt"}) << "no temporary file is left";

    EXPECT_FALSE(dvk::WriteWholeFile(In("no/such/folder/f"), "x"));
    std::string out = "stale";
    EXPECT_FALSE(dvk::ReadWholeFile(In("missing"), out));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(dvk::ReadFileHead(In("missing"), 10, out));
    EXPECT_FALSE(dvk::StatFile(In("missing"), stat));
    EXPECT_FALSE(dvk::PathExists(""));
}

TEST_F(HostFiles, FoldersAreCreatedListedAndDeletedWhole)
{
    ASSERT_TRUE(dvk::CreateDirectories(In("a/b/c")));
    EXPECT_TRUE(dvk::CreateDirectories(In("a/b/c"))) << "an existing folder is success";
    ASSERT_TRUE(dvk::WriteWholeFile(In("a/z.txt"), "z"));
    ASSERT_TRUE(dvk::WriteWholeFile(In("a/m.txt"), "m"));
    std::vector<std::string> names;
    ASSERT_TRUE(dvk::ListDirectory(In("a"), names));
    EXPECT_EQ(names, (std::vector<std::string>{"b", "m.txt", "z.txt"}));
    EXPECT_FALSE(dvk::ListDirectory(In("none"), names));
    EXPECT_TRUE(names.empty());
    EXPECT_FALSE(dvk::CreateDirectories(In("a/z.txt/sub"))) << "a file is in the way";
    EXPECT_FALSE(dvk::CreateDirectories(""));
    EXPECT_TRUE(dvk::DeleteTree(In("a")));
    EXPECT_FALSE(dvk::PathExists(In("a")));
}

TEST_F(HostFiles, AppendKeepsEarlierContent)
{
    for (const char* text : {"one\n", "two\n"}) {
        std::FILE* stream = dvk::OpenForAppend(In("log"));
        ASSERT_NE(stream, nullptr);
        std::fputs(text, stream);
        std::fclose(stream);
    }
    EXPECT_EQ(Read(In("log")), "one\ntwo\n");
    EXPECT_EQ(dvk::OpenForAppend(In("no/folder/log")), nullptr);
}

TEST_F(HostFiles, RealPathIsAbsoluteNormalAndResolvesLinks)
{
    std::string real;
    EXPECT_FALSE(dvk::GetRealPath("", real));
    ASSERT_TRUE(dvk::CreateDirectories(In("target/sub")));
    ASSERT_EQ(::symlink(In("target").c_str(), In("link").c_str()), 0);
    std::string canonicalFolder;
    ASSERT_TRUE(dvk::GetRealPath(m_folder, canonicalFolder));
    ASSERT_TRUE(dvk::GetRealPath(In("link/sub/../sub/./later.txt"), real));
    EXPECT_EQ(real, canonicalFolder + "/target/sub/later.txt");
    ASSERT_TRUE(dvk::GetRealPath(In("nothere/x/../y"), real));
    EXPECT_EQ(real, canonicalFolder + "/nothere/y");
    ASSERT_TRUE(dvk::GetRealPath("relative.txt", real));
    EXPECT_EQ(real.front(), '/');
}
