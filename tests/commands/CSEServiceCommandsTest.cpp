// Tests for the service commands: what each constructor writes and logs, and the request bodies of
// loginEx, versions, initiatewsm, userdefined and setuserdiralias, read back through the packet.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "CSEClientSettings.h"
#include "CSEEncryptionCmd.h"
#include "CSELoginExCmd.h"
#include "CSELogoutCmd.h"
#include "CSELqlCmd.h"
#include "CSEManageWorkspaceCmd.h"
#include "CSEObjectInfo.h"
#include "CSEPreferencesCmd.h"
#include "CSERecentlyAccessedDesignsCmd.h"
#include "CSESetUserDirAliasCmd.h"
#include "CSEStringCSEStringMap.h"
#include "CSEUserDefinedCmd.h"
#include "CSEUtil.h"
#include "CSEVersionsCmd.h"
#include "CSEXMLPacket.h"
#include "common/CommandProbe.h"
#include "common/ServiceFixture.h"
#include "host/DVKFiles.h"

namespace {

// How often the first element of the path carries the attribute ("*": all its attributes).
int AttributeCount(CSEXMLPacket* packet, const CSEString& path, const char16_t* name)
{
    return packet->getNodeCount(path + u"/@" + name);
}

// The request as the service gets it: serialised, parsed again, without the packet's identifiers.
std::unique_ptr<CSEXMLPacket> Sent(CSEXMLPacket* packet)
{
    CSEString xml;
    std::unique_ptr<CSEXMLPacket> copy(CSEXMLPacket::GetXMLPacketPtr(-1));
    EXPECT_EQ(packet->getXMLString(xml), 0);
    EXPECT_EQ(copy->loadXMLinMemory(xml), 0) << Utf8(xml);
    copy->removeAttributeFromAllNodes(u"iGSSLID");
    return copy;
}

CSEObjectInfo Object(const char* cadId, const std::string& folder)
{
    CSEObjectInfo object;
    object.cadId = cadId;
    object.name = CSEString("Bolt ") + cadId;
    object.fileName = CSEString(cadId) + u".prt";
    object.type = u"part";
    object.dirName = folder.c_str();
    return object;
}

} // namespace

using ServiceCommands = ServiceFixture;

TEST_F(ServiceCommands, EachConstructorNamesItsCommandWritesItsEnvelopeAndLogs)
{
    UseSettings(Settings(), 1); // the silent log holds the constructor lines
    struct Case
    {
        std::function<CSECommand*()> make;
        const char* cname;
        const char* logTag;
        int bodyElements;
    };
    const Case cases[] = {
        {[] { return new CSELoginExCmd(); }, "loginEx", "CSELoginExCmd::CSELoginExCmd()", 0},
        {[] { return new CSELogoutCmd(); }, "logout", "CSELogoutCmd::CSELogoutCmd()", 0},
        {[] { return new CSELogoutCmd(u"closesession"); }, "closesession", "CSELogoutCmd::CSELogoutCmd()", 0},
        {[] { return new CSELqlCmd(); }, "lql", "CSELqlCmd::CSELqlCmd()", 1},
        {[] { return new CSEPreferencesCmd(); }, "preferences", "CSEPreferencesCmd::CSEPreferencesCmd()", 0},
        {[] { return new CSEEncryptionCmd(); }, "encryptionkey", "CSEEncryptionCmd::CSEEncryptionCmd()", 0},
        {[] { return new CSERecentlyAccessedDesignsCmd(); }, "recentlyaccessedparts",
         "CSERecentlyAccessedDesignsCmd::CSERecentlyAccessedDesignsCmd()", 0},
        {[] { return new CSEManageWorkspaceCmd(); }, "initiatewsm", "CSEManageWorkspaceCmd::CSEManageWorkspaceCmd()", 1},
        {[] { return new CSEVersionsCmd(); }, "versions", "CSEVersionsCmd::CSEVersionsCmd()", 0},
        {[] { return new CSEUserDefinedCmd(); }, "userdefined", "CSEUserDefinedCmd::CSEUserDefinedCmd()", 0},
        {[] { return new CSESetUserDirAliasCmd(); }, "setuserdiralias",
         "CSESetUserDirAliasCmd::CSESetUserDirAliasCmd()", 0},
    };
    for (const Case& c : cases) {
        std::unique_ptr<CSECommand> command(c.make());
        CSEXMLPacket* packet = PacketOf(*command);
        EXPECT_EQ(Utf8(command->GetCmdName()), c.cname);
        EXPECT_EQ(Attribute(packet, u"/command", u"cname"), c.cname);
        EXPECT_EQ(Attribute(packet, u"/command", u"addn"), "abc") << c.cname;
        EXPECT_EQ(AttributeCount(packet, u"/command", u"username"), std::string(c.cname) == "loginEx" ? 1 : 0)
            << c.cname;
        EXPECT_EQ(packet->getChildNodeCount(u"/command"), c.bodyElements) << c.cname;
        EXPECT_TRUE(Logged(kSilentLog, 6, "[" + std::string(c.logTag) + "] Constructor.")) << c.cname;
    }
    EXPECT_TRUE(Logged(kSilentLog, 6, "CSECommand::GetXMLDumpFlag::Entering"));
    EXPECT_TRUE(Logged(kSilentLog, 6, "CSECommand::GetXMLDumpFlag::Exiting"));
    for (const std::string& text : LogTexts(kSilentLog, 6))
        EXPECT_FALSE(Contains(text, "m_pCmdXMLPacket == NULL")) << text;
}

