// Behaviour of the checkout commands on responses: the gearbox fixture (sub-assemblies, a bolt shared
// by two parents, an embedded component, a library housing, a drawing, O'Brien and 歯車), and small
// answers built in the tests for the edge cases.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "CSECheckoutCmd.h"
#include "CSEException.h"
#include "CSEFindForCheckoutCmd.h"
#include "CSEStartDesignCmd.h"
#include "common/CommandProbe.h"
#include "common/ServiceFixture.h"

using servicetest::Utf8;

namespace {

struct OpenCheckoutCmd : CSECheckoutCmd
{
    using CSECommonCheckoutCmd::GetObjOldName;
};

std::string Setting(const std::string& name, const std::string& value)
{
    return "<attribute><name>" + name + "</name><value>" + value + "</value></attribute>";
}

// The server's mapping of the gearbox's attributes (CAD side "assembly,X").
const std::string kLogin =
    "<response cname='login' result='success'><info><gsettings>" +
    Setting("Vexlin-QxToCADAttribMapping",
            Setting("CAD Assembly,Description", "assembly,Description") +
                Setting("CAD Assembly,$$description$$", "assembly,Title") +
                Setting("CAD Assembly,expr(name + rev)", "assembly,Label") +
                Setting("CAD Assembly,$$revision$$", "assembly,Revision") +
                Setting("CAD Assembly,Material", "assembly,Material")) +
    "</gsettings></info></response>";

// An answer of the given objects and relationships (element markup) and structure content.
std::string Answer(const std::string& objects, const std::string& relationships = "", const std::string& structure = "")
{
    return "<response cname='checkout' result='success'><info><cadobjectlist>" + objects +
           "</cadobjectlist><relationshiplist>" + relationships + "</relationshiplist><structure>" + structure +
           "</structure></info></response>";
}

std::string Object(const std::string& cadid, const std::string& more)
{
    return "<cadobject cadid='" + cadid + "' name='" + cadid + "' " + more + "/>";
}

std::vector<std::string> Names(const CSEAttributeVector& attributes)
{
    std::vector<std::string> names;
    for (int i = 0; i < attributes.size(); ++i)
        names.push_back(Utf8(attributes[i].name));
    return names;
}

} // namespace

class CheckoutResponse : public ServiceFixture
{
protected:
    void SetUp() override
    {
        ServiceFixture::SetUp();
        UseSettings(Settings() + "compatiblewkcversion=QTL2010\n");
        ASSERT_EQ(Agent().InitServerSettingsForSilent(CSEString(kLogin.c_str())), 0);
    }

    // Loads the gearbox fixture, or an answer written into the installation folder.
    void Load(CSECommonCheckoutCmd& command, const std::string& answer = "")
    {
        CSEString thin(("<response dirname='" QORVI_TEST_DATA_DIR "/checkout' filename='response.xml'/>"));
        if (!answer.empty()) {
            std::ofstream(PathOf("answer.xml"), std::ios::binary) << answer;
            thin = ThinResponseFor("answer.xml");
        }
        ASSERT_TRUE(command.GetResponseObject()->ParseResponse(thin));
    }

    template <class Record, class Vector>
    static std::map<std::string, Record> ByKey(const Vector& list, CSEString Record::*key)
    {
        std::map<std::string, Record> byKey;
        for (int i = 0; i < list.size(); ++i)
            byKey[Utf8(list[i].*key)] = list[i];
        return byKey;
    }

    std::map<std::string, CSEObjectInfo> Objects(CSECommonCheckoutCmd& command)
    {
        CSEObjectInfoVector list;
        command.getObjectInfoList(list);
        return ByKey(list, &CSEObjectInfo::cadId);
    }

    std::map<std::string, CSERelationship> Relationships(CSECommonCheckoutCmd& command)
    {
        CSERelationshipVector list;
        command.getRelationshipList(list);
        return ByKey(list, &CSERelationship::rid);
    }
};

