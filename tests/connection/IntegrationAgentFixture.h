// Test fixture for the integration agent: a fresh installation folder with "settings.ini", a fresh
// user profile folder for the port file, a message manager that records, and an agent that starts
// every test disconnected.
#ifndef QORVI_TESTS_CONNECTION_INTEGRATIONAGENTFIXTURE_H
#define QORVI_TESTS_CONNECTION_INTEGRATIONAGENTFIXTURE_H

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CSEClientSettings.h"
#include "CSEIntegrationAgent.h"
#include "CSEMsgMgr.h"
#include "host/DVKFiles.h"

// Records the message boxes that the library shows.
class AgentTestMsgMgr : public CSEMsgMgr
{
public:
    CSEString ReadResourceString(CSEString id) override { return id; }
    int ShowMessage(CSEString message, CSEString title, MessageBoxType) override
    {
        m_shown.push_back(message().ToUTF8() + " / " + title().ToUTF8());
        return 0;
    }

    std::vector<std::string> m_shown;
};

class IntegrationAgentFixture : public ::testing::Test
{
protected:
    // Client settings of the tests: the service runs on this machine; everything is logged.
    static constexpr const char* kDefaultSettings =
        "[SERVER]\nclientname=127.0.0.1\naddress=http://pdm.example/main\nsilentaddress=http://pdm.example/silent\n"
        "[CLIENT]\ndebugflag=true\nclientloglevel=6\n";

    void SetUp() override
    {
        CSEClientSettings::DeleteClientSettings(0);
        m_install = MakeTempFolder("qorvi-agent-install");
        m_profile = MakeTempFolder("qorvi-agent-profile");
        setenv("QX_DRAVIK_INSTALL_DIR", m_install.c_str(), 1);
        setenv("USERPROFILE", m_profile.c_str(), 1);
        WriteSettings(kDefaultSettings);
        static AgentTestMsgMgr manager;
        manager.m_shown.clear();
        m_pMsgMgr = &manager;
        CSEMsgMgr::SetMsgMgr(m_pMsgMgr);
        ResetAgent();
    }

    void TearDown() override
    {
        ResetAgent();
        CSEClientSettings::DeleteClientSettings(0);
        unsetenv("QX_DRAVIK_INSTALL_DIR");
        unsetenv("USERPROFILE");
        dvk::DeleteTree(m_install);
        dvk::DeleteTree(m_profile);
    }

    static void ResetAgent()
    {
        CSEIntegrationAgent& agent = CSEIntegrationAgent::GetIntegrationAgent();
        agent.Disconnect();
        agent.SetSilentAppletPortNumber(-1);
        agent.SetServerUrl(CSEString());
    }

    static CSEIntegrationAgent& Agent() { return CSEIntegrationAgent::GetIntegrationAgent(); }

    static std::string MakeTempFolder(const char* name)
    {
        std::string pattern = std::string("/tmp/") + name + "-XXXXXX";
        if (mkdtemp(&pattern[0]) == nullptr)
            ADD_FAILURE() << "no temporary folder";
        return pattern;
    }

    // Rewrites "settings.ini" and makes the next client-settings use read it (silent as given).
    void WriteSettings(const std::string& text, unsigned char silent = 0)
    {
        CSEClientSettings::DeleteClientSettings(0);
        std::ofstream(InstallFile("settings.ini"), std::ios::binary) << text;
        CSEClientSettings::GetInstance(silent);
    }

    void WritePortFile(const std::string& content) const
    {
        std::ofstream(m_profile + "/okt.port", std::ios::binary) << content;
    }

    std::string InstallFile(const std::string& name) const { return m_install + "/" + name; }

public:
    // The whole file; empty when it does not exist.
    static std::string ReadFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

protected:

    // The main log of the library, "QxDravikV5.log" in the installation folder.
    std::string MainLog() const { return ReadFile(InstallFile("QxDravikV5.log")); }

    static bool Contains(const std::string& text, const std::string& part)
    {
        return text.find(part) != std::string::npos;
    }

    // The first line of text that holds part; empty when there is none.
    static std::string LineWith(const std::string& text, const std::string& part)
    {
        const std::size_t at = text.find(part);
        if (at == std::string::npos)
            return std::string();
        const std::size_t begin = text.rfind('\n', at);
        const std::size_t from = begin == std::string::npos ? 0 : begin + 1;
        return text.substr(from, text.find('\n', at) - from);
    }

    // Permission bits of a file; -1 when it does not exist.
    static int PermissionsOf(const std::string& path)
    {
        struct stat status;
        if (::stat(path.c_str(), &status) != 0)
            return -1;
        return static_cast<int>(status.st_mode & 07777);
    }

    std::string m_install;
    std::string m_profile;
    AgentTestMsgMgr* m_pMsgMgr = nullptr;
};

#endif
