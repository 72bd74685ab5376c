// Browser start and window raise of CSEUtil, with fake browser and wmctrl programs that record
// the arguments they were started with.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

#include "CSEClientSettings.h"
#include "CSEMsgMgr.h"
#include "CSEUtil.h"
#include "host/DVKFiles.h"
#include "support/InstallFolderFixture.h"

namespace {

class RecordingMsgMgr : public CSEMsgMgr
{
public:
    int ShowMessage(CSEString message, CSEString title, MessageBoxType type) override
    {
        m_shown.push_back(message().ToUTF8() + "|" + title().ToUTF8() + "|" +
                          std::to_string(type));
        return 0;
    }
    std::vector<std::string> m_shown;
};

// Saves a variable in the constructor and puts it back in the destructor.
class SavedVariable
{
public:
    explicit SavedVariable(const char* name) : m_name(name)
    {
        const char* value = std::getenv(name);
        m_bSet = value != nullptr;
        if (m_bSet)
            m_value = value;
    }
    ~SavedVariable()
    {
        if (m_bSet)
            setenv(m_name.c_str(), m_value.c_str(), 1);
        else
            unsetenv(m_name.c_str());
    }

private:
    std::string m_name;
    std::string m_value;
    bool m_bSet = false;
};

class Browser : public InstallFolderFixture
{
protected:
    void SetUp() override
    {
        InstallFolderFixture::SetUp();
        WriteSettings("[CLIENT]\ndebugflag=true\nclientloglevel=6\n");
        CSEMsgMgr::SetMsgMgr(&m_messages);
        ASSERT_TRUE(dvk::CreateDirectories(PathOf("bin")));
        setenv("PATH", (PathOf("bin") + ":/usr/bin:/bin").c_str(), 1);
        unsetenv("BROWSER");
        unsetenv("DEFAULT_BROWSER_PATH");
        setenv("QORVI_BROWSER_RECORD", PathOf("record.txt").c_str(), 1);
    }

    // A program that writes its name, argument count and each argument in brackets.
    std::string WriteRecorder(const std::string& name)
    {
        const std::string path = PathOf("bin/" + name);
        std::ofstream(path) << "#!/bin/sh\n"
                               "out=\"$QORVI_BROWSER_RECORD\"\n"
                               "{ printf '%s\\n' \"${0##*/}\" \"$#\"; for a in \"$@\"; do "
                               "printf '[%s]\\n' \"$a\"; done; } > \"$out.tmp\"\n"
                               "/bin/mv \"$out.tmp\" \"$out\"\n";
        chmod(path.c_str(), 0755);
        return path;
    }

    void WriteClientSettings(const std::string& lines)
    {
        WriteSettings("[CLIENT]\ndebugflag=true\nclientloglevel=6\n" + lines);
        CSEClientSettings::DeleteClientSettings(0);
    }

