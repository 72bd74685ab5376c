// Behaviour of the checkout commands on responses: the gearbox fixture (a bolt shared by two parents,
// an embedded component, a library housing, a drawing, O'Brien and 歯車) and small answers built for
// the edge cases. A real answer of the reference service is read in integration/.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>

#include "CSECheckoutCmd.h"
#include "CSEException.h"
#include "CSEFindForCheckoutCmd.h"
#include "common/CommandProbe.h"
#include "common/CannedResponse.h"

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
std::string Listing(const std::string& objects, const std::string& relationships = "", const std::string& structure = "")
{
    return "<response cname='checkout' result='success'><info><cadobjectlist>" + objects +
           "</cadobjectlist><relationshiplist>" + relationships + "</relationshiplist><structure>" + structure +
           "</structure></info></response>";
}

std::string Object(const std::string& cadid, const std::string& more)
{
    return "<cadobject cadid='" + cadid + "' name='" + cadid + "' " + more + "/>";
}

std::string Names(const CSEAttributeVector& attributes)
{
    std::string names;
    for (int i = 0; i < attributes.size(); ++i)
        names += Utf8(attributes[i].name) + ",";
    return names;
}

} // namespace

class CheckoutResponse : public CannedResponse
{
protected:
    void SetUp() override
    {
        CannedResponse::SetUp();
        UseSettings(Settings() + "compatiblewkcversion=QTL2010\n");
        ASSERT_EQ(Agent().InitServerSettingsForSilent(CSEString(kLogin.c_str())), 0);
    }

    // Loads the gearbox fixture, or an answer written into the installation folder.
    void Load(CSECommonCheckoutCmd& command, const std::string& answer = "")
    {
        if (!answer.empty())
            return CannedResponse::Load(command, answer);
        ASSERT_TRUE(command.GetResponseObject()->ParseResponse(
            u"<response dirname='" QORVI_TEST_DATA_DIR "/checkout' filename='response.xml'/>"));
    }

