// Tests for CSECommand::Execute end to end: a command travels through the integration agent to a
// fake integration service on the loopback interface and its response is read back.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "CSEIntegrationAgent.h"
#include "CSELogoutCmd.h"
#include "CSELqlCmd.h"
#include "CSEResponse.h"
#include "CSEXMLPacket.h"
#include "commands/CommandFixture.h"
#include "commands/FakeOktService.h"
#include "host/DVKFiles.h"

namespace {

const char kSecret[] = "Zebra-7734-secret";

// A request dump and a response dump per execution, grouped by the name's time stamp.
struct DumpFolder
{
    std::vector<std::string> requests;
    std::vector<std::string> responses;
};

} // namespace

class CommandExchange : public CommandFixture
{
protected:
    void SetUp() override
    {
        CommandFixture::SetUp();
        char pattern[] = "/tmp/qorvi-profile-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_profile = pattern;
        const char* home = std::getenv("HOME");
        m_savedHome = home != nullptr ? home : "";
        setenv("USERPROFILE", m_profile.c_str(), 1);
        setenv("HOME", m_profile.c_str(), 1);
    }

    void TearDown() override
    {
        CSEIntegrationAgent::GetIntegrationAgent().Disconnect();
        m_service.reset();
        unsetenv("USERPROFILE");
        setenv("HOME", m_savedHome.c_str(), 1);
        dvk::DeleteTree(m_profile);
        CommandFixture::TearDown();
    }

    // Starts the service with the script and connects the agent to it.
    void Connect(FakeOktService::Script script, const std::string& responseFileName = "Response.xml")
    {
        m_service.reset(new FakeOktService(m_folder, std::move(script)));
        m_service->m_responseFileName = responseFileName;
        ASSERT_TRUE(m_service->Start(m_profile));
        ASSERT_EQ(CSEIntegrationAgent::GetIntegrationAgent().Connect(),
                  CSEIntegrationAgent::Connected);
    }

    static FakeOktService::Script Answer(const std::string& cname, const std::string& result,
                                         const std::string& reason)
    {
        return [=](const std::string&) { return FakeOktService::Envelope(cname, result, reason); };
    }

    DumpFolder Dumps() const
    {
        DumpFolder dumps;
        std::vector<std::string> names;
        dvk::ListDirectory(PathOf("XmlDump"), names);
        for (const std::string& name : names) {
            if (name.find("_QxRequest") != std::string::npos)
                dumps.requests.push_back(name);
            else if (name.find("_Response") != std::string::npos)
                dumps.responses.push_back(name);
        }
        return dumps;
    }

    std::string m_profile;
    std::string m_savedHome;
    std::unique_ptr<FakeOktService> m_service;
};

TEST_F(CommandExchange, RequestTravelsWithoutIdentifiersAndTheResponseIsRead)
{
    UseSettings(false);
    Connect(Answer("lql", "success", "all fine"));
    CSELqlCmd lql;
    lql.setLQLCommand(CSEString(u"exec prog CorvaneHelpAbout.tcl;"));
    CSEString thin;

    ASSERT_EQ(lql.Execute(thin), 0);

    EXPECT_NE(Utf8(thin).find("filename='Response.xml'"), std::string::npos) << Utf8(thin);
    EXPECT_EQ(Utf8(lql.GetResponseObject()->GetResult()), "success");
    EXPECT_EQ(Utf8(lql.GetResponseObject()->GetReason()), "all fine");
    const std::vector<std::string> requests = m_service->Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_NE(requests[0].find("exec prog CorvaneHelpAbout.tcl;"), std::string::npos) << requests[0];
    EXPECT_NE(requests[0].find("cname=\"lql\""), std::string::npos) << requests[0];
    EXPECT_EQ(requests[0].find("iGSSLID"), std::string::npos) << requests[0];
    EXPECT_TRUE(Logged(kPerformanceLog, 2, "lql : SEND/RECIEVE XML: START"));
    EXPECT_TRUE(Logged(kPerformanceLog, 2, "lql : SEND/RECIEVE XML: END"));
    EXPECT_TRUE(m_msgMgr->m_boxes.empty());
    EXPECT_FALSE(Exists("XmlDump"));
}

