// Tests for CSECommand: envelopes, flags, dump names, the ownership of the request packet and the
// response between copies, and the exchange through the integration agent with an in-test service;
// and the query of CSELqlCmd.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <string>
#include <vector>

#include "CSECommand.h"
#include "CSELogoutCmd.h"
#include "CSELqlCmd.h"
#include "CSEResponse.h"
#include "CSEXMLPacket.h"
#include "common/CommandProbe.h"
#include "common/ServiceFixture.h"
#include "common/ServicePeer.h"
#include "host/DVKFiles.h"

namespace {

typedef Probe<CSECommand> ProbeCommand;

// A command whose header is a response envelope.
class ResponseShapedCommand : public ProbeCommand
{
protected:
    void CreateCmdHeader() override { CreateResponseHeader(); }
};

// Counts its destructions, to see who deletes a shared response and when.
class CountedResponse : public CSEResponse
{
public:
    explicit CountedResponse(int& deletions) : m_deletions(deletions) {}
    ~CountedResponse() override { ++m_deletions; }

private:
    int& m_deletions;
};

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

class CommandBase : public ServiceFixture
{
protected:
    // The dump files of the request (0) or the response (1), in name order.
    std::vector<std::string> Dumps(int kind) const
    {
        std::vector<std::string> names;
        std::vector<std::string> kept;
        dvk::ListDirectory(PathOf("XmlDump"), names);
        for (const std::string& name : names) {
            if (Contains(name, kind == 0 ? "_QxRequest" : "_Response"))
                kept.push_back(name);
        }
        return kept;
    }

    // A service with the script and the agent connected to it.
    void Connect(ServicePeer::Script script, const std::string& respondedFile = "Response.xml")
    {
        m_service.reset(new ServicePeer(std::move(script), respondedFile));
        PublishPort(m_service->Port());
        ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    }

    void TearDown() override
    {
        m_service.reset();
        ServiceFixture::TearDown();
    }