    // The records the command reads, by cadid or rid.
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

TEST_F(CheckoutResponse, RecordsFollowTheAnswer)
{
    CSECheckoutCmd command;
    Load(command);
    std::map<std::string, CSEObjectInfo> objects = Objects(command);
    ASSERT_EQ(objects.size(), 9u);
    // cadid: full file name < full file name of the parent.
    const std::map<std::string, std::string> objectCases = {
        // The library housing is its parents' child by its name, not its file name.
        {"c-emb", "/ws/gearbox/housing/Weld Group.emb</ws/gearbox/housing/Housing.asm"},
        // The embedded component passes its own parent on.
        {"c-weld", "/ws/gearbox/housing/Weld Bead.prt</ws/gearbox/housing/Housing.asm"},
        // Shared by both sub-assemblies: the parent met last in the structure.
        {"c-bolt", "/ws/library/Bolt M8.prt</ws/gearbox/housing/Housing.asm"},
        {"歯車.prt", "/ws/gearbox/歯車/歯車.prt</ws/gearbox/Shaft Assembly.asm"},
        {"c-drw", "/ws/drawings/Gearbox.drw<"}, // a drawing reference is no parent
    };
    for (const auto& c : objectCases)
        EXPECT_EQ(Utf8(objects[c.first].fullFileName + u"<" + objects[c.first].parentFullPath), c.second);
    EXPECT_EQ(Utf8(*objects["c-asm"].modifiedCadAttributes[2]), "Weight");
    EXPECT_EQ(Utf8(objects["O'Brien Bracket.prt"].attributes[0].value), "Bracket by O'Brien & Sons");
    // The drawing (selected, unlocked) comes first; the selected locked gearbox decides.
    EXPECT_EQ(Utf8(command.GetCheckoutDirectory()), "/ws/gearbox");
    EXPECT_TRUE(command.DoesRenamedObjectsExists());

    std::map<std::string, CSERelationship> relationships = Relationships(command);
    ASSERT_EQ(relationships.size(), 10u);
    // rid: parent > child | their full file names | quantity.
    const std::map<std::string, std::string> relationshipCases = {
        // The shared bolt: one relationship under each parent; a quantity below 1 or empty counts 1.
        {"R3", "c-sub1>c-bolt|/ws/gearbox/Shaft Assembly.asm>/ws/library/Bolt M8.prt|4"},
        {"R5", "c-sub2>c-bolt|/ws/gearbox/housing/Housing.asm>/ws/library/Bolt M8.prt|1"},
        {"R6", "c-sub1>歯車.prt|/ws/gearbox/Shaft Assembly.asm>/ws/gearbox/歯車/歯車.prt|1"},
        {"R7", "c-drw>c-asm|/ws/drawings/Gearbox Drawing.drw>/ws/gearbox/Gearbox.asm|1"},
        {"R10", "c-emb>c-weld|/ws/gearbox/housing/Weld Group.emb>/ws/gearbox/housing/Weld Bead.prt|1"},
        {"R99", ">|>|1"}, // listed, but used nowhere in the structure
    };
    for (const auto& c : relationshipCases) {
        const CSERelationship& r = relationships[c.first];
        EXPECT_EQ(Utf8(r.parentCadId + u">" + r.childCadId + u"|" + r.parentFullPath + u">" + r.childFullPath) + "|" +
                      std::to_string(r.quantity),
                  c.second);
    }
    EXPECT_EQ(Utf8(relationships["R1"].relativeXform + u"|" + relationships["R1"].childName),
              "1 0 0 0 1 0 0 0 1 0 0 0|Shaft Assembly");
    // Parents of renamed children.
    for (const char* cadid : {"c-asm", "c-sub1", "c-sub2"}) {
        CSEObjectInfo parent;
        command.GetCSEObjectInfoFromCadId(CSEString(cadid), parent);
        EXPECT_EQ(parent.hasRenamedChild, std::string(cadid) != "c-sub2") << cadid;
    }
}

TEST_F(CheckoutResponse, AttributesToCopyFollowTheServersMappingFrom2010)
{
    for (const char* version : {"QTL2010", "10.7.SP1"}) {
        UseSettings(Settings() + "compatiblewkcversion=" + version + "\n");
        CSECheckoutCmd command;
        Load(command);
        const CSEObjectInfo gearbox = Objects(command)["c-asm"];
        EXPECT_EQ(gearbox.attributes.size(), 6) << version;
        EXPECT_EQ(Names(gearbox.attributes2), std::string(version) == "QTL2010"
                                                  ? "Description,Label,Revision,"
                                                  : "Description,Title,Label,Revision,Material,PartNumber,");
    }
}

TEST_F(CheckoutResponse, OldFileNamesComeFromTheRelationshipThatRenamedThem)
{
    OpenCheckoutCmd command;
    Load(command);
    std::map<std::string, CSEObjectInfo> objects = Objects(command);
    for (const char* name : {"P1", "../../outside"}) { // top-level objects renamed in the CAD tool
        CSEObjectInfo& topLevel = objects[name];
        topLevel.name = CSEString(name);
        topLevel.fileName = u"old.dat";
        topLevel.isTopLevel = 1;
    }
    const struct { const char *cadid, *fileName, *renamedFrom; } cases[] = {
        {"P1", "P1.dat", "old.dat"},
        {"../../outside", "old.dat", ""}, // a name that would put a folder into the file name
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
    EXPECT_EQ(Utf8(topLevel[0].cadId + u"," + topLevel[1].cadId), "c-asm,c-drw");
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

    // The bolt selected under both sub-assemblies is one top-level object.
    CSECheckoutCmd again;
    Load(again);
    for (int i = 0; i < list.size(); ++i)
        list[i].selected = list[i].cadId == u"c-bolt" ? u"true" : u"false";
    again.findAllTopLevelObjects(u"//response/info/structure/cadobject", again.GetResponseObject()->GetXMLPacket(), list);
    ASSERT_EQ(again.GetTopLevelObjectInfoList().size(), 1);
    EXPECT_EQ(Utf8(again.GetTopLevelObjectInfoList()[0].cadId), "c-bolt");
}

TEST_F(CheckoutResponse, FormatsAreCheckedUnlessTheSwitchesAllowThem)
{
    // allowing: the switch that lets the object through
    const struct { const char *fileName, *allowing, *messageId; } cases[] = {
        {"Crank.prt|Crank.pdf", "DV5_001", "MSG_MULTIPLE_FORMATS_FORBIDDEN"},
        {"", "DV5_003", "MSG_ERROR_NO_ATTACHED_FORMAT"},
    };
    for (const auto& c : cases) {
        CSECheckoutCmd command;
        Load(command, Listing(Object("c1", "filename='Before.prt' dirname='/ws'") +
                             Object("c2", std::string("filename='") + c.fileName + "' dirname='/ws'")));
        CSEObjectInfoVector list;
        std::string message;
        try {
            command.getObjectInfoList(list);
        } catch (const CSEException& e) {
            message = Utf8(e.GetMsg());
        }
        EXPECT_TRUE(message.find(c.messageId) != std::string::npos && message.find("c2") != std::string::npos)
            << message;
        EXPECT_EQ(list.size(), 1) << c.fileName; // the records before the offending one
        setenv(c.allowing, "1", 1);
        list = CSEObjectInfoVector();
        command.getObjectInfoList(list);
        unsetenv(c.allowing);
        ASSERT_EQ(list.size(), 2) << c.fileName;
        EXPECT_EQ(std::to_string(list[1].formatCount) + Utf8(list[1].fullFileName),
                  *c.fileName ? "2/ws/Crank.prt|/ws/Crank.pdf" : "0");
    }
}

TEST_F(CheckoutResponse, ReusedCommandReadsOnlyTheNewAnswerAndItsPresentRecords)
{
    CSEFindForCheckoutCmd command;
    Load(command);
    CSEObjectInfoVector list;
    command.getObjectInfoList(list);
    command.findAllTopLevelObjects(u"//response/info/structure/cadobject", command.GetResponseObject()->GetXMLPacket(),
                                   list);
    ASSERT_EQ(command.GetTopLevelObjectInfoList().size(), 2);
    command.SetCmdName(u"other");
    command.ResetFindForCheckoutCmd();
    EXPECT_EQ(command.GetTopLevelObjectInfoList().size(), 0);
    EXPECT_EQ(Attribute(PacketOf(command), u"/command", u"cname"), "find");

    // The structure uses a cadid that the list lacks and, below a node without cadid, a rid it lacks.
    const std::string library = " fileSource='library'";
    Load(command, Listing(Object("top", "filename='Top.asm' dirname='/ws'" + library) +
                             Object("leaf", "filename='Leaf.prt'" + library),
                         "<relationship rid='R2'/>",
                         "<cadobject cadid='top'><cadobject cadid='ghost'><relationship rid='R-ghost'/>"
                         "<cadobject><relationship rid='R-missing'/><cadobject cadid='leaf'>"
                         "<relationship rid='R2'/></cadobject></cadobject></cadobject></cadobject>"));
    EXPECT_EQ(Objects(command).size(), 2u);
    EXPECT_FALSE(command.DoesRenamedObjectsExists());
    EXPECT_EQ(Utf8(command.GetCheckoutDirectory()), "");
    CSEObjectInfo untouched;
    EXPECT_FALSE(command.GetCSEObjectInfoFromCadId(u"c-asm", untouched));
    command.SetFileNameFromCadId(u"ghost", u"Ghost.prt");
    EXPECT_FALSE(command.GetCSEObjectInfoFromCadId(u"ghost", untouched));
    std::map<std::string, CSERelationship> relationships = Relationships(command);
    ASSERT_EQ(relationships.size(), 1u);
    // A folder that is empty gives the bare file name.
    EXPECT_EQ(Utf8(relationships["R2"].parentCadId + u">" + relationships["R2"].childCadId + u"|" +
                   relationships["R2"].childFullPath),
              ">leaf|leaf.prt");
}

TEST_F(CheckoutResponse, NamesThatWouldLeaveTheirFolderGiveNoPath)
{
    // safe: a full file name is made; safeFolder: the folder can be the checkout folder
    const struct { const char *dirname, *fileName; bool safe, safeFolder; } cases[] = {
        {"/ws/a", "Part.prt", true, true},
        {"", "Part.prt", true, true},
        {"/ws/a", "../../etc/Part.prt", false, true},
        {"/ws/a", "sub/Part.prt", false, true},
        {"/ws/a", "/etc/passwd", false, true},
        {"/ws/a", "Part.prt|../Part.pdf", false, true},
        {"/ws/../etc", "Part.prt", false, false},
        {"ws/a", "Part.prt", false, false},
        {"C:\\ws\\..\\a", "Part.prt", false, false},
    };
    setenv("DV5_001", "1", 1);
    for (const auto& c : cases) {
        CSECheckoutCmd command;
        Load(command, Listing("<cadobject cadid='p' name='Part' selected='true' lock='true' dirname='" +
                                 std::string(c.dirname) + "' filename='" + c.fileName + "'/>"));
        std::map<std::string, CSEObjectInfo> objects = Objects(command);
        EXPECT_EQ(objects["p"].fullFileName.size() != 0, c.safe) << c.dirname << " " << c.fileName;
        EXPECT_EQ(Utf8(objects["p"].fileName), c.fileName); // the answer itself stays as it came
        EXPECT_EQ(Utf8(command.GetCheckoutDirectory()), c.safeFolder ? c.dirname : "") << c.dirname;
    }
    unsetenv("DV5_001");
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
    Load(command, Listing(objects, relationships, chain + closing));
    EXPECT_EQ(Utf8(Objects(command)["c4999"].parentFullPath), "/d/p4998.prt");
    EXPECT_EQ(Utf8(Relationships(command)["R4999"].parentCadId), "c4998");
}
