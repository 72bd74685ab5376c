// The host acts on no file of a checkout answer that would lie outside the folder it asked for,
// whatever names the answer holds.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <CSEObjectInfo.h>

#include "PlacementCheck.h"

namespace {

class PlacementCheckTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/qorvi-host-placement-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_folder = pattern;
        for (const char* file : {"a.prt", "b.drw", "b.dxf", "c.prt"})
            std::ofstream(m_folder + "/" + file) << file;
        std::filesystem::create_directory(m_folder + "/d.prt");
        std::filesystem::create_symlink("/etc/passwd", m_folder + "/e.prt"); // planted link
    }

    void TearDown() override { std::filesystem::remove_all(m_folder); }

    // An object as the library reads it: the file name joined to the folder it names, unless full
    // gives the path.
    static CSEObjectInfo Object(const std::string& name, const std::string& folder, const std::string& file,
                                const std::string& full = "")
    {
        CSEObjectInfo object;
        object.name = CSEString(name.c_str());
        object.dirName = CSEString(folder.c_str());
        object.fileName = CSEString(file.c_str());
        object.fullFileName = CSEString((full.empty() ? folder + "/" + file : full).c_str());
        return object;
    }

    std::string m_folder;
};

} // namespace

TEST_F(PlacementCheckTest, AnObjectThatLeavesTheFolderFailsWithItsReason)
{
    PlacementCheck check(m_folder);
    const struct
    {
        CSEObjectInfo object;
        const char* reason; // a part of the reason; empty: the object keeps to the folder
    } cases[] = {
        {Object("A", m_folder, "a.prt"), ""},
        {Object("B", m_folder, "b.drw|b.dxf", m_folder + "/b.drw|" + m_folder + "/b.dxf"), ""},
        {Object("A2", m_folder, "a.prt"), "also the file of 'A'"},
        {Object("U", m_folder, "../u.prt"), "not a plain name"},
        {Object("V", m_folder, "sub/v.prt"), "not a plain name"},
        {Object("X", m_folder, "x\\..\\x.prt"), "not a plain name"},
        {Object("Y", m_folder, "y\n.prt"), "not a plain name"},
        {Object("Z", m_folder, "|c.prt"), "not a plain name"},
        {Object("G", "/tmp", "a.prt"), "folder '/tmp' is not the checkout folder"},
        {Object("N", "/elsewhere", ""), ""}, // no file, nothing to place
        {Object("F", m_folder, "c.prt", "/etc/c.prt"), "reported at '/etc/c.prt'"},
        {Object("M", m_folder, "missing.prt"), "was not placed"},
        {Object("D", m_folder, "d.prt"), "not a plain file"},
        {Object("L", m_folder, "e.prt"), "not a plain file"},
    };
    for (const auto& test : cases) {
        const std::string problem = check.Problem(test.object);
        SCOPED_TRACE(test.object.name().ToUTF8() + ": " + problem);
        EXPECT_EQ(problem.empty(), *test.reason == '\0');
        EXPECT_NE(problem.find(test.reason), std::string::npos);
    }
}
