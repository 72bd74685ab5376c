// Locks against the reference integration service, as two users with a service each on one vault:
// a lock that the other user holds is reported through the message manager while the other objects
// lock and read back; the extended check-in keeps or releases locks as asked, and the extended
// lock request goes out under its own name after the reset.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>

#include <fstream>
#include <string>
#include <vector>

#include "CSELockUnlockCmd.h"
#include "CSERelationship.h"
#include "CSEResponse.h"
#include "CSEUserLockStatusCmd.h"
#include "DVKDCICheckinExCmd.h"
#include "DVKDCILockUnlockExCmd.h"
#include "common/ServiceFixture.h"
#include "integration/OktServiceProcess.h"

namespace {

// "name=lock" per object, separated by spaces.
std::string States(const CSEObjectInfoVector& objects)
{
    std::string states;
    for (int i = 0; i < objects.size(); ++i)
        states += (i > 0 ? " " : "") + Utf8(objects[i].name) + "=" + Utf8(objects[i].lock);
    return states;
}

class LocksAgainstService : public ServiceFixture
{
protected:
    void SetUp() override
    {
        ServiceFixture::SetUp();
        m_folder = PathOf("work");
        m_profileB = PathOf("profile-b");
        ASSERT_EQ(::mkdir(m_folder.c_str(), 0700), 0);
        ASSERT_EQ(::mkdir(m_profileB.c_str(), 0700), 0);
        const std::vector<std::string> vault = {"--vault", PathOf("vault"), "--seed-sample"};
        ASSERT_TRUE(m_serviceA.Start(m_profile, PathOf("okt-a.log"), vault)) << m_serviceA.Error();
        ASSERT_TRUE(m_serviceB.Start(m_profileB, PathOf("okt-b.log"), vault)) << m_serviceB.Error();
    }

    void TearDown() override
    {
        m_serviceA.Stop(SIGTERM);
        m_serviceB.Stop(SIGTERM);
        ServiceFixture::TearDown();
    }

    // Connects to the service of the user's profile and logs in as the user.
    void LogIn(const char* user, const std::string& profile)
    {
        ResetAgent();
        ::setenv("USERPROFILE", profile.c_str(), 1);
        ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
        ASSERT_EQ(LogInAs(user, u"secret"), "success");
    }

    CSEObjectInfo Object(const char* name, const char* file, const char* type) const
    {
        CSEObjectInfo object;
        object.cadId = CSEString(u"id-") + name;
        object.name = name;
        object.fileName = file;
        object.type = type;
        object.dirName = m_folder.c_str();
        object.selected = u"true";
        return object;
    }

    // Sends the objects as roots; "name=lock" for each object answered, in answer order.
    std::string LockUnlock(CSELockUnlockCmd& command, const std::vector<CSEObjectInfo>& objects,
                                        unsigned char lock)
    {
        for (const CSEObjectInfo& object : objects)
            command.CreateRootObject(object);
        command.SetPrelock(lock);
        EXPECT_EQ(Executed(command), "success");
        CSEObjectInfoVector answered;
        command.GetCheckedoutObjListFromResponse(answered);
        return States(answered);
    }

    // "name=islocked" per object, as the service reports it now.
    std::string LockStatus(const std::vector<CSEObjectInfo>& objects)
    {
        CSEUserLockStatusCmd command;
        CSEObjectInfoVector asked;
        for (CSEObjectInfo object : objects) {
            object.success = u"true";
            asked.push_back(object);
        }
        command.AddObjectList(asked);
        EXPECT_EQ(Executed(command), "success");
        CSEObjectInfoVector answered;
        command.GetObjectInfoListFromResponse(answered);
        return States(answered);
    }

    OktServiceProcess m_serviceA;
    OktServiceProcess m_serviceB;
    std::string m_profileB;
    std::string m_folder;
};

} // namespace

