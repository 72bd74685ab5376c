// Test fixture: a fresh installation folder in QX_DRAVIK_INSTALL_DIR and no client settings yet.
#ifndef QORVI_TESTS_SUPPORT_INSTALLFOLDERFIXTURE_H
#define QORVI_TESTS_SUPPORT_INSTALLFOLDERFIXTURE_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "CSEClientSettings.h"
#include "host/DVKFiles.h"

class InstallFolderFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CSEClientSettings::DeleteClientSettings(0);
        char pattern[] = "/tmp/qorvi-install-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_folder = pattern;
        setenv("QX_DRAVIK_INSTALL_DIR", m_folder.c_str(), 1);
    }

    void TearDown() override
    {
        CSEClientSettings::DeleteClientSettings(0);
        unsetenv("QX_DRAVIK_INSTALL_DIR");
        dvk::DeleteTree(m_folder);
    }

    std::string PathOf(const std::string& name) const { return m_folder + "/" + name; }
    void WriteSettings(const std::string& text) const
    {
        std::ofstream(PathOf("settings.ini"), std::ios::binary) << text;
    }
    bool Exists(const std::string& name) const { return dvk::PathExists(PathOf(name)); }

    // The whole file, or empty when it does not exist.
    std::string ReadFile(const std::string& name) const
    {
        std::string bytes;
        dvk::ReadWholeFile(PathOf(name), bytes);
        return bytes;
    }

    bool MainLogHas(const std::string& text) const
    {
        return ReadFile("QxDravikV5.log").find(text) != std::string::npos;
    }

    // The priority of the first main-log line that holds text; -1 when none does.
    int MainLogPriorityOf(const std::string& text) const
    {
        const std::string log = "\n" + ReadFile("QxDravikV5.log");
        const std::string::size_type at = log.find(text);
        return at == std::string::npos ? -1 : std::atoi(log.c_str() + log.rfind('\n', at) + 2);
    }

    // Fresh client settings with the main log on at level 6 and further "CLIENT" lines.
    void UseClientSettings(const std::string& lines = "") const
    {
        WriteSettings("[CLIENT]\ndebugflag=true\nclientloglevel=6\n" + lines);
        CSEClientSettings::DeleteClientSettings(0);
    }

    std::string m_folder;
};

#endif
