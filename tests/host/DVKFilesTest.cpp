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

TEST(HostPaths, MakePathJoinsWithOneSeparator)
{
    EXPECT_EQ(dvk::MakePath("/a", "b.xml"), "/a/b.xml");
    EXPECT_EQ(dvk::MakePath("/a/", "b.xml"), "/a/b.xml");
    EXPECT_EQ(dvk::MakePath("/a/", "/b.xml"), "/a/b.xml");
    EXPECT_EQ(dvk::MakePath("", "b.xml"), "b.xml");
    EXPECT_EQ(dvk::MakePath("/a", ""), "/a");
    EXPECT_EQ(dvk::AppendSlash("/a"), "/a/");
    EXPECT_EQ(dvk::AppendSlash("/a/"), "/a/");
    EXPECT_EQ(dvk::AppendSlash(""), "/");
}

TEST(HostPaths, SplitPathAtTheLastSeparator)
{
    std::string folder, name;
    dvk::SplitPath("/inst/logs/QxDravikV5.log", folder, name);
    EXPECT_EQ(folder, "/inst/logs");
    EXPECT_EQ(name, "QxDravikV5.log");
    dvk::SplitPath("/x.log", folder, name);
    EXPECT_EQ(folder, "/");
    EXPECT_EQ(name, "x.log");
    dvk::SplitPath("x.log", folder, name);
    EXPECT_EQ(folder, "");
    EXPECT_EQ(name, "x.log");
    dvk::SplitPath("/a/", folder, name);
    EXPECT_EQ(folder, "/a");
    EXPECT_EQ(name, "");
}

TEST_F(HostFiles, WriteReadStatAndPermissions)
{
    const std::string path = In("token.txt");
    const std::string bytes("secret\0with nul\n", 16);
    ASSERT_TRUE(dvk::WriteWholeFile(path, bytes, 0600));
    EXPECT_EQ(Read(path), bytes);
    dvk::FileStat stat;
    ASSERT_TRUE(dvk::StatFile(path, stat));
    EXPECT_EQ(stat.size, 16u);
    EXPECT_TRUE(stat.isRegularFile);
    EXPECT_FALSE(stat.isDirectory);
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
    EXPECT_FALSE(dvk::StatFile(In("missing"), stat));
    EXPECT_FALSE(dvk::PathExists(""));
}

TEST_F(HostFiles, FoldersAreCreatedListedAndDeleted)
{
    ASSERT_TRUE(dvk::CreateDirectories(In("a/b/c")));
    EXPECT_TRUE(dvk::CreateDirectories(In("a/b/c"))) << "an existing folder is success";
    EXPECT_TRUE(dvk::IsDirectory(In("a/b")));
    ASSERT_TRUE(dvk::WriteWholeFile(In("a/z.txt"), "z"));
    ASSERT_TRUE(dvk::WriteWholeFile(In("a/m.txt"), "m"));
    std::vector<std::string> names;
    ASSERT_TRUE(dvk::ListDirectory(In("a"), names));
    EXPECT_EQ(names, (std::vector<std::string>{"b", "m.txt", "z.txt"}));
    EXPECT_FALSE(dvk::ListDirectory(In("none"), names));
    EXPECT_TRUE(names.empty());
    EXPECT_FALSE(dvk::CreateDirectories(In("a/z.txt/sub"))) << "a file is in the way";
    EXPECT_FALSE(dvk::CreateDirectories(""));

    EXPECT_TRUE(dvk::DeleteFile(In("a/m.txt")));
    EXPECT_FALSE(dvk::DeleteFile(In("a/m.txt")));
    EXPECT_TRUE(dvk::DeleteTree(In("a")));
    EXPECT_FALSE(dvk::PathExists(In("a")));
}

TEST_F(HostFiles, CopyHonoursTheOverwriteFlagAndRenameMoves)
{
    ASSERT_TRUE(dvk::WriteWholeFile(In("src"), "new"));
    ASSERT_TRUE(dvk::WriteWholeFile(In("dst"), "old"));
    EXPECT_FALSE(dvk::CopyFile(In("src"), In("dst"), false));
    EXPECT_EQ(Read(In("dst")), "old");
    EXPECT_TRUE(dvk::CopyFile(In("src"), In("dst"), true));
    EXPECT_EQ(Read(In("dst")), "new");
    EXPECT_TRUE(dvk::CopyFile(In("src"), In("fresh"), false));
    EXPECT_FALSE(dvk::CopyFile(In("missing"), In("other"), true));

    EXPECT_TRUE(dvk::RenameFile(In("fresh"), In("moved")));
    EXPECT_FALSE(dvk::PathExists(In("fresh")));
    EXPECT_EQ(Read(In("moved")), "new");
    EXPECT_FALSE(dvk::RenameFile(In("fresh"), In("again")));
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
    EXPECT_EQ(dvk::OpenForAppend(""), nullptr);
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

    char cwd[4096];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_TRUE(dvk::GetRealPath("relative.txt", real));
    EXPECT_EQ(real.front(), '/');
}
