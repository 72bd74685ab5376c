// Tests for CSECommand without a service: envelopes, flags, dump names and the ownership of the
// request packet and the response between copies; and the constructors of CSELqlCmd and
// CSELogoutCmd.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <string>

#include "CSECommand.h"
#include "CSELogoutCmd.h"
#include "CSELqlCmd.h"
#include "CSEResponse.h"
#include "CSEUtil.h"
#include "CSEXMLPacket.h"
#include "commands/CommandFixture.h"
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

std::string Xml(CSEXMLPacket* packet)
{
    CSEString text;
    packet->getXMLString(text);
    return Utf8(text);
}

std::string Attribute(CSEXMLPacket* packet, const char16_t* path, const char16_t* name)
{
    CSEString value;
    packet->getAttributeValue(CSEString(path), CSEString(name), value);
    return Utf8(value);
}

std::string NodeValue(CSEXMLPacket* packet, const char16_t* path)
{
    CSEString value;
    packet->getNodeValue(CSEString(path), value);
    return Utf8(value);
}

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

class CommandBase : public CommandFixture
{
};

// ---- Envelopes ----

TEST_F(CommandBase, HeaderCarriesUserNameOnlyForLogin)
{
    const std::string checkin = Utf8(CSEUtil::CSEGetCmdHeaderString(CSEString(u"checkin"), false));
    EXPECT_TRUE(EndsWith(checkin, "' focusbrowser='false' loglevel='4'/>")) << checkin;
    EXPECT_EQ(checkin.find("username"), std::string::npos) << checkin;
    Probe<CSELogoutCmd> named(CSEString(u"checkin"));
    EXPECT_EQ(Attribute(named.Packet(), u"/command", u"cname"), "checkin");
    EXPECT_EQ(Xml(named.Packet()).find("username"), std::string::npos);

    // The request packet keeps the order: "username" right before "focusbrowser".
    Probe<CSELogoutCmd> command(CSEString(u"loginEx"));
    const std::string xml = Xml(command.Packet());
    const std::size_t userAt = xml.find(" username=");
    const std::size_t focusAt = xml.find(" focusbrowser=");
    ASSERT_NE(userAt, std::string::npos) << xml;
    ASSERT_NE(focusAt, std::string::npos) << xml;
    ASSERT_LT(userAt, focusAt);
    const std::string between = xml.substr(userAt, focusAt - userAt);
    EXPECT_EQ(between.find('=', between.find('=') + 1), std::string::npos) << xml;
}

TEST_F(CommandBase, FlagsNameAndResultReachTheEnvelope)
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

    command.CreateResponseHeader();
    EXPECT_EQ(Attribute(command.Packet(), u"/response", u"result"), "success");
    EXPECT_EQ(Attribute(command.Packet(), u"/response", u"cname"), "find");
    command.SetResult(CSEString(u"failure"));
    EXPECT_EQ(Attribute(command.Packet(), u"/response", u"result"), "failure");
}

TEST_F(CommandBase, FailureHeaderOfACommandAndOfAResponse)
{
    ProbeCommand command;
    command.SetCmdName(CSEString(u"lock"));
    command.CreateFailureHeader(CSEString(u"no licence"));
    EXPECT_EQ(NodeValue(command.Packet(), u"//command/info/reason"), "no licence");
    EXPECT_EQ(Attribute(command.Packet(), u"/command", u"result"), "");

    ResponseShapedCommand shaped;
    shaped.SetCmdName(CSEString(u"lock"));
    shaped.CreateFailureHeader(CSEString(u"no licence"));
    EXPECT_EQ(Attribute(shaped.Packet(), u"/response", u"result"), "failure");
    EXPECT_EQ(shaped.Packet()->getNodeCount(CSEString(u"//info")), 0);

    // A second failure header starts again from a bare header.
    command.CreateFailureHeader(CSEString(u"second"));
    EXPECT_EQ(command.Packet()->getNodeCount(CSEString(u"//command/info/reason")), 1);
    EXPECT_EQ(NodeValue(command.Packet(), u"//command/info/reason"), "second");
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
    EXPECT_EQ(NodeValue(lql.Packet(), u"/command/lql"), "exec prog CorvaneHelpAbout.tcl;");
    lql.setLQLCommand(CSEString(u" <more> & 'more'"));
    EXPECT_EQ(NodeValue(lql.Packet(), u"/command/lql"),
              "exec prog CorvaneHelpAbout.tcl; <more> & 'more'");
}

