// Behaviour of the extended check-in command: a fresh request in the same command, attributes,
// selection and server types of the entries, the final corrections, the request read back with
// parents, and the objects of the server's answer.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "CSEAttribute.h"
#include "CSERelationship.h"
#include "DVKDCICheckinExCmd.h"
#include "common/CannedResponse.h"
#include "common/CommandProbe.h"

namespace {

const std::string kLogin =
    "<response cname='login' result='success'><info><gsettings><attribute>"
    "<name>Vexlin-TypeDerivedOutputMapping</name><value><attribute><name>TYPE_DERIVEDOUTPUT_LIKE</name>"
    "<value>PDF Output</value></attribute></value></attribute></gsettings></info></response>";

CSEObjectInfo Object(const CSEString& fileName, const CSEString& cadId, const CSEString& type = u"part")
{
    CSEObjectInfo object;
    object.fileName = fileName;
    object.cadId = cadId;
    object.dirName = u"/w";
    object.type = type;
    object.modified = u"true";
    object.selectable = u"true";
    return object;
}

CSEString EntryOf(const char16_t* cadId)
{
    return CSEString(u"/command/cadobjectlist/cadobject[@cadid='") + cadId + u"']";
}

} // namespace

class CheckinExCmd : public CannedResponse
{
protected:
    void SetUp() override
    {
        CannedResponse::SetUp();
        ASSERT_EQ(Agent().InitServerSettingsForSilent(CSEString(kLogin.c_str())), 0);
    }

    // top.asm (t1) holds sub.asm (s1), which holds gear.prt (g1); top.asm also holds top.pdf (d1).
    // Returns the identifier of the root's node.
    int Build(Probe<DVKDCICheckinExCmd>& command)
    {
        CSEObjectInfo sub = Object(u"sub.asm", u"s1"), gear = Object(u"gear.prt", u"g1"),
                      pdf = Object(u"top.pdf", u"d1", u"PDF Output");
        const int top = command.CreateRootObject(Object(u"top.asm", u"t1"));
        command.AddObject(command.AddObject(top, sub, CSERelationship()), gear, CSERelationship());
        command.AddObject(top, pdf, CSERelationship());
        return top;
    }
};

TEST_F(CheckinExCmd, ConsolidationWritesTheOptionsOnlyForCheckinExAndStripsEveryEntryByPosition)
{
    for (const char* name : {"checkinEx", "checkin"}) {
        Probe<DVKDCICheckinExCmd> command;
        const int top = Build(command);
        CSEXMLPacket* packet = command.Packet();
        packet->createProperty(u"/command", u"cname", CSEString(name));
        // Two entries without a cadid: each is handled, not the first one twice.
        for (const char16_t* file : {u"a.prt", u"b.prt"}) {
            CSEObjectInfo anonymous = Object(file, u"");
            command.AddObject(top, anonymous, CSERelationship());
        }
        CSEString yes(u"true");
        command.SetRetainLockValue(yes);
        ASSERT_EQ(command.ConsolidateCheckinExRequestXML(), 0);
        const bool options = std::string(name) == "checkinEx";
        EXPECT_EQ(Attribute(packet, u"/command", u"focusbrowser") + Attribute(packet, u"/command", u"deletefiles") +
                      Attribute(packet, u"/command", u"maintainlock") + Attribute(packet, u"/command", u"createversion") +
                      Attribute(packet, u"/command", u"overwriteobject"),
                  options ? "falsefalsetruefalsefalse" : "true")
            << name;
        EXPECT_EQ(packet->getNodeCount(u"/command/@checkincomment"), options ? 1 : 0);
        const CSEString entries(u"/command/cadobjectlist/cadobject");
        ASSERT_EQ(packet->getNodeCount(entries), 6);
        EXPECT_EQ(packet->getNodeCount(entries + u"[not(@type='PDF Output')][@modified or @uid or @selectable]"), 0);
        EXPECT_EQ(packet->getNodeCount(entries + u"[@type='PDF Output'][@modified and @uid and @selectable]"), 1);
    }
}

