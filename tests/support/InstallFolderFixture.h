// Test fixture: a fresh installation folder in QX_DRAVIK_INSTALL_DIR and no client settings yet.
#ifndef QORVI_TESTS_SUPPORT_INSTALLFOLDERFIXTURE_H
#define QORVI_TESTS_SUPPORT_INSTALLFOLDERFIXTURE_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
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

    // The whole file, or empty when it does not exist.
    std::string ReadFile(const std::string& name) const
    {
        std::ifstream in(PathOf(name), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    bool Exists(const std::string& name) const { return dvk::PathExists(PathOf(name)); }

    std::string m_folder;
};

#endif