TEST_F(CheckoutResponse, ObjectRecordsFollowTheAnswer)
{
    CSECheckoutCmd command;
    Load(command);
    std::map<std::string, CSEObjectInfo> objects = Objects(command);
    ASSERT_EQ(objects.size(), 9u);
    const struct
    {
        const char* cadid;
        const char* name;
        const char* fullFileName;
        const char* parentFullPath;
        const char* parentFileName;
    } cases[] = {
        {"c-asm", "Gearbox", "/ws/gearbox/Gearbox.asm", "", ""},
        {"c-sub1", "Shaft Assembly", "/ws/gearbox/Shaft Assembly.asm", "/ws/gearbox/Gearbox.asm", "Gearbox.asm"},
        // The library housing is its parents' child by its name, not its file name.
        {"c-emb", "Weld Group", "/ws/gearbox/housing/Weld Group.emb", "/ws/gearbox/housing/Housing.asm", "Housing.asm"},
        // The embedded component passes its own parent on.
        {"c-weld", "Weld Bead", "/ws/gearbox/housing/Weld Bead.prt", "/ws/gearbox/housing/Housing.asm", "Housing.asm"},
        // Shared by both sub-assemblies: the parent met last in the structure.
        {"c-bolt", "Bolt M8", "/ws/library/Bolt M8.prt", "/ws/gearbox/housing/Housing.asm", "Housing.asm"},
        {"O'Brien Bracket.prt", "O'Brien Bracket", "/ws/gearbox/O'Brien Bracket.prt", "/ws/gearbox/Shaft Assembly.asm",
         "Shaft Assembly.asm"},
        {"歯車.prt", "歯車", "/ws/gearbox/歯車/歯車.prt", "/ws/gearbox/Shaft Assembly.asm", "Shaft Assembly.asm"},
        // A drawing reference is no parent.
        {"c-drw", "Gearbox Drawing", "/ws/drawings/Gearbox.drw", "", ""},
    };
    for (const auto& c : cases) {
        const CSEObjectInfo& object = objects[c.cadid];
        EXPECT_EQ(Utf8(object.name + u"|" + object.fullFileName + u"|" + object.parentFullPath + u"|" +
                       object.parentFileName),
                  std::string(c.name) + "|" + c.fullFileName + "|" + c.parentFullPath + "|" + c.parentFileName);
        EXPECT_EQ(object.formatCount, 1) << c.cadid;
    }
    const CSEObjectInfo& gearbox = objects["c-asm"];
    EXPECT_EQ(Utf8(gearbox.busType + u"|" + gearbox.qxVersion + u"|" + gearbox.modificationStatus + u"|" +
                   gearbox.modificationStatus2 + u"|" + gearbox.familyName + u"|" + gearbox.selDepDoc + u"|" +
                   gearbox.load + u"|" + gearbox.tool),
              "CAD Assembly|B.3|modified|modified|GB|true|true|designtool");
    ASSERT_EQ(gearbox.modifiedCadAttributes.Size(), 2);
    EXPECT_EQ(Utf8(*gearbox.modifiedCadAttributes[2]), "Weight");
    EXPECT_EQ(Utf8(objects["c-sub2"].tool), "library");
    EXPECT_EQ(Utf8(objects["O'Brien Bracket.prt"].attributes[0].value), "Bracket by O'Brien & Sons");
    // The drawing (selected, unlocked) comes first; the selected locked gearbox decides.
    EXPECT_EQ(Utf8(command.GetCheckoutDirectory()), "/ws/gearbox");
    EXPECT_TRUE(command.DoesRenamedObjectsExists());
    CSEObjectInfo found;
    EXPECT_TRUE(command.GetCSEObjectInfoFromCadId(u"歯車.prt", found));
    EXPECT_EQ(Utf8(found.fileName), "歯車.prt");
}

TEST_F(CheckoutResponse, AttributesToCopyFollowTheServersMappingFrom2010)
{
    const struct
    {
        const char* version;
        std::vector<std::string> copied;
    } cases[] = {
        {"QTL2010", {"Description", "Label", "Revision"}},
        {"10.7.SP1", {"Description", "Title", "Label", "Revision", "Material", "PartNumber"}},
    };
    for (const auto& c : cases) {
        UseSettings(Settings() + "compatiblewkcversion=" + c.version + "\n");
        CSECheckoutCmd command;
        Load(command);
        const CSEObjectInfo gearbox = Objects(command)["c-asm"];
        EXPECT_EQ(gearbox.attributes.size(), 6) << c.version;
        EXPECT_EQ(Names(gearbox.attributes2), c.copied) << c.version;
    }
}

