// Behaviour of the version recognition command: its request and the objects read from its response.
#include <gtest/gtest.h>

#include "CSEObjectInfo.h"
#include "CSERecogVerCmd.h"
#include "common/CannedResponse.h"
#include "common/CommandProbe.h"

using RecogVer = CannedResponse;

TEST_F(RecogVer, RequestIsNamedAndOnlyCadobjectElementsOfTheAnswerAreObjects)
{
    CSERecogVerCmd command;
    CSEXMLPacket* packet = PacketOf(command);
    EXPECT_EQ(Attribute(packet, u"/command", u"cname") + Attribute(packet, u"/command", u"focusbrowser"), "recognizeversiontrue");
    Answer(command, "<cadobjectlist><cadobject name='Gear' dirname='/w' filename='gear.prt' type='part' qxversion='B' "
                    "qxtype='Part'/><note/><cadobject name='Top' filename='top.asm' qxversion='A'/></cadobjectlist>");
    const CSEObjectInfoVector objects = command.GetSuccessObjectInfoList();
    ASSERT_EQ(objects.size(), 2);
    const CSEObjectInfo& gear = objects[0];
    EXPECT_TRUE(gear.name == u"Gear" && gear.dirName == u"/w" && gear.fileName == u"gear.prt" &&
                gear.type == u"part" && gear.qxVersion == u"B" && gear.busType == u"Part");
    EXPECT_TRUE(objects[1].fileName == u"top.asm" && objects[1].dirName == u"");
}