TEST_F(CommandBase, ConstructorsLogThroughTheSilentLog)
{
    UseSettings(false, true);
    CSELqlCmd lql;
    CSELogoutCmd logout;
    CSELogoutCmd named(CSEString(u"closesession"));
    EXPECT_EQ(Utf8(named.GetCmdName()), "closesession");
    EXPECT_TRUE(Logged(kSilentLog, 6, "[CSELqlCmd::CSELqlCmd()] Constructor."));
    EXPECT_TRUE(Logged(kSilentLog, 6, "[CSELogoutCmd::CSELogoutCmd()] Constructor."));
    EXPECT_FALSE(Logged(kSilentLog, 6, "[CSELqlCmd::CSELqlCmd()] m_pCmdXMLPacket == NULL."));
    EXPECT_TRUE(Logged(kSilentLog, 6, "CSECommand::GetXMLDumpFlag::Entering"));
    EXPECT_TRUE(Logged(kSilentLog, 6, "CSECommand::GetXMLDumpFlag::Exiting"));
}

// ---- Dump names ----

TEST_F(CommandBase, DumpNamesCountUpWithinTheSameSecond)
{
    UseSettings(true);
    ProbeCommand command;
    command.SetCmdName(CSEString(u"checkin"));
    EXPECT_TRUE(dvk::IsDirectory(PathOf("XmlDump")));

    const std::string folder = PathOf("XmlDump") + "/";
    std::string first;
    std::string second;
    // Two names taken across a change of second carry different stamps; try again then.
    for (int attempt = 0; attempt < 5; ++attempt) {
        first = Utf8(command.CreateXMLDumpFileName(0));
        std::ofstream(first) << "dump";
        second = Utf8(command.CreateXMLDumpFileName(0));
        if (first.size() == second.size() &&
            first.compare(0, first.size() - 5, second, 0, second.size() - 5) == 0)
            break;
    }
    ASSERT_EQ(first.compare(0, folder.size(), folder), 0) << first;
    EXPECT_TRUE(EndsWith(first, "_checkin_QxRequest0.xml")) << first;
    EXPECT_TRUE(EndsWith(second, "_checkin_QxRequest1.xml")) << second;
    EXPECT_EQ(first.substr(0, first.size() - 5), second.substr(0, second.size() - 5));

    // yyyy-mm-dd_hh.mm.ss with two digits each below the year.
    const std::string stamp = first.substr(folder.size(), 19);
    const std::string shape = "dddd-dd-dd_dd.dd.dd";
    for (std::size_t i = 0; i < shape.size(); ++i) {
        if (shape[i] == 'd')
            EXPECT_TRUE(stamp[i] >= '0' && stamp[i] <= '9') << stamp;
        else
            EXPECT_EQ(stamp[i], shape[i]) << stamp;
    }
    EXPECT_TRUE(EndsWith(Utf8(command.CreateXMLDumpFileName(1)), "_checkin_Response0.xml"));

    CSEString batch(u"7");
    command.SetBulkLoaderBatchNumForXMLDump(batch);
    EXPECT_TRUE(EndsWith(Utf8(command.CreateXMLDumpFileName(0)), "_checkin_QxRequest70.xml"));
}

TEST_F(CommandBase, DumpNamesStayInTheDumpFolder)
{
    UseSettings(true);
    ProbeCommand command;
    command.SetCmdName(CSEString(u"../../etc/evil\\x"));
    const std::string name = Utf8(command.CreateXMLDumpFileName(0));
    const std::string folder = PathOf("XmlDump") + "/";
    ASSERT_EQ(name.compare(0, folder.size(), folder), 0) << name;
    EXPECT_EQ(name.find('/', folder.size()), std::string::npos) << name;
    EXPECT_EQ(name.find('\\'), std::string::npos) << name;
    EXPECT_EQ(Utf8(command.CreateXMLDumpFileName(2)), "");
}

TEST_F(CommandBase, NoDumpNamesWhenDumpingIsOff)
{
    UseSettings(false);
    ProbeCommand command;
    command.SetCmdName(CSEString(u"checkin"));
    EXPECT_EQ(Utf8(command.CreateXMLDumpFileName(0)), "");
    EXPECT_EQ(Utf8(command.CreateXMLDumpFileName(1)), "");
    EXPECT_FALSE(Exists("XmlDump"));
}

// ---- Ownership of the packet and the response ----