TEST_F(LocksAgainstService, LockHeldByTheOtherUserIsReportedAndTheOthersLock)
{
    const CSEObjectInfo housing = Object("Housing", "Housing.asm", "assembly");
    const CSEObjectInfo cover = Object("Cover", "Cover.prt", "part");
    const CSEObjectInfo gasket = Object("Gasket", "Gasket.prt", "part");
    LogIn("alice", m_profile);
    {
        CSELockUnlockCmd lock;
        EXPECT_EQ(LockUnlock(lock, {cover}, 1), "Cover=true");
    }
    EXPECT_TRUE(m_msgMgr->boxes.empty());

    // Bob has the latest gasket here but no housing: the housing is to be checked out.
    std::ofstream(m_folder + "/Gasket.prt", std::ios::binary)
        << std::ifstream(std::string(QORVI_SOURCE_DIR) + "/tools/okt-service/sample/files/Gasket.prt").rdbuf();
    LogIn("bob", m_profileB);
    {
        CSELockUnlockCmd lock;
        EXPECT_EQ(LockUnlock(lock, {housing, cover, gasket}, 1), "Housing=true Gasket=true");
        const CSEObjectInfoVector fetch = lock.GetObjListOfTopLevelRFAFilesBeingCheckedOut();
        ASSERT_EQ(fetch.size(), 1);
        EXPECT_EQ(Utf8(fetch[0].name), "Housing");
    }
    ASSERT_EQ(m_msgMgr->boxes.size(), 1u);
    const std::string& shown = m_msgMgr->boxes[0].message;
    EXPECT_TRUE(Contains(shown, "text of ERR_MSG_LOCK_UNLOCK_FAILED\t")) << shown;
    EXPECT_TRUE(Contains(shown, m_folder + "/Cover.prt")) << shown;
    EXPECT_FALSE(Contains(shown, "Housing")) << shown;
    EXPECT_EQ(LockStatus({housing, cover, gasket}), "Housing=true Cover=true Gasket=true");

    // Bob's unlock releases his locks and leaves Alice's.
    {
        CSELockUnlockCmd unlock;
        EXPECT_EQ(LockUnlock(unlock, {housing, gasket}, 0), "Housing=false Gasket=false");
    }
    EXPECT_EQ(LockStatus({housing, cover, gasket}), "Housing=false Cover=true Gasket=false");
}

TEST_F(LocksAgainstService, ExtendedCheckinKeepsOrReleasesLocksAndExtendedLockUsesItsName)
{
    LogIn("alice", m_profile);
    CSEObjectInfo frame = Object("Frame", "Frame.asm", "assembly");
    CSEObjectInfo pin = Object("Pin", "Pin.prt", "part");
    CSERelationship use;
    use.rid = u"r1";
    use.cadRelationship = u"assembly";
    const struct { const char16_t* maintainLock; const char *pinVersion, *locked; } cases[] = {
        {u"true", "1", "true"}, {u"true", "2", "true"}, {u"false", "3", "false"}};
    DVKDCICheckinExCmd checkin; // maintainlock, the pin's version after the check-in, the lock state after it
    for (const auto& round : cases) {
        SCOPED_TRACE(Utf8(round.maintainLock) + " " + round.pinVersion);
        std::ofstream(m_folder + "/Frame.asm", std::ios::binary) << "frame";
        std::ofstream(m_folder + "/Pin.prt", std::ios::binary) << "pin " << round.pinVersion; // changed each time
        ASSERT_EQ(checkin.CreateNewCheckinExCmd(), 0);
        checkin.AddObject(checkin.CreateRootObject(frame), pin, use);
        CSEString value = round.maintainLock;
        checkin.SetRetainLockValue(value);
        value = u"true";
        checkin.SetOverwriteObjectValue(value); // only what changed gets a new version
        ASSERT_EQ(checkin.ConsolidateCheckinExRequestXML(), 0);
        CSEString thin;
        ASSERT_EQ(checkin.ExecuteCheckinEx(thin), 0);
        ASSERT_EQ(Utf8(checkin.GetResponseObject()->GetResult()), "success")
            << Utf8(checkin.GetResponseObject()->GetReason());
        EXPECT_EQ(Utf8(checkin.GetResponseObject()->GetMaintainLock()), Utf8(round.maintainLock));
        ASSERT_EQ(checkin.GetNumObjectsFromResponse(), 2);
        const CSEObjectInfo stored = checkin.GetObjectFromResponse(1);
        EXPECT_EQ(Utf8(stored.name) + "=" + Utf8(stored.qxVersion) + " " + Utf8(stored.fullFileName),
                  std::string("Pin=") + round.pinVersion + " " + m_folder + "/Pin.prt");
        EXPECT_EQ(LockStatus({frame, pin}), std::string("Frame=") + round.locked + " Pin=" + round.locked);
    }

    // The extended lock goes out as "lockunlockEx" once reset, and locks for the user.
    DVKDCILockUnlockExCmd lock;
    lock.ResetLockUnlockCmd();
    EXPECT_EQ(LockUnlock(lock, {frame, pin}, 1), "Frame=true Pin=true");
    EXPECT_EQ(Utf8(lock.GetResponseObject()->GetCmdName()), "lockunlockEx");
    EXPECT_EQ(LockStatus({frame, pin}), "Frame=true Pin=true");
}