TEST_F(CommandExchange, DumpsAreMaskedOwnerOnlyAndNumberedWithinASecond)
{
    UseSettings(true);
    Connect(Answer("loginEx", "success", ""));
    Probe<CSELogoutCmd> command(CSEString(u"loginEx"));
    command.Packet()->createProperty(CSEString(u"//command"), CSEString(u"password"),
                                     CSEString(kSecret));
    CSEString thin;

    // Two executions across a change of second get different stamps; try again then.
    DumpFolder dumps;
    for (int attempt = 0; attempt < 5; ++attempt) {
        dvk::DeleteTree(PathOf("XmlDump"));
        dvk::CreateDirectories(PathOf("XmlDump"));
        ASSERT_EQ(command.Execute(thin), 0);
        ASSERT_EQ(command.Execute(thin), 0);
        dumps = Dumps();
        if (dumps.requests.size() == 2 &&
            dumps.requests[0].substr(0, 19) == dumps.requests[1].substr(0, 19))
            break;
    }
    ASSERT_EQ(dumps.requests.size(), 2u);
    ASSERT_EQ(dumps.responses.size(), 2u);
    EXPECT_EQ(dumps.requests[0].substr(19), "_loginEx_QxRequest0.xml");
    EXPECT_EQ(dumps.requests[1].substr(19), "_loginEx_QxRequest1.xml");
    EXPECT_EQ(dumps.responses[0].substr(19), "_loginEx_Response0.xml");
    EXPECT_EQ(dumps.responses[1].substr(19), "_loginEx_Response1.xml");

    for (const std::vector<std::string>* names : {&dumps.requests, &dumps.responses}) {
        for (const std::string& name : *names) {
            struct stat info{};
            ASSERT_EQ(::stat(PathOf("XmlDump/" + name).c_str(), &info), 0);
            EXPECT_EQ(info.st_mode & 0777, 0600u) << name;
        }
    }
    const std::string requestDump = ReadFile("XmlDump/" + dumps.requests[0]);
    EXPECT_NE(requestDump.find("password=\"*****\""), std::string::npos) << requestDump;
    EXPECT_EQ(requestDump.find(kSecret), std::string::npos) << requestDump;
    EXPECT_NE(ReadFile("XmlDump/" + dumps.responses[0]).find("result='success'"), std::string::npos);

    // The service gets the password; no log line does.
    ASSERT_FALSE(m_service->Requests().empty());
    EXPECT_NE(m_service->Requests()[0].find(kSecret), std::string::npos);
    for (const char* log : {kMainLog, kPerformanceLog})
        EXPECT_EQ(ReadFile(log).find(kSecret), std::string::npos) << log;
}

TEST_F(CommandExchange, WithoutServiceTheUserIsToldAndNothingIsDumped)
{
    UseSettings(true);
    CSELogoutCmd logout;
    CSEString thin;

    EXPECT_EQ(logout.Execute(thin), 1);

    ASSERT_EQ(m_msgMgr->m_boxes.size(), 1u);
    EXPECT_EQ(m_msgMgr->m_boxes[0].message, "text of MSG_NOT_CONNECTED");
    EXPECT_EQ(m_msgMgr->m_boxes[0].title, "MSG_MSGBOXTITLE");
    EXPECT_EQ(m_msgMgr->m_boxes[0].type, 3);
    EXPECT_TRUE(Dumps().requests.empty());
    EXPECT_TRUE(Logged(kPerformanceLog, 2, "logout : SEND/RECIEVE XML: END"));
}

TEST_F(CommandExchange, ServiceHangingUpBeforeItAnswersIsNotConnected)
{
    UseSettings(false);
    Connect([](const std::string&) { return std::string(); });
    CSELogoutCmd logout;
    CSEString thin;

    EXPECT_EQ(logout.Execute(thin), 1);

    ASSERT_EQ(m_msgMgr->m_boxes.size(), 1u);
    EXPECT_EQ(m_msgMgr->m_boxes[0].message, "text of MSG_NOT_CONNECTED");
    EXPECT_EQ(m_service->Requests().size(), 1u);
    EXPECT_EQ(CSEIntegrationAgent::GetIntegrationAgent().GetConnectionStatus(),
              CSEIntegrationAgent::NotConnected);
}

TEST_F(CommandExchange, ResponseFileThatCannotBeLoadedFailsTheCommand)
{
    UseSettings(false);
    Connect(Answer("logout", "success", ""), "Gone.xml");
    CSELogoutCmd logout;
    CSEString thin;

    EXPECT_EQ(logout.Execute(thin), 1);

    EXPECT_EQ(Utf8(logout.GetResponseObject()->GetResult()), "");
    EXPECT_TRUE(m_msgMgr->m_boxes.empty());
    EXPECT_TRUE(Logged(kMainLog, 3,
                       "[CSEResponse::ParseResponse] The response file could not be loaded: " +
                           PathOf("Gone.xml")));
}

TEST_F(CommandExchange, CommandWithoutPacketSendsNothing)
{
    UseSettings(false);
    Connect(Answer("logout", "success", ""));
    Probe<CSELogoutCmd> logout;
    logout.ReplaceCmdXMLPacket(nullptr);
    CSEString thin;

    EXPECT_EQ(logout.Execute(thin), 1);

    EXPECT_TRUE(m_service->Requests().empty());
    EXPECT_TRUE(m_msgMgr->m_boxes.empty());
}
