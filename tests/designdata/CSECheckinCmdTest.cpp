// Behaviour of the check-in command: the silent request, the rebuilt response, objects with their
// parents and owners read from it, the user's edits written back, and look-ups.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "CSECheckinCmd.h"
#include "CSERelationship.h"
#include "common/CannedResponse.h"
#include "common/CommandProbe.h"

using servicetest::Utf8;

namespace {

struct OpenCheckin : CSECheckinCmd
{
    CSEXMLPacket* Packet() { return m_pCmdXMLPacket; }
};

const std::string kLogin =
    "<response cname='login' result='success'><info><gsettings><attribute><name>OKT-EnableAutoRecognition</name>"
    "<value>true</value></attribute><customattributes><attribute><name>OKT-CADToQxMandatoryAttrMapping</name>"
    "<value>Weight,5,mandatory\nColour,red,default\nNote,,null\nOdd,x,sometimes</value></attribute>"
    "</customattributes></gsettings></info></response>";

// The answer to BuildRequest: "bustype" empty for s1, a "busname" for a named and an unnamed
// object, and an element that is no object.
const std::string kAnswer =
    "<cadobjectlist>"
    "<cadobject cadid='t1' name='Top' busname='Other' qxtype='Assembly' bustype='Product' qxversion='B' "
    "designstatus='released' filename='ignored.asm' dirname='/elsewhere'/>"
    "<cadobject cadid='s1' name='Sub' qxtype='Assembly' bustype='' qxversion='A' designstatus='new'/>"
    "<cadobject cadid='b1' name=\"O'Brien\" qxtype='CAD Part' bustype='Part' busrevision='3' qxversion='C'/>"
    "<cadobject cadid='e1' name='' busname='Zahnrad-ü' type='embeddedComponent' qxtype='Gear'/>"
    "<cadobject cadid='e2' name='歯車' type='embeddedComponent' qxtype='Gear'/><remark/>"
    "</cadobjectlist>";

std::string Joined(const DVKListPtrCSEString& list)
{
    std::string text;
    for (int position = 1; position <= list.Size(); ++position)
        text += (position > 1 ? "," : "") + Utf8(*list[position]);
    return text;
}

} // namespace

class CheckinCmd : public CannedResponse
{
protected:
    void SetUp() override
    {
        CannedResponse::SetUp();
        ASSERT_EQ(Agent().InitServerSettingsForSilent(CSEString(kLogin.c_str())), 0);
        m_cmd.reset(new OpenCheckin());
        // top.asm (t1) holds sub.asm (s1) and O'Brien.prt (b1); sub.asm holds O'Brien.prt again
        // and the embedded Zahnrad-ü.prt (e1), which holds the embedded 歯車.prt (e2).
        CSEObjectInfo o[] = {FileObject(u"sub.asm", u"s1"), FileObject(u"O'Brien.prt", u"b1"), FileObject(u"O'Brien.prt", u"b1"),
                             FileObject(u"Zahnrad-ü.prt", u"e1"), FileObject(u"歯車.prt", u"e2")};
        const int top = m_cmd->CreateRootObject(FileObject(u"top.asm", u"t1"));
        const int sub = m_cmd->AddObject(top, o[0], CSERelationship());
        m_cmd->AddObject(top, o[1], CSERelationship());
        m_cmd->AddObject(sub, o[2], CSERelationship());
        m_cmd->AddObject(m_cmd->AddObject(sub, o[3], CSERelationship()), o[4], CSERelationship());
    }
    void TearDown() override
    {
        m_cmd.reset();
        CannedResponse::TearDown();
    }

    std::unique_ptr<OpenCheckin> m_cmd;
};

TEST_F(CheckinCmd, SilentModeLeavesOneFocusAttribute)
{
    m_cmd->Packet()->createProperty(u"//command", u"focusbrowser", u"true");
    m_cmd->AddCheckinModeinXMLRequestPacket();
    EXPECT_EQ(m_cmd->Packet()->getNodeCount(u"//command/@focusbrowser"), 1);
    EXPECT_EQ(Attribute(m_cmd->Packet(), u"//command", u"focusbrowser") + Attribute(m_cmd->Packet(), u"//command", u"mode"),
              "falsesilent");
}