TEST_F(ServiceCommands, LoginExCarriesUserAndPasswordOnceAndItsOwnVersionOnlyWhenBulkLoading)
{
    CSEObjectInfo credentials;
    credentials.userText1 = u"designer";
    credentials.userText2 = u"p'a\"s<s>&";
    credentials.versionText = u"2.0-bulk";
    for (const bool bulkLoading : {false, true}) {
        UseSettings(Settings());
        if (bulkLoading)
            CSEClientSettings::GetInstance(0)->SetBulkLoadingMode();
        const std::string envelopeVersion = Utf8(CSEClientSettings::GetInstance(0)->GetCSEInfo().m_sCompatibleWKCVersion);
        Probe<CSELoginExCmd> login;
        EXPECT_EQ(Utf8(login.AddExtraCmdNodeInfoForLoginEx(credentials)), "");
        login.AddExtraCmdNodeInfoForLoginEx(credentials); // a second call replaces, never adds
        const std::unique_ptr<CSEXMLPacket> sent = Sent(login.Packet());
        for (const char16_t* name : {u"username", u"password", u"ver"})
            EXPECT_EQ(AttributeCount(sent.get(), u"/command", name), 1) << Utf8(name);
        EXPECT_EQ(Attribute(sent.get(), u"/command", u"username"), "designer");
        EXPECT_EQ(Attribute(sent.get(), u"/command", u"password"), "p'a\"s<s>&");
        EXPECT_EQ(Attribute(sent.get(), u"/command", u"ver"), bulkLoading ? "2.0-bulk" : envelopeVersion);
    }

    // Renamed, it is no loginEx any more: nothing is added.
    Probe<CSELoginExCmd> renamed;
    renamed.SetCmdName(u"login");
    renamed.AddExtraCmdNodeInfoForLoginEx(credentials);
    EXPECT_EQ(Attribute(renamed.Packet(), u"/command", u"username"), Utf8(CSEUtil::GetCurrentUserName()));
    EXPECT_EQ(AttributeCount(renamed.Packet(), u"/command", u"password"), 0);
}

