// Tests for the request bodies of the service commands loginEx, versions and userdefined as the
// service gets them. The reference service checks every command's envelope
// and body in the integration tests.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "CSEClientSettings.h"
#include "CSELoginExCmd.h"
#include "CSEObjectInfo.h"
#include "CSEUserDefinedCmd.h"
#include "CSEUtil.h"
#include "CSEVersionsCmd.h"
#include "CSEXMLPacket.h"
#include "common/CommandProbe.h"
#include "common/ServiceFixture.h"
#include "host/DVKFiles.h"

namespace {

// The request as the service gets it: serialised, parsed again, without the packet's identifiers.
std::unique_ptr<CSEXMLPacket> Sent(CSECommand& command)
{
    CSEString xml;
    std::unique_ptr<CSEXMLPacket> copy(CSEXMLPacket::GetXMLPacketPtr(-1));
    EXPECT_EQ(PacketOf(command)->getXMLString(xml), 0);
    EXPECT_EQ(copy->loadXMLinMemory(xml), 0) << Utf8(xml);
    copy->removeAttributeFromAllNodes(u"iGSSLID");
    return copy;
}

// The attributes of each element of the path, as "value,value;" per element.
std::string Attributes(CSEXMLPacket* packet, const CSEString& path, std::initializer_list<const char16_t*> names)
{
    std::string text;
    for (int i = 0; i < packet->getNodeCount(path); ++i) {
        for (const char16_t* name : names) {
            CSEString value;
            packet->getAttributeValueAt(path, i, name, value);
            text += Utf8(value) + ",";
        }
        text.back() = ';';
    }
    return text;
}

} // namespace

using ServiceCommands = ServiceFixture;

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
        const CSEString envelopeVersion = CSEClientSettings::GetInstance(0)->GetCSEInfo().m_sCompatibleWKCVersion;
        CSELoginExCmd login;
        login.AddExtraCmdNodeInfoForLoginEx(credentials);
        login.AddExtraCmdNodeInfoForLoginEx(credentials); // replaces: a repeated attribute would not parse
        const std::unique_ptr<CSEXMLPacket> sent = Sent(login);
        EXPECT_EQ(Attributes(sent.get(), u"/command", {u"username", u"password", u"ver"}),
                  "designer,p'a\"s<s>&," + (bulkLoading ? std::string("2.0-bulk") : Utf8(envelopeVersion)) + ";");
    }

    // Renamed, it is no loginEx any more: nothing is added.
    CSELoginExCmd renamed;
    renamed.SetCmdName(u"login");
    renamed.AddExtraCmdNodeInfoForLoginEx(credentials);
    EXPECT_EQ(Attribute(PacketOf(renamed), u"/command", u"username"), Utf8(CSEUtil::GetCurrentUserName()));
    EXPECT_EQ(PacketOf(renamed)->getNodeCount(u"/command/@password"), 0);
}

// Each object gets a list of its own, its folder resolved, and the server fields only when known.
TEST_F(ServiceCommands, VersionsGivesEachObjectItsOwnListAndOnlyTheKnownServerFields)
{
    ASSERT_TRUE(dvk::CreateDirectories(PathOf("parts")));
    std::string realFolder;
    ASSERT_TRUE(dvk::GetRealPath(PathOf("parts"), realFolder));
    CSEVersionsCmd versions;
    CSEObjectInfo first = FileObject(u"c1.prt", u"c1", PathOf("parts/../parts").c_str());
    first.busName = u"BOLT-1";
    first.modified = u"true";
    versions.AddObjectToCmdPacket(first);
    CSEObjectInfo second = FileObject(u"c2.prt", u"c2", u"");
    EXPECT_EQ(PacketOf(versions)->getUniqueIdOfNode(u"/command/cadobjectlist[2]/cadobject"),
              versions.AddObjectToCmdPacket(second));

    const std::unique_ptr<CSEXMLPacket> sent = Sent(versions);
    const CSEString one(u"/command/cadobjectlist[1]/cadobject");
    const CSEString two(u"/command/cadobjectlist[2]/cadobject");
    const auto fields = {u"cadid", u"modified", u"selectable", u"dirname", u"busname"};
    EXPECT_EQ(Attributes(sent.get(), one, fields), "c1,true,true," + realFolder + ",BOLT-1;");
    EXPECT_EQ(Attributes(sent.get(), two, fields), "c2,false,true,,;");
    EXPECT_EQ(sent->getNodeCount(two + u"/@*[starts-with(name(), 'bus')]"), 0); // no empty server fields
}

// Only a second call's text is sent; the two-argument form does not hang the browser, any number but 0 does.
TEST_F(ServiceCommands, UserDefinedCommandTextArrivesUnchangedAndOnce)
{
    for (const int hangBrowser : {-1, 0, 7}) { // -1: the two-argument form
        CSEUserDefinedCmd command;
        command.SetJSPNameNCommand(u"earlier.jsp", u"earlier command", 1);
        if (hangBrowser < 0)
            command.SetJSPNameNCommand(u"custom/report.jsp?a=1&b=2", u"<call proc='a'>x &amp; y</call>");
        else
            command.SetJSPNameNCommand(u"custom/report.jsp?a=1&b=2", u"", hangBrowser);
        const std::unique_ptr<CSEXMLPacket> sent = Sent(command);
        EXPECT_EQ(sent->getNodeCount(u"/command/userdefinedcommand"), 1);
        EXPECT_EQ(NodeValue(sent.get(), u"/command/userdefinedcommand"),
                  hangBrowser < 0 ? "<call proc='a'>x &amp; y</call>" : "");
        EXPECT_EQ(Attributes(sent.get(), u"/command", {u"url", u"hangbrowser"}),
                  std::string("custom/report.jsp?a=1&b=2,") + (hangBrowser > 0 ? "true;" : "false;"));
    }
}