    std::unique_ptr<ServicePeer> m_service;
};

// ---- Envelopes ----

TEST_F(CommandBase, FlagsNameResultAndFailureReachTheEnvelope)
{
    ProbeCommand command;
    command.SetCmdName(CSEString(u"checkout"));
    command.SetFocusBrowser(true);
    command.CreateCmdHeader();
    EXPECT_EQ(Attribute(command.Packet(), u"/command", u"focusbrowser"), "true");
    command.SetCmdName(CSEString(u"find"));
    EXPECT_EQ(Attribute(command.Packet(), u"/command", u"cname"), "find");
    command.SetUserExitEnabled(false);
    EXPECT_EQ(Attribute(command.Packet(), u"/command", u"prefiletrans"), "false");
    command.CreateFailureHeader(CSEString(u"no licence"));
    command.CreateFailureHeader(CSEString(u"second")); // starts again from a bare header
    EXPECT_EQ(command.Packet()->getNodeCount(CSEString(u"//command/info/reason")), 1);
    EXPECT_EQ(NodeValue(command.Packet(), u"//command/info/reason"), "second");
    EXPECT_EQ(Attribute(command.Packet(), u"/command", u"result"), "");

    command.CreateResponseHeader();
    EXPECT_EQ(Attribute(command.Packet(), u"/response", u"result"), "success");
    EXPECT_EQ(Attribute(command.Packet(), u"/response", u"cname"), "find");
    command.SetResult(CSEString(u"failure"));
    EXPECT_EQ(Attribute(command.Packet(), u"/response", u"result"), "failure");

    ResponseShapedCommand shaped;
    shaped.SetCmdName(CSEString(u"lock"));
    shaped.CreateFailureHeader(CSEString(u"no licence"));
    EXPECT_EQ(Attribute(shaped.Packet(), u"/response", u"result"), "failure");
    EXPECT_EQ(shaped.Packet()->getNodeCount(CSEString(u"//info")), 0);
}

// ---- Service commands ----

TEST_F(CommandBase, LqlCommandCarriesItsQuery)
{
    Probe<CSELqlCmd> lql;
    EXPECT_EQ(Utf8(lql.GetCmdName()), "lql");
    EXPECT_EQ(Attribute(lql.Packet(), u"/command", u"cname"), "lql");
    EXPECT_EQ(lql.Packet()->getNodeCount(CSEString(u"/command/lql")), 1);
    EXPECT_EQ(NodeValue(lql.Packet(), u"/command/lql"), "");
    lql.setLQLCommand(CSEString(u"exec prog CorvaneHelpAbout.tcl;"));
    lql.setLQLCommand(CSEString(u" <more> & 'more'"));
    EXPECT_EQ(NodeValue(lql.Packet(), u"/command/lql"), "exec prog CorvaneHelpAbout.tcl; <more> & 'more'");
}

// ---- Dump names ----

// The numbering within one second is checked with real exchanges below.
TEST_F(CommandBase, DumpNamesCarryTimeKindAndBatchAndStayInTheDumpFolder)
{
    UseSettings(Settings(true));
    ProbeCommand command;
    command.SetCmdName(CSEString(u"checkin"));
    EXPECT_TRUE(dvk::IsDirectory(PathOf("XmlDump")));
    const std::string folder = PathOf("XmlDump") + "/";
    const std::string name = Utf8(command.CreateXMLDumpFileName(0));
    ASSERT_EQ(name.compare(0, folder.size(), folder), 0) << name;
    EXPECT_EQ(name.substr(folder.size() + 19), "_checkin_QxRequest0.xml");
    // yyyy-mm-dd_hh.mm.ss with two digits each below the year.
    const std::string stamp = name.substr(folder.size(), 19);
    const std::string shape = "dddd-dd-dd_dd.dd.dd";
    for (std::size_t i = 0; i < shape.size(); ++i)
        EXPECT_TRUE(shape[i] == 'd' ? std::isdigit(static_cast<unsigned char>(stamp[i])) != 0 : stamp[i] == shape[i])
            << stamp;
    EXPECT_TRUE(EndsWith(Utf8(command.CreateXMLDumpFileName(1)), "_checkin_Response0.xml"));
    CSEString batch(u"7");
    command.SetBulkLoaderBatchNumForXMLDump(batch);
    EXPECT_TRUE(EndsWith(Utf8(command.CreateXMLDumpFileName(0)), "_checkin_QxRequest70.xml"));
    EXPECT_EQ(Utf8(command.CreateXMLDumpFileName(2)), "");

    command.SetCmdName(CSEString(u"../../etc/evil\\x"));
    const std::string evil = Utf8(command.CreateXMLDumpFileName(0));
    ASSERT_EQ(evil.compare(0, folder.size(), folder), 0) << evil;
    EXPECT_EQ(evil.find('/', folder.size()), std::string::npos) << evil;
    EXPECT_EQ(evil.find('\\'), std::string::npos) << evil;

    UseSettings(Settings(false));
    ProbeCommand quiet;
    EXPECT_EQ(Utf8(quiet.CreateXMLDumpFileName(0)), "");
    EXPECT_EQ(Utf8(quiet.CreateXMLDumpFileName(1)), "");
}

// ---- Ownership of the packet and the response ----

TEST_F(CommandBase, CopiesShareAndTheLastHolderDeletes)
{
    int deletions = 0;
    ProbeCommand* source = new ProbeCommand();
    source->SetCmdName(CSEString(u"logout"));
    source->CreateCmdHeader();
    source->SetResponseObject(new CountedResponse(deletions));
    CSEResponse* const response = source->GetResponseObject();
    {
        ProbeCommand copy(*source);
        ProbeCommand copyOfCopy(copy);
        EXPECT_EQ(copy.GetResponseObject(), response);
        EXPECT_EQ(copyOfCopy.Packet(), source->Packet());
        delete source;
        EXPECT_EQ(deletions, 0);
        EXPECT_EQ(Utf8(copyOfCopy.GetCmdName()), "logout");
        EXPECT_EQ(Attribute(copyOfCopy.Packet(), u"/command", u"cname"), "logout");
    }
    EXPECT_EQ(deletions, 1);
}

TEST_F(CommandBase, AssignmentReleasesTheTargetsOwnObjectsFirst)
{
    int sourceDeletions = 0;
    int targetDeletions = 0;
    ProbeCommand* source = new ProbeCommand();
    source->SetResponseObject(new CountedResponse(sourceDeletions));
    source->SetCmdName(CSEString(u"lock"));
    source->CreateCmdHeader();
    ProbeCommand target;
    target.SetResponseObject(new CountedResponse(targetDeletions));

    target = *source;
    EXPECT_EQ(targetDeletions, 1);
    EXPECT_EQ(target.GetResponseObject(), source->GetResponseObject());
    ProbeCommand& alias = target;
    target = alias;
    target = *source;
    delete source;
    EXPECT_EQ(sourceDeletions, 0);
    EXPECT_EQ(Attribute(target.Packet(), u"/command", u"cname"), "lock");
    target = ProbeCommand();
    EXPECT_EQ(sourceDeletions, 1);
}

TEST_F(CommandBase, ReplacingTheResponseOrThePacket)
{
    int oldDeletions = 0;
    int newDeletions = 0;
    ProbeCommand command;
    command.SetResponseObject(new CountedResponse(oldDeletions));
    CSEResponse* const old = command.GetResponseObject();
    command.SetResponseObject(nullptr);
    command.SetResponseObject(old);
    EXPECT_EQ(command.GetResponseObject(), old);
    {
        ProbeCommand sharer(command);
        command.SetResponseObject(new CountedResponse(newDeletions));
        EXPECT_EQ(oldDeletions, 0); // still held by the copy
    }
    EXPECT_EQ(oldDeletions, 1);
    // A derived command that assigns the pointer itself does not leak the one it replaced.
    int directDeletions = 0;
    command.AssignResponseDirectly(new CountedResponse(directDeletions));
    ProbeCommand copy(command);
    EXPECT_EQ(newDeletions, 1);
    EXPECT_EQ(directDeletions, 0);

    CSEXMLPacket* const shared = command.Packet();
    command.ReplaceCmdXMLPacket(CSEXMLPacket::GetXMLPacketPtr(-1));
    EXPECT_EQ(copy.Packet(), shared);
    copy.SetCmdName(CSEString(u"still"));
    copy.CreateCmdHeader();
    EXPECT_EQ(Attribute(copy.Packet(), u"/command", u"cname"), "still");
    command.ReplaceCmdXMLPacket(nullptr);
    command.SetCmdName(CSEString(u"nothing"));
    command.SetUserExitEnabled(true);
    command.SetResult(CSEString(u"failure"));
    command.CreateFailureHeader(CSEString(u"no packet"));
    EXPECT_EQ(Utf8(command.GetCmdName()), "nothing");
}

// ---- The exchange ----

TEST_F(CommandBase, RequestTravelsWithoutIdentifiersAndTheResponseIsRead)
{
    Connect(ServicePeer::Answer("success", "<reason>all fine</reason>"));
    CSELqlCmd lql;
    lql.setLQLCommand(CSEString(u"exec prog CorvaneHelpAbout.tcl;"));
    CSEString thin;
    ASSERT_EQ(lql.Execute(thin), 0);
    EXPECT_TRUE(Contains(Utf8(thin), "filename='Response.xml'")) << Utf8(thin);
    EXPECT_EQ(Utf8(lql.GetResponseObject()->GetResult()), "success");
    EXPECT_EQ(Utf8(lql.GetResponseObject()->GetReason()), "all fine");
    const std::vector<std::string> requests = m_service->Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_TRUE(Contains(requests[0], "exec prog CorvaneHelpAbout.tcl;")) << requests[0];
    EXPECT_TRUE(Contains(requests[0], "cname=\"lql\"")) << requests[0];
    EXPECT_FALSE(Contains(requests[0], "iGSSLID")) << requests[0];
    EXPECT_TRUE(Logged(kPerformanceLog, 2, "lql : SEND/RECIEVE XML: START"));
    EXPECT_TRUE(Logged(kPerformanceLog, 2, "lql : SEND/RECIEVE XML: END"));
    EXPECT_TRUE(m_msgMgr->boxes.empty());
    EXPECT_FALSE(Exists("XmlDump"));
}

TEST_F(CommandBase, DumpsAreMaskedOwnerOnlyAndNumberedWithinASecond)
{
    const std::string secret = "Zebra-7734-secret";
    UseSettings(Settings(true));
    Connect(ServicePeer::Answer("success", ""));
    Probe<CSELogoutCmd> command(CSEString(u"loginEx"));
    command.Packet()->createProperty(CSEString(u"//command"), CSEString(u"password"), CSEString(secret.c_str()));
    CSEString thin;
    // Two executions across a change of second get different stamps; try again then.
    for (int attempt = 0; attempt < 5; ++attempt) {
        dvk::DeleteTree(PathOf("XmlDump"));
        dvk::CreateDirectories(PathOf("XmlDump"));
        ASSERT_EQ(command.Execute(thin), 0);
        ASSERT_EQ(command.Execute(thin), 0);
        const std::vector<std::string> requests = Dumps(0);
        if (requests.size() == 2 && requests[0].substr(0, 19) == requests[1].substr(0, 19))
            break;
    }
    std::vector<std::string> names = Dumps(0);
    const std::vector<std::string> responses = Dumps(1);
    names.insert(names.end(), responses.begin(), responses.end());
    ASSERT_EQ(names.size(), 4u);
    const char* tails[] = {"_loginEx_QxRequest0.xml", "_loginEx_QxRequest1.xml", "_loginEx_Response0.xml",
                           "_loginEx_Response1.xml"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(names[i].substr(19), tails[i]);
        EXPECT_EQ(PermissionsOf(PathOf("XmlDump/" + names[i])), 0600) << names[i];
    }
    const std::string requestDump = ReadFile("XmlDump/" + names[0]);
    EXPECT_TRUE(Contains(requestDump, "password=\"*****\"")) << requestDump;
    EXPECT_FALSE(Contains(requestDump, secret)) << requestDump;
    EXPECT_TRUE(Contains(ReadFile("XmlDump/" + names[2]), "result='success'"));
    // The service gets the password; no log line does.
    ASSERT_FALSE(m_service->Requests().empty());
    EXPECT_TRUE(Contains(m_service->Requests()[0], secret));
    for (const char* log : {kMainLog, kPerformanceLog})
        EXPECT_FALSE(Contains(ReadFile(log), secret)) << log;
}

// Without a service, or when it hangs up before it answers, the user is told; nothing is dumped.
TEST_F(CommandBase, NoAnswerMeansNotConnected)
{
    UseSettings(Settings(true));
    for (const bool serviceRuns : {false, true}) {
        if (serviceRuns)
            Connect([](const std::string&) { return std::string(); });
        m_msgMgr->boxes.clear();
        CSELogoutCmd logout;
        CSEString thin;
        EXPECT_EQ(logout.Execute(thin), 1);
        ASSERT_EQ(m_msgMgr->boxes.size(), 1u);
        EXPECT_EQ(m_msgMgr->boxes[0].message, "text of MSG_NOT_CONNECTED");
        EXPECT_EQ(m_msgMgr->boxes[0].title, "MSG_MSGBOXTITLE");
        EXPECT_EQ(m_msgMgr->boxes[0].type, 3);
        EXPECT_TRUE(Dumps(1).empty());
        EXPECT_EQ(Agent().GetConnectionStatus(), CSEIntegrationAgent::NotConnected);
    }
    EXPECT_EQ(m_service->Requests().size(), 1u);
    EXPECT_TRUE(Logged(kPerformanceLog, 2, "logout : SEND/RECIEVE XML: END"));
}

// A command that the host starts during its interface turn finds the connection busy, not gone.
TEST_F(CommandBase, CommandStartedWhileAnotherAwaitsItsResponseIsRefusedWithoutTheNotConnectedBox)
{
    Connect([](const std::string& request) {
        loopback::Pause(600); // past the first interface turn
        return ServicePeer::Response(ServicePeer::AttributeOf(request, "cname"), "success", "");
    });
    int nested = -1;
    m_application.onTurn = [&] {
        if (nested != -1)
            return;
        CSELogoutCmd logout;
        CSEString text;
        nested = logout.Execute(text);
    };
    CSELqlCmd lql;
    lql.setLQLCommand(CSEString(u"exec prog CorvaneHelpAbout.tcl;"));
    CSEString thin;
    EXPECT_EQ(lql.Execute(thin), 0);
    EXPECT_EQ(nested, 1);
    EXPECT_TRUE(m_msgMgr->boxes.empty());
    EXPECT_EQ(Agent().GetConnectionStatus(), CSEIntegrationAgent::Connected);
    EXPECT_EQ(m_service->Requests().size(), 1u);
    const std::vector<std::string> errors = LogTexts(kMainLog, 3);
    EXPECT_TRUE(std::any_of(errors.begin(), errors.end(), [](const std::string& line) { return Contains(line, "logout"); }));
}

TEST_F(CommandBase, ResponseFileThatCannotBeLoadedFailsTheCommand)
{
    Connect(ServicePeer::Answer("success", ""), "Gone.xml");
    CSELogoutCmd logout;
    CSEString thin;
    EXPECT_EQ(logout.Execute(thin), 1);
    EXPECT_EQ(Utf8(logout.GetResponseObject()->GetResult()), "");
    EXPECT_TRUE(m_msgMgr->boxes.empty());
    EXPECT_TRUE(Logged(kMainLog, 3, "[CSEResponse::ParseResponse] The response file could not be loaded: " +
                                        PathOf("Gone.xml")));
}

TEST_F(CommandBase, CommandWithoutPacketSendsNothing)
{
    Connect(ServicePeer::Answer("success", ""));
    Probe<CSELogoutCmd> logout;
    logout.ReplaceCmdXMLPacket(nullptr);
    CSEString thin;
    EXPECT_EQ(logout.Execute(thin), 1);
    EXPECT_TRUE(m_service->Requests().empty());
    EXPECT_TRUE(m_msgMgr->boxes.empty());
}
