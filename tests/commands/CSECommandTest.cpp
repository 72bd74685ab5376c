// Tests for CSECommand: envelopes, dump names, the ownership of the request packet and the response
// between copies, and the exchange through the integration agent with an in-test service.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <regex>
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

} // namespace

class CommandBase : public ServiceFixture
{
protected:
    std::vector<std::string> Dumps() const
    {
        std::vector<std::string> names; // in name order
        dvk::ListDirectory(PathOf("XmlDump"), names);
        return names;
    }

    // A service with the script and the agent connected to it.
    void Connect(ServicePeer::Script script, const std::string& respondedFile = "Response.xml")
    {
        m_service.reset(new ServicePeer(std::move(script), respondedFile));
        PublishPort(m_service->Port());
        ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    }

    std::unique_ptr<ServicePeer> m_service;
};

TEST_F(CommandBase, FlagsNameResultAndFailureReachTheEnvelope)
{
    ProbeCommand command;
    command.SetCmdName(u"checkout");
    command.SetFocusBrowser(true);
    command.CreateCmdHeader();
    command.SetCmdName(u"find");
    command.SetUserExitEnabled(false);
    CSEXMLPacket* const packet = command.Packet();
    EXPECT_EQ(Attribute(packet, u"/command", u"focusbrowser") + Attribute(packet, u"/command", u"cname"), "truefind");
    command.CreateFailureHeader(u"no licence");
    command.CreateFailureHeader(u"second"); // starts again from a bare header
    EXPECT_EQ(packet->getNodeCount(u"//command/info/reason"), 1);
    EXPECT_EQ(NodeValue(packet, u"//command/info/reason"), "second");
    command.CreateResponseHeader();
    EXPECT_EQ(Attribute(packet, u"/response", u"cname") + Attribute(packet, u"/response", u"result"), "findsuccess");

    ResponseShapedCommand shaped;
    shaped.CreateFailureHeader(u"no licence");
    EXPECT_EQ(Attribute(shaped.Packet(), u"/response", u"result"), "failure");
    EXPECT_EQ(shaped.Packet()->getNodeCount(u"//info"), 0);
}

TEST_F(CommandBase, DumpNamesCarryTimeKindAndBatchAndNeitherLeaveTheFolderNorReplaceADump)
{
    UseSettings(Settings(true));
    ProbeCommand command;
    // What follows the yyyy-mm-dd_hh.mm.ss stamp of a name directly in the dump folder.
    const std::string folder = PathOf("XmlDump") + "/";
    const std::regex stamped(R"(\d{4}-\d\d-\d\d_\d\d\.\d\d\.\d\d(_[^/\\]*))");
    const auto tail = [&](const CSEString& name) {
        const std::string path = Utf8(name);
        const std::string below = path.compare(0, folder.size(), folder) == 0 ? path.substr(folder.size()) : "";
        std::smatch match;
        return std::regex_match(below, match, stamped) ? match[1].str() : std::string("not a dump name");
    };
    command.SetCmdName(u"checkin");
    EXPECT_EQ(tail(command.CreateXMLDumpFileName(1)), "_checkin_Response0.xml");
    EXPECT_EQ(Utf8(command.CreateXMLDumpFileName(2)), "");
    // A name taken within the same second is numbered on; tried again when the second changes between.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const CSEString first = command.CreateXMLDumpFileName(0);
        std::ofstream(Utf8(first)) << "taken";
        const CSEString second = command.CreateXMLDumpFileName(0);
        if (Utf8(first).substr(0, folder.size() + 19) == Utf8(second).substr(0, folder.size() + 19)) {
            EXPECT_EQ(tail(first), "_checkin_QxRequest0.xml");
            EXPECT_EQ(tail(second), "_checkin_QxRequest1.xml");
            break;
        }
    }
    CSEString batch(u"7");
    command.SetBulkLoaderBatchNumForXMLDump(batch);
    EXPECT_EQ(tail(command.CreateXMLDumpFileName(1)), "_checkin_Response70.xml");
    command.SetCmdName(u"../../etc/evil\\x");
    EXPECT_TRUE(Contains(tail(command.CreateXMLDumpFileName(1)), "_Response70.xml"));

    UseSettings(Settings(false));
    EXPECT_EQ(Utf8(ProbeCommand().CreateXMLDumpFileName(0)), "");
}

TEST_F(CommandBase, CopiesShareTheirObjectsAndTheLastHolderDeletes)
{
    int deletions = 0, targetDeletions = 0, directDeletions = 0;
    ProbeCommand* source = new ProbeCommand();
    source->SetCmdName(u"lock");
    source->CreateCmdHeader();
    source->SetResponseObject(new CountedResponse(deletions));
    source->SetResponseObject(nullptr); // ignored
    source->SetResponseObject(source->GetResponseObject()); // no change
    ProbeCommand target;
    target.SetResponseObject(new CountedResponse(targetDeletions));
    {
        ProbeCommand copy(*source);
        ProbeCommand copyOfCopy(copy);
        target = copyOfCopy;
        EXPECT_EQ(targetDeletions, 1); // the target's own response went first
        ProbeCommand& alias = target;
        target = alias;
        target = *source;
        delete source;
        EXPECT_EQ(copyOfCopy.Packet(), target.Packet());
        EXPECT_EQ(copyOfCopy.GetResponseObject(), target.GetResponseObject());
        EXPECT_EQ(Attribute(copyOfCopy.Packet(), u"/command", u"cname"), "lock");
    }
    // Replacing the response or the packet leaves a copy's intact. A derived command that assigns the
    // response pointer itself does not leak the one it replaced.
    ProbeCommand copy(target);
    target.SetResponseObject(new CountedResponse(directDeletions));
    target.AssignResponseDirectly(new CountedResponse(directDeletions));
    target.ReplaceCmdXMLPacket(CSEXMLPacket::GetXMLPacketPtr(-1));
    EXPECT_NE(copy.Packet(), target.Packet());
    copy.SetCmdName(u"still");
    EXPECT_EQ(Attribute(copy.Packet(), u"/command", u"cname"), "still");
    EXPECT_EQ(deletions, 0);
    copy = ProbeCommand();
    EXPECT_EQ(deletions, 1);
    target = ProbeCommand();
    EXPECT_EQ(directDeletions, 2);
}

