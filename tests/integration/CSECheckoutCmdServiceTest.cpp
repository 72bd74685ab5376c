// The checkout command against the reference integration service with the sample gearbox in its
// vault: the files land in the folder named, byte for byte the vault's, and the records read from
// the answer (objects, their structure parents, top-level objects, attributes) are those of the sample
// (tools/okt-service/sample/manifest.json). The rules behind the records are pinned by the unit test
// of the command on a fixture answer.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>

#include "CSECheckoutCmd.h"
#include "CSEResponse.h"
#include "CSEXMLPacket.h"
#include "common/CommandProbe.h"
#include "common/ServiceFixture.h"
#include "integration/OktServiceProcess.h"

namespace {

class CheckoutAgainstService : public ServiceFixture
{
protected:
    void SetUp() override
    {
        ServiceFixture::SetUp();
        setenv("DV5_001", "1", 1); // the site allows the drawing's two formats
    }

    void TearDown() override
    {
        unsetenv("DV5_001");
        m_service.Stop(SIGTERM);
        ServiceFixture::TearDown();
    }

    OktServiceProcess m_service;
};

} // namespace

TEST_F(CheckoutAgainstService, SampleGearboxLandsInTheFolderAndReadsAsTheVaultHoldsIt)
{
    ASSERT_TRUE(m_service.Start(m_profile, PathOf("okt-service.log"), {"--vault", PathOf("vault"), "--seed-sample"}))
        << m_service.Error();
    ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    ASSERT_EQ(Agent().Login(), CSEIntegrationAgent::LoggedIn);
    const std::string folder = PathOf("checkout");
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);

    Probe<CSECheckoutCmd> command;
    ASSERT_EQ(command.Packet()->appendXMLString(u"/command", CSEString(("<cadobjectlist><cadobject name='Gearbox' dirname='" +
                                                                        folder + "' lock='true'/></cadobjectlist>").c_str())), 0);
    CSEString thin;
    ASSERT_EQ(command.Execute(thin), 0);
    ASSERT_EQ(Utf8(command.GetResponseObject()->GetResult()), "success") << Utf8(command.GetResponseObject()->GetReason());

    CSEObjectInfoVector objects;
    command.getObjectInfoList(objects);
    EXPECT_EQ(Utf8(command.GetCheckoutDirectory()), folder);
    std::map<std::string, const CSEObjectInfo*> byName;
    for (int i = 0; i < objects.size(); ++i)
        byName[Utf8(objects[i].name)] = &objects[i];
    ASSERT_EQ(byName.size(), 28u);
    const std::string sample = std::string(QORVI_SOURCE_DIR) + "/tools/okt-service/sample/files/";
    for (const auto& named : byName) {
        const CSEObjectInfo& object = *named.second;
        EXPECT_EQ(Utf8(object.lock), object.name == u"Gearbox" ? "true" : "false") << named.first;
        std::string fullFileName;
        for (std::string rest = Utf8(object.fileName); !rest.empty();) {
            const std::string file = rest.substr(0, rest.find('|'));
            rest.erase(0, std::min(rest.size(), file.size() + 1));
            fullFileName += (fullFileName.empty() ? "" : "|") + folder + "/" + file;
            const std::string landed = ServicePeer::ReadWholeFile(folder + "/" + file);
            EXPECT_TRUE(!landed.empty() && landed == ServicePeer::ReadWholeFile(sample + file)) << file;
        }
        EXPECT_EQ(Utf8(object.fullFileName), fullFileName) << named.first;
    }
    // The parent named is the file of the structure parent that the walk meets last.
    EXPECT_EQ(Utf8(byName["Hex-Bolt-M6"]->parentFullPath), folder + "/Gearbox.asm");
    EXPECT_EQ(Utf8(byName["歯車"]->parentFullPath), folder + "/Output-Shaft-Assembly.asm");
    EXPECT_EQ(Utf8(byName["Gearbox"]->parentFullPath), "");
    EXPECT_EQ(Utf8(byName["歯車"]->attributes[0].value), "平歯車 71歯 モジュール2"); // its description
    command.findAllTopLevelObjects(CSEString(u"//response/info/structure/cadobject"),
                                   command.GetResponseObject()->GetXMLPacket(), objects);
    const CSEObjectInfoVector topLevel = command.GetTopLevelObjectInfoList();
    ASSERT_EQ(topLevel.size(), 1);
    EXPECT_EQ(Utf8(topLevel[0].name) + std::to_string(topLevel[0].isTopLevel), "Gearbox1");
    EXPECT_TRUE(m_msgMgr->boxes.empty());
}