TEST_F(CheckoutResponse, RelationshipsGetTheirPlaceInTheStructure)
{
    CSECheckoutCmd command;
    Load(command);
    Objects(command);
    std::map<std::string, CSERelationship> relationships = Relationships(command);
    ASSERT_EQ(relationships.size(), 10u);
    const struct
    {
        const char* rid;
        const char* parent;
        const char* child;
        const char* parentPath;
        const char* childPath;
        int quantity;
    } cases[] = {
        {"R1", "c-asm", "c-sub1", "/ws/gearbox/Gearbox.asm", "/ws/gearbox/Shaft Assembly.asm", 1},
        {"R2", "c-asm", "c-sub2", "/ws/gearbox/Gearbox.asm", "/ws/gearbox/housing/Housing.asm", 2},
        // The shared bolt: one relationship under each parent.
        {"R3", "c-sub1", "c-bolt", "/ws/gearbox/Shaft Assembly.asm", "/ws/library/Bolt M8.prt", 4},
        {"R5", "c-sub2", "c-bolt", "/ws/gearbox/housing/Housing.asm", "/ws/library/Bolt M8.prt", 1},
        {"R6", "c-sub1", "歯車.prt", "/ws/gearbox/Shaft Assembly.asm", "/ws/gearbox/歯車/歯車.prt", 1},
        {"R7", "c-drw", "c-asm", "/ws/drawings/Gearbox Drawing.drw", "/ws/gearbox/Gearbox.asm", 1},
        {"R9", "c-sub2", "c-emb", "/ws/gearbox/housing/Housing.asm", "/ws/gearbox/housing/Weld Group.emb", 1},
        {"R10", "c-emb", "c-weld", "/ws/gearbox/housing/Weld Group.emb", "/ws/gearbox/housing/Weld Bead.prt", 1},
        {"R99", "", "", "", "", 1}, // listed, but used nowhere in the structure
    };
    for (const auto& c : cases) {
        const CSERelationship& r = relationships[c.rid];
        EXPECT_EQ(Utf8(r.parentCadId + u">" + r.childCadId + u"|" + r.parent.cadId + u">" + r.child.cadId + u"|" +
                       r.parentFullPath + u">" + r.childFullPath),
                  std::string(c.parent) + ">" + c.child + "|" + c.parent + ">" + c.child + "|" + c.parentPath + ">" +
                      c.childPath);
        EXPECT_EQ(r.quantity, c.quantity) << c.rid;
    }
    const CSERelationship& first = relationships["R1"];
    EXPECT_EQ(Names(first.attributes),
              (std::vector<std::string>{"Quantity", "relativeXform", "componentID", "UUID", "qxid", "Renamed From"}));
    EXPECT_EQ(Utf8(first.topNode + u"|" + first.cadRelationship + u"|" + first.structureView + u"|" +
                   first.relativeXform + u"|" + first.componentId + u"|" + first.uuid + u"|" + first.qxId +
                   u"|" + first.renamedFrom + u"|" + first.childName),
              "dpt|assemblyComponent|true|1 0 0 0 1 0 0 0 1 0 0 0|7|5f0c-11|q-11|Shaft Asm Old|Shaft Assembly");
    EXPECT_EQ(Utf8(relationships["R3"].newTransform + u"|" + relationships["R3"].newComponentId),
              "0 1 0 1 0 0 0 0 1 5 0 0|12");
    EXPECT_EQ(Utf8(relationships["R7"].topNode), "ndpt");
    // Parents of renamed children.
    for (const char* cadid : {"c-asm", "c-sub1", "c-sub2"}) {
        CSEObjectInfo parent;
        command.GetCSEObjectInfoFromCadId(CSEString(cadid), parent);
        EXPECT_EQ(parent.hasRenamedChild, std::string(cadid) != "c-sub2") << cadid;
    }
}