TEST_F(CheckinExCmd, FreshRequestForgetsThePreviousObjectsButKeepsTheOptions)
{
    Probe<DVKDCICheckinExCmd> command;
    Build(command);
    CSEString sub(u"s1"), yes(u"true");
    command.StoreExpandedObjectInfo(sub);
    command.SetDeleteFilesValue(yes);
    ASSERT_EQ(command.CreateNewCheckinExCmd(), 0);
    CSEXMLPacket* packet = command.Packet();
    EXPECT_EQ(Attribute(packet, u"/command", u"cname") + Attribute(packet, u"/command", u"focusbrowser"),
              "checkinExfalse");
    EXPECT_FALSE(command.IsObjectAlreadyExpanded(sub));
    EXPECT_EQ(packet->getNodeCount(u"/command/cadobjectlist/*"), 0);
    // The same structure again is written in full: every file is a first entry once more.
    Build(command);
    EXPECT_EQ(packet->getNodeCount(u"//structure/active//cadobject[@firstentry='true']"), 4);
    EXPECT_EQ(Utf8(command.GetFullFileNameFromUID(u"g1")), "/w/gear.prt");
    command.ConsolidateCheckinExRequestXML();
    EXPECT_EQ(Attribute(packet, u"/command", u"deletefiles"), "true");
    // Each part of a split request carries the options of the whole.
    CSEWrapperStringVector group;
    group.push_back(u"t1");
    ASSERT_TRUE(command.CreateSparseXMLFromGlobalXML(group));
    command.StartSparseCommand();
    EXPECT_EQ(Attribute(command.Packet(), u"/response", u"deletefiles") +
                  Attribute(command.Packet(), u"/response", u"createversion"),
              "truefalse");
    command.EndSparseCommand();

    Probe<DVKDCICheckinExCmd> unpacked;
    unpacked.ReplaceCmdXMLPacket(nullptr);
    CSEString thin;
    EXPECT_EQ(unpacked.CreateNewCheckinExCmd(), -1);
    EXPECT_EQ(unpacked.ConsolidateCheckinExRequestXML(), -1);
    EXPECT_EQ(unpacked.ExecuteCheckinEx(thin), -1);
    EXPECT_EQ(unpacked.GetNumberOfSelectedObjects(), -1);
    EXPECT_EQ(unpacked.GetObjInfoListFromCheckinExPacket().size(), 0);
    CSEStringCSEObjectMap none;
    EXPECT_EQ(unpacked.GetListOfAllParents(none), -1);
}

TEST_F(CheckinExCmd, EntryEditsAddMissingAttributesSelectAndDropEmptyServerTypes)
{
    Probe<DVKDCICheckinExCmd> command;
    Build(command);
    CSEXMLPacket* packet = command.Packet();
    const CSEString gear = EntryOf(u"g1");
    packet->createAttributeNVPair(gear, u"A", u"old");
    CSEObjectInfo update = Object(u"gear.prt", u"g1");
    update.attributes.push_back(CSEAttribute(u"A", u"new"));
    update.attributes.push_back(CSEAttribute(u"B", u"2"));
    ASSERT_EQ(command.AddAtributesToRequest(update), 0);
    EXPECT_EQ(NodeValue(packet, gear + u"/attribute[1]/value") + NodeValue(packet, gear + u"/attribute[2]/name") +
                  NodeValue(packet, gear + u"/attribute[2]/value"),
              "oldB2");

    for (const auto& c : {std::make_pair(u"g1", 1), std::make_pair(u"g1", 0), std::make_pair(u"s1", 1),
                          std::make_pair(u"t1", 1)}) {
        CSEString cadId(c.first);
        EXPECT_EQ(command.SetSelectable(cadId, static_cast<unsigned char>(c.second)), 0);
        EXPECT_EQ(packet->getNodeCount(EntryOf(c.first) + u"/@selected"), 1);
    }
    EXPECT_EQ(command.GetNumberOfSelectedObjects(), 2); // g1 was deselected

    packet->createProperty(EntryOf(u"s1"), u"qx_type", u"Assembly");
    for (const char16_t* id : {u"g1", u"s1"}) {
        CSEString cadId(id);
        int valid = -5;
        EXPECT_EQ(command.CheckIfQxTypeEntryIsValid(cadId, valid), 0);
        EXPECT_EQ(valid, id[0] == u's' ? 1 : 0);
        EXPECT_EQ(packet->getNodeCount(EntryOf(id) + u"/@qx_type"), valid);
    }
}

TEST_F(CheckinExCmd, RequestReadsBackWithParentsAndAnswerObjectsAreCounted)
{
    Probe<DVKDCICheckinExCmd> command;
    Build(command);
    const CSEObjectInfoVector objects = command.GetObjInfoListFromCheckinExPacket();
    ASSERT_EQ(objects.size(), 4);
    std::string parents;
    for (int i = 0; i < objects.size(); ++i)
        parents += Utf8(objects[i].cadId) + ":" +
                   (objects[i].parentCadIds.Size() > 0 ? Utf8(*objects[i].parentCadIds[1]) : std::string()) + " ";
    EXPECT_EQ(parents, "t1: s1:t1 g1:s1 d1:t1 ");

    EXPECT_EQ(command.GetNumObjectsFromResponse(), -1);
    Answer(command, "<cadobjectlist><cadobject cadid='g1' name='Gear' filename='x.prt' filenamewithpath='/vault/x.prt' "
                    "qxversion='B'/><failurelist/><cadobject cadid='s1'/></cadobjectlist>");
    EXPECT_EQ(command.GetNumObjectsFromResponse(), 2);
    const CSEObjectInfo gear = command.GetObjectFromResponse(0);
    // The folder and file name are those the request was built with; the full name the answer's.
    EXPECT_TRUE(gear.fileName == u"gear.prt" && gear.dirName == u"/w" && gear.fullFileName == u"/vault/x.prt");
}