TEST_F(CheckinCmd, RebuiltResponseReadsBackObjectsParentsAndMandatoryAttributes)
{
    Answer(*m_cmd, kAnswer);
    EXPECT_EQ(m_cmd->GetNumObjectsFromRequestPacket(), 5); // the bolt is listed once
    EXPECT_EQ(m_cmd->GetNumObjectsFromFinalResponse(), 5);
    ASSERT_EQ(m_cmd->ParseAndBuildResponse(), 0);
    CSEXMLPacket* rebuilt = m_cmd->Packet();
    EXPECT_EQ(Attribute(rebuilt, u"/response", u"result"), "success");
    EXPECT_EQ(rebuilt->getNodeCount(u"/response/structure/active/cadobject/cadobject"), 2);
    EXPECT_EQ(m_cmd->GetNumObjectsFromRequestPacket(), 0); // the request is gone
    const CSEString list(u"/response/MandatoryAttributelist/attribute");
    ASSERT_EQ(rebuilt->getNodeCount(list), 3); // the unknown kind adds nothing
    EXPECT_EQ(NodeValue(rebuilt, list + u"[1]/name") + NodeValue(rebuilt, list + u"[1]/MandatoryValue") +
                  NodeValue(rebuilt, list + u"[2]/DefaultValue") + NodeValue(rebuilt, list + u"[3]/name"),
              "Weight5redNote");
    EXPECT_EQ(rebuilt->getNodeCount(list + u"[3]/*"), 1);

    CSEStringCSEObjectMap map;
    const CSEObjectInfoVector objects = m_cmd->GetObjectListFromResponse(map, 1);
    ASSERT_EQ(objects.size(), 5);
    EXPECT_EQ(map.size(), 5);
    // Per object: name|server type|revision|version|status|full file name|parents|owners.
    const char* expected[] = {
        "Top|Product||B|released|/w/top.asm||",  // the request's file, not the answer's
        "Sub|Assembly||A|new|/w/sub.asm|t1|",     // no "bustype": "qxtype" stays
        "O'Brien|Part|3|C||/w/O'Brien.prt|t1,s1|", // under two parents
        "Zahnrad-ü|Gear||||/w/Zahnrad-ü.prt|s1|s1",
        "歯車|Gear||||/w/歯車.prt|e1|s1", // embedded in an embedded component
    };
    for (int i = 0; i < objects.size(); ++i) {
        const CSEObjectInfo& o = objects[i];
        EXPECT_EQ(Utf8(o.name) + "|" + Utf8(o.busType) + "|" + Utf8(o.busRevision) + "|" + Utf8(o.qxVersion) + "|" +
                      Utf8(o.designStatus) + "|" + Utf8(o.fullFileName) + "|" + Joined(o.parentCadIds) + "|" +
                      Joined(o.ownerCadIds),
                  expected[i]);
    }
}

TEST_F(CheckinCmd, EditsReplaceEarlierOnesInResponseAndList)
{
    Answer(*m_cmd, kAnswer);
    m_cmd->ParseAndBuildResponse();
    CSEStringCSEObjectMap map;
    m_cmd->GetObjectListFromResponse(map, 0);
    CSEObjectInfo edit = FileObject(u"Rad.prt", u"e1", u"/neu/");
    edit.name = u"O'Rad-ü";
    edit.attributes.push_back(CSEAttribute(u"Weight", u"7"));
    edit.attributes.push_back(CSEAttribute(u"Colour", u"green")); // beyond the stored count
    EXPECT_EQ(m_cmd->UpdateObjectInResponse(edit), 0);
    m_cmd->UpdateObjectInObjectList(edit);
    edit.attributes.clear();
    edit.attributes.push_back(CSEAttribute(u"Weight", u"8"));
    EXPECT_EQ(m_cmd->UpdateObjectInResponse(edit), 0);
    edit.attributes.clear();
    edit.attributes.push_back(CSEAttribute(u"Mass", u"2")); // in the list: by position
    m_cmd->UpdateObjectInObjectList(edit);

    const CSEString node(u"/response/cadobjectlist/cadobject[@cadid='e1']");
    EXPECT_EQ(Attribute(m_cmd->Packet(), node, u"name") + "|" + Attribute(m_cmd->Packet(), node, u"dirname") + "|" +
                  Attribute(m_cmd->Packet(), node, u"filename"),
              "O'Rad-ü|/neu|Rad.prt");
    ASSERT_EQ(m_cmd->Packet()->getNodeCount(node + u"/attribute"), 2);
    EXPECT_EQ(NodeValue(m_cmd->Packet(), node + u"/attribute[name='Weight']/value"), "8");

    const std::pair<const char16_t*, const char*> lookups[] = {
        {u"e1", "e1"}, {u"/neu/Rad.prt", "e1"}, {u"/w/O'Brien.prt", "b1"}, {u"/w/Zahnrad-ü.prt", ""}, {u"zz", ""}};
    for (const auto& lookup : lookups) {
        CSEString key(lookup.first);
        CSEObjectInfo found;
        EXPECT_EQ(m_cmd->GetObjectFromObjectList(key, found), *lookup.second != 0) << Utf8(key);
        EXPECT_EQ(Utf8(found.cadId), lookup.second);
        if (Utf8(found.cadId) == "e1") {
            EXPECT_EQ(Utf8(found.attributes[0].GetName()) + Utf8(found.attributes[1].GetValue()), "Massgreen");
        }
    }
    CSEWrapperStringVector values;
    values.push_back(u"Zahnrad-Ü");
    CSEString same(u"zahnrad-ü");
    EXPECT_TRUE(m_cmd->IsValueAlreadyAdded(values, same));
}

