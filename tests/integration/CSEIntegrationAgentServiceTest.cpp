// The integration agent and the commands against the reference integration service, run as a real
// process on a temporary profile: a whole session, a refused login, and the service dying and
// coming back on a new port.
#include <gtest/gtest.h>

#include <signal.h>

#include <map>
#include <string>

#include "CSEException.h"
#include "CSEIntegrationAgent.h"
#include "CSELogoutCmd.h"
#include "CSELqlCmd.h"
#include "CSEResponse.h"
#include "CSEServerSettings.h"
#include "CSEStringCSEStringMap.h"
#include "CSEUtil.h"
#include "connection/IntegrationAgentFixture.h"
#include "integration/OktServiceProcess.h"

namespace {

class OktServiceTest : public IntegrationAgentFixture
{
protected:
    void TearDown() override
    {
        ResetAgent();
        m_service.Stop(SIGTERM);
        IntegrationAgentFixture::TearDown();
    }

    void StartService(const std::vector<std::string>& options = {})
    {
        ASSERT_TRUE(m_service.Start(m_profile, m_install + "/okt-service.log", options)) << m_service.Error();
    }

    // The port that "okt.port" names now.
    int PublishedPort() const { return std::atoi(ReadFile(m_profile + "/okt.port").c_str()); }

    std::map<std::string, std::string> ComponentVersions()
    {
        std::map<std::string, std::string> versions;
        CSEServerSettings* settings = Agent().GetServerSettingsPtr();
        if (settings == nullptr)
            return versions;
        CSEStringCSEStringMap& table = settings->GetServerComponentVersions();
        for (CSEStringCSEStringMapIterator it = table.begin(); it != table.end(); ++it)
            versions[(*it).key().ToUTF8()] = (*it).value().ToUTF8();
        return versions;
    }

    OktServiceProcess m_service;
};

} // namespace

TEST_F(OktServiceTest, WholeSessionFromConnectToDisconnect)
{
    StartService();
    ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    ASSERT_EQ(Agent().Login(), CSEIntegrationAgent::LoggedIn);
    ASSERT_NE(Agent().GetServerSettingsPtr(), nullptr);
    EXPECT_TRUE(Contains(Agent().GetServerSettingsPtr()->GetLoginResponse()().ToUTF8(), "OKT-CreateVersionObjects"));
    const std::map<std::string, std::string> expected = {{"framework", "qtl2012x-2.4"},
                                                         {"engineering central", "qtl2012x-2.4"},
                                                         {"vexlin", "qtl2012x-1.3"},
                                                         {"okt", "1.0.0"}};
    EXPECT_EQ(ComponentVersions(), expected);
    EXPECT_EQ(Agent().PingServer(), CSEIntegrationAgent::LoggedIn);

    // A command of the library's own goes through the same connection.
    CSELqlCmd query;
    query.setLQLCommand(u"temp query bus *;");
    CSEString thin;
    EXPECT_EQ(query.Execute(thin), 0);
    ASSERT_NE(query.GetResponseObject(), nullptr);
    EXPECT_EQ(query.GetResponseObject()->GetResult()().ToUTF8(), "failure");
    EXPECT_EQ(query.GetResponseObject()->GetReason()().ToUTF8(),
              "lql query not supported by this service: 'temp query bus *;'");

    CSELogoutCmd logout;
    EXPECT_EQ(logout.Execute(thin), 0);
    ASSERT_NE(logout.GetResponseObject(), nullptr);
    EXPECT_EQ(logout.GetResponseObject()->GetResult()().ToUTF8(), "success");
    EXPECT_EQ(Agent().GetConnectionStatus(), CSEIntegrationAgent::LoggedIn);

    Agent().Disconnect();
    EXPECT_EQ(Agent().GetConnectionStatus(), CSEIntegrationAgent::NotConnected);
    EXPECT_EQ(Agent().GetServerSettingsPtr(), nullptr);
    EXPECT_TRUE(m_pMsgMgr->m_shown.empty());
    for (const char* name : {"QxRequest.xml", "sent.xml", "recd.xml"})
        EXPECT_EQ(PermissionsOf(InstallFile(name)), 0600) << name;
}

TEST_F(OktServiceTest, RefusedLoginThrowsTheServiceReason)
{
    StartService({"--user", "somebody-else"});
    ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    const std::string user = CSEUtil::GetCurrentUserName()().ToUTF8();
    try {
        Agent().Login();
        ADD_FAILURE() << "Login did not throw";
    } catch (CSEException& error) {
        EXPECT_EQ(error.GetMsg()().ToUTF8(), "user '" + user + "' is not allowed to log in");
    }
    EXPECT_EQ(Agent().GetConnectionStatus(), CSEIntegrationAgent::Connected);
    EXPECT_EQ(Agent().GetServerSettingsPtr(), nullptr);
    EXPECT_TRUE(Contains(MainLog(), "Login response is failed. Reason=user '" + user + "' is not allowed to log in"));
    EXPECT_EQ(Agent().PingServer(), CSEIntegrationAgent::Connected);
}

TEST_F(OktServiceTest, ServiceThatDiesAndReturnsOnANewPortIsFoundAgain)
{
    StartService();
    ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    ASSERT_EQ(Agent().Login(), CSEIntegrationAgent::LoggedIn);
    ASSERT_EQ(Agent().PingServer(), CSEIntegrationAgent::LoggedIn);
    const std::string lastResponse = ReadFile(InstallFile("recd.xml"));
    ASSERT_FALSE(lastResponse.empty());

    m_service.Stop(SIGKILL); // no clean-up: "okt.port" still names the dead port
    EXPECT_EQ(Agent().PingServer(), CSEIntegrationAgent::NotConnected);
    EXPECT_EQ(Agent().GetServerSettingsPtr(), nullptr);
    EXPECT_EQ(ReadFile(InstallFile("recd.xml")), lastResponse);
    EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::NotConnected) << "nobody listens on the old port";
    EXPECT_EQ(Agent().Login(), CSEIntegrationAgent::NotConnected);

    StartService();
    EXPECT_GT(PublishedPort(), 0) << "the new service publishes its own port";
    EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    EXPECT_EQ(Agent().Login(), CSEIntegrationAgent::LoggedIn);
    EXPECT_EQ(Agent().PingServer(), CSEIntegrationAgent::LoggedIn);
    EXPECT_EQ(ComponentVersions().size(), 4u);
}
