// Test fixture for commands: an installation folder with settings, a message manager that records
// the boxes it is asked to show, and readers for the log files and response files.
#ifndef QORVI_TESTS_COMMANDS_COMMANDFIXTURE_H
#define QORVI_TESTS_COMMANDS_COMMANDFIXTURE_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CSEClientSettings.h"
#include "CSEXMLPacket.h"
#include "CSEMsgMgr.h"
#include "CSEResponse.h"
#include "CSEString.h"
#include "support/InstallFolderFixture.h"

namespace commandtest {

// Shows nothing; remembers every box and answers every text request with "text of " + id.
class RecordingMsgMgr : public CSEMsgMgr
{
public:
    struct Box
    {
        std::string message;
        std::string title;
        int type;
    };

    CSEString ReadResourceString(CSEString id) override
    {
        return CSEString(u"text of ") + id;
    }
    int ShowMessage(CSEString message, CSEString title, MessageBoxType type) override
    {
        m_boxes.push_back(Box{message().ToUTF8(), title().ToUTF8(), static_cast<int>(type)});
        return 0;
    }

    std::vector<Box> m_boxes;
};

// Opens the protected operations of a command class to the tests.
template <class Base>
class Probe : public Base
{
public:
    using Base::Base;
    using Base::CreateCmdHeader;
    using Base::CreateResponseHeader;
    using Base::CreateXMLDumpFileName;
    using Base::ReplaceCmdXMLPacket;
    using Base::SetBulkLoaderBatchNumForXMLDump;

    CSEXMLPacket* Packet() { return this->m_pCmdXMLPacket; }
    // What a derived command does when it assigns a new response itself.
    void AssignResponseDirectly(CSEResponse* response) { this->m_pResponse = response; }
};

inline std::string Utf8(const CSEString& text)
{
    return text().ToUTF8();
}

} // namespace commandtest

using commandtest::Probe;
using commandtest::RecordingMsgMgr;
using commandtest::Utf8;

class CommandFixture : public InstallFolderFixture
{
protected:
    static constexpr const char* kMainLog = "QxDravikV5.log";
    static constexpr const char* kSilentLog = "QxDravikV5SilentProcessor.log";
    static constexpr const char* kPerformanceLog = "Performace_QxDravikV5.log";

    // Every log at its most detailed level; "xmldump" as given.
    static std::string Settings(bool xmlDump)
    {
        return std::string("[CLIENT]\ndebugflag=true\nclientloglevel=6\nperformancelogflag=true\n"
                           "performanceloglevel=2\nsilentlogflag=true\nsilentloglevel=6\nxmldump=") +
               (xmlDump ? "true" : "false") + "\n[SERVER]\nclientname=127.0.0.1\n";
    }

    void SetUp() override
    {
        InstallFolderFixture::SetUp();
        WriteSettings(Settings(false));
        static RecordingMsgMgr manager;
        manager.m_boxes.clear();
        CSEMsgMgr::SetMsgMgr(&manager);
        m_msgMgr = &manager;
    }

    // Rewrites "settings.ini" and reads it afresh (silent mode sends every log line to the
    // silent log).
    void UseSettings(bool xmlDump, bool silent = false)
    {
        WriteSettings(Settings(xmlDump));
        CSEClientSettings::DeleteClientSettings(0);
        CSEClientSettings::GetInstance(silent ? 1 : 0);
    }

    // The texts of the log lines of one priority, without the "<p>" and the time stamp.
    std::vector<std::string> LogTexts(const char* logName, int priority) const
    {
        const std::string head = "<" + std::to_string(priority) + ">";
        const std::size_t textStart = head.size() + 24 + 1; // stamp and ':'
        std::vector<std::string> texts;
        const std::string log = ReadFile(logName);
        std::size_t start = 0;
        while (start < log.size()) {
            std::size_t end = log.find('\n', start);
            if (end == std::string::npos)
                end = log.size();
            const std::string line = log.substr(start, end - start);
            if (line.compare(0, head.size(), head) == 0 && line.size() >= textStart)
                texts.push_back(line.substr(textStart));
            start = end + 1;
        }
        return texts;
    }

    bool Logged(const char* logName, int priority, const std::string& text) const
    {
        for (const std::string& line : LogTexts(logName, priority)) {
            if (line == text)
                return true;
        }
        return false;
    }

    void WriteFile(const std::string& name, const std::string& text) const
    {
        std::ofstream(PathOf(name), std::ios::binary) << text;
    }

    // A thin response naming a file of the installation folder.
    CSEString ThinResponseFor(const std::string& fileName) const
    {
        return CSEString(("<?xml version='1.0'?><response dirname='" + m_folder + "' filename='" +
                          fileName + "'></response>")
                             .c_str());
    }

    RecordingMsgMgr* m_msgMgr = nullptr;
};

#endif
