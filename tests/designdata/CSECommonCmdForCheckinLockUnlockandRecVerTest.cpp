// Behaviour of the structure-sending command base (through the version recognition command): objects
// added by file name, look-ups, expandable flags, request result and partial requests.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "CSERecogVerCmd.h"
#include "CSERelationship.h"
#include "CSEXMLPacket.h"
#include "DVKRawCollint.h"
#include "common/CommandProbe.h"
#include "common/ServiceFixture.h"

namespace {

class OpenRecogVer : public CSERecogVerCmd
{
public:
    using CSERecogVerCmd::m_cadIdToFile;
    using CSERecogVerCmd::m_objectInfos;
    using CSERecogVerCmd::m_pGlobalCmdXMLPacket;
    using CSERecogVerCmd::m_pSparseCmdXMLPacket;
    using CSERecogVerCmd::ReleaseSparsePacket;
    CSEXMLPacket* Packet() { return m_pCmdXMLPacket; }
};

CSERelationship Relation(const CSEString& rid)
{
    CSERelationship relationship;
    relationship.rid = rid;
    return relationship;
}

} // namespace

class StructureCommand : public ServiceFixture
{
protected:
    // Root "top.asm" (t1) with "O'Neil.prt" (b1) and "sub.asm" (s1), and "O'Neil.prt" once more
    // under "sub.asm" with a cadid of its own (b2); a second root "other.asm" (o1) holds "sub.asm".
    void BuildAssembly()
    {
        m_top = m_cmd->CreateRootObject(FileObject(u"top.asm", u"t1"));
        CSEObjectInfo objects[] = {FileObject(u"O'Neil.prt", u"b1"), FileObject(u"sub.asm", u"s1"),
                                   FileObject(u"O'Neil.prt", u"b2"), FileObject(u"sub.asm", u"s1")};
        m_bolt = m_cmd->AddObject(m_top, objects[0], Relation(u"r1"));
        m_sub = m_cmd->AddObject(m_top, objects[1], Relation(u"r2"));
        m_sharedBolt = m_cmd->AddObject(m_sub, objects[2], Relation(u"r3"));
        m_other = m_cmd->CreateRootObject(FileObject(u"other.asm", u"o1"));
        m_cmd->AddObject(m_other, objects[3], Relation(u"r4"));
    }

    void SetUp() override
    {
        ServiceFixture::SetUp();
        m_cmd.reset(new OpenRecogVer());
    }
    void TearDown() override
    {
        m_cmd.reset();
        ServiceFixture::TearDown();
    }

    std::unique_ptr<OpenRecogVer> m_cmd;
    int m_top = -1, m_bolt = -1, m_sub = -1, m_sharedBolt = -1, m_other = -1;
};

TEST_F(StructureCommand, FileAddedTwiceIsListedOnceWithItsFirstCadid)
{
    BuildAssembly();
    CSEXMLPacket* packet = m_cmd->Packet();
    EXPECT_EQ(m_cmd->m_objectInfos.size(), 2);
    EXPECT_EQ(packet->getNodeCount(u"//cadobjectlist/cadobject[@cadid='b1']"), 1);
    EXPECT_EQ(packet->getNodeCount(u"//cadobjectlist/cadobject[@cadid='b2']"), 0);
    EXPECT_EQ(Attribute(packet, packet->getNodePathFromUniqueId(m_bolt), u"firstentry"), "true");
    EXPECT_EQ(Attribute(packet, packet->getNodePathFromUniqueId(m_sharedBolt), u"firstentry"), "");
    CSEString cadId;
    ASSERT_EQ(m_cmd->GetCADIDFromUniuqeID(m_sharedBolt, cadId), 0);
    EXPECT_EQ(cadId().ToUTF8(), "b1");
    int position = -1;
    ASSERT_EQ(m_cmd->GetPosInStructureFromCADID(u"b1", position), 0);
    EXPECT_EQ(position, m_bolt);
    EXPECT_EQ(m_cmd->GetPosInStructureFromCADID(u"b2", position), 1);
    DVKRawCollint children; // "sub.asm" sits under two roots: only its first node has children.
    m_cmd->GetListOfChildrenInStructure(u"s1", children);
    EXPECT_TRUE(children.Size() == 1 && children[1] == m_sharedBolt);
}

TEST_F(StructureCommand, FileNamesRoundTripThroughTheCadidMap)
{
    struct Case { const char16_t* dir; const char16_t* file; const char* full; } cases[] = {
        {u"/w/a,b", u"c,d.prt", "/w/a,b/c,d.prt"},
        {u"", u"x.prt", "x.prt"},
        {u"/w/", u"y.prt", "/w/y.prt"},
    };
    int n = 0;
    for (const Case& c : cases) {
        const CSEString cadId = CSEString(u"c") + CSEString(std::to_string(++n).c_str());
        m_cmd->StoreObjectInfo(FileObject(c.file, cadId, c.dir));
        CSEObjectInfo back = FileObject(u"", cadId, u"");
        ASSERT_EQ(m_cmd->RetrieveObjectInfo(back), 0);
        EXPECT_TRUE(back.dirName == c.dir && back.fileName == c.file) << c.full;
        EXPECT_EQ(m_cmd->GetFullFileNameFromUID(cadId)().ToUTF8(), c.full);
    }
    CSEObjectInfo unknown = FileObject(u"", u"nobody", u"");
    EXPECT_EQ(m_cmd->RetrieveObjectInfo(unknown), -1);
    EXPECT_EQ(m_cmd->GetFullFileNameFromUID(u"nobody")().ToUTF8(), "");
    EXPECT_EQ(m_cmd->m_cadIdToFile.size(), 3);
}

