// Behaviour of the check-in command: the silent request, the rebuilt response (mandatory attributes,
// the request's relationships and structure, the server's objects), objects read from it, parents
// and owners of each object, and the user's edits written back.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "CSECheckinCmd.h"
#include "CSERelationship.h"
#include "CSEResponse.h"
#include "CSEUtil.h"
#include "common/CommandProbe.h"
#include "common/ServiceFixture.h"

using servicetest::Utf8;

namespace {

struct OpenCheckin : CSECheckinCmd
{
    CSEXMLPacket* Packet() { return m_pCmdXMLPacket; }
};

std::string Setting(const std::string& name, const std::string& value)
{
    return "<attribute><name>" + name + "</name><value>" + value + "</value></attribute>";
}

const std::string kLogin = "<response cname='login' result='success'><info><gsettings>" +
                           Setting("OKT-EnableAutoRecognition", "true") +
                           "<customattributes>" +
                           Setting("OKT-CADToQxMandatoryAttrMapping",
                                   "Weight,5,mandatory\nColour,red,default\nNote,,null\nOdd,x,sometimes") +
                           "</customattributes></gsettings></info></response>";

// The server's answer to the assembly of BuildRequest: "bustype" empty for the sub-assembly, a
// "busname" for a named and an unnamed object, and an element that is no object.
const std::string kAnswer =
    "<response cname='checkin' result='success'><info><cadobjectlist>"
    "<cadobject cadid='t1' name='Top' busname='Other' qxtype='Assembly' bustype='Product' qxversion='B' "
    "designstatus='released' filename='ignored.asm' dirname='/elsewhere'/>"
    "<cadobject cadid='s1' name='Sub' qxtype='Assembly' bustype='' qxversion='A' designstatus='new'/>"
    "<cadobject cadid='b1' name=\"O'Brien\" qxtype='CAD Part' bustype='Part' busrevision='3' qxversion='C'/>"
    "<cadobject cadid='e1' name='' busname='Zahnrad-ü' type='embeddedComponent' qxtype='Gear'/>"
    "<cadobject cadid='e2' name='歯車' type='embeddedComponent' qxtype='Gear'/>"
    "<remark/></cadobjectlist></info></response>";

CSEObjectInfo Object(const CSEString& fileName, const CSEString& cadId)
{
    CSEObjectInfo object;
    object.fileName = fileName;
    object.cadId = cadId;
    object.dirName = u"/w";
    return object;
}

CSERelationship Relation(const CSEString& rid)
{
    CSERelationship relationship;
    relationship.rid = rid;
    return relationship;
}

std::vector<std::string> Texts(const DVKListPtrCSEString& list)
{
    std::vector<std::string> texts;
    for (int position = 1; position <= list.Size(); ++position)
        texts.push_back(Utf8(*list[position]));
    return texts;
}

CSEAttribute Attr(const CSEString& name, const CSEString& value)
{
    return CSEAttribute(name, value);
}

} // namespace

class CheckinCmd : public ServiceFixture
{
protected:
    void SetUp() override
    {
        ServiceFixture::SetUp();
        ASSERT_EQ(Agent().InitServerSettingsForSilent(CSEString(kLogin.c_str())), 0);
        m_cmd.reset(new OpenCheckin());
    }
    void TearDown() override
    {
        m_cmd.reset();
        ServiceFixture::TearDown();
    }

    // top.asm (t1) holds sub.asm (s1) and O'Brien.prt (b1); sub.asm holds O'Brien.prt again and the
    // embedded Zahnrad-ü.prt (e1), which holds the embedded 歯車.prt (e2).
    void BuildRequest()
    {
        const int top = m_cmd->CreateRootObject(Object(u"top.asm", u"t1"));
        CSEObjectInfo objects[] = {Object(u"sub.asm", u"s1"), Object(u"O'Brien.prt", u"b1"),
                                   Object(u"O'Brien.prt", u"b1"), Object(u"Zahnrad-ü.prt", u"e1"),
                                   Object(u"歯車.prt", u"e2")};
        const int sub = m_cmd->AddObject(top, objects[0], Relation(u"r1"));
        m_cmd->AddObject(top, objects[1], Relation(u"r2"));
        m_cmd->AddObject(sub, objects[2], Relation(u"r3"));
        const int gear = m_cmd->AddObject(sub, objects[3], Relation(u"r4"));
        m_cmd->AddObject(gear, objects[4], Relation(u"r5"));
    }

