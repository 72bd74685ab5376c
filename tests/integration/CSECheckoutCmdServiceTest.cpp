// The checkout command against the reference integration service with the sample gearbox in its
// vault: the files land in the folder named, byte for byte the vault's, and the records read from
// the answer (objects, relationships, structure parents, top-level objects, attributes) are those of
// the sample (tools/okt-service/sample/manifest.json).
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "CSECheckoutCmd.h"
#include "CSEResponse.h"
#include "CSEXMLPacket.h"
#include "common/CommandProbe.h"
#include "common/ServiceFixture.h"
#include "integration/OktServiceProcess.h"

namespace {

// The sample's designs; parent: the file of the structure parent the record names (for a part used
// by several parents, the last one that the structure walk meets).
const struct
{
    const char* name;
    const char* type;
    const char* serverType;
    const char* files;
    const char* parent;
} kDesigns[] = {
    {"Gearbox", "assembly", "CAD Assembly", "Gearbox.asm", ""},
    {"Gearbox-Drawing", "drawing", "CAD Drawing", "Gearbox-Drawing.drw|Gearbox-Drawing.dxf", "Gearbox.asm"},
    {"Housing", "assembly", "CAD Assembly", "Housing.asm", "Gearbox.asm"},
    {"Housing-Shell", "part", "CAD Part", "Housing-Shell.prt", "Housing.asm"},
    {"Housing-Shell-Drawing", "drawing", "CAD Drawing", "Housing-Shell-Drawing.drw", "Housing-Shell.prt"},
    {"Oil-Channel", "embeddedComponent", "CAD Part", "Oil-Channel.prt", "Housing-Shell.prt"},
    {"Cover", "part", "CAD Part", "Cover.prt", "Housing.asm"},
    {"Gasket", "part", "CAD Part", "Gasket.prt", "Housing.asm"},
    {"Hex-Bolt-M6", "part", "CAD Part", "Hex-Bolt-M6.prt", "Gearbox.asm"},
    {"Washer-M6", "part", "CAD Part", "Washer-M6.prt", "Gearbox.asm"},
    {"O'Brien bracket", "part", "CAD Part", "O'Brien bracket.prt", "Gearbox.asm"},
    {"Input-Shaft-Assembly", "assembly", "CAD Assembly", "Input-Shaft-Assembly.asm", "Gearbox.asm"},
    {"Input-Shaft", "part", "CAD Part", "Input-Shaft.prt", "Input-Shaft-Assembly.asm"},
    {"Zahnrad-ü", "part", "CAD Part", "Zahnrad-ü.prt", "Input-Shaft-Assembly.asm"},
    {"Bearing-6204", "part", "CAD Part", "Bearing-6204.prt", "Output-Shaft-Assembly.asm"},
    {"Key-A5x5", "part", "CAD Part", "Key-A5x5.prt", "Output-Shaft-Assembly.asm"},
    {"Circlip-20", "part", "CAD Part", "Circlip-20.prt", "Output-Shaft-Assembly.asm"},
    {"Shaft-Seal", "part", "CAD Part", "Shaft-Seal.prt", "Output-Shaft-Assembly.asm"},
    {"Output-Shaft-Assembly", "assembly", "CAD Assembly", "Output-Shaft-Assembly.asm", "Gearbox.asm"},
    {"Output-Shaft", "part", "CAD Part", "Output-Shaft.prt", "Output-Shaft-Assembly.asm"},
    {"歯車", "part", "CAD Part", "歯車.prt", "Output-Shaft-Assembly.asm"},
    {"Spacer-Ring", "part", "CAD Part", "Spacer-Ring.prt", "Output-Shaft-Assembly.asm"},
    {"Breather-Assembly", "assembly", "CAD Assembly", "Breather-Assembly.asm", "Gearbox.asm"},
    {"Breather-Body", "part", "CAD Part", "Breather-Body.prt", "Breather-Assembly.asm"},
    {"Breather-Filter", "embeddedComponent", "CAD Part", "Breather-Filter.prt", "Breather-Body.prt"},
    {"Breather-Cap", "part", "CAD Part", "Breather-Cap.prt", "Breather-Assembly.asm"},
    {"Oil-Plug", "part", "CAD Part", "Oil-Plug.prt", "Gearbox.asm"},
    {"Nameplate", "part", "CAD Part", "Nameplate.prt", "Gearbox.asm"},
};

// The uses under each parent: the child, " xN" for a quantity above 1, " [type]" for a relationship
// other than "assembly".
const std::map<std::string, std::vector<std::string>> kUses = {
    {"Gearbox",
     {"Housing", "Input-Shaft-Assembly", "Output-Shaft-Assembly", "Breather-Assembly", "Oil-Plug", "O'Brien bracket",
      "O'Brien bracket", "Hex-Bolt-M6 x4", "Washer-M6 x4", "Nameplate", "Gearbox-Drawing [drawing]"}},
    {"Housing", {"Housing-Shell", "Cover", "Gasket", "Hex-Bolt-M6 x8", "Washer-M6 x8"}},
    {"Housing-Shell", {"Oil-Channel [embedded]", "Housing-Shell-Drawing [drawing]"}},
    {"Input-Shaft-Assembly",
     {"Input-Shaft", "Zahnrad-ü", "Key-A5x5", "Bearing-6204", "Bearing-6204", "Circlip-20 x2", "Shaft-Seal"}},
    {"Output-Shaft-Assembly",
     {"Output-Shaft", "歯車", "Key-A5x5", "Bearing-6204", "Bearing-6204", "Circlip-20 x2", "Shaft-Seal", "Spacer-Ring"}},
    {"Breather-Assembly", {"Breather-Body", "Breather-Cap"}},
    {"Breather-Body", {"Breather-Filter [embedded]"}},
};

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
    const int list = command.Packet()->createChildNode(CSEString(u"/command"), CSEString(u"cadobjectlist"), CSEString(), 1);
    const int wanted = command.Packet()->createChildNode(list, CSEString(u"cadobject"), CSEString(), 1);
    command.Packet()->createProperty(wanted, CSEString(u"name"), CSEString(u"Gearbox"));
    command.Packet()->createProperty(wanted, CSEString(u"dirname"), CSEString(folder.c_str()));
    command.Packet()->createProperty(wanted, CSEString(u"lock"), CSEString(u"true"));
    CSEString thin;
    ASSERT_EQ(command.Execute(thin), 0);
    ASSERT_EQ(Utf8(command.GetResponseObject()->GetResult()), "success") << Utf8(command.GetResponseObject()->GetReason());

