// The service commands against the reference integration service, run as a real process: each
// command is accepted and answered readably, a wrong loginEx password is refused, and the password
// reaches no log and no dump.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "CSEEncryptionCmd.h"
#include "CSELogoutCmd.h"
#include "CSEManageWorkspaceCmd.h"
#include "CSEObjectInfo.h"
#include "CSEPreferencesCmd.h"
#include "CSERecentlyAccessedDesignsCmd.h"
#include "CSEResponse.h"
#include "CSESetUserDirAliasCmd.h"
#include "CSEStringCSEStringMap.h"
#include "CSEUserDefinedCmd.h"
#include "CSEVersionsCmd.h"
#include "CSEXMLPacket.h"
#include "common/CommandProbe.h"
#include "common/ServiceFixture.h"
#include "host/DVKFiles.h"
#include "integration/OktServiceProcess.h"

namespace {

// Quote, apostrophe and markup characters, so that the masking must cope with escaped values.
const char kPassword[] = "Zebra'7734\"<Quokka>&";

} // namespace

using ServiceCommandsAgainstService = ServiceFixture;

TEST_F(ServiceCommandsAgainstService, EveryCommandIsAnsweredWithSuccessAfterLoginEx)
{
    UseSettings(Settings(true)); // dumps on
    const std::string users = PathOf("okt-users");
    std::ofstream(users, std::ios::binary) << "designer:" << kPassword << "\n";
    OktServiceProcess service; // stopped when the test ends, before the fixture removes its folders
    ASSERT_TRUE(service.Start(m_profile, PathOf("okt-service.log"), {"--users", users})) << service.Error();
    ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    EXPECT_EQ(LogInAs(u"designer", "Zebra"), "failure: wrong password for user 'designer'");
    CSEPreferencesCmd refused;
    EXPECT_EQ(Executed(refused), "failure: preferences refused: no user is logged in on this connection");
    ASSERT_EQ(LogInAs(u"designer", kPassword), "success");

    // The service refuses any request that the client must never send, and echoes what it got.
    CSEObjectInfo bolt = FileObject(u"bolt.prt", u"c1", m_folder.c_str());
    bolt.name = u"Bolt";
    bolt.type = u"part";
    bolt.attributes.push_back(CSEAttribute(u"Material", u"Steel"));
    CSEObjectInfo nut = bolt;
    nut.cadId = u"c2";
    CSEObjectInfoVector objects;
    objects.push_back(bolt);
    objects.push_back(nut);
    const CSEString siteCommand(u"run <report kind='bom'/> & ]]> done");
    CSEStringCSEStringMap aliases;
    aliases[u"R&D <lab>"] = u"/srv/r&d/]]>";

    CSEPreferencesCmd preferences;
    CSEEncryptionCmd encryptionKey;
    CSEVersionsCmd versions;
    versions.AddObjectToCmdPacket(bolt);
    versions.AddObjectToCmdPacket(nut);
    CSEManageWorkspaceCmd workspace;
    workspace.SetInitialDir(m_folder.c_str());
    workspace.AddObjectInfoList(objects);
    workspace.AddObjectInfoList(CSEObjectInfoVector()); // adds nothing, no second list
    CSERecentlyAccessedDesignsCmd recent;
    CSEUserDefinedCmd userDefined;
    userDefined.SetJSPNameNCommand(u"earlier.jsp", u"earlier command");
    userDefined.SetJSPNameNCommand(u"custom/report.jsp", siteCommand, 1);
    CSESetUserDirAliasCmd userDirAlias;
    userDirAlias.PopulateUserDirAlias(aliases);
    CSELogoutCmd logout;
    for (CSECommand* command : std::vector<CSECommand*>{&preferences, &encryptionKey, &versions, &workspace, &recent,
                                                        &userDefined, &userDirAlias, &logout}) {
        const std::string what = Utf8(command->GetCmdName());
        EXPECT_EQ(Executed(*command), "success") << what;
        EXPECT_EQ(Utf8(command->GetResponseObject()->GetCmdName()), what);
    }
    const auto answer = [](CSECommand& command) { return command.GetResponseObject()->GetXMLPacket(); };
    EXPECT_EQ(Attribute(answer(versions), u"//info/cadobjectlist/cadobject[2]", u"cadid"), "c2");
    EXPECT_EQ(Attribute(answer(workspace), u"//info/workspacemanager", u"objects"), "2");
    // The service lists the objects last seen first, in the order the workspace request gave them.
    EXPECT_EQ(Attribute(answer(recent), u"//info/cadobjectlist/cadobject[1]", u"cadid") +
                  Attribute(answer(recent), u"//info/cadobjectlist/cadobject[2]", u"cadid"),
              "c1c2");
    EXPECT_EQ(NodeValue(answer(userDefined), u"//info/userdefinedcommand"), Utf8(siteCommand));
    EXPECT_EQ(Attribute(answer(userDirAlias), u"//info/userdiraliaslist/userdiralias", u"name"), "R&D <lab>");
    EXPECT_TRUE(m_msgMgr->boxes.empty());

    // The service got the password; no log, no dump and no file the library keeps shows it.
    std::vector<std::string> files = {kMainLog, kSilentLog, kPerformanceLog, "okt-service.log", "sent.xml", "recd.xml"};
    std::vector<std::string> dumps;
    dvk::ListDirectory(PathOf("XmlDump"), dumps);
    EXPECT_GE(dumps.size(), 4u);
    for (const std::string& dump : dumps)
        files.push_back("XmlDump/" + dump);
    for (const std::string& file : files) {
        const std::string text = ReadFile(file);
        for (const char* piece : {"Zebra", "7734", "Quokka"})
            EXPECT_FALSE(Contains(text, piece)) << file << ": " << text;
    }
}