    void LoadAnswer(const std::string& answer)
    {
        std::ofstream(PathOf("answer.xml"), std::ios::binary) << answer;
        ASSERT_TRUE(m_cmd->GetResponseObject()->ParseResponse(ThinResponseFor("answer.xml")));
    }

    void Rebuild(const std::string& answer = kAnswer)
    {
        BuildRequest();
        LoadAnswer(answer);
        EXPECT_EQ(m_cmd->ParseAndBuildResponse(), 0);
    }

    std::map<std::string, CSEObjectInfo> ObjectList(unsigned char withParents, CSEStringCSEObjectMap& map)
    {
        std::map<std::string, CSEObjectInfo> byCadId;
        const CSEObjectInfoVector list = m_cmd->GetObjectListFromResponse(map, withParents);
        for (int i = 0; i < list.size(); ++i)
            byCadId[Utf8(list[i].cadId)] = list[i];
        return byCadId;
    }

    std::unique_ptr<OpenCheckin> m_cmd;
};

TEST_F(CheckinCmd, SilentModeLeavesOneFocusAttribute)
{
    m_cmd->Packet()->createProperty(u"//command", u"focusbrowser", u"true");
    m_cmd->AddCheckinModeinXMLRequestPacket();
    CSEString xml;
    m_cmd->Packet()->getXMLString(xml);
    EXPECT_EQ(Utf8(xml).find("focusbrowser", Utf8(xml).find("focusbrowser") + 1), std::string::npos);
    for (auto expected : {std::pair<const char16_t*, const char*>{u"focusbrowser", "false"},
                          {u"mode", "silent"}, {u"showderivedoutput", "false"}})
        EXPECT_EQ(Attribute(m_cmd->Packet(), u"//command", expected.first), expected.second) << expected.second;
}

TEST_F(CheckinCmd, RebuiltResponseJoinsRequestAnswerAndMandatoryAttributes)
{
    BuildRequest();
    LoadAnswer(kAnswer);
    EXPECT_EQ(m_cmd->GetNumObjectsFromRequestPacket(), 5); // the bolt is listed once
    EXPECT_EQ(Utf8(m_cmd->GetObjectFromRequestPacket(2).fileName), "O'Brien.prt");
    EXPECT_EQ(m_cmd->GetNumObjectsFromFinalResponse(), 5);
    EXPECT_EQ(Utf8(m_cmd->GetObjectFromFinalResponse(4).name), "歯車");
    ASSERT_EQ(m_cmd->ParseAndBuildResponse(), 0);

    CSEXMLPacket* rebuilt = m_cmd->Packet();
    CSEString root;
    rebuilt->getRootNodeName(root);
    EXPECT_EQ(Utf8(root), "response");
    EXPECT_EQ(Attribute(rebuilt, u"/response", u"result"), "success");
    EXPECT_EQ(m_cmd->GetNumObjectsFromResponse(), 5);
    EXPECT_EQ(rebuilt->getNodeCount(u"/response/relationshiplist/relationship"), 5);
    EXPECT_EQ(rebuilt->getNodeCount(u"/response/structure/active/cadobject/cadobject"), 2);
    EXPECT_EQ(rebuilt->getNodeCount(u"/response/structure/family"), 1);

    const CSEString list(u"/response/MandatoryAttributelist/attribute");
    ASSERT_EQ(rebuilt->getNodeCount(list), 3); // the unknown kind adds nothing
    EXPECT_EQ(NodeValue(rebuilt, list + u"[1]/name"), "Weight");
    EXPECT_EQ(NodeValue(rebuilt, list + u"[1]/MandatoryValue"), "5");
    EXPECT_EQ(NodeValue(rebuilt, list + u"[2]/DefaultValue"), "red");
    EXPECT_EQ(NodeValue(rebuilt, list + u"[3]/name"), "Note");
    EXPECT_EQ(rebuilt->getNodeCount(list + u"[3]/*"), 1);
    // The request is gone: its readers find nothing.
    EXPECT_EQ(m_cmd->GetNumObjectsFromRequestPacket(), 0);
}

