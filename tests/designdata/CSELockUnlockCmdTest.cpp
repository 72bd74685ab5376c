// Behaviour of the lock commands: the lock-unlock request and its reset, the result list chosen
// from the answer, failures shown to the user, top-level local checkouts, the extended-flow name,
// and the user lock status request and answer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CSELockUnlockCmd.h"
#include "CSERelationship.h"
#include "CSEUserLockStatusCmd.h"
#include "DVKDCILockUnlockExCmd.h"
#include "common/CannedResponse.h"
#include "common/CommandProbe.h"
#include "common/ServicePeer.h"

namespace {

CSEObjectInfo Object(const CSEString& fileName, const CSEString& cadId, const CSEString& success = u"true")
{
    CSEObjectInfo object;
    object.fileName = fileName;
    object.cadId = cadId;
    object.name = fileName;
    object.type = u"part";
    object.success = success;
    return object;
}

} // namespace

using LockCmd = CannedResponse;

TEST_F(LockCmd, ResultListIsTheFirstThatHoldsObjectsAndCountsOnlyItsObjects)
{
    struct Case { const char* info; int count; const char *path, *cadIds; };
    const Case cases[] = {
        {"<checkedoutobjectinfo><cadobject cadid='c1'/></checkedoutobjectinfo>"
         "<cadobjectlist><successlist><cadobject cadid='s1'/><cadobject cadid='s2'/></successlist></cadobjectlist>",
         1, "//response/info/checkedoutobjectinfo/cadobject", "c1,"},
        // The sub-lists of the object list are no objects.
        {"<cadobjectlist><successlist><cadobject cadid='s1'/></successlist><failurelist/></cadobjectlist>", 1,
         "//response/info/cadobjectlist/successlist/cadobject", "s1,"},
        {"<cadobjectlist><cadobject cadid='p1'/><cadobject cadid='p2'/><failurelist/><note/></cadobjectlist>", 2,
         "//response/info/cadobjectlist/cadobject", "p1,p2,"},
        {"<cadobjectlist><successlist/></cadobjectlist>", 0, "unchanged", ""},
    };
    for (const Case& c : cases) {
        CSELockUnlockCmd command;
        Answer(command, c.info);
        CSEString path(u"unchanged");
        EXPECT_EQ(command.GetCheckedOutObjCountFromResponse(path), c.count) << c.info;
        EXPECT_EQ(Utf8(path), c.path) << c.info;
        CSEObjectInfoVector objects;
        EXPECT_EQ(command.GetCheckedoutObjListFromResponse(objects), c.count);
        std::string cadIds;
        for (int i = 0; i < objects.size(); ++i)
            cadIds += Utf8(objects[i].cadId) + ",";
        EXPECT_EQ(cadIds, c.cadIds) << c.info;
    }
    EXPECT_TRUE(m_msgMgr->boxes.empty());
    CSELockUnlockCmd unanswered;
    CSEString path;
    EXPECT_EQ(unanswered.GetCheckedOutObjCountFromResponse(path), -1);
}

TEST_F(LockCmd, FailedObjectsAreShownInOneBoxAndTheLockedOnesStayReadable)
{
    CSELockUnlockCmd command;
    Answer(command, "<cadobjectlist><successlist><cadobject cadid='g1' filename='gear.prt' lock='true' "
                    "qxversion='B' localcheckout='false'/></successlist><failurelist>"
                    "<cadobject filename='shaft.prt' dirname='/w/sub'/>"
                    "<cadobject qxfilename='bolt.prt' qxdirname='/vault'/>"
                    "<cadobject filename='nut.prt'/></failurelist></cadobjectlist>");
    CSEObjectInfoVector objects;
    ASSERT_EQ(command.GetCheckedoutObjListFromResponse(objects), 1);
    EXPECT_TRUE(objects[0].lock == u"true" && objects[0].versionText == u"B");
    ASSERT_EQ(m_msgMgr->boxes.size(), 1u);
    EXPECT_EQ(m_msgMgr->boxes[0].message,
              "text of ERR_MSG_LOCK_UNLOCK_FAILED\t/w/sub/shaft.prt\n\t/vault/bolt.prt\n\tnut.prt\n\t");
    EXPECT_EQ(m_msgMgr->boxes[0].type, 13); // flag 1, error box
}

TEST_F(LockCmd, RootsAreMarkedTopLevelAndListedForLocalCheckoutEachTimeTheyAreRead)
{
    CSELockUnlockCmd command;
    const int top = command.CreateRootObject(Object(u"top.asm", u"t1"));
    CSEObjectInfo sub = Object(u"sub.asm", u"s1");
    EXPECT_GT(command.AddObject(top, sub, CSERelationship()), 0);
    Answer(command, "<checkedoutobjectinfo><cadobject cadid='t1' filename='top.asm' localcheckout='true'/>"
                    "<cadobject cadid='s1' filename='sub.asm' localcheckout='true'/>"
                    "<cadobject cadid='x9' filename='top.asm' localcheckout='false'/>"
                    "</checkedoutobjectinfo>");
    CSEString path;
    ASSERT_EQ(command.GetCheckedOutObjCountFromResponse(path), 3);
    const int topLevel[] = {1, 0, 1};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(command.GetCheckedoutObjFromResponse(i, path).isTopLevel, topLevel[i]) << i;
    command.GetCheckedoutObjFromResponse(0, path);
    const CSEObjectInfoVector local = command.GetObjListOfTopLevelRFAFilesBeingCheckedOut();
    ASSERT_EQ(local.size(), 2);
    EXPECT_TRUE(local[0].cadId == u"t1" && local[1].cadId == u"t1");
}