    CSEObjectInfoVector objects;
    command.getObjectInfoList(objects);
    CSERelationshipVector relationships;
    command.getRelationshipList(relationships);
    EXPECT_EQ(Utf8(command.GetCheckoutDirectory()), folder);
    std::map<std::string, const CSEObjectInfo*> byName;
    for (int i = 0; i < objects.size(); ++i)
        byName[Utf8(objects[i].name)] = &objects[i];
    ASSERT_EQ(byName.size(), std::size(kDesigns));
    const std::string sample = std::string(QORVI_SOURCE_DIR) + "/tools/okt-service/sample/files/";
    for (const auto& design : kDesigns) {
        SCOPED_TRACE(design.name);
        ASSERT_EQ(byName.count(design.name), 1u);
        const CSEObjectInfo& object = *byName[design.name];
        EXPECT_EQ(Utf8(object.type), design.type);
        EXPECT_EQ(Utf8(object.busType), design.serverType);
        EXPECT_EQ(Utf8(object.fileName), design.files);
        EXPECT_EQ(Utf8(object.dirName), folder);
        EXPECT_EQ(Utf8(object.lock), object.name == u"Gearbox" ? "true" : "false");
        EXPECT_EQ(Utf8(object.parentFileName), design.parent);
        EXPECT_EQ(Utf8(object.parentFullPath), *design.parent ? folder + "/" + design.parent : "");
        std::string fullFileName;
        for (std::string rest = design.files; !rest.empty();) {
            const std::string file = rest.substr(0, rest.find('|'));
            rest.erase(0, std::min(rest.size(), file.size() + 1));
            fullFileName += (fullFileName.empty() ? "" : "|") + folder + "/" + file;
            EXPECT_EQ(ServicePeer::ReadWholeFile(folder + "/" + file), ServicePeer::ReadWholeFile(sample + file)) << file;
        }
        EXPECT_EQ(Utf8(object.fullFileName), fullFileName);
    }
    // The first attribute of each is its description.
    EXPECT_EQ(Utf8(byName["O'Brien bracket"]->attributes[0].value), "Mounting bracket after O'Brien");
    EXPECT_EQ(Utf8(byName["歯車"]->attributes[0].value), "平歯車 71歯 モジュール2");

    std::map<std::string, std::vector<std::string>> uses;
    for (int i = 0; i < relationships.size(); ++i) {
        const CSERelationship& relationship = relationships[i];
        std::string use = Utf8(relationship.child.name);
        if (relationship.quantity > 1)
            use += " x" + std::to_string(relationship.quantity);
        if (relationship.cadRelationship != u"assembly")
            use += " [" + Utf8(relationship.cadRelationship) + "]";
        uses[Utf8(relationship.parent.name)].push_back(use);
        const std::string childFile = Utf8(relationship.child.fileName);
        if (childFile.find('|') == std::string::npos) { // one format: the path is that of its file
            EXPECT_EQ(Utf8(relationship.childFullPath), folder + "/" + childFile);
        }
        EXPECT_EQ(relationship.parentCadId, relationship.parent.cadId);
    }
    std::map<std::string, std::vector<std::string>> expectedUses = kUses;
    for (auto* table : {&uses, &expectedUses}) {
        for (auto& entry : *table)
            std::sort(entry.second.begin(), entry.second.end());
    }
    EXPECT_EQ(uses, expectedUses);

    command.findAllTopLevelObjects(CSEString(u"//response/info/structure/cadobject"),
                                   command.GetResponseObject()->GetXMLPacket(), objects);
    const CSEObjectInfoVector topLevel = command.GetTopLevelObjectInfoList();
    ASSERT_EQ(topLevel.size(), 1);
    EXPECT_EQ(Utf8(topLevel[0].name), "Gearbox");
    EXPECT_EQ(topLevel[0].isTopLevel, 1);
    EXPECT_TRUE(m_msgMgr->boxes.empty());
}
