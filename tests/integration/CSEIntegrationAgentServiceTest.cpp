// The integration agent and the commands against the reference integration service, run as a real
// process on a temporary profile: a whole session, a refused login, a request holding characters
// that XML cannot carry, and the service dying and coming back on a new port.
#include <gtest/gtest.h>

#include <signal.h>

#include <string>
#include <utility>
#include <vector>

#include "CSEException.h"
#include "CSELogoutCmd.h"
#include "CSELqlCmd.h"
#include "CSEResponse.h"
#include "CSEServerSettings.h"
#include "CSEStringCSEStringMap.h"
#include "CSEXMLPacket.h"
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

// A query whose element also carries a CAD attribute.
class AttributedLqlCmd : public CSELqlCmd
{
public:
    void SetQueryAttribute(const CSEString& name, const CSEString& value)
    {
        m_pCmdXMLPacket->createProperty(u"//command/lql", name, value, 0);
    }
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

// The service reads requests with a strict parser: one control character used to cost the request.
TEST_F(OktServiceTest, RequestWithCharactersThatXmlCannotCarryIsAnswered)
{
    StartService();
    ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    ASSERT_EQ(Agent().Login(), CSEIntegrationAgent::LoggedIn);
    AttributedLqlCmd query;
    query.setLQLCommand(CSEString(DVKUnicodeString(std::u16string(u"bus \x01gear\0 \uFFFF;", 13))));
    query.SetQueryAttribute(u"cadtitle", u"Gear\x02\x1B");
    CSEString thin;
    EXPECT_EQ(query.Execute(thin), 0);
    EXPECT_EQ(Utf8(query.GetResponseObject()->GetReason()),
              Utf8(u"lql query not supported by this service: 'bus \uFFFDgear\uFFFD \uFFFD;'"));
}

// The service hands out tools/okt-service/global_settings.xml; every setting of it reaches the
// settings of the login and the utilities' look-ups, until the connection ends.
TEST_F(OktServiceTest, SettingsOfTheLoginAnswerEveryLookupUntilDisconnect)
{
    StartService();
    ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    ASSERT_EQ(Agent().Login(), CSEIntegrationAgent::LoggedIn);
    ASSERT_NE(Agent().GetServerSettingsPtr(), nullptr);
    const CSEServerSettings& settings = *Agent().GetServerSettingsPtr();

    typedef unsigned char (CSEServerSettings::*Switch)() const;
    const std::vector<std::pair<Switch, unsigned char>> switches = {
        {&CSEServerSettings::IsAssignCADModelNameFromPartSupported, 1},
        {&CSEServerSettings::IsRapidFileEnabled, 1},
        {&CSEServerSettings::IsConfigurationSupportEnabled, 1},
        {&CSEServerSettings::IsUUIDConflictSupported, 1},
        {&CSEServerSettings::IsAutoRecognitionEnabled, 0},
        {&CSEServerSettings::IsCreateVersionObjects, 1},
        {&CSEServerSettings::IsCheckinDialogPreEnabled, 0},
        {&CSEServerSettings::IsCheckinStartEnabled, 1},
        {&CSEServerSettings::IsCheckinPartPreEnabled, 1},
        {&CSEServerSettings::IsCheckinPartPostEnabled, 1},
        {&CSEServerSettings::IsCheckoutPartPreEnabled, 0},
        {&CSEServerSettings::IsCheckoutPartPostEnabled, 1},
        {&CSEServerSettings::IsOpenPartPreEnabled, 0},
        {&CSEServerSettings::IsOpenPartPostEnabled, 0},
        {&CSEServerSettings::IsLockPartPreEnabled, 0},
        {&CSEServerSettings::IsLockPartPostEnabled, 1},
        {&CSEServerSettings::IsUpdateAttributesInCadPreEnabled, 1},
        {&CSEServerSettings::IsUpdateAttributesInCadPostEnabled, 0},
        {&CSEServerSettings::IsDvkPreventCheckinForUnloadedModelsSupported, 1},
        {&CSEServerSettings::IsDvkUpdateInstancesNamesOnRenameSupported, 0},
        {&CSEServerSettings::IsDvkCheckinAssociatedDrawingsSupported, 1},
        {&CSEServerSettings::IsDvkReadWriteAccessBasedOnLockUnlockOptionsSupported, 1},
        {&CSEServerSettings::IsDvkUpdatePartNumberOnRenameSupported, 1},
        {&CSEServerSettings::IsDvkTraverseMultiLevelMMLSupported, 0},
        {&CSEServerSettings::IsDvkLoadingInVisuModeInCheckoutSupported, 1},
        {&CSEServerSettings::IsDvkPreventCheckinIfStructureContainsNewNotSavedNodesSupported, 1},
        {&CSEServerSettings::IsLockFileOnCheckout, 1},
        {&CSEServerSettings::IsDelLocalFiles, 0},
        {&CSEServerSettings::IsRetainLock, 1},
        {&CSEServerSettings::IsCopyAttribOnCheckin, 1},
        {&CSEServerSettings::IsCopyAttribOnCheckout, 1},
        {&CSEServerSettings::IsAutoName, 0},
        {&CSEServerSettings::IsCopyRelAttribOnCheckin, 1},
        {&CSEServerSettings::IsCopyRelAttribOnCheckout, 0},
        {&CSEServerSettings::IsAllowAutoGenerationForManualDerivedOutput, 0},
        {&CSEServerSettings::IsUserDirectoryAliasModeAllowed, 1},
        {&CSEServerSettings::IsGCOQx2CADXFormSupported, 1},
        {&CSEServerSettings::IsGCOCAD2QxXFormSupported, 1},
        {&CSEServerSettings::IsGCOQx2CADQXIDSupported, 1},
        {&CSEServerSettings::IsGCOCAD2QxQXIDSupported, 0},
        {&CSEServerSettings::IsGCOQx2CADComponentIDSupported, 0},
        {&CSEServerSettings::IsGCOCAD2QxComponentIDSupported, 1},
        {&CSEServerSettings::IsGCOCAD2QxUUIDSupported, 1},
    };
    for (std::size_t i = 0; i < switches.size(); ++i)
        EXPECT_EQ((settings.*switches[i].first)(), switches[i].second) << "switch " << i;

    const std::vector<std::pair<CSEString, std::string>> texts = {
        {settings.GetCheckoutDir(), "/srv/qx/checkout"},
        {settings.GetRFAPath(), "/srv/qx/rfa/"},
        {settings.GetDeleteFilesBehaviourOnCheckin(), "Keep Local Files"},
        {settings.GetNonSupportedCharacters(), "#%&<>*?|\""},
        {settings.GetCSEDerivedOutputOptions(), "PDF,STEP,JPEG"},
        {settings.GetDvkDeleteModifiedFilesOnCheckinOptions(), "ask"},
        {settings.GetDvkObjectLoadingInSessionOptions(), "LoadSelectedObjectsInSession"},
        {settings.GetCSETypetoCADAttributeMapping(u"CAD Assembly"), "AssemblyNumber"},
    };
    for (const auto& text : texts)
        EXPECT_EQ(Utf8(text.first), text.second);

    typedef std::vector<std::string> Texts;
    const std::vector<std::pair<CSEWrapperStringVector, Texts>> lists = {
        {settings.GetCSEDisabledCommandsList(), {"RecentlyAccessedParts", "initiatewsm"}},
        {settings.GetDvkPreventTypeCheckinOptions(), {"CAD Drawing Template", "Standard Part"}},
        {settings.GetDvkExcludeTypesListOptions(), {"Sketch", "Reference Geometry"}},
        {settings.GetSelectedDerivedOutputs(), {"PDF Output", "STEP Output"}},
        {settings.GetSelectedBackgroundDerivedOutputs(), {"STEP Output"}},
        {settings.GetSelectedManualDerivedOutputs(), {"PDF Output"}},
        {settings.GetBusTypes(u"part"), {"CAD Part", "Versioned CAD Part"}},
        {settings.GetPolicies(u"CAD Drawing"), {"Drawing Policy"}},
        {settings.GetVexlinTypeClassMapping(u"TYPE_DRAWING_LIKE"), {"CAD Drawing", "Versioned CAD Drawing"}},
        {settings.GetQxToCADAttributesVector(u"Part"), {"Revision", "Description", "Material", "Owner", "LifecycleState"}},
        {settings.GetCADToQxAttributesVector(u"Drawing"), {"SheetSize", "weight", "Designer"}},
    };
    for (const auto& list : lists) {
        Texts elements;
        for (int i = 0; i < list.first.Size(); ++i)
            elements.push_back(Utf8(list.first[i]));
        EXPECT_EQ(elements, list.second);
    }
    EXPECT_EQ(settings.GetCADToQxMandatoryAttributesVector().size(), 3);
    CSEString cadAttribute;
    EXPECT_TRUE(settings.GetQxToCADRevisionAttribute(u"Drawing", u"revision", cadAttribute));
    EXPECT_EQ(Utf8(cadAttribute), "DrawingRevision");

    // The utilities answer from the same settings.
    EXPECT_FALSE(CSEUtil::IsCommandEnabled(u"recentlyaccessedparts"));
    EXPECT_FALSE(CSEUtil::IsCommandEnabled(u"InitiateWSM"));
    EXPECT_TRUE(CSEUtil::IsCommandEnabled(u"checkin"));
    EXPECT_TRUE(CSEUtil::IsCadTypePreventedFromCheckin(u"Standard Part"));
    EXPECT_FALSE(CSEUtil::IsCadTypePreventedFromCheckin(u"standard part"));
    EXPECT_TRUE(CSEUtil::IsCadTypeExcludedFromCheckin(u"Sketch"));
    EXPECT_TRUE(Logged(kMainLog, 5, "[CSEUtil::IsCadTypePreventedFromCheckin] The TypeStandard Partexists in the "
                                    "prevented types list"));
    EXPECT_TRUE(CSEUtil::IsCadObjTypeDerivedOutput(u"PDF Output"));
    EXPECT_FALSE(CSEUtil::IsCadObjTypeDerivedOutput(u"CAD Part"));
    EXPECT_TRUE(CSEUtil::IsDerivedOutputDeleteOnCheckin(u"PDF Output"));
    EXPECT_FALSE(CSEUtil::IsDerivedOutputDeleteOnCheckin(u"STEP Output"));
    EXPECT_EQ(Utf8(CSEUtil::GetServerVersionsString(u"FrameWork")), "qtl2012x-2.4");
    EXPECT_TRUE(CSEUtil::IsPNGViewableSupported());
    EXPECT_TRUE(CSEUtil::ValidateFilename(u"gear.prt"));
    EXPECT_FALSE(CSEUtil::ValidateFilename(u"gear#1.prt"));
    EXPECT_TRUE(Logged(kMainLog, 3, "[CSEUtil::ValidateFilename]:UnSupported characters found in the filename. "
                                    "Throwing exception"));
    EXPECT_TRUE(CSEUtil::IsQxTypeValid(u"part", u"Versioned CAD Part"));
    EXPECT_FALSE(CSEUtil::IsQxTypeValid(u"part", u"Obsolete Part")) << "a repeated name keeps its first list";
    CSEString attribute;
    EXPECT_TRUE(CSEUtil::GetCADAttributeMappedToCSEType(u"CAD Part", attribute));
    EXPECT_EQ(Utf8(attribute), "PartNumber");

    // A logout keeps the connection and its settings; a disconnect leaves nobody logged in.
    CSELogoutCmd logout;
    CSEString thin;
    EXPECT_EQ(logout.Execute(thin), 0);
    EXPECT_FALSE(CSEUtil::IsCommandEnabled(u"initiatewsm"));
    Agent().Disconnect();
    attribute = u"kept";
    EXPECT_TRUE(CSEUtil::IsCommandEnabled(u"initiatewsm"));
    EXPECT_FALSE(CSEUtil::IsCadTypePreventedFromCheckin(u"Standard Part"));
    EXPECT_FALSE(CSEUtil::IsCadTypeExcludedFromCheckin(u"Sketch"));
    EXPECT_FALSE(CSEUtil::IsCadObjTypeDerivedOutput(u"PDF Output"));
    EXPECT_FALSE(CSEUtil::IsDerivedOutputDeleteOnCheckin(u"PDF Output"));
    EXPECT_EQ(Utf8(CSEUtil::GetServerVersionsString(u"framework")), "");
    EXPECT_FALSE(CSEUtil::IsPNGViewableSupported());
    EXPECT_FALSE(CSEUtil::ValidateFilename(u"gear.prt"));
    EXPECT_FALSE(CSEUtil::IsQxTypeValid(u"part", u"CAD Part"));
    EXPECT_FALSE(CSEUtil::GetCADAttributeMappedToCSEType(u"CAD Part", attribute));
    EXPECT_EQ(Utf8(attribute), "kept");
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
