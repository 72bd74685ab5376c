// Behaviour of the attribute synchronisation commands in both directions: their requests and the
// objects read from their responses.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "CSESynchAttrFromeLedgraCmd.h"
#include "CSESynchAttrToeLedgraCmd.h"
#include "common/CannedResponse.h"
#include "common/CommandProbe.h"

namespace {

CSEObjectInfo Object(const char16_t* cadId, const char16_t* busType)
{
    CSEObjectInfo object;
    object.cadId = cadId;
    object.fileName = u"f.prt";
    object.name = u"F";
    object.busType = busType;
    object.attributes.push_back(CSEAttribute(u"Material", u"Steel"));
    object.attributes.push_back(CSEAttribute(u"Weight", u"2"));
    return object;
}

std::string Pairs(CSEXMLPacket* packet, const CSEString& path)
{
    std::string pairs;
    for (int j = 0; j < packet->getNodeCount(path + u"/attribute"); ++j) {
        CSEString name;
        CSEString value;
        packet->getNamedNVPair(path + u"/attribute", j, name, value);
        pairs += Utf8(name) + "=" + Utf8(value) + ";";
    }
    return pairs;
}

} // namespace

using SynchAttr = CannedResponse;

TEST_F(SynchAttr, RequestsCarryTheDirectionAndAttributesOnlyToTheServer)
{
    Probe<CSESynchAttrToeLedgraCmd> to;
    Probe<CSESynchAttrFromeLedgraCmd> from;
    struct Case { CSESynchAttrCmd& command; CSEXMLPacket* packet; const char *direction, *pairs; } cases[] = {
        {to, to.Packet(), "cad-to-ledgra", "Material=Steel;Weight=2;"}, {from, from.Packet(), "ledgra-to-cad", ""}};
    for (const Case& c : cases) {
        EXPECT_GT(c.command.AddObjectToRequest(Object(u"p1", u"Part")), 0);
        const int id = c.command.AddObjectToRequest(Object(u"p2", u""));
        EXPECT_EQ(c.command.IsObjectAdded(c.packet->getNodePathFromUniqueId(id)), id);
        EXPECT_EQ(c.command.IsObjectAdded(u"/command/none"), -1);
        EXPECT_EQ(Attribute(c.packet, u"/command", u"direction"), c.direction);
        const CSEString list(u"/command/cadobjectlist/cadobject");
        ASSERT_EQ(c.packet->getNodeCount(list), 2);
        EXPECT_EQ(Attribute(c.packet, list + u"[1]", u"bustype") + Attribute(c.packet, list + u"[2]", u"bustype"), "Part");
        EXPECT_EQ(c.packet->getNodeCount(list + u"[2]/@bustype"), 0);
        EXPECT_EQ(Pairs(c.packet, list + u"[1]"), c.pairs) << c.direction;
    }

    // The list form leaves the server fields out.
    CSEObjectInfoVector objects;
    objects.push_back(Object(u"p3", u"Part"));
    to.AddObjectInfoListToRequest(objects);
    EXPECT_EQ(to.Packet()->getNodeCount(u"/command/cadobjectlist/cadobject[@cadid='p3']/@bustype"), 0);
    EXPECT_EQ(Pairs(to.Packet(), u"/command/cadobjectlist/cadobject[3]"), "Material=Steel;Weight=2;");
}

TEST_F(SynchAttr, ResponseObjectsKeepTheirFolderMessageAndAttributes)
{
    const std::string answer =
        "<cadobjectlist><note/>"
        "<cadobject name='A' dirname='' dirName='/d' selectable='true' cadid='a' filename='a.prt' success='true'>"
        "<message>done</message><attribute><name>Material</name><value>Steel</value></attribute>"
        "<attribute><name>Weight</name><value>2</value></attribute></cadobject>"
        "<cadobject name='B' dirname='/w' modified='true' success='false' cadid='b'/>"
        "<cadobject name='C' cadid='c'/></cadobjectlist>";
    CSESynchAttrCmd base;
    CSESynchAttrFromeLedgraCmd from;
    CSESynchAttrToeLedgraCmd to;
    // folders: of A, B and C
    struct Case { CSESynchAttrCmd& command; const char* folders; } cases[] = {
        {base, "/d/|/w/||"}, {from, "/d/|/w/||"}, {to, "|/w||"}};
    for (const Case& c : cases) {
        Answer(c.command, answer);
        CSEObjectInfoVector objects;
        objects.push_back(CSEObjectInfo());
        c.command.GetObjectInfoListFromResponse(objects);
        ASSERT_EQ(objects.size(), 4);
        std::string folders;
        for (int i = 1; i < 4; ++i)
            folders += Utf8(objects[i].dirName) + "|";
        EXPECT_EQ(folders, c.folders);
        const CSEObjectInfo& a = objects[1];
        EXPECT_TRUE(a.selected == u"true" && a.success == u"true" && a.message == u"done" && a.modified == u"false");
        ASSERT_EQ(a.attributes.size(), 2);
        EXPECT_TRUE(a.attributes[1].name == u"Weight" && a.attributes[1].value == u"2");
        EXPECT_TRUE(objects[2].modified == u"true" && objects[2].message == u"");
    }
    CSESynchAttrToeLedgraCmd unanswered;
    CSEObjectInfoVector none;
    unanswered.GetObjectInfoListFromResponse(none);
    EXPECT_EQ(none.size(), 0);
}

TEST_F(SynchAttr, AttributesJoinTheObjectOfAResponseShapedRequest)
{
    Probe<CSESynchAttrToeLedgraCmd> command;
    command.CreateResponseHeader();
    CSEXMLPacket* packet = command.Packet();
    packet->createChildNode(u"/response", u"cadobjectlist", u"", 1);
    for (const char16_t* cadId : {u"plain", u"O'Brien \"2\""})
        packet->createProperty(packet->createChildNode(u"/response/cadobjectlist", u"cadobject", u"", 1),
                               u"cadid", cadId);
    EXPECT_EQ(command.AddAtributesToRequest(Object(u"O'Brien \"2\"", u"")), 0);
    EXPECT_EQ(Pairs(packet, u"/response/cadobjectlist/cadobject[2]"), "Material=Steel;Weight=2;");
    EXPECT_EQ(Pairs(packet, u"/response/cadobjectlist/cadobject[1]"), "");
}
