// Behaviour of the version recognition command: its request and the objects read from its response.
#include <gtest/gtest.h>

#include <memory>

#include "CSEObjectInfo.h"
#include "CSERecogVerCmd.h"
#include "common/ServiceFixture.h"
#include "common/ServicePeer.h"

class RecogVer : public ServiceFixture
{
};

TEST_F(RecogVer, RequestCarriesTheStructureAndTheResponseObjectsAreRead)
{
    // Only "cadobject" elements are objects; other children of the list are not.
    ServicePeer service(ServicePeer::Answer(
        "success", "<cadobjectlist><cadobject name='Gear' dirname='/w' filename='gear.prt' "
                   "type='part' qxversion='B' qxtype='Part'/><note/><cadobject name='Top' "
                   "filename='top.asm' qxversion='A'/></cadobjectlist>"));
    PublishPort(service.Port());
    ASSERT_EQ(Agent().Connect(), CSEIntegrationAgent::Connected);
    CSERecogVerCmd command;
    CSEObjectInfo top;
    top.fileName = u"top.asm";
    top.cadId = u"t1";
    EXPECT_GT(command.CreateRootObject(top), 0);
    CSEString thin;
    ASSERT_EQ(command.Execute(thin), 0);
    ASSERT_EQ(service.Requests().size(), 1u);
    const std::string request = service.Requests()[0];
    EXPECT_EQ(ServicePeer::AttributeOf(request, "cname"), "recognizeversion");
    EXPECT_EQ(ServicePeer::AttributeOf(request, "focusbrowser"), "true");
    EXPECT_TRUE(servicetest::Contains(request, "top.asm")) << request;

    const CSEObjectInfoVector objects = command.GetSuccessObjectInfoList();
    ASSERT_EQ(objects.size(), 2);
    const CSEObjectInfo& gear = objects[0];
    EXPECT_TRUE(gear.name == u"Gear" && gear.dirName == u"/w" && gear.fileName == u"gear.prt" &&
                gear.type == u"part" && gear.qxVersion == u"B" && gear.busType == u"Part");
    EXPECT_TRUE(objects[1].fileName == u"top.asm" && objects[1].qxVersion == u"A" &&
                objects[1].dirName == u"");
}
