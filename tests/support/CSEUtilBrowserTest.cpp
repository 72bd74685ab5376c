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
    }
    void TearDown() override
    {
        for (const auto& saved : m_saved)
            saved.second.empty() ? unsetenv(saved.first.c_str())
                                 : setenv(saved.first.c_str(), saved.second.c_str(), 1);
        InstallFolderFixture::TearDown();
    }

    // A program that writes its name, argument count and each argument in brackets to record.txt.
    std::string WriteRecorder(const std::string& name)
    {
        const std::string path = PathOf("bin/" + name);
        std::ofstream(path) << "#!/bin/sh\nout=\"${0%/*}/../record.txt\"\n"
                               "{ printf '%s\\n' \"${0##*/}\" \"$#\"\n"
                               "for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done; } > \"$out.tmp\"\n"
                               "/bin/mv \"$out.tmp\" \"$out\"\n";
        chmod(path.c_str(), 0755);
        return path;
    }

    // The record of the started program, waited for up to ten seconds, then removed.
    std::string TakeRecord()
    {
        for (int i = 0; i < 1000 && !Exists("record.txt"); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const std::string record = ReadFile("record.txt");
        dvk::DeleteFile(PathOf("record.txt"));
        return record;
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

TEST_F(Browser, EachModeStartsItsProgramWithTheUrlAsOneArgumentAndNoShell)
{
    // Blanks, quotes and shell syntax that would create a file if a shell ever saw the address.
    const std::string url = "http://pdm.example/app?a=1 b=\"two\" 'three';touch " + PathOf("PWNED") +
                            "&x=$HOME`id`|cat>" + PathOf("PWNED2");
    WriteRecorder("xdg-open");
    const std::string custom = WriteRecorder("custom browser");
    const struct
    {
        const char* settings;
        bool customBrowser;
        const char* browserVariable;
        std::string program;
    } cases[] = {
        {"windowsbrowsermode=DefaultBrowser\n", true, nullptr, "xdg-open"},
        {"windowsbrowsermode=HTMLApplication\n", true, "my-browser", "my-browser"},
        {"", false, nullptr, "xdg-open"},
        {"windowsbrowsermode=defaultbrowser\n", true, nullptr, "custom browser"},
    };
    for (const auto& c : cases) {
        UseClientSettings(c.settings);
        setenv("DEFAULT_BROWSER_PATH", c.customBrowser ? custom.c_str() : "", 1);
        setenv("BROWSER", c.browserVariable ? WriteRecorder(c.browserVariable).c_str() : "", 1);
        EXPECT_NE(CSEUtil::StartBrowser(CSEString(url.c_str())), 0) << c.settings;
        EXPECT_EQ(TakeRecord(), c.program + "\n1\n[" + url + "]\n") << c.settings;
    }
    EXPECT_FALSE(Exists("PWNED") || Exists("PWNED2"));
    EXPECT_TRUE(m_messages.m_calls.empty());
    const std::string logged = "[CSEIntegrationAgent::LaunchBrowser] ";
    EXPECT_TRUE(MainLogHas(logged + "Lookup in registry returned value : xdg-open\n"));
    EXPECT_TRUE(MainLogHas(logged + "Bringing up the IE browser with the URL : " + url));
    EXPECT_EQ(CSEUtil::LaunchAppAssocWithHTMLBrowser(u""), 0);
}

TEST_F(Browser, FailedStartsShowTheirMessageAndLog)
{
    setenv("PATH", PathOf("bin").c_str(), 1);
    setenv("DEFAULT_BROWSER_PATH", PathOf("bin/missing-browser").c_str(), 1);
    EXPECT_EQ(CSEUtil::StartBrowser(u"http://pdm.example/"), 0);
    EXPECT_EQ(CSEUtil::LaunchDefaultBrowser(u"http://pdm.example/"), 0); // no xdg-open in bin
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
    EXPECT_EQ(TakeRecord(), "wmctrl\n2\n[-a]\n[PDM - Web Client]\n");

    dvk::DeleteFile(PathOf("bin/wmctrl"));
    setenv("PATH", PathOf("bin").c_str(), 1);
    EXPECT_FALSE(CSEUtil::BringBrowserWindowToFront()) << "wmctrl is not installed";
    EXPECT_FALSE(Exists("record.txt"));
}