TEST_F(CheckoutResponse, OldFileNamesComeFromTheRelationshipThatRenamedThem)
{
    OpenCheckoutCmd command;
    Load(command);
    std::map<std::string, CSEObjectInfo> objects = Objects(command);
    CSEObjectInfo topLevel;
    topLevel.name = u"P1";
    topLevel.fileName = u"old.dat";
    topLevel.isTopLevel = 1;
    objects["top"] = topLevel;
    const struct
    {
        const char* cadid;
        const char* fileName;
        const char* renamedFrom;
    } cases[] = {
        {"top", "P1.dat", "old.dat"},
        {"c-sub1", "Shaft Assembly.asm", "Shaft Asm Old.asm"}, // "Renamed From" of R1, below a top object
        {"c-asm", "Gearbox.asm", "Gearbox.asm"},               // below the drawing, never renamed
        {"O'Brien Bracket.prt", "O'Brien Bracket.prt", "O'Brien Bracket.prt"}, // deeper than the top objects' children
    };
    for (const auto& c : cases) {
        CSEObjectInfo object = objects[c.cadid];
        command.setOldFileName(object);
        EXPECT_EQ(Utf8(object.fileName) + "<" + Utf8(object.renamedFrom), std::string(c.fileName) + "<" + c.renamedFrom)
            << c.cadid;
    }
    // Through the whole structure, by the rid of the object's relationship.
    CSEObjectInfo bracket = objects["O'Brien Bracket.prt"];
    command.GetObjOldName(CSEString(), 0, bracket);
    EXPECT_EQ(Utf8(bracket.renamedFrom), "OBrien_v1");
}

TEST_F(CheckoutResponse, TopLevelSearchMarksSelectedObjects)
{
    CSECheckoutCmd command;
    Load(command);
    CSEObjectInfoVector list;
    command.getObjectInfoList(list);
    CSEXMLPacket* answer = command.GetResponseObject()->GetXMLPacket();
    command.findAllTopLevelObjects(u"//response/info/structure/cadobject", answer, list);
    const CSEObjectInfoVector topLevel = command.GetTopLevelObjectInfoList();
    ASSERT_EQ(topLevel.size(), 2);
    EXPECT_EQ(Utf8(topLevel[0].cadId) + "," + Utf8(topLevel[1].cadId), "c-asm,c-drw");
    for (int i = 0; i < list.size(); ++i)
        EXPECT_EQ(list[i].isTopLevel, list[i].selected == u"true") << Utf8(list[i].cadId);

    // Only the housing and the weld bead below it selected: the search ends at the housing.
    for (int i = 0; i < list.size(); ++i) {
        list[i].isTopLevel = 0;
        list[i].selected = list[i].cadId == u"c-sub2" || list[i].cadId == u"c-weld" ? u"true" : u"false";
    }
    command.findTopLevelObject(u"//response/info/structure", answer, list);
    for (int i = 0; i < list.size(); ++i)
        EXPECT_EQ(list[i].isTopLevel, list[i].cadId == u"c-sub2") << Utf8(list[i].cadId);
    EXPECT_EQ(command.GetTopLevelObjectInfoList().size(), 2); // marked, not collected
    EXPECT_FALSE(command.markTopLevelObject(u"//response/info/structure/cadobject[2]", answer, list));
    EXPECT_TRUE(command.markTopLevelObject(u"//cadobject[@cadid='c-weld']", answer, list));
    EXPECT_EQ(command.GetTopLevelObjectInfoList().size(), 3);

    // The bolt selected under both sub-assemblies is one top-level object.
    CSECheckoutCmd again;
    Load(again);
    CSEObjectInfoVector boltSelected;
    again.getObjectInfoList(boltSelected);
    for (int i = 0; i < boltSelected.size(); ++i)
        boltSelected[i].selected = boltSelected[i].cadId == u"c-bolt" ? u"true" : u"false";
    again.findAllTopLevelObjects(u"//response/info/structure/cadobject", again.GetResponseObject()->GetXMLPacket(),
                                 boltSelected);
    ASSERT_EQ(again.GetTopLevelObjectInfoList().size(), 1);
    EXPECT_EQ(Utf8(again.GetTopLevelObjectInfoList()[0].cadId), "c-bolt");
}

