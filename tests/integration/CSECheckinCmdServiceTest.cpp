// The check-in command against the reference integration service: a small assembly is checked in
// whole, then again in a partial request, and the rebuilt response reads back what the vault stored.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "CSECheckinCmd.h"
#include "CSERelationship.h"
#include "CSEResponse.h"
#include "common/ServiceFixture.h"
#include "integration/OktServiceProcess.h"

using servicetest::Utf8;

namespace {

const struct
{
    const char* cadId;
    const char* name;
    const char* file;
    const char* type;
    const char* serverType;
    const char* parents;
} kParts[] = {
    {"c1", "Frame", "Frame.asm", "assembly", "CAD Assembly", ""},
    {"c2", "O'Brien bracket", "O'Brien bracket.prt", "part", "CAD Part", "c1"},
    {"c3", "歯車", "歯車.prt", "part", "CAD Part", "c1"},
};

class CheckinAgainstService : public ServiceFixture
{
protected:
    void TearDown() override
    {
        m_service.Stop(SIGTERM);
        ServiceFixture::TearDown();
    }

    // Frame.asm holds the bracket and the gear.
    void BuildRequest(CSECheckinCmd& command, const std::string& folder)
    {
        int top = -1;
        for (const auto& part : kParts) {
            CSEObjectInfo object;
            object.cadId = CSEString(part.cadId);
            object.name = CSEString(part.name);
            object.fileName = CSEString(part.file);
            object.dirName = CSEString(folder.c_str());
            object.type = CSEString(part.type);
            CSERelationship relationship;
            relationship.rid = CSEString(part.cadId) + u"r";
            relationship.cadRelationship = u"assembly";
            if (top < 0)
                top = command.CreateRootObject(object);
            else
                command.AddObject(top, object, relationship);
        }
    }

    // The objects of the rebuilt response, checked against the parts with the version expected.
    void ExpectStored(CSECheckinCmd& command, const char* version, const char* status, const std::string& folder)
    {
        ASSERT_EQ(command.ParseAndBuildResponse(), 0);
        CSEStringCSEObjectMap map;
        const CSEObjectInfoVector objects = command.GetObjectListFromResponse(map, 1);
        std::map<std::string, CSEObjectInfo> byCadId;
        for (int i = 0; i < objects.size(); ++i)
            byCadId[Utf8(objects[i].cadId)] = objects[i];
        ASSERT_EQ(byCadId.size(), std::size(kParts));
        for (const auto& part : kParts) {
            SCOPED_TRACE(part.cadId);
            const CSEObjectInfo& object = byCadId[part.cadId];
            EXPECT_EQ(Utf8(object.name), part.name);
            EXPECT_EQ(Utf8(object.busType), part.serverType);
            EXPECT_EQ(Utf8(object.qxVersion), version);
            EXPECT_EQ(Utf8(object.designStatus), status);
            EXPECT_EQ(Utf8(object.fullFileName), folder + "/" + part.file);
            EXPECT_EQ(object.parentCadIds.Size() == 0 ? "" : Utf8(*object.parentCadIds[1]), part.parents);
        }
    }

    OktServiceProcess m_service;
};

} // namespace

TEST_F(CheckinAgainstService, AssemblyCheckedInWholeThenInPartsReadsBackItsVersions)
{
    ASSERT_TRUE(m_service.Start(m_profile, PathOf("okt-service.log"), {"--vault", PathOf("vault")})) << m_service.Error();
    ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    ASSERT_EQ(Agent().Login(), CSEIntegrationAgent::LoggedIn);
    const std::string folder = PathOf("work");
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    for (const auto& part : kParts)
        std::ofstream(folder + "/" + part.file, std::ios::binary) << "contents of " << part.name;

    {
        CSECheckinCmd command;
        BuildRequest(command, folder);
        command.AddCheckinModeinXMLRequestPacket();
        CSEString thin;
        ASSERT_EQ(command.Execute(thin), 0);
        ASSERT_EQ(Utf8(command.GetResponseObject()->GetResult()), "success")
            << Utf8(command.GetResponseObject()->GetReason());
        EXPECT_EQ(command.GetNumObjectsFromFinalResponse(), 3);
        ExpectStored(command, "1", "new", folder);
    }
    {
        // The partial request goes out with the identifiers of its nodes stripped, as the whole one.
        CSECheckinCmd command;
        BuildRequest(command, folder);
        CSEWrapperStringVector tops;
        tops.push_back(u"c1");
        ASSERT_TRUE(command.CreateSparseXMLFromGlobalXML(tops));
        command.StartSparseCommand();
        CSEString thin;
        ASSERT_EQ(command.Execute(thin), 0);
        ASSERT_EQ(Utf8(command.GetResponseObject()->GetResult()), "success")
            << Utf8(command.GetResponseObject()->GetReason());
        ExpectStored(command, "2", "checkedin", folder);
        command.EndSparseCommand();
    }
}
