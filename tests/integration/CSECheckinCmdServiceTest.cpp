// The check-in command against the reference integration service: a small assembly checked in
// whole, then again in a partial request; the rebuilt response reads back what the vault stored.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>

#include <fstream>
#include <string>

#include "CSECheckinCmd.h"
#include "CSERelationship.h"
#include "CSEResponse.h"
#include "common/ServiceFixture.h"
#include "integration/OktServiceProcess.h"

using servicetest::Utf8;

namespace {

// Frame.asm holds the bracket and the gear: cadid, name, file, type, server type.
const char* const kParts[][5] = {
    {"c1", "Frame", "Frame.asm", "assembly", "CAD Assembly"},
    {"c2", "O'Brien bracket", "O'Brien bracket.prt", "part", "CAD Part"},
    {"c3", "歯車", "歯車.prt", "part", "CAD Part"},
};

class CheckinAgainstService : public ServiceFixture
{
protected:
    void TearDown() override
    {
        m_service.Stop(SIGTERM);
        ServiceFixture::TearDown();
    }

    void BuildRequest(CSECheckinCmd& command)
    {
        int top = -1;
        for (const auto& part : kParts) {
            CSEObjectInfo object;
            object.cadId = CSEString(part[0]);
            object.name = CSEString(part[1]);
            object.fileName = CSEString(part[2]);
            object.dirName = CSEString(m_folder.c_str());
            object.type = CSEString(part[3]);
            CSERelationship relationship;
            relationship.rid = object.cadId + u"r";
            relationship.cadRelationship = u"assembly";
            top = top < 0 ? command.CreateRootObject(object) : (command.AddObject(top, object, relationship), top);
        }
    }

    void ExpectStored(CSECheckinCmd& command, const std::string& version, const std::string& status)
    {
        ASSERT_EQ(Utf8(command.GetResponseObject()->GetResult()), "success")
            << Utf8(command.GetResponseObject()->GetReason());
        ASSERT_EQ(command.ParseAndBuildResponse(), 0);
        CSEStringCSEObjectMap map;
        const CSEObjectInfoVector objects = command.GetObjectListFromResponse(map, 1);
        ASSERT_EQ(objects.size(), 3);
        for (int i = 0; i < objects.size(); ++i) {
            const CSEObjectInfo& o = objects[i];
            EXPECT_EQ(Utf8(o.cadId) + "|" + Utf8(o.name) + "|" + Utf8(o.busType) + "|" + Utf8(o.qxVersion) + "|" +
                          Utf8(o.designStatus) + "|" + Utf8(o.fullFileName) + "|" +
                          (o.parentCadIds.Size() == 1 ? Utf8(*o.parentCadIds[1]) : ""),
                      std::string(kParts[i][0]) + "|" + kParts[i][1] + "|" + kParts[i][4] + "|" + version + "|" +
                          status + "|" + m_folder + "/" + kParts[i][2] + "|" + (i == 0 ? "" : "c1"));
        }
    }

    OktServiceProcess m_service;
    std::string m_folder;
};

} // namespace

// The check-ins that die in the service store nothing; the last one goes out as a partial request,
// without the identifiers of its nodes, as the whole one.
TEST_F(CheckinAgainstService, ServiceDyingDuringTheCheckinIsAFailureAndKeepsTheVersionBefore)
{
    m_folder = PathOf("work");
    ASSERT_EQ(::mkdir(m_folder.c_str(), 0700), 0);
    for (const auto& part : kParts)
        std::ofstream(m_folder + "/" + part[2], std::ios::binary) << "contents of " << part[1];
    CSEString thin;
    int stored = 0;
    for (const char* dyingAt : {"", "stored", "inserted", ""}) {
        SCOPED_TRACE(dyingAt);
        Agent().Disconnect();
        // The service's test hook ends its process at that step of storing the check-in.
        ::setenv("OKT_TEST_HOOKS", "1", 1);
        ::setenv("OKT_VAULT_EXIT_AT", dyingAt, 1);
        const bool started = m_service.Start(m_profile, PathOf("okt-service.log"), {"--vault", PathOf("vault")});
        ::unsetenv("OKT_VAULT_EXIT_AT");
        ::unsetenv("OKT_TEST_HOOKS");
        ASSERT_TRUE(started) << m_service.Error();
        ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
        ASSERT_EQ(Agent().Login(), CSEIntegrationAgent::LoggedIn);
        CSECheckinCmd command;
        BuildRequest(command);
        const bool partial = stored == 1 && *dyingAt == 0;
        CSEWrapperStringVector tops;
        tops.push_back(u"c1");
        if (partial) {
            ASSERT_TRUE(command.CreateSparseXMLFromGlobalXML(tops));
            command.StartSparseCommand();
        } else {
            command.AddCheckinModeinXMLRequestPacket();
        }
        if (*dyingAt != 0) {
            EXPECT_NE(command.Execute(thin), 0);
            EXPECT_NE(Utf8(command.GetResponseObject()->GetResult()), "success");
            EXPECT_NE(Agent().GetConnectionStatus(), CSEIntegrationAgent::LoggedIn);
            continue;
        }
        ASSERT_EQ(command.Execute(thin), 0);
        ++stored; // after version 1 comes version 2
        ExpectStored(command, std::to_string(stored), stored == 1 ? "new" : "checkedin");
    }
}