TEST_F(ServiceCommands, VersionsGivesEachObjectItsOwnListAndOnlyTheKnownServerFields)
{
    ASSERT_TRUE(dvk::CreateDirectories(PathOf("parts")));
    std::string realFolder;
    ASSERT_TRUE(dvk::GetRealPath(PathOf("parts"), realFolder));
    Probe<CSEVersionsCmd> versions;
    CSEObjectInfo first = Object("c1", PathOf("parts/../parts"));
    first.busType = u"CAD Part";
    first.busName = u"BOLT-1";
    first.busRevision = u"B";
    first.modified = u"true";
    first.attributes.push_back(CSEAttribute());
    first.attributes[0].SetName(u"Material");
    first.attributes[0].SetValue(u"Steel <S235>");
    CSEObjectInfo second = Object("c2", "");
    const int firstId = versions.AddObjectToCmdPacket(first);
    const int secondId = versions.AddObjectToCmdPacket(second);
    EXPECT_EQ(versions.Packet()->getUniqueIdOfNode(u"/command/cadobjectlist[2]/cadobject"), secondId);
    EXPECT_EQ(versions.Packet()->getUniqueIdOfNode(u"/command/cadobjectlist[1]/cadobject"), firstId);

    const std::unique_ptr<CSEXMLPacket> sent = Sent(versions.Packet());
    EXPECT_EQ(sent->getNodeCount(u"/command/cadobjectlist"), 2);
    EXPECT_EQ(sent->getNodeCount(u"/command/cadobjectlist[1]/cadobject"), 1);
    EXPECT_EQ(sent->getNodeCount(u"/command/cadobjectlist[2]/cadobject"), 1);
    const CSEString one(u"/command/cadobjectlist[1]/cadobject");
    const std::vector<std::pair<const char16_t*, std::string>> expected = {
        {u"name", "Bolt c1"},    {u"cadid", "c1"},         {u"filename", "c1.prt"}, {u"type", "part"},
        {u"modified", "true"},   {u"selectable", "true"},  {u"dirname", realFolder}, {u"bustype", "CAD Part"},
        {u"busname", "BOLT-1"},  {u"busrevision", "B"}};
    for (const auto& field : expected)
        EXPECT_EQ(Attribute(sent.get(), one, field.first), field.second) << Utf8(field.first);
    EXPECT_EQ(NodeValue(sent.get(), one + u"/attribute/name"), "Material");
    EXPECT_EQ(NodeValue(sent.get(), one + u"/attribute/value"), "Steel <S235>");

    const CSEString two(u"/command/cadobjectlist[2]/cadobject");
    EXPECT_EQ(AttributeCount(sent.get(), two, u"*"), 7);
    for (const char16_t* name : {u"bustype", u"busname", u"busrevision"})
        EXPECT_EQ(AttributeCount(sent.get(), two, name), 0) << Utf8(name);
    EXPECT_EQ(sent->getNodeCount(two + u"/attribute"), 0);
    EXPECT_EQ(Attribute(sent.get(), two, u"modified"), "false");
}

TEST_F(ServiceCommands, ManageWorkspaceListsTheObjectsInOrderUnderItsFolder)
{
    std::string realFolder;
    ASSERT_TRUE(dvk::GetRealPath(m_folder, realFolder));
    Probe<CSEManageWorkspaceCmd> workspace;
    workspace.SetInitialDir(u"/home/designer/work");
    CSEObjectInfoVector objects;
    for (const char* id : {"c3", "c1", "c2"})
        objects.push_back(Object(id, m_folder));
    workspace.AddObjectInfoList(objects);
    workspace.AddObjectInfoList(CSEObjectInfoVector());

    const std::unique_ptr<CSEXMLPacket> sent = Sent(workspace.Packet());
    EXPECT_EQ(Attribute(sent.get(), u"/command", u"initialdir"), "/home/designer/work");
    EXPECT_EQ(sent->getNodeCount(u"/command/cadobjectlist"), 1);
    std::string sentObjects;
    for (int i = 0; i < sent->getNodeCount(u"/command/cadobjectlist/cadobject"); ++i) {
        for (const char16_t* name : {u"cadid", u"name", u"filename", u"type", u"dirname"}) {
            CSEString value;
            sent->getAttributeValueAt(u"/command/cadobjectlist/cadobject", i, name, value);
            sentObjects += Utf8(value) + ",";
        }
        sentObjects.back() = ';';
    }
    EXPECT_EQ(sentObjects, "c3,Bolt c3,c3.prt,part," + realFolder + ";c1,Bolt c1,c1.prt,part," + realFolder +
                               ";c2,Bolt c2,c2.prt,part," + realFolder + ";");
}

