// Behaviour of the object details command: its request and the records of its response.
#include <gtest/gtest.h>

#include <string>

#include "CSEGetObjectDetailsCmd.h"
#include "CSESynchAttrFromeLedgraCmd.h"
#include "CSECheckForUpdateCurrentCmd.h"
#include "common/CannedResponse.h"
#include "common/CommandProbe.h"

using ObjectDetails = CannedResponse;

TEST_F(ObjectDetails, RequestListsObjectsSelectableUnlessFlagged)
{
    Probe<CSEGetObjectDetailsCmd> command;
    CSEObjectInfo object;
    object.cadId = u"g1";
    object.fileName = u"gear.prt";
    EXPECT_LT(command.AddObjectToCmdPacket(object, 0), 0); // no list yet
    EXPECT_GT(command.AddObjectListNodeInObjectDetailsCmd(), 0);
    EXPECT_GT(command.AddObjectToCmdPacket(object, 0), 0);
    EXPECT_GT(command.AddObjectToCmdPacket(object, 1), 0);
    CSEXMLPacket* packet = command.Packet();
    const CSEString list(u"/command/cadobjectlist/cadobject");
    ASSERT_EQ(packet->getNodeCount(list), 2);
    EXPECT_EQ(packet->getNodeCount(list + u"[@selectable='true']"), 1);

    // A fresh request drops the objects and keeps one empty list.
    EXPECT_GT(command.CreateNewCadObjDetailsCmd(), 0);
    EXPECT_EQ(packet->getNodeCount(u"/command/cadobjectlist"), 1);
    EXPECT_EQ(packet->getNodeCount(list), 0);

    command.SetCmdName(u"other");
    EXPECT_EQ(command.AddObjectListNodeInObjectDetailsCmd(), -1);
}

TEST_F(ObjectDetails, LockHolderFollowsTheServerVersion)
{
    const std::string objects =
        "<cadobjectlist><cadobject cadid='g1' islocked='true' lockedby='ann' locker='bob' busrevision='B' "
        "qxversion='4'/></cadobjectlist>";
    const struct { const char *ver, *locker; } cases[] = {
        {"QTL2010", "ann"}, {"r209", "ann"}, {"QTL2009", "bob"}, {"10.7.SP1", "bob"}};
    for (const auto& c : cases) {
        CSEGetObjectDetailsCmd command;
        Answer(command, objects, c.ver);
        CSEObjectInfoVector out;
        command.getObjectInfoList(out);
        ASSERT_EQ(out.size(), 1);
        EXPECT_EQ(Utf8(out[0].locker), c.locker) << c.ver;
        EXPECT_TRUE(out[0].busRevision == u"4" && out[0].detailBusRevision == u"B" && out[0].isLocked == u"true");
    }
}

TEST_F(ObjectDetails, CommandsWithoutARequestPacketRefuseObjects)
{
    Probe<CSEGetObjectDetailsCmd> details;
    Probe<CSESynchAttrFromeLedgraCmd> synch;
    Probe<CSECheckForUpdateCurrentCmd> update;
    details.ReplaceCmdXMLPacket(nullptr);
    synch.ReplaceCmdXMLPacket(nullptr);
    update.ReplaceCmdXMLPacket(nullptr);
    CSEObjectInfo object;
    EXPECT_EQ(details.CreateNewCadObjDetailsCmd(), -1);
    EXPECT_EQ(details.AddObjectListNodeInObjectDetailsCmd(), -1);
    EXPECT_EQ(details.AddObjectToCmdPacket(object, 0), -1);
    EXPECT_EQ(synch.AddObjectToRequest(object), -1);
    EXPECT_EQ(synch.IsObjectAdded(u"/command"), -1);
    update.AddCADObjectNode(object);
    update.AddCadObjectToSecondRequest(object);
    EXPECT_EQ(update.Packet(), nullptr);
}
