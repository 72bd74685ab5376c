// The integration agent and the commands against the reference integration service, run as a real
// process on a temporary profile: a whole session, a refused login, and the service dying and
// coming back on a new port.
#include <gtest/gtest.h>

#include <signal.h>

#include <string>

#include "CSEException.h"
#include "CSELogoutCmd.h"
#include "CSELqlCmd.h"
#include "CSEResponse.h"
#include "CSEServerSettings.h"
#include "CSEStringCSEStringMap.h"
#include "CSEUtil.h"
#include "common/ServiceFixture.h"
#include "integration/OktServiceProcess.h"

namespace {

class OktServiceTest : public ServiceFixture
{
protected:
    void TearDown() override
    {
        ResetAgent();
        m_service.Stop(SIGTERM);
        ServiceFixture::TearDown();
    }

    void StartService(const std::vector<std::string>& options = {})
    {
        ASSERT_TRUE(m_service.Start(m_profile, PathOf("okt-service.log"), options)) << m_service.Error();
    }

    // The server component versions as "name=version;" in table order.
    std::string ComponentVersions()
    {
        std::string versions;
        CSEServerSettings* settings = Agent().GetServerSettingsPtr();
        if (settings == nullptr)
            return versions;
        CSEStringCSEStringMap& table = settings->GetServerComponentVersions();
        for (CSEStringCSEStringMapIterator it = table.begin(); it != table.end(); ++it)
            versions += Utf8((*it).key) + "=" + Utf8((*it).value) + ";";
        return versions;
    }

    OktServiceProcess m_service;
};

const char kVersions[] = "framework=qtl2012x-2.4;engineering central=qtl2012x-2.4;vexlin=qtl2012x-1.3;okt=1.0.0;";

} // namespace

TEST_F(OktServiceTest, WholeSessionFromConnectToDisconnect)
{
    StartService();
    ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    ASSERT_EQ(Agent().Login(), CSEIntegrationAgent::LoggedIn);
    ASSERT_NE(Agent().GetServerSettingsPtr(), nullptr);
    EXPECT_EQ(ComponentVersions(), kVersions);
    EXPECT_EQ(Agent().PingServer(), CSEIntegrationAgent::LoggedIn);

    // A command of the library's own goes through the same connection.
    CSELqlCmd query;
    query.setLQLCommand(u"temp query bus *;");
    CSEString thin;
    EXPECT_EQ(query.Execute(thin), 0);
    EXPECT_EQ(Utf8(query.GetResponseObject()->GetResult()), "failure");
    EXPECT_EQ(Utf8(query.GetResponseObject()->GetReason()), "lql query not supported by this service: 'temp query bus *;'");

    CSELogoutCmd logout;
    EXPECT_EQ(logout.Execute(thin), 0);
    EXPECT_EQ(Utf8(logout.GetResponseObject()->GetResult()), "success");
    EXPECT_EQ(Agent().GetConnectionStatus(), CSEIntegrationAgent::LoggedIn);

    Agent().Disconnect();
    EXPECT_EQ(Agent().GetConnectionStatus(), CSEIntegrationAgent::NotConnected);
    EXPECT_EQ(Agent().GetServerSettingsPtr(), nullptr);
    EXPECT_TRUE(m_msgMgr->boxes.empty());
}

TEST_F(OktServiceTest, RefusedLoginThrowsTheServiceReason)
{
    StartService({"--user", "somebody-else"});
    ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    const std::string reason = "user '" + Utf8(CSEUtil::GetCurrentUserName()) + "' is not allowed to log in";
    try {
        Agent().Login();
        ADD_FAILURE() << "Login did not throw";
    } catch (CSEException& error) {
        EXPECT_EQ(Utf8(error.GetMsg()), reason);
    }
    EXPECT_EQ(Agent().GetConnectionStatus(), CSEIntegrationAgent::Connected);
    EXPECT_EQ(Agent().GetServerSettingsPtr(), nullptr);
    EXPECT_TRUE(Logged(kMainLog, 6, "Login response is failed. Reason=" + reason));
    EXPECT_EQ(Agent().PingServer(), CSEIntegrationAgent::Connected);
}

// After any failure the state is a clean NotConnected: the same process finds the service again.
TEST_F(OktServiceTest, ServiceThatDiesAndReturnsOnANewPortIsFoundAgain)
{
    StartService();
    ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    ASSERT_EQ(Agent().Login(), CSEIntegrationAgent::LoggedIn);
    ASSERT_EQ(Agent().PingServer(), CSEIntegrationAgent::LoggedIn);
    const std::string lastResponse = ReadFile("recd.xml");
    ASSERT_FALSE(lastResponse.empty());

    m_service.Stop(SIGKILL); // no clean-up: "okt.port" still names the dead port
    EXPECT_EQ(Agent().PingServer(), CSEIntegrationAgent::NotConnected);
    EXPECT_EQ(Agent().GetServerSettingsPtr(), nullptr);
    EXPECT_EQ(ReadFile("recd.xml"), lastResponse);
    CSEString response;
    EXPECT_FALSE(Agent().GetResponse(response)) << "a closed connection cannot answer";
    EXPECT_FALSE(Agent().SendCommand(u"<command cname='ping'/>"));
    EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::NotConnected) << "nobody listens on the old port";
    EXPECT_EQ(Agent().Login(), CSEIntegrationAgent::NotConnected);

    StartService();
    EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    EXPECT_EQ(Agent().Login(), CSEIntegrationAgent::LoggedIn);
    EXPECT_EQ(Agent().PingServer(), CSEIntegrationAgent::LoggedIn);
    EXPECT_EQ(ComponentVersions(), kVersions);
}
