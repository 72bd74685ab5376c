// The integration agent and the commands against the reference integration service, run as a real
// process on a temporary profile: a whole session, a refused login, and the service dying and coming
// back on a new port.
#include <gtest/gtest.h>

#include <signal.h>

#include <string>
#include <vector>

#include "CSEException.h"
#include "CSELogoutCmd.h"
#include "CSELqlCmd.h"
#include "CSEResponse.h"
#include "CSEServerSettings.h"
#include "CSEXMLPacket.h"
#include "CSEUtil.h"
#include "common/CommandProbe.h"
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

    OktServiceProcess m_service;
};

} // namespace

// The service hands out tools/okt-service/global_settings.xml: a few settings of each kind and
// section show that its keys reach the settings of the login and the utilities' look-ups, which
// answer from them until the connection ends (the key tables themselves have a unit test).
TEST_F(OktServiceTest, WholeSessionAnswersFromTheSettingsOfTheLoginUntilDisconnect)
{
    StartService();
    ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    ASSERT_EQ(Agent().Login(), CSEIntegrationAgent::LoggedIn);
    ASSERT_NE(Agent().GetServerSettingsPtr(), nullptr);
    EXPECT_EQ(Agent().PingServer(), CSEIntegrationAgent::LoggedIn);

    const CSEServerSettings& settings = *Agent().GetServerSettingsPtr();
    EXPECT_TRUE(settings.IsRapidFileEnabled());
    EXPECT_EQ(Utf8(settings.GetCheckoutDir()), "/srv/qx/checkout");
    EXPECT_EQ(Utf8(settings.GetBusTypes(u"part")[1]), "Versioned CAD Part");
    EXPECT_EQ(settings.GetCADToQxMandatoryAttributesVector().size(), 3) << "a line without both commas defines nothing";
    CSEString cadAttribute;
    EXPECT_TRUE(settings.GetQxToCADRevisionAttribute(u"Drawing", u"revision", cadAttribute));
    EXPECT_EQ(Utf8(cadAttribute), "DrawingRevision");
    // The utilities answer from the same settings.
    EXPECT_FALSE(CSEUtil::IsCommandEnabled(u"InitiateWSM"));
    EXPECT_TRUE(CSEUtil::IsDerivedOutputDeleteOnCheckin(u"PDF Output"));
    EXPECT_EQ(Utf8(CSEUtil::GetServerVersionsString(u"FrameWork")), "qtl2012x-2.4");
    EXPECT_FALSE(CSEUtil::IsQxTypeValid(u"part", u"Obsolete Part")) << "a repeated name keeps its first list";
    CSEString attribute(u"kept");
    EXPECT_TRUE(CSEUtil::GetCADAttributeMappedToCSEType(u"CAD Part", attribute));
    EXPECT_EQ(Utf8(attribute), "PartNumber");

    // A command of the library's own goes through the same connection; the service reads requests
    // with a strict parser, and one control character used to cost the request.
    CSELqlCmd query; // its element also carries a CAD attribute
    query.setLQLCommand(CSEString(DVKUnicodeString(std::u16string(u"bus \x01gear\0 \uFFFF;", 13))));
    PacketOf(query)->createProperty(u"//command/lql", u"cadtitle", u"Gear\x02\x1B");
    CSEString thin;
    EXPECT_EQ(query.Execute(thin), 0);
    EXPECT_EQ(Utf8(query.GetResponseObject()->GetReason()),
              Utf8(u"lql query not supported by this service: 'bus \uFFFDgear\uFFFD \uFFFD;'"));

    // A logout keeps the connection and its settings; a disconnect leaves nobody logged in.
    CSELogoutCmd logout;
    EXPECT_EQ(logout.Execute(thin), 0);
    EXPECT_EQ(Utf8(logout.GetResponseObject()->GetResult()), "success");
    EXPECT_EQ(Agent().GetConnectionStatus(), CSEIntegrationAgent::LoggedIn);
    EXPECT_FALSE(CSEUtil::IsCommandEnabled(u"initiatewsm"));
    Agent().Disconnect();
    EXPECT_EQ(Agent().GetConnectionStatus(), CSEIntegrationAgent::NotConnected);
    EXPECT_EQ(Agent().GetServerSettingsPtr(), nullptr);
    attribute = u"kept";
    EXPECT_TRUE(CSEUtil::IsCommandEnabled(u"initiatewsm"));
    EXPECT_FALSE(CSEUtil::IsDerivedOutputDeleteOnCheckin(u"PDF Output"));
    EXPECT_EQ(Utf8(CSEUtil::GetServerVersionsString(u"framework")), "");
    EXPECT_FALSE(CSEUtil::GetCADAttributeMappedToCSEType(u"CAD Part", attribute));
    EXPECT_EQ(Utf8(attribute), "kept");
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
    EXPECT_FALSE(Agent().SendCommand(u"<command cname='ping'/>"));
    EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::NotConnected) << "nobody listens on the old port";

    StartService();
    EXPECT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    EXPECT_EQ(Agent().Login(), CSEIntegrationAgent::LoggedIn);
    EXPECT_EQ(Utf8(CSEUtil::GetServerVersionsString(u"okt")), "1.0.0");
}
