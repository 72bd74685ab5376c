// Test fixture for the transport, the integration agent and the commands: a fresh installation
// folder with "settings.ini", a fresh user profile folder for "okt.port", a message manager and a
// host application that record, an agent that starts disconnected, and readers for the logs.
#ifndef QORVI_TESTS_COMMON_SERVICEFIXTURE_H
#define QORVI_TESTS_COMMON_SERVICEFIXTURE_H

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "CSEClientSettings.h"
#include "CSEIntegrationAgent.h"
#include "CSEMsgMgr.h"
#include "CSEString.h"
#include "DVKApplication.h"
#include "host/DVKFiles.h"
#include "support/InstallFolderFixture.h"

namespace servicetest {

inline std::string Utf8(const CSEString& text)
{
    return text().ToUTF8();
}

inline bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// Shows nothing; remembers every box (a custom one's type + 10 * its flag) and answers every text
// request with "text of " + id.
class RecordingMsgMgr : public CSEMsgMgr
{
public:
    struct Box
    {
        std::string message;
        std::string title;
        int type;
    };

    CSEString ReadResourceString(CSEString id) override { return CSEString(u"text of ") + id; }
    int ShowMessage(CSEString message, CSEString title, MessageBoxType type) override
    {
        boxes.push_back(Box{Utf8(message), Utf8(title), static_cast<int>(type)});
        return 0;
    }
    int ShowCustomMessage(CSEString message, CSEString title, unsigned char flag, MessageBoxType type) override
    {
        return ShowMessage(message, title, static_cast<MessageBoxType>(static_cast<int>(type) + 10 * flag));
    }

    std::vector<Box> boxes;
};

// The host application: counts its interface turns and runs what a test asks during them.
class RecordingApplication : public DVKApplication
{
public:
    void PumpMessages() override
    {
        ++turns;
        if (onTurn)
            onTurn();
    }

    int turns = 0;
    std::function<void()> onTurn;
};

// The texts of the entries of a log at one priority, without "<p>" and the time stamp. An entry
// may span lines: it ends where a line starts with the next "<digit>".
inline std::vector<std::string> LogTexts(const std::string& log, int priority)
{
    const std::string head = "<" + std::to_string(priority) + ">";
    std::vector<std::string> texts;
    for (std::size_t start = 0, next = 0; start < log.size(); start = next + 1) {
        next = start;
        do
            next = log.find("\n<", next + 1);
        while (next != std::string::npos && next + 2 < log.size() && !std::isdigit(static_cast<unsigned char>(log[next + 2])));
        std::string entry = log.substr(start, next == std::string::npos ? std::string::npos : next - start);
        if (next == std::string::npos && !entry.empty() && entry.back() == '\n')
            entry.pop_back();
        if (entry.compare(0, head.size(), head) == 0 && entry.size() >= head.size() + 25) // stamp and ':'
            texts.push_back(entry.substr(head.size() + 25));
        if (next == std::string::npos)
            break;
    }
    return texts;
}

} // namespace servicetest

using servicetest::Contains;
using servicetest::Utf8;

class ServiceFixture : public InstallFolderFixture
{
protected:
    static constexpr const char* kMainLog = "QxDravikV5.log";
    static constexpr const char* kSilentLog = "QxDravikV5SilentProcessor.log";
    static constexpr const char* kPerformanceLog = "Performace_QxDravikV5.log";

    // The service runs on this machine; every log at its most detailed level; "xmldump" as given.
    static std::string Settings(bool xmlDump = false)
    {
        return std::string("[SERVER]\nclientname=127.0.0.1\naddress=http://pdm.example/main\n"
                           "silentaddress=http://pdm.example/silent\n"
                           "[CLIENT]\ndebugflag=true\nclientloglevel=6\nperformancelogflag=true\n"
                           "performanceloglevel=2\nsilentlogflag=true\nsilentloglevel=6\nxmldump=") +
               (xmlDump ? "true" : "false") + "\n";
    }

    void SetUp() override
    {
        InstallFolderFixture::SetUp();
        char pattern[] = "/tmp/qorvi-profile-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_profile = pattern;
        setenv("USERPROFILE", m_profile.c_str(), 1);
        UseSettings(Settings());
        static servicetest::RecordingMsgMgr manager;
        manager.boxes.clear();
        CSEMsgMgr::SetMsgMgr(&manager);
        m_msgMgr = &manager;
        DVKApplication::SetCurrent(&m_application);
        ResetAgent();
    }

    void TearDown() override
    {
        ResetAgent();
        DVKApplication::SetCurrent(nullptr);
        unsetenv("USERPROFILE");
        dvk::DeleteTree(m_profile);
        InstallFolderFixture::TearDown();
    }

    static CSEIntegrationAgent& Agent() { return CSEIntegrationAgent::GetIntegrationAgent(); }

    static void ResetAgent()
    {
        Agent().Disconnect();
        Agent().SetSilentAppletPortNumber(-1);
        Agent().SetServerUrl(CSEString());
    }

    // Rewrites "settings.ini" and reads it afresh (silent: as the silent processor).
    void UseSettings(const std::string& text, unsigned char silent = 0)
    {
        CSEClientSettings::DeleteClientSettings(0);
        WriteSettings(text);
        CSEClientSettings::GetInstance(silent);
    }

    void WritePortFile(const std::string& content) const
    {
        std::ofstream(m_profile + "/okt.port", std::ios::binary) << content;
    }

    void PublishPort(unsigned int port) const { WritePortFile(std::to_string(port) + "\n"); }

    std::string MainLog() const { return ReadFile(kMainLog); }

    std::vector<std::string> LogTexts(const char* logName, int priority) const
    {
        return servicetest::LogTexts(ReadFile(logName), priority);
    }

    bool Logged(const char* logName, int priority, const std::string& text) const
    {
        const std::vector<std::string> texts = LogTexts(logName, priority);
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }

    // Permission bits of a file; -1 when it does not exist.
    static int PermissionsOf(const std::string& path)
    {
        struct stat status;
        return ::stat(path.c_str(), &status) == 0 ? static_cast<int>(status.st_mode & 07777) : -1;
    }

    // A thin response naming a file of the installation folder.
    CSEString ThinResponseFor(const std::string& fileName) const
    {
        return CSEString(
            ("<?xml version='1.0'?><response dirname='" + m_folder + "' filename='" + fileName + "'></response>")
                .c_str());
    }

    std::string m_profile;
    servicetest::RecordingMsgMgr* m_msgMgr = nullptr;
    servicetest::RecordingApplication m_application;
};

#endif
