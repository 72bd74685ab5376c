// The service commands against the reference integration service, run as a real process: each
// command is accepted and answered readably, a wrong loginEx password is refused, and the password
// reaches no log and no dump.
#include <gtest/gtest.h>

#include <signal.h>

#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CSEEncryptionCmd.h"
#include "CSELoginExCmd.h"
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
const char* const kPasswordPieces[] = {"Zebra", "7734", "Quokka"};

class ServiceCommandsAgainstService : public ServiceFixture
{
protected:
    void SetUp() override
    {
        ServiceFixture::SetUp();
        UseSettings(Settings(true)); // dumps on
        const std::string users = PathOf("okt-users");
        std::ofstream(users, std::ios::binary) << "# the service's users\ndesigner:" << kPassword << "\n";
        ASSERT_TRUE(m_service.Start(m_profile, PathOf("okt-service.log"), {"--users", users})) << m_service.Error();
        ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    }

    void TearDown() override
    {
        ResetAgent();
        m_service.Stop(SIGTERM);
        ServiceFixture::TearDown();
    }

    // Runs the command; the response's result, and its reason when it is no success.
    static std::string Run(CSECommand& command)
    {
        CSEString thin;
        if (command.Execute(thin) != 0)
            return "not executed";
        const CSEResponse* response = command.GetResponseObject();
        const std::string result = Utf8(response->GetResult());
        return result == "success" ? result : result + ": " + Utf8(response->GetReason());
    }

    static std::string LogIn(const char* password)
    {
        CSELoginExCmd login;
        CSEObjectInfo credentials;
        credentials.userText1 = u"designer";
        credentials.userText2 = password;
        login.AddExtraCmdNodeInfoForLoginEx(credentials);
        return Run(login);
    }

    static CSEXMLPacket* Answer(CSECommand& command) { return command.GetResponseObject()->GetXMLPacket(); }

    OktServiceProcess m_service;
};

} // namespace

TEST_F(ServiceCommandsAgainstService, EveryCommandIsAnsweredWithSuccessAfterLoginEx)
{
    EXPECT_EQ(LogIn("Zebra"), "failure: wrong password for user 'designer'");
    CSEPreferencesCmd refused;
    EXPECT_EQ(Run(refused), "failure: preferences refused: no user is logged in on this connection");
    ASSERT_EQ(LogIn(kPassword), "success");

    CSEObjectInfo bolt;
    bolt.cadId = u"c1";
    bolt.name = u"Bolt";
    bolt.fileName = u"bolt.prt";
    bolt.type = u"part";
    bolt.dirName = m_folder.c_str();
    bolt.busRevision = u"B";
    bolt.attributes.push_back(CSEAttribute());
    bolt.attributes[0].SetName(u"Material");
    bolt.attributes[0].SetValue(u"Steel");
    CSEObjectInfo nut = bolt;
    nut.cadId = u"c2";
    nut.fileName = u"nut.prt";
    const CSEString siteCommand(u"run <report kind='bom'/> & ]]> done");

    struct Case
    {
        const char* what;
        std::function<CSECommand*()> make;
        std::function<std::string(CSEXMLPacket*)> read; // the part of the answer checked
        std::string expected;
    };
    const Case cases[] = {
        {"preferences", [] { return new CSEPreferencesCmd(); },
         [](CSEXMLPacket* answer) { return NodeValue(answer, u"//info/preferences/attribute[1]/value"); }, "designer"},
        {"encryptionkey", [] { return new CSEEncryptionCmd(); },
         [](CSEXMLPacket* answer) { return std::to_string(NodeValue(answer, u"//info/encryptionkey").size()); }, "32"},
        {"versions",
         [&] {
             CSEVersionsCmd* versions = new CSEVersionsCmd();
             versions->AddObjectToCmdPacket(bolt);
             versions->AddObjectToCmdPacket(nut);
             return versions;
         },
         [](CSEXMLPacket* answer) {
             return Attribute(answer, u"//info/cadobjectlist/cadobject[2]", u"cadid") +
                    Attribute(answer, u"//info/cadobjectlist/cadobject[2]", u"busrevision") +
                    std::to_string(answer->getNodeCount(u"//info/cadobjectlist/cadobject/version"));
         },
         "c2B4"},
        {"initiatewsm",
         [&] {
             CSEManageWorkspaceCmd* workspace = new CSEManageWorkspaceCmd();
             workspace->SetInitialDir(m_folder.c_str());
             CSEObjectInfoVector objects;
             objects.push_back(nut);
             workspace->AddObjectInfoList(objects);
             return workspace;
         },
         [](CSEXMLPacket* answer) { return Attribute(answer, u"//info/workspacemanager", u"objects"); }, "1"},
        {"recentlyaccessedparts", [] { return new CSERecentlyAccessedDesignsCmd(); },
         [](CSEXMLPacket* answer) {
             return Attribute(answer, u"//info/cadobjectlist/cadobject[1]", u"cadid") +
                    Attribute(answer, u"//info/cadobjectlist/cadobject[2]", u"cadid");
         },
         "c2c1"},
        {"userdefined",
         [&] {
             CSEUserDefinedCmd* command = new CSEUserDefinedCmd();
             command->SetJSPNameNCommand(u"custom/report.jsp", siteCommand, 1);
             return command;
         },
         [](CSEXMLPacket* answer) { return NodeValue(answer, u"//info/userdefinedcommand"); }, Utf8(siteCommand)},
        {"setuserdiralias",
         [] {
             CSESetUserDirAliasCmd* command = new CSESetUserDirAliasCmd();
             CSEStringCSEStringMap aliases;
             aliases[u"R&D <lab>"] = u"/srv/r&d";
             command->PopulateUserDirAlias(aliases);
             return command;
         },
         [](CSEXMLPacket* answer) { return Attribute(answer, u"//info/userdiraliaslist/userdiralias", u"name"); },
         "R&D <lab>"},
        {"logout", [] { return new CSELogoutCmd(); }, nullptr, ""},
    };
    for (const Case& c : cases) {
        std::unique_ptr<CSECommand> command(c.make());
        EXPECT_EQ(Run(*command), "success") << c.what;
        EXPECT_EQ(Utf8(command->GetResponseObject()->GetCmdName()), c.what);
        if (c.read) {
            EXPECT_EQ(c.read(Answer(*command)), c.expected) << c.what;
        }
    }
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
        for (const char* piece : kPasswordPieces)
            EXPECT_FALSE(Contains(text, piece)) << file << ": " << text;
    }
}