TEST_F(ServiceCommands, UserDefinedCommandTextArrivesUnchangedAndOnce)
{
    struct Case
    {
        const char16_t* text;
        int hangBrowser; // -1: the two-argument form
        const char* hangBrowserSent;
    };
    const Case cases[] = {
        {u"<call proc='a'>x &amp; y</call>", -1, "false"},
        {u"a ]]> b ]]]]> c", 0, "false"},
        {u"]]>", 7, "true"},
        {u"", 1, "true"},
    };
    for (const Case& c : cases) {
        Probe<CSEUserDefinedCmd> command;
        command.SetJSPNameNCommand(u"earlier.jsp", u"earlier command", 1);
        if (c.hangBrowser < 0)
            command.SetJSPNameNCommand(u"custom/report.jsp?a=1&b=2", c.text);
        else
            command.SetJSPNameNCommand(u"custom/report.jsp?a=1&b=2", c.text, c.hangBrowser);
        const std::unique_ptr<CSEXMLPacket> sent = Sent(command.Packet());
        const std::string text = CSEString(c.text)().ToUTF8();
        EXPECT_EQ(sent->getNodeCount(u"/command/userdefinedcommand"), 1) << text;
        EXPECT_EQ(NodeValue(sent.get(), u"/command/userdefinedcommand"), text);
        EXPECT_EQ(Attribute(sent.get(), u"/command", u"url"), "custom/report.jsp?a=1&b=2");
        EXPECT_EQ(Attribute(sent.get(), u"/command", u"hangbrowser"), c.hangBrowserSent) << text;
    }
}

TEST_F(ServiceCommands, UserDirAliasesGoIntoTheListOfTheirCall)
{
    Probe<CSESetUserDirAliasCmd> command;
    CSEStringCSEStringMap none;
    command.PopulateUserDirAlias(none);
    CSEStringCSEStringMap aliases;
    aliases[u"work"] = u"/home/designer/work";
    aliases[u"R&D ]]> <lab>"] = u"/srv/r&d/]]>";
    command.PopulateUserDirAlias(aliases);

    const std::unique_ptr<CSEXMLPacket> sent = Sent(command.Packet());
    ASSERT_EQ(sent->getNodeCount(u"/command/userdiraliaslist"), 2);
    EXPECT_EQ(sent->getChildNodeCount(u"/command/userdiraliaslist[1]"), 0);
    std::vector<std::pair<std::string, std::string>> read;
    for (int i = 0; i < sent->getNodeCount(u"/command/userdiraliaslist[2]/userdiralias"); ++i) {
        CSEString name;
        CSEString value;
        sent->getNamedNVPair(u"/command/userdiraliaslist[2]/userdiralias", i, name, value);
        read.emplace_back(Utf8(name), Utf8(value));
    }
    std::sort(read.begin(), read.end());
    EXPECT_EQ(read, (std::vector<std::pair<std::string, std::string>>{{"R&D ]]> <lab>", "/srv/r&d/]]>"},
                                                                      {"work", "/home/designer/work"}}));
}

// A command whose packet is gone: every setter is a no-op, none crashes.
TEST_F(ServiceCommands, SettersWithoutRequestPacketDoNothing)
{
    CSEObjectInfo object = Object("c1", m_folder);
    CSEObjectInfoVector objects;
    objects.push_back(object);
    CSEStringCSEStringMap aliases;
    aliases[u"a"] = u"/a";
    CSELoginExCmd login;
    CSEVersionsCmd versions;
    CSEManageWorkspaceCmd workspace;
    CSEUserDefinedCmd userDefined;
    CSESetUserDirAliasCmd alias;
    for (CSECommand* command : {static_cast<CSECommand*>(&login), static_cast<CSECommand*>(&versions),
                                static_cast<CSECommand*>(&workspace), static_cast<CSECommand*>(&userDefined),
                                static_cast<CSECommand*>(&alias)})
        ReplacePacketOf(*command, nullptr);
    EXPECT_EQ(Utf8(login.AddExtraCmdNodeInfoForLoginEx(object)), "");
    EXPECT_EQ(versions.AddObjectToCmdPacket(object), -1);
    workspace.SetInitialDir(u"/w");
    workspace.AddObjectInfoList(objects);
    userDefined.SetJSPNameNCommand(u"p", u"c", 1);
    alias.PopulateUserDirAlias(aliases);
}