TEST_F(CheckoutResponse, FormatsAreCheckedUnlessTheSwitchesAllowThem)
{
    const struct
    {
        const char* fileName;
        const char* allowing; // the switch that lets the object through
        const char* messageId;
    } cases[] = {
        {"Crank.prt|Crank.pdf", "DV5_001", "MSG_MULTIPLE_FORMATS_FORBIDDEN"},
        {"", "DV5_003", "MSG_ERROR_NO_ATTACHED_FORMAT"},
    };
    for (const auto& c : cases) {
        CSECheckoutCmd command;
        Load(command, Answer(Object("c1", "filename='Before.prt' dirname='/ws'") +
                             Object("c2", std::string("filename='") + c.fileName + "' dirname='/ws'")));
        CSEObjectInfoVector list;
        try {
            command.getObjectInfoList(list);
            ADD_FAILURE() << c.fileName;
        } catch (const CSEException& e) {
            EXPECT_NE(Utf8(e.GetMsg()).find(c.messageId), std::string::npos) << Utf8(e.GetMsg());
            EXPECT_NE(Utf8(e.GetMsg()).find("c2"), std::string::npos) << Utf8(e.GetMsg());
        }
        EXPECT_EQ(list.size(), 1) << c.fileName; // the records before the offending one
        setenv(c.allowing, "1", 1);
        list = CSEObjectInfoVector();
        command.getObjectInfoList(list);
        unsetenv(c.allowing);
        ASSERT_EQ(list.size(), 2) << c.fileName;
        EXPECT_EQ(list[1].formatCount, std::string(c.fileName).empty() ? 0 : 2);
        EXPECT_EQ(Utf8(list[1].fullFileName), std::string(c.fileName).empty() ? "" : "/ws/Crank.prt|/ws/Crank.pdf");
    }
}

TEST_F(CheckoutResponse, ReusedCommandForgetsTheEarlierAnswer)
{
    CSEFindForCheckoutCmd command;
    Load(command);
    CSEObjectInfoVector list;
    command.getObjectInfoList(list);
    command.findAllTopLevelObjects(u"//response/info/structure/cadobject", command.GetResponseObject()->GetXMLPacket(),
                                   list);
    ASSERT_EQ(command.GetTopLevelObjectInfoList().size(), 2);
    command.ResetFindForCheckoutCmd();
    EXPECT_EQ(command.GetTopLevelObjectInfoList().size(), 0);

    Load(command, Answer(Object("other", "filename='Other.prt' dirname='/ws' fileSource='library'")));
    std::map<std::string, CSEObjectInfo> objects = Objects(command);
    EXPECT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects.count("other"), 1u);
    EXPECT_FALSE(command.DoesRenamedObjectsExists());
    EXPECT_EQ(Utf8(command.GetCheckoutDirectory()), "");
    CSEObjectInfo found;
    EXPECT_FALSE(command.GetCSEObjectInfoFromCadId(u"c-asm", found));
}

TEST_F(CheckoutResponse, AbsentObjectsAndRelationshipsAddNoRecords)
{
    // The structure uses a cadid that the list lacks and, below a node without cadid, a rid it lacks.
    CSECheckoutCmd command;
    Load(command, Answer(Object("top", "filename='Top.asm' dirname='/ws'") + Object("leaf", "filename='Leaf.prt'"),
                         "<relationship rid='R2'/>",
                         "<cadobject cadid='top'><cadobject cadid='ghost'><relationship rid='R-ghost'/>"
                         "<cadobject><relationship rid='R-missing'/><cadobject cadid='leaf'>"
                         "<relationship rid='R2'/></cadobject></cadobject></cadobject></cadobject>"));
    EXPECT_EQ(Objects(command).size(), 2u);
    CSEObjectInfo untouched;
    untouched.name = u"kept";
    EXPECT_FALSE(command.GetCSEObjectInfoFromCadId(u"ghost", untouched));
    command.SetFileNameFromCadId(u"ghost", u"Ghost.prt");
    EXPECT_FALSE(command.GetCSEObjectInfoFromCadId(u"ghost", untouched));
    EXPECT_EQ(Utf8(untouched.name), "kept");
    std::map<std::string, CSERelationship> relationships = Relationships(command);
    ASSERT_EQ(relationships.size(), 1u);
    // A folder that is empty gives the bare file name.
    EXPECT_EQ(Utf8(relationships["R2"].childFullPath), "leaf.prt");
    EXPECT_EQ(Utf8(relationships["R2"].childCadId), "leaf");
    EXPECT_EQ(Utf8(relationships["R2"].parentCadId), "");
    EXPECT_EQ(Objects(command).size(), 2u);
}

