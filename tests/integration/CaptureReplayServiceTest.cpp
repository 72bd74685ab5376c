// A short working run recorded against the reference integration service, then replayed with the
// service stopped: the numbered files come in the order of the calls, the replay gives the same
// results without a socket, and the recorded run holds the user's password nowhere.
#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "CSEIntegrationAgent.h"
#include "CSEServerSettings.h"
#include "CSEUtil.h"
#include "capture/CaptureMode.h"
#include "common/ServiceFixture.h"
#include "host/DVKFiles.h"
#include "host/DVKXmlDocument.h"
#include "integration/OktServiceProcess.h"

namespace {

const char kPassword[] = "Quokka'7734\"&";

// Connect, login, loginEx with a password, ping, browser start, disconnect: what each gave.
std::string RunSession()
{
    CSEIntegrationAgent& agent = CSEIntegrationAgent::GetIntegrationAgent();
    std::string results = "connect=" + std::to_string(agent.Connect());
    results += " login=" + std::to_string(agent.Login());
    results += " framework=" + Utf8(CSEUtil::GetServerVersionsString(u"framework"));
    results += " checkoutdir=" + (agent.GetServerSettingsPtr() != nullptr ? Utf8(agent.GetServerSettingsPtr()->GetCheckoutDir()) : "");
    results += " loginEx=" + LogInAs(u"designer", kPassword);
    results += " ping=" + std::to_string(agent.PingServer());
    results += " browser=" + std::to_string(agent.StartBrowser());
    agent.Disconnect();
    return results + " end=" + std::to_string(agent.GetConnectionStatus());
}

// The numbered files of a run of these calls; "exchange" stands for one send and its receive.
std::vector<std::string> NumberedFiles(const std::vector<std::string>& calls)
{
    std::vector<std::string> files;
    int number = 0;
    const auto next = [&number] {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%06d", ++number);
        return std::string(digits);
    };
    const auto arguments = [&](const std::string& call) {
        const std::string n = next();
        files.push_back(n + call + "_InputArgument.xml");
        files.push_back(n + call + "_OutputArgument.xml");
    };
    for (const std::string& call : calls) {
        if (call != "exchange") {
            arguments(call);
            continue;
        }
        arguments("SendCSEString");
        files.push_back(next() + "RequestFileXML_Capture.xml");
        arguments("ReceiveCSEString");
        files.push_back(next() + "ResponseFileXML_Capture.xml");
        files.push_back(next() + "ReceiveCSEString_Checkout_Directory");
    }
    return files;
}

class CaptureReplay : public ServiceFixture
{
protected:
    void SetUp() override
    {
        ServiceFixture::SetUp();
        m_run = PathOf("run");
        m_checkout = PathOf("checkout");
        ASSERT_TRUE(dvk::CreateDirectories(m_run));
        ASSERT_TRUE(dvk::CreateDirectories(m_checkout));
        ASSERT_TRUE(dvk::WriteWholeFile(m_checkout + "/part.prt", "geometry"));
    }

    void TearDown() override
    {
        m_service.Stop(SIGTERM);
        ServiceFixture::TearDown();
    }

    // Runs the session in a child process in the mode; its results land in summary-<mode>.txt.
    void RunInChild(const char* mode, const char* browser)
    {
        const auto session = [&] {
            EnterMode(mode, m_run, m_checkout);
            setenv("DEFAULT_BROWSER_PATH", browser, 1);
            const std::string results = RunSession();
            return dvk::WriteWholeFile(PathOf(std::string("summary-") + mode + ".txt"), results);
        };
        EXPECT_EXIT(std::exit(session() ? 0 : 1), ::testing::ExitedWithCode(0), "") << mode;
    }

    // Every file of the recorded run and every log that holds the text.
    std::vector<std::string> FilesHolding(const std::string& text) const
    {
        std::vector<std::string> names, logs, holding;
        dvk::ListDirectory(m_run, names);
        for (std::string& name : names)
            name = "run/" + name;
        dvk::ListDirectory(m_folder, logs);
        for (const std::string& name : logs)
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".log") == 0)
                names.push_back(name);
        for (const std::string& name : names) {
            std::string bytes;
            if (dvk::ReadWholeFile(PathOf(name), bytes) && Contains(bytes, text))
                holding.push_back(name);
        }
        return holding;
    }

    OktServiceProcess m_service;
    std::string m_run;
    std::string m_checkout;
};

} // namespace

