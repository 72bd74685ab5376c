// Browser start and window raise of CSEUtil, with fake browser and wmctrl programs that record
// the arguments they were started with.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

#include "CSEMsgMgr.h"
#include "CSEUtil.h"
#include "support/InstallFolderFixture.h"
#include "support/MessageRecorder.h"

namespace {

class Browser : public InstallFolderFixture
{
protected:
    void SetUp() override
    {
        InstallFolderFixture::SetUp();
        UseClientSettings();
        m_messages.m_calls.clear();
        CSEMsgMgr::SetMsgMgr(&m_messages);
        for (const char* name : {"PATH", "BROWSER", "DEFAULT_BROWSER_PATH"}) {
            const char* value = std::getenv(name);
            m_saved.emplace_back(name, value != nullptr ? value : "");
            unsetenv(name);
        }
        ASSERT_TRUE(dvk::CreateDirectories(PathOf("bin")));
        setenv("PATH", (PathOf("bin") + ":/usr/bin:/bin").c_str(), 1);
        setenv("QORVI_BROWSER_RECORD", PathOf("record.txt").c_str(), 1);
    }
    void TearDown() override
    {
        for (const auto& saved : m_saved) {
            if (saved.second.empty())
                unsetenv(saved.first.c_str());
            else
                setenv(saved.first.c_str(), saved.second.c_str(), 1);
        }
        unsetenv("QORVI_BROWSER_RECORD");
        InstallFolderFixture::TearDown();
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

    // The record of the started program, waited for up to ten seconds.
    std::string Record()
    {
        for (int i = 0; i < 1000 && !Exists("record.txt"); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return ReadFile("record.txt");
    }

    // Blanks, quotes and shell syntax that would create a file if a shell ever saw the address.
    std::string AwkwardUrl() const
    {
        return "http://pdm.example/app?a=1 b=\"two\" 'three';touch " + PathOf("PWNED") +
               "&x=$HOME`id`|cat>" + PathOf("PWNED2");
    }

    std::vector<std::pair<std::string, std::string>> m_saved;
    // The installed manager stays installed after the test, so it outlives every test.
    static MessageRecorder& Recorder()
    {
        static MessageRecorder recorder;
        return recorder;
    }
    MessageRecorder& m_messages = Recorder();
};

} // namespace

TEST_F(Browser, DefaultBrowserModeStartsXdgOpenWithTheUrlAsOneArgument)
{
    WriteRecorder("xdg-open");
    UseClientSettings("windowsbrowsermode=DefaultBrowser\n");
    EXPECT_NE(CSEUtil::StartBrowser(CSEString(AwkwardUrl().c_str())), 0);
    EXPECT_EQ(Record(), "xdg-open\n1\n[" + AwkwardUrl() + "]\n");
    EXPECT_FALSE(Exists("PWNED"));
    EXPECT_FALSE(Exists("PWNED2"));
    EXPECT_TRUE(m_messages.m_calls.empty());
    EXPECT_TRUE(MainLogHas("[CSEIntegrationAgent::LaunchBrowser] Lookup in registry returned value : "
                           "xdg-open\n"));
    EXPECT_TRUE(MainLogHas("[CSEIntegrationAgent::LaunchBrowser] Creating a process by issuing the "
                           "command : xdg-open "));
}

TEST_F(Browser, BrowserVariableNamesTheProgramOfTheDesktopModes)
{
    setenv("BROWSER", WriteRecorder("my-browser").c_str(), 1);
    UseClientSettings("windowsbrowsermode=HTMLApplication\n");
    EXPECT_NE(CSEUtil::StartBrowser(u"http://pdm.example/a b"), 0);
    EXPECT_EQ(Record(), "my-browser\n1\n[http://pdm.example/a b]\n");
    EXPECT_TRUE(MainLogHas("[CSEIntegrationAgent::LaunchBrowser] Bringing up the IE browser with the "
                           "URL : http://pdm.example/a b"));
}

TEST_F(Browser, UnrecognisedModeFallsBackToTheCustomBrowserOrTheDesktopOne)
{
    WriteRecorder("xdg-open");
    EXPECT_NE(CSEUtil::StartBrowser(u"http://pdm.example/"), 0);
    EXPECT_EQ(Record(), "xdg-open\n1\n[http://pdm.example/]\n");
    EXPECT_EQ(CSEUtil::LaunchAppAssocWithHTMLBrowser(u""), 0);

    dvk::DeleteFile(PathOf("record.txt"));
    setenv("DEFAULT_BROWSER_PATH", WriteRecorder("custom browser").c_str(), 1);
    UseClientSettings("windowsbrowsermode=defaultbrowser\n");
    EXPECT_NE(CSEUtil::StartBrowser(CSEString(AwkwardUrl().c_str())), 0);
    EXPECT_EQ(Record(), "custom browser\n1\n[" + AwkwardUrl() + "]\n");
}

TEST_F(Browser, FailedStartsShowTheirMessageAndLog)
{
    setenv("PATH", PathOf("bin").c_str(), 1);
    setenv("DEFAULT_BROWSER_PATH", PathOf("bin/missing-browser").c_str(), 1);
    EXPECT_EQ(CSEUtil::StartBrowser(u"http://pdm.example/"), 0);
    EXPECT_EQ(CSEUtil::LaunchDefaultBrowser(u"http://pdm.example/"), 0);  // no xdg-open in bin
    EXPECT_EQ(m_messages.m_calls,
              (std::vector<std::string>{
                  "show:Failed to create process for the browser. |MSG_MSGBOXTITLE|3",
                  "show:Failed to create process for the default browser. |MSG_MSGBOXTITLE|3"}));
    EXPECT_TRUE(MainLogHas("[CSEIntegrationAgent::LaunchBrowser] Failed to bring up the browser!"));

    // An address that looks like an option is never handed to the browser.
    setenv("PATH", (PathOf("bin") + ":/usr/bin:/bin").c_str(), 1);
    WriteRecorder("xdg-open");
    EXPECT_EQ(CSEUtil::LaunchDefaultBrowser(u"--new-window"), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(Exists("record.txt"));
}

TEST_F(Browser, WindowIsRaisedWithWmctrlByItsConfiguredName)
{
    WriteRecorder("wmctrl");
    EXPECT_FALSE(CSEUtil::BringBrowserWindowToFront());
    EXPECT_EQ(MainLogPriorityOf("[CSEUtil::BringBrowserWindowToFront] m_sBrowserWindow INI key is "
                                "either empty or is missing in the INI file. Hence browser window "
                                "is not being brought to front"),
              3);
    UseClientSettings("BrowserWindowName=PDM - Web Client\n");
    EXPECT_TRUE(CSEUtil::BringBrowserWindowToFront());
    EXPECT_EQ(Record(), "wmctrl\n2\n[-a]\n[PDM - Web Client]\n");

    dvk::DeleteFile(PathOf("record.txt"));
    dvk::DeleteFile(PathOf("bin/wmctrl"));
    setenv("PATH", PathOf("bin").c_str(), 1);
    EXPECT_FALSE(CSEUtil::BringBrowserWindowToFront());
    EXPECT_TRUE(MainLogHas("[CSEUtil::BringBrowserWindowToFront] wmctrl is not installed"));
    EXPECT_FALSE(Exists("record.txt"));
}