TEST_F(CheckoutResponse, NamesThatWouldLeaveTheirFolderGiveNoPath)
{
    const struct
    {
        const char* dirname;
        const char* fileName;
        bool safe;       // a full file name is made
        bool safeFolder; // the folder can be the checkout folder
    } cases[] = {
        {"/ws/a", "Part.prt", true, true},
        {"", "Part.prt", true, true},
        {"/ws/a", "../../etc/Part.prt", false, true},
        {"/ws/a", "..", false, true},
        {"/ws/a", "sub/Part.prt", false, true},
        {"/ws/a", "sub\\Part.prt", false, true},
        {"/ws/a", "/etc/passwd", false, true},
        {"/ws/a", "Part.prt|../Part.pdf", false, true},
        {"/ws/../etc", "Part.prt", false, false},
        {"/ws/a/.", "Part.prt", false, false},
        {"ws/a", "Part.prt", false, false},
        {"C:\\ws\\..\\a", "Part.prt", false, false},
    };
    setenv("DV5_001", "1", 1);
    for (const auto& c : cases) {
        CSECheckoutCmd command;
        Load(command, Answer("<cadobject cadid='p' name='Part' selected='true' lock='true' dirname='" +
                                 std::string(c.dirname) + "' filename='" + c.fileName + "'/>"));
        std::map<std::string, CSEObjectInfo> objects = Objects(command);
        EXPECT_EQ(objects["p"].fullFileName.size() != 0, c.safe) << c.dirname << " " << c.fileName;
        EXPECT_EQ(Utf8(objects["p"].fileName), c.fileName); // the answer itself stays as it came
        EXPECT_EQ(Utf8(command.GetCheckoutDirectory()), c.safeFolder ? c.dirname : "") << c.dirname;
    }
    unsetenv("DV5_001");
    // Names that would make a file name with a folder in it.
    OpenCheckoutCmd command;
    CSEObjectInfo object;
    object.name = u"../../outside";
    object.fileName = u"Part.prt";
    object.isTopLevel = 1;
    command.setOldFileName(object);
    EXPECT_EQ(Utf8(object.fileName + u"<" + object.renamedFrom), "Part.prt<");
}

TEST_F(CheckoutResponse, CommandsCarryTheirNamesAndFocusTheBrowser)
{
    CSECheckoutCmd checkout;
    CSEFindForCheckoutCmd find;
    CSEStartDesignCmd startDesign;
    for (CSECommand* command : std::vector<CSECommand*>{&checkout, &find, &startDesign})
        EXPECT_EQ(Attribute(PacketOf(*command), u"/command", u"cname") + "," +
                      Attribute(PacketOf(*command), u"/command", u"focusbrowser"),
                  Utf8(command->GetCmdName()) + ",true");
    EXPECT_EQ(Utf8(checkout.GetCmdName() + u"," + find.GetCmdName() + u"," + startDesign.GetCmdName()),
              "checkout,find,startdesign");
    find.SetCmdName(u"other");
    find.ResetFindForCheckoutCmd();
    EXPECT_EQ(Attribute(PacketOf(find), u"/command", u"cname"), "find");

    CSECheckoutCmd named(CSEString(u"checkoutex"));
    CSEString root;
    EXPECT_EQ(named.GetCmdName(), u"checkoutex");
    EXPECT_NE(PacketOf(named)->getRootNodeName(root), 0); // the caller builds the header

    checkout.CreateResponseForUserExit(u"failure");
    EXPECT_EQ(Attribute(PacketOf(checkout), u"/response", u"result"), "failure");
}

TEST_F(CheckoutResponse, StructureThousandsOfLevelsDeepIsReadWhole)
{
    const int depth = 5000;
    std::string objects, relationships, chain, closing;
    for (int i = 0; i < depth; ++i) {
        const std::string id = std::to_string(i);
        objects += Object("c" + id, "filename='p" + id + ".prt' dirname='/d'");
        relationships += "<relationship rid='R" + id + "' topnode='dpt'/>";
        chain += "<cadobject cadid='c" + id + "'><relationship rid='R" + id + "'/>";
        closing += "</cadobject>";
    }
    CSECheckoutCmd command;
    Load(command, Answer(objects, relationships, chain + closing));
    EXPECT_EQ(Utf8(Objects(command)["c4999"].parentFullPath), "/d/p4998.prt");
    std::map<std::string, CSERelationship> read = Relationships(command);
    EXPECT_EQ(Utf8(read["R4999"].parentCadId) + ">" + Utf8(read["R4999"].childCadId), "c4998>c4999");
}