TEST_F(CheckinCmd, EditsFindTheirObjectAfterTheResponseChanged)
{
    Answer(*m_cmd, kAnswer);
    m_cmd->ParseAndBuildResponse();
    CSEXMLPacket* rebuilt = m_cmd->Packet();
    const CSEString list(u"/response/cadobjectlist");
    CSEObjectInfo edit = FileObject(u"x.prt", u"b1");
    edit.name = u"first";
    ASSERT_EQ(m_cmd->UpdateObjectInResponse(edit), 0); // objects indexed here
    // The bolt's element replaced by another of the cadid, and an object added after the first edit.
    rebuilt->removeChildNode(list, list + u"/cadobject[@cadid='b1']");
    rebuilt->appendXMLString(list, u"<cadobject cadid='n1'/>");
    rebuilt->appendXMLString(list, u"<cadobject cadid='b1'/>");
    const std::pair<const char16_t*, const char16_t*> edits[] = {{u"b1", u"bolt"}, {u"n1", u"new"}, {u"t1", u"top"}};
    for (const auto& [cadId, name] : edits) {
        edit = FileObject(u"x.prt", cadId);
        edit.name = name;
        EXPECT_EQ(m_cmd->UpdateObjectInResponse(edit), 0) << Utf8(cadId);
        EXPECT_EQ(Attribute(rebuilt, list + u"/cadobject[@cadid='" + cadId + u"']", u"name"), Utf8(name));
    }
    edit = FileObject(u"x.prt", u"none");
    EXPECT_NE(m_cmd->UpdateObjectInResponse(edit), 0);
    EXPECT_EQ(rebuilt->getNodeCount(list + u"/cadobject"), 6); // nothing made for the unknown cadid
}

TEST_F(CheckinCmd, RebuildWaitsForAnAnswerAndDeletesEachPacketOnce)
{
    EXPECT_EQ(m_cmd->ParseAndBuildResponse(), 0);
    EXPECT_EQ(m_cmd->GetNumObjectsFromRequestPacket(), 5); // no answer: the request stays
    CSEWrapperStringVector tops;
    tops.push_back(u"t1");
    ASSERT_TRUE(m_cmd->CreateSparseXMLFromGlobalXML(tops));
    m_cmd->StartSparseCommand();
    Answer(*m_cmd, kAnswer);
    m_cmd->ParseAndBuildResponse();
    m_cmd->EndSparseCommand(); // nothing left to delete or return to
    m_cmd->ParseAndBuildResponse();
    EXPECT_EQ(m_cmd->GetNumObjectsFromResponse(), 5);
}

TEST_F(CheckinCmd, EmptyAnswerEmptiesListAndMap)
{
    Answer(*m_cmd, "<cadobjectlist/>");
    m_cmd->ParseAndBuildResponse();
    CSEStringCSEObjectMap map;
    map[CSEString(u"stale")] = CSEObjectInfo();
    EXPECT_EQ(m_cmd->GetObjectListFromResponse(map, 1).size(), 0);
    EXPECT_EQ(map.size(), 0);
}