TEST_F(CommandBase, CopyOutlivesItsSource)
{
    int deletions = 0;
    ProbeCommand* source = new ProbeCommand();
    source->SetCmdName(CSEString(u"logout"));
    source->CreateCmdHeader();
    source->SetResponseObject(new CountedResponse(deletions));
    CSEResponse* const response = source->GetResponseObject();

    ProbeCommand copy(*source);
    EXPECT_EQ(copy.GetResponseObject(), response);
    EXPECT_EQ(copy.Packet(), source->Packet());
    delete source;
    EXPECT_EQ(deletions, 0);

    EXPECT_EQ(Utf8(copy.GetCmdName()), "logout");
    EXPECT_EQ(Attribute(copy.Packet(), u"/command", u"cname"), "logout");
    copy.SetUserExitEnabled(true);
    EXPECT_EQ(Utf8(copy.GetResponseObject()->GetResult()), "");
}

TEST_F(CommandBase, LastHolderDeletesTheSharedResponse)
{
    int deletions = 0;
    {
        ProbeCommand first;
        first.SetResponseObject(new CountedResponse(deletions));
        ProbeCommand second(first);
        ProbeCommand third(second);
        EXPECT_EQ(deletions, 0);
    }
    EXPECT_EQ(deletions, 1);
}

TEST_F(CommandBase, AssignmentReleasesTheTargetsOwnObjectsFirst)
{
    int sourceDeletions = 0;
    int targetDeletions = 0;
    ProbeCommand* source = new ProbeCommand();
    source->SetResponseObject(new CountedResponse(sourceDeletions));
    ProbeCommand target;
    target.SetResponseObject(new CountedResponse(targetDeletions));
    source->SetCmdName(CSEString(u"lock"));
    source->CreateCmdHeader();

    target = *source;
    EXPECT_EQ(targetDeletions, 1);
    EXPECT_EQ(sourceDeletions, 0);
    EXPECT_EQ(target.GetResponseObject(), source->GetResponseObject());
    EXPECT_EQ(Utf8(target.GetCmdName()), "lock");

    ProbeCommand& alias = target;
    target = alias;
    target = *source;
    EXPECT_EQ(sourceDeletions, 0);

    delete source;
    EXPECT_EQ(sourceDeletions, 0);
    EXPECT_EQ(Attribute(target.Packet(), u"/command", u"cname"), "lock");
    target = ProbeCommand();
    EXPECT_EQ(sourceDeletions, 1);
}

TEST_F(CommandBase, ReplacingTheResponse)
{
    int oldDeletions = 0;
    int newDeletions = 0;
    ProbeCommand command;
    command.SetResponseObject(new CountedResponse(oldDeletions));
    CSEResponse* const old = command.GetResponseObject();

    command.SetResponseObject(nullptr);
    command.SetResponseObject(old);
    EXPECT_EQ(command.GetResponseObject(), old);
    EXPECT_EQ(oldDeletions, 0);

    {
        ProbeCommand sharer(command);
        command.SetResponseObject(new CountedResponse(newDeletions));
        EXPECT_EQ(oldDeletions, 0); // still held by the copy
        EXPECT_EQ(sharer.GetResponseObject(), old);
    }
    EXPECT_EQ(oldDeletions, 1);

    // A derived command that assigns the pointer itself does not leak the one it replaced.
    int directDeletions = 0;
    command.AssignResponseDirectly(new CountedResponse(directDeletions));
    ProbeCommand copy(command);
    EXPECT_EQ(newDeletions, 1);
    EXPECT_EQ(directDeletions, 0);
}

TEST_F(CommandBase, ReplacingTheRequestPacket)
{
    ProbeCommand command;
    ProbeCommand copy(command);
    CSEXMLPacket* const shared = command.Packet();
    command.ReplaceCmdXMLPacket(CSEXMLPacket::GetXMLPacketPtr(-1));
    EXPECT_NE(command.Packet(), shared);
    EXPECT_EQ(copy.Packet(), shared);
    copy.SetCmdName(CSEString(u"still"));
    copy.CreateCmdHeader();
    EXPECT_EQ(Attribute(copy.Packet(), u"/command", u"cname"), "still");
    command.ReplaceCmdXMLPacket(command.Packet());
    command.ReplaceCmdXMLPacket(nullptr);
    EXPECT_EQ(command.Packet(), nullptr);
    command.SetCmdName(CSEString(u"nothing"));
    command.SetUserExitEnabled(true);
    command.SetResult(CSEString(u"failure"));
    command.CreateFailureHeader(CSEString(u"no packet"));
    EXPECT_EQ(Utf8(command.GetCmdName()), "nothing");
}