TEST_F(CommandBase, RequestTravelsWithoutIdentifiersAndTheResponseIsRead)
{
    Connect(ServicePeer::Answer("success", "<reason>all fine</reason>"));
    CSELqlCmd lql;
    lql.setLQLCommand(u"exec prog CorvaneHelpAbout.tcl;");
    lql.setLQLCommand(u" <more> & 'more'");
    EXPECT_EQ(NodeValue(PacketOf(lql), u"/command/lql"), "exec prog CorvaneHelpAbout.tcl; <more> & 'more'");
    CSEString thin;
    ASSERT_EQ(lql.Execute(thin), 0);
    EXPECT_EQ(Utf8(lql.GetResponseObject()->GetResult() + u"|" + lql.GetResponseObject()->GetReason()), "success|all fine");
    ASSERT_EQ(m_service->Requests().size(), 1u);
    EXPECT_FALSE(Contains(m_service->Requests()[0], "iGSSLID")) << m_service->Requests()[0];
    EXPECT_TRUE(Logged(kPerformanceLog, 2, "lql : SEND/RECIEVE XML: START"));
    EXPECT_TRUE(Logged(kPerformanceLog, 2, "lql : SEND/RECIEVE XML: END"));
    EXPECT_FALSE(Exists("XmlDump"));
}

TEST_F(CommandBase, DumpsAreMaskedAndOwnerOnly)
{
    const std::string secret = "Zebra-7734-secret";
    UseSettings(Settings(true));
    Connect(ServicePeer::Answer("success", ""));
    CSELogoutCmd command(u"loginEx");
    PacketOf(command)->createProperty(u"//command", u"password", CSEString(secret.c_str()));
    CSEString thin;
    ASSERT_EQ(command.Execute(thin), 0);
    const std::vector<std::string> dumps = Dumps();
    ASSERT_EQ(dumps.size(), 2u);
    EXPECT_TRUE(Contains(dumps[0], "_loginEx_QxRequest0.xml") && Contains(dumps[1], "_loginEx_Response0.xml"));
    EXPECT_TRUE(Contains(ReadFile("XmlDump/" + dumps[0]), "*****"));
    for (const std::string& dump : dumps)
        EXPECT_EQ(PermissionsOf(PathOf("XmlDump/" + dump)), 0600) << dump;
    // The service gets the password; no dump and no log line does.
    ASSERT_EQ(m_service->Requests().size(), 1u);
    EXPECT_TRUE(Contains(m_service->Requests()[0], secret));
    for (const std::string& file : {"XmlDump/" + dumps[0], std::string(kMainLog)})
        EXPECT_FALSE(Contains(ReadFile(file), secret)) << file;
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
        const servicetest::RecordingMsgMgr::Box& box = m_msgMgr->boxes[0];
        EXPECT_EQ(box.message + "|" + box.title + "|" + std::to_string(box.type),
                  "text of MSG_NOT_CONNECTED|MSG_MSGBOXTITLE|3");
        EXPECT_EQ(Dumps().size(), serviceRuns ? 1u : 0u); // the request only
        EXPECT_EQ(Agent().GetConnectionStatus(), CSEIntegrationAgent::NotConnected);
    }
    EXPECT_EQ(m_service->Requests().size(), 1u);
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
    lql.setLQLCommand(u"exec prog CorvaneHelpAbout.tcl;");
    CSEString thin;
    EXPECT_EQ(lql.Execute(thin), 0);
    EXPECT_EQ(nested, 1);
    EXPECT_TRUE(m_msgMgr->boxes.empty());
    EXPECT_EQ(Agent().GetConnectionStatus(), CSEIntegrationAgent::Connected);
    EXPECT_EQ(m_service->Requests().size(), 1u);
}

TEST_F(CommandBase, ResponseFileThatCannotBeLoadedFailsTheCommand)
{
    Connect(ServicePeer::Answer("success", ""), "Gone.xml");
    CSELogoutCmd logout;
    CSEString thin;
    EXPECT_EQ(logout.Execute(thin), 1);
    EXPECT_EQ(Utf8(logout.GetResponseObject()->GetResult()), "");
    EXPECT_TRUE(m_msgMgr->boxes.empty());
}

// A command whose request packet could not be created: its setters do nothing and it sends nothing.
TEST_F(CommandBase, CommandWithoutPacketSendsNothing)
{
    Connect(ServicePeer::Answer("success", ""));
    ProbeCommand command;
    command.ReplaceCmdXMLPacket(nullptr);
    command.SetCmdName(u"nothing");
    command.SetUserExitEnabled(true);
    command.SetResult(u"failure");
    command.CreateFailureHeader(u"no packet");
    CSEString thin;
    EXPECT_EQ(command.Execute(thin), 1);
    EXPECT_TRUE(m_service->Requests().empty());
    EXPECT_TRUE(m_msgMgr->boxes.empty());
}