TEST_F(CheckinCmd, ObjectsReadFromTheRebuiltResponse)
{
    Rebuild();
    CSEStringCSEObjectMap map;
    const auto objects = ObjectList(0, map);
    EXPECT_EQ(map.size(), 5);
    struct Row
    {
        const char* cadId;
        const char* name;
        const char* busType;
        const char* busRevision;
        const char* version;
        const char* status;
        const char* fullFileName;
    };
    const Row rows[] = {
        {"t1", "Top", "Product", "", "B", "released", "/w/top.asm"}, // the request's file wins
        {"s1", "Sub", "Assembly", "", "A", "new", "/w/sub.asm"},     // no "bustype": "qxtype" stays
        {"b1", "O'Brien", "Part", "3", "C", "", "/w/O'Brien.prt"},
        {"e1", "Zahnrad-ü", "Gear", "", "", "", "/w/Zahnrad-ü.prt"},
        {"e2", "歯車", "Gear", "", "", "", "/w/歯車.prt"},
    };
    for (const Row& row : rows) {
        ASSERT_EQ(objects.count(row.cadId), 1u) << row.cadId;
        const CSEObjectInfo& object = objects.at(row.cadId);
        EXPECT_EQ(Utf8(object.name), row.name) << row.cadId;
        EXPECT_EQ(Utf8(object.busType), row.busType) << row.cadId;
        EXPECT_EQ(Utf8(object.busRevision), row.busRevision) << row.cadId;
        EXPECT_EQ(Utf8(object.qxVersion), row.version) << row.cadId;
        EXPECT_EQ(Utf8(object.designStatus), row.status) << row.cadId;
        EXPECT_EQ(Utf8(object.fullFileName), row.fullFileName) << row.cadId;
        EXPECT_EQ(Utf8(object.modified), "") << row.cadId; // absent reads as empty
    }
}

TEST_F(CheckinCmd, ParentsAndOwnersOfEveryObject)
{
    Rebuild();
    CSEStringCSEObjectMap map;
    const auto objects = ObjectList(1, map);
    const std::map<std::string, std::pair<std::vector<std::string>, std::vector<std::string>>> expected = {
        {"t1", {{}, {}}},
        {"s1", {{"t1"}, {}}},
        {"b1", {{"t1", "s1"}, {}}},
        {"e1", {{"s1"}, {"s1"}}},
        {"e2", {{"e1"}, {"s1"}}},
    };
    for (const auto& entry : expected) {
        EXPECT_EQ(Texts(objects.at(entry.first).parentCadIds), entry.second.first) << entry.first;
        EXPECT_EQ(Texts(objects.at(entry.first).ownerCadIds), entry.second.second) << entry.first;
    }
    // The caller's map keeps the records without the lists.
    CSEObjectInfo fromMap;
    CSEString bolt(u"b1");
    ASSERT_TRUE(m_cmd->GetObjectFromObjectList(map, bolt, fromMap));
    EXPECT_EQ(fromMap.parentCadIds.Size(), 0);
}

TEST_F(CheckinCmd, EmptyAnswerEmptiesListAndMap)
{
    Rebuild("<response cname='checkin' result='success'><info><cadobjectlist/></info></response>");
    CSEStringCSEObjectMap map;
    map[CSEString(u"stale")] = CSEObjectInfo();
    EXPECT_TRUE(ObjectList(1, map).empty());
    EXPECT_EQ(map.size(), 0);
}

TEST_F(CheckinCmd, EditsWrittenIntoTheResponseReplaceEarlierOnes)
{
    Rebuild();
    CSEObjectInfo edit = m_cmd->GetObjectFromResponse(2);
    edit.name = u"O'Brien-ü";
    edit.attributes.push_back(Attr(u"Weight", u"7"));
    EXPECT_EQ(m_cmd->UpdateObjectInResponse(edit), 0);
    edit.attributes.clear();
    edit.attributes.push_back(Attr(u"Weight", u"8"));
    edit.attributes.push_back(Attr(u"Colour", u"blue"));
    EXPECT_EQ(m_cmd->UpdateObjectInResponse(edit), 0);

    const CSEString node(u"/response/cadobjectlist/cadobject[@cadid='b1']");
    EXPECT_EQ(Attribute(m_cmd->Packet(), node, u"name"), "O'Brien-ü");
    EXPECT_EQ(Attribute(m_cmd->Packet(), node, u"dirname"), "/w");
    EXPECT_EQ(Attribute(m_cmd->Packet(), node, u"filename"), "O'Brien.prt");
    std::map<std::string, std::string> attributes;
    const int count = m_cmd->Packet()->getNodeCount(node + u"/attribute");
    for (int i = 1; i <= count; ++i) {
        const CSEString at = node + u"/attribute[" + CSEUtil::getCSEStringFromInt(i) + u"]";
        attributes[NodeValue(m_cmd->Packet(), at + u"/name")] = NodeValue(m_cmd->Packet(), at + u"/value");
    }
    EXPECT_EQ(count, 2);
    EXPECT_EQ(attributes, (std::map<std::string, std::string>{{"Weight", "8"}, {"Colour", "blue"}}));
}