TEST_F(StructureCommand, ExpandableFlagsAndExpandedLists)
{
    BuildAssembly();
    struct Case { const char16_t* value; unsigned char force; const char* written; unsigned char expandable; } cases[] = {
        {u"TRUE", 0, "TRUE", 1}, {u"false", 0, "", 0}, {u"false", 1, "false", 0},
    };
    for (const Case& c : cases) {
        m_cmd->SetExpandAble(u"b1", c.value, c.force);
        EXPECT_EQ(Attribute(m_cmd->Packet(), u"//cadobjectlist/cadobject[@cadid='b1']", u"expandable"), c.written);
        unsigned char expandable = 9;
        EXPECT_TRUE(m_cmd->IsObjectExpandable(u"b1", expandable));
        EXPECT_EQ(expandable, c.expandable);
    }
    // b2 is a further placement of the file listed as b1: it names no list entry.
    m_cmd->SetExpandAble(u"b2", u"true", 1);
    EXPECT_EQ(m_cmd->Packet()->getNodeCount(u"//cadobjectlist/cadobject[@expandable='true']"), 0);
    CSEString stored(u"S1"), asked(u"s1"), other(u"t1");
    m_cmd->StoreExpandedObjectInfo(stored);
    EXPECT_TRUE(m_cmd->IsObjectAlreadyExpanded(asked) && m_cmd->IsObjectAlreadyExpandedInCurrentSparse(asked));
    EXPECT_FALSE(m_cmd->IsObjectAlreadyExpanded(other));
}

TEST_F(StructureCommand, RequestResultWithAndWithoutReason)
{
    BuildAssembly();
    m_cmd->SetRequestResult(u"cancel", u"", 1);
    EXPECT_EQ(Attribute(m_cmd->Packet(), u"/command", u"result"), "cancel");
    EXPECT_EQ(m_cmd->Packet()->getNodeCount(u"/command/structure"), 1);
    m_cmd->SetRequestResult(u"failure", u"locked by <x> & 'y'", 1);
    EXPECT_EQ(Attribute(m_cmd->Packet(), u"/command", u"result"), "failure");
    EXPECT_EQ(NodeValue(m_cmd->Packet(), u"/command/info/reason"), "locked by <x> & 'y'");
    EXPECT_EQ(m_cmd->Packet()->getNodeCount(u"/command/structure | /command/cadobjectlist | /command/relationshiplist"), 0);
}

TEST_F(StructureCommand, SparseRequestPerGroupOfTopLevelObjects)
{
    BuildAssembly();
    CSEXMLPacket* global = m_cmd->Packet();
    CSEWrapperStringVector group;
    group.push_back(u"t1");
    group.push_back(u"o1");
    ASSERT_TRUE(m_cmd->CreateSparseXMLFromGlobalXML(group));
    EXPECT_FALSE(m_cmd->CreateSparseCmdHeader()); // one sparse packet at a time
    CSEXMLPacket* sparse = m_cmd->m_pSparseCmdXMLPacket;
    EXPECT_EQ(sparse->getNodeCount(u"/response/cadobjectlist/cadobject"), 4);
    EXPECT_EQ(sparse->getNodeCount(u"/response/structure/active/cadobject[@firstentry='true']"), 2);
    EXPECT_EQ(sparse->getNodeCount(u"//cadobject[@cadid='t1']/cadobject[@cadid='s1']/cadobject[@cadid='b1']/relationship[@rid='r3']"), 1);
    // The second placement of "sub.asm" is copied without its children.
    EXPECT_EQ(sparse->getNodeCount(u"//cadobject[@cadid='o1']/cadobject[@cadid='s1']/relationship"), 1);
    EXPECT_EQ(sparse->getNodeCount(u"//cadobject[@cadid='o1']/cadobject[@cadid='s1']/cadobject"), 0);

    m_cmd->StartSparseCommand();
    EXPECT_EQ(m_cmd->Packet(), sparse); // what Execute sends
    EXPECT_EQ(Attribute(sparse, u"/response", u"cname"), "recognizeversion");
    m_cmd->ReleaseSparsePacket(); // as a derived command does once it has read the response
    m_cmd->EndSparseCommand();
    EXPECT_EQ(m_cmd->Packet(), global);
    EXPECT_EQ(m_cmd->m_pSparseCmdXMLPacket, nullptr);
    EXPECT_EQ(global->getNodeCount(u"/command/structure/active/cadobject"), 2);
    m_cmd->EndSparseCommand(); // nothing left to release
    EXPECT_EQ(m_cmd->Packet(), global);
}

TEST_F(StructureCommand, SparseStepsStopAfterAFailedCheck)
{
    BuildAssembly();
    CSEXMLPacket* global = m_cmd->Packet();
    m_cmd->StartSparseCommand();
    EXPECT_EQ(m_cmd->Packet(), global);

    m_cmd->m_pGlobalCmdXMLPacket = nullptr;
    CSEWrapperStringVector group;
    group.push_back(u"t1");
    EXPECT_FALSE(m_cmd->CreateSparseXMLFromGlobalXML(group));
    EXPECT_FALSE(m_cmd->CreateSparseCmdHeader());
    EXPECT_EQ(m_cmd->m_pSparseCmdXMLPacket, nullptr);
    m_cmd->m_pGlobalCmdXMLPacket = global;

    // A name that needs escaping still gives a well-formed sparse header.
    m_cmd->SetCmdName(u"recognize'<&>");
    ASSERT_TRUE(m_cmd->CreateSparseCmdHeader());
    EXPECT_EQ(Attribute(m_cmd->m_pSparseCmdXMLPacket, u"/response", u"cname"), "recognize'<&>");
    // Destroyed with a sparse packet that EndSparseCommand never released: freed once.
    m_cmd->StartSparseCommand();
}