TEST_F(CaptureReplay, RecordedRunReplaysWithoutTheServiceAndHoldsNoPassword)
{
    ASSERT_TRUE(m_service.Start(m_profile, PathOf("okt-service.log"))) << m_service.Error();
    RunInChild("capture", "/bin/true");
    const std::string captured = ReadFile("summary-capture.txt");
    ASSERT_NE(captured.find("connect=1 login=2"), std::string::npos) << captured;
    EXPECT_NE(captured.find("loginEx=success ping=2 browser=1 end=0"), std::string::npos) << captured;

    // login, its version query, loginEx and ping are one exchange each.
    std::vector<std::string> files;
    dvk::ListDirectory(m_run, files);
    EXPECT_EQ(files, NumberedFiles({"ReadSocketPortFromFile", "GetHostIPAddress", "CreateSocketActual", "exchange",
                                    "exchange", "exchange", "exchange", "StartBrowser", "CloseSocket"}));
    EXPECT_TRUE(dvk::PathExists(m_run + "/000018ReceiveCSEString_Checkout_Directory/part.prt"));
    dvk::XmlDocument loginExRequest;
    ASSERT_TRUE(loginExRequest.LoadFile(DVKUnicodeString((m_run + "/000015RequestFileXML_Capture.xml").c_str()).Text()));
    EXPECT_EQ(loginExRequest.DocumentElement().GetAttribute(u"cname"), u"loginEx");
    EXPECT_EQ(loginExRequest.DocumentElement().GetAttribute(u"password"), u"*****");
    EXPECT_EQ(FilesHolding("Quokka"), std::vector<std::string>());

    // No service, no port file, no response file, no checkout folder: the recording answers alone.
    m_service.Stop(SIGTERM);
    dvk::DeleteFile(m_profile + "/okt.port");
    dvk::DeleteFile(PathOf("Response.xml"));
    dvk::DeleteTree(m_checkout);
    RunInChild("replay", "/nonexistent/browser");
    EXPECT_EQ(ReadFile("summary-replay.txt"), captured);
    EXPECT_TRUE(dvk::PathExists(m_checkout + "/part.prt"));
    // The replayed port file read reads no file: only the capture logged the file read's end.
    const std::vector<std::string> debug = LogTexts(kMainLog, 6);
    EXPECT_EQ(std::count(debug.begin(), debug.end(), "[CSEIntegrationAgent::ReadSocketPortFromFile] Exiting function"), 1);
    EXPECT_TRUE(Logged("QxDravikV5MOCK.log", 6, "Replaying --> SendCSEString (XML sent to OKT)"));
    EXPECT_TRUE(Logged("QxDravikV5MOCK.log", 6, "Capturing --> ReceiveCSEString (XML recieved from OKT)"));
    EXPECT_EQ(FilesHolding("Quokka"), std::vector<std::string>());

    // A replay that makes one call more than the capture, and a capture into a used folder, stop.
    EXPECT_DEATH(
        {
            EnterMode("replay", m_run, m_checkout);
            RunSession();
            CSEIntegrationAgent::GetIntegrationAgent().Connect();
        },
        "AssertionFailed:SUCCEEDED\\(TST_XMLServices::GetCaptureArgumentsFileNames\\(DVKUnicodeString\\("
        "\"ReadSocketPortFromFile\"\\)");
    EXPECT_DEATH(
        {
            EnterMode("capture", m_run, m_checkout);
            CSEIntegrationAgent::GetIntegrationAgent().Connect();
        },
        "GetCaptureArgumentsFileNames");
    EXPECT_NE(ReadFile("QxDravikV5MOCK.log").find("000026ReadSocketPortFromFile_InputArgument.xml not found"), std::string::npos);
}