TEST_F(LockCmd, ResetStartsAFreshRequestThatTakesNewObjects)
{
    Probe<CSELockUnlockCmd> command;
    command.SetPrelock(1);
    const int top = command.CreateRootObject(Object(u"top.asm", u"t1"));
    CSEObjectInfo sub = Object(u"sub.asm", u"s1");
    command.AddObject(top, sub, CSERelationship());
    command.ResetLockUnlockCmd();
    CSEXMLPacket* packet = command.Packet();
    EXPECT_EQ(Attribute(packet, u"/command", u"cname") + Attribute(packet, u"/command", u"prelock"), "lock-unlock");
    const CSEString sections(u"/command/relationshiplist | /command/cadobjectlist | /command/structure/*");
    EXPECT_EQ(packet->getNodeCount(sections), 4);
    EXPECT_EQ(packet->getNodeCount(u"/command/relationshiplist/* | /command/cadobjectlist/* | /command/structure/*/*"), 0);
    // The same files again, as first entries of the new request.
    const int newTop = command.CreateRootObject(Object(u"other.asm", u"o1"));
    ASSERT_GT(newTop, 0);
    CSEObjectInfo again = Object(u"sub.asm", u"s1");
    EXPECT_GT(command.AddObject(newTop, again, CSERelationship()), 0);
    EXPECT_EQ(packet->getNodeCount(u"/command/cadobjectlist/cadobject"), 2);
    EXPECT_EQ(packet->getNodeCount(u"/command/structure/active/cadobject/cadobject[@firstentry='true']"), 1);
    // The discarded root is no longer top-level.
    Answer(command, "<cadobjectlist><cadobject filename='top.asm'/><cadobject filename='other.asm'/>"
                    "</cadobjectlist>");
    CSEString path;
    ASSERT_EQ(command.GetCheckedOutObjCountFromResponse(path), 2);
    EXPECT_EQ(command.GetCheckedoutObjFromResponse(0, path).isTopLevel, 0);
    EXPECT_EQ(command.GetCheckedoutObjFromResponse(1, path).isTopLevel, 1);
}

TEST_F(LockCmd, ExtendedLockSendsItsNameOnlyAfterTheResetAndReadsTheLockedObjects)
{
    ServicePeer service(ServicePeer::Answer(
        "success", "<cadobjectlist><successlist><cadobject cadid='g1' filename='gear.prt' lock='true'/></successlist>"
                   "<failurelist><cadobject filename='shaft.prt' dirname='/w'/></failurelist></cadobjectlist>"));
    PublishPort(service.Port());
    ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    DVKDCILockUnlockExCmd command;
    for (bool reset : {false, true}) {
        if (reset)
            command.ResetLockUnlockCmd();
        command.CreateRootObject(Object(u"gear.prt", u"g1"));
        CSEString thin;
        ASSERT_EQ(command.Execute(thin), 0);
    }
    const std::vector<std::string> requests = service.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(ServicePeer::AttributeOf(requests[0], "cname"), "lock-unlock");
    EXPECT_EQ(ServicePeer::AttributeOf(requests[1], "cname"), "lockunlockEx");
    EXPECT_EQ(ServicePeer::AttributeOf(requests[1], "focusbrowser"), "true");
    CSEObjectInfoVector objects;
    ASSERT_EQ(command.GetCheckedoutObjListFromResponse(objects), 1);
    EXPECT_TRUE(objects[0].lock == u"true" && objects[0].isTopLevel == 1);
    EXPECT_EQ(m_msgMgr->boxes.size(), 1u);
}

TEST_F(LockCmd, UserLockStatusSendsObjectsUpToTheFirstUnmarkedAndReadsTheirState)
{
    Probe<CSEUserLockStatusCmd> command;
    CSEObjectInfoVector objects;
    objects.push_back(Object(u"gear.prt", u"g1"));
    objects.push_back(Object(u"shaft.prt", u"s1", u"false"));
    objects.push_back(Object(u"bolt.prt", u"b1"));
    command.AddObjectList(objects);
    CSEXMLPacket* packet = command.Packet();
    ASSERT_EQ(packet->getNodeCount(u"/command/cadobjectlist/cadobject"), 1);
    EXPECT_EQ(Attribute(packet, u"/command/cadobjectlist/cadobject", u"cadid"), "g1");

    CSEObjectInfoVector answered;
    command.GetObjectInfoListFromResponse(answered);
    EXPECT_EQ(answered.size(), 0);
    Answer(command, "<cadobjectlist><cadobject cadid='g1' islocked='true' qxtype='Part' qxversion='C'/><note/>"
                    "<cadobject cadid='s1' islocked='false'/></cadobjectlist>");
    command.GetObjectInfoListFromResponse(answered);
    ASSERT_EQ(answered.size(), 2);
    EXPECT_TRUE(answered[0].lock == u"true" && answered[0].versionText == u"Part" && answered[0].qxVersion == u"C");
    EXPECT_TRUE(answered[1].cadId == u"s1" && answered[1].lock == u"false");
}