    // The record of the started program, waited for up to ten seconds.
    std::string Record()
    {
        for (int i = 0; i < 1000 && !Exists("record.txt"); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return ReadFile("record.txt");
    }

    bool Logged(const std::string& text) const
    {
        return ReadFile("QxDravikV5.log").find(text) != std::string::npos;
    }

    // Blanks, quotes and shell syntax that would create a file if a shell ever saw the address.
    std::string AwkwardUrl() const
    {
        return "http://pdm.example/app?a=1 b=\"two\" 'three';touch " + PathOf("PWNED") +
               "&x=$HOME`id`|cat>" + PathOf("PWNED2");
    }

    SavedVariable m_path{"PATH"};
    SavedVariable m_browser{"BROWSER"};
    SavedVariable m_custom{"DEFAULT_BROWSER_PATH"};
    SavedVariable m_record{"QORVI_BROWSER_RECORD"};
    RecordingMsgMgr m_messages;
};

} // namespace

TEST_F(Browser, DefaultBrowserModeStartsXdgOpenWithTheUrlAsOneArgument)
{
    WriteRecorder("xdg-open");
    WriteClientSettings("windowsbrowsermode=DefaultBrowser\n");
    EXPECT_NE(CSEUtil::StartBrowser(CSEString(AwkwardUrl().c_str())), 0);
    EXPECT_EQ(Record(), "xdg-open\n1\n[" + AwkwardUrl() + "]\n");
    EXPECT_FALSE(Exists("PWNED"));
    EXPECT_FALSE(Exists("PWNED2"));
    EXPECT_TRUE(m_messages.m_shown.empty());
    EXPECT_TRUE(Logged("[CSEIntegrationAgent::LaunchBrowser] Creating a process by issuing the "
                       "command : xdg-open "));
}

TEST_F(Browser, BrowserVariableNamesTheProgramOfTheDesktopModes)
{
    setenv("BROWSER", WriteRecorder("my-browser").c_str(), 1);
    WriteClientSettings("windowsbrowsermode=HTMLApplication\n");
    EXPECT_NE(CSEUtil::StartBrowser(u"http://pdm.example/a b"), 0);
    EXPECT_EQ(Record(), "my-browser\n1\n[http://pdm.example/a b]\n");
    EXPECT_TRUE(Logged("[CSEIntegrationAgent::LaunchBrowser] Bringing up the IE browser with the "
                       "URL : http://pdm.example/a b"));
}

TEST_F(Browser, UnrecognisedModeFallsBackToTheCustomBrowser)
{
    WriteRecorder("xdg-open");
    setenv("DEFAULT_BROWSER_PATH", WriteRecorder("custom browser").c_str(), 1);
    WriteClientSettings("windowsbrowsermode=defaultbrowser\n");
    EXPECT_NE(CSEUtil::StartBrowser(CSEString(AwkwardUrl().c_str())), 0);
    EXPECT_EQ(Record(), "custom browser\n1\n[" + AwkwardUrl() + "]\n");
}

TEST_F(Browser, WithoutModeOrCustomBrowserTheDesktopBrowserOpens)
{
    WriteRecorder("xdg-open");
    EXPECT_NE(CSEUtil::StartBrowser(u"http://pdm.example/"), 0);
    EXPECT_EQ(Record(), "xdg-open\n1\n[http://pdm.example/]\n");
    EXPECT_EQ(CSEUtil::LaunchAppAssocWithHTMLBrowser(u""), 0);
}

TEST_F(Browser, FailedStartsShowTheirMessageAndLog)
{
    setenv("PATH", PathOf("bin").c_str(), 1);
    setenv("DEFAULT_BROWSER_PATH", PathOf("bin/missing-browser").c_str(), 1);
    EXPECT_EQ(CSEUtil::StartBrowser(u"http://pdm.example/"), 0);
    EXPECT_EQ(CSEUtil::LaunchDefaultBrowser(u"http://pdm.example/"), 0);  // no xdg-open in bin
    EXPECT_EQ(m_messages.m_shown,
              (std::vector<std::string>{
                  "Failed to create process for the browser. |MSG_MSGBOXTITLE|3",
                  "Failed to create process for the default browser. |MSG_MSGBOXTITLE|3"}));
    EXPECT_TRUE(Logged("[CSEIntegrationAgent::LaunchBrowser] Failed to bring up the browser!"));
}

TEST_F(Browser, AnAddressThatLooksLikeAnOptionIsNotPassed)
{
    WriteRecorder("xdg-open");
    EXPECT_EQ(CSEUtil::LaunchDefaultBrowser(u"--new-window"), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(Exists("record.txt"));
}

TEST_F(Browser, WindowIsRaisedWithWmctrlByItsConfiguredName)
{
    WriteRecorder("wmctrl");
    WriteClientSettings("BrowserWindowName=PDM - Web Client\n");
    EXPECT_TRUE(CSEUtil::BringBrowserWindowToFront());
    EXPECT_EQ(Record(), "wmctrl\n2\n[-a]\n[PDM - Web Client]\n");
}

TEST_F(Browser, WindowIsNotRaisedWithoutNameOrWmctrl)
{
    WriteRecorder("wmctrl");
    EXPECT_FALSE(CSEUtil::BringBrowserWindowToFront());
    EXPECT_TRUE(Logged("<3>"));
    EXPECT_TRUE(Logged("[CSEUtil::BringBrowserWindowToFront] m_sBrowserWindow INI key is either "
                       "empty or is missing in the INI file. Hence browser window is not being "
                       "brought to front"));

    dvk::DeleteFile(PathOf("bin/wmctrl"));
    setenv("PATH", PathOf("bin").c_str(), 1);
    WriteClientSettings("BrowserWindowName=PDM\n");
    EXPECT_FALSE(CSEUtil::BringBrowserWindowToFront());
    EXPECT_TRUE(Logged("[CSEUtil::BringBrowserWindowToFront] wmctrl is not installed"));
    EXPECT_FALSE(Exists("record.txt"));
}