TEST_F(CheckinCmd, EditsOfTheObjectListAndLookups)
{
    Rebuild();
    CSEStringCSEObjectMap map;
    ObjectList(0, map);
    CSEObjectInfo edit = Object(u"Rad.prt", u"e1");
    edit.dirName = u"/neu";
    edit.name = u"Rad";
    edit.attributes.push_back(Attr(u"Weight", u"1"));
    edit.attributes.push_back(Attr(u"Colour", u"green")); // beyond the stored count: appended
    m_cmd->UpdateObjectInObjectList(edit);
    edit.attributes.clear();
    edit.attributes.push_back(Attr(u"Mass", u"2")); // by position: replaces Weight
    m_cmd->UpdateObjectInObjectList(edit);

    struct Row
    {
        const char16_t* key;
        const char* cadId;
    };
    const Row rows[] = {{u"e1", "e1"}, {u"/neu/Rad.prt", "e1"}, {u"/w/O'Brien.prt", "b1"},
                        {u"/w/Zahnrad-ü.prt", nullptr}, {u"zz", nullptr}};
    for (const Row& row : rows) {
        CSEString key(row.key);
        CSEObjectInfo found;
        ASSERT_EQ(m_cmd->GetObjectFromObjectList(key, found), row.cadId != nullptr) << Utf8(key);
        if (row.cadId != nullptr) {
            EXPECT_EQ(Utf8(found.cadId), row.cadId);
        }
    }
    CSEString cadId(u"e1"), name, fullFileName, type;
    ASSERT_TRUE(m_cmd->GetObjNameFullFileNameAndTypeFromCadId(cadId, name, fullFileName, type));
    EXPECT_EQ(Utf8(name) + "|" + Utf8(fullFileName) + "|" + Utf8(type), "Rad|/neu/Rad.prt|embeddedComponent");
    CSEObjectInfo gear;
    ASSERT_TRUE(m_cmd->GetObjectFromObjectList(cadId, gear));
    ASSERT_EQ(gear.attributes.size(), 2);
    EXPECT_EQ(Utf8(gear.attributes[0].GetName()) + "=" + Utf8(gear.attributes[0].GetValue()), "Mass=2");
    EXPECT_EQ(Utf8(gear.attributes[1].GetName()) + "=" + Utf8(gear.attributes[1].GetValue()), "Colour=green");

    CSEWrapperStringVector values;
    values.push_back(u"Zahnrad-Ü");
    CSEString probe(u"zahnrad-ü"), other(u"Rad");
    EXPECT_TRUE(m_cmd->IsValueAlreadyAdded(values, probe));
    EXPECT_FALSE(m_cmd->IsValueAlreadyAdded(values, other));
}

TEST_F(CheckinCmd, RebuildDuringPartialRequestDeletesEachPacketOnce)
{
    BuildRequest();
    CSEWrapperStringVector tops;
    tops.push_back(u"t1");
    ASSERT_TRUE(m_cmd->CreateSparseXMLFromGlobalXML(tops));
    m_cmd->StartSparseCommand();
    LoadAnswer(kAnswer);
    m_cmd->ParseAndBuildResponse();
    m_cmd->EndSparseCommand(); // nothing left to delete or switch to
    EXPECT_EQ(m_cmd->GetNumObjectsFromResponse(), 5);
    m_cmd->ParseAndBuildResponse(); // without a request packet: nothing happens
    EXPECT_EQ(m_cmd->GetNumObjectsFromResponse(), 5);
}

TEST_F(CheckinCmd, WithoutAnswerReadersFindNothing)
{
    BuildRequest();
    EXPECT_EQ(m_cmd->GetNumObjectsFromFinalResponse(), 0);
    EXPECT_EQ(m_cmd->GetRespSparseObjList().size(), 0);
    EXPECT_EQ(m_cmd->ParseAndBuildResponse(), 0);
    EXPECT_EQ(m_cmd->GetNumObjectsFromRequestPacket(), 5); // the request is untouched
}

TEST_F(CheckinCmd, PartialAnswerObjectList)
{
    LoadAnswer("<response cname='checkin' result='success'><info><cadobjectlist>"
               "<cadobject cadid='a' name=\"O'Brien\" expandall='true' expandlevel='2' type='assembly'/>"
               "</cadobjectlist></info></response>");
    const CSEObjectInfoVector list = m_cmd->GetRespSparseObjList();
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(Utf8(list[0].cadId) + Utf8(list[0].name) + Utf8(list[0].expandAll) + Utf8(list[0].expandLevel) +
                  Utf8(list[0].type),
              "aO'Brientrue2assembly");
}
