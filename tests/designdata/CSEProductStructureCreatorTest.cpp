// Behaviour of the product structure builder: an assembly with sub-assemblies, a shared part and a
// dependent drawing written and read back, placements after identifiers were removed, and failures.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "CSEException.h"
#include "CSEObjectInfo.h"
#include "CSEProductStructureCreator.h"
#include "CSERelationship.h"
#include "CSEXMLPacket.h"

namespace {

CSEObjectInfo Object(const CSEString& fileName, const CSEString& cadId, const CSEString& name,
                     const CSEString& parentId = CSEString())
{
    CSEObjectInfo object;
    object.fileName = fileName;
    object.cadId = cadId;
    object.name = name;
    object.parentId = parentId;
    object.attributes.push_back(CSEAttribute(u"Material", name));
    return object;
}

CSERelationship Relationship(const CSEString& rid, const CSEString& qxId = CSEString())
{
    CSERelationship relationship;
    relationship.rid = rid;
    relationship.qxId = qxId;
    return relationship;
}

class ProductStructure : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(m_packet->loadXMLinMemory(u"<?xml version='1.0'?><command cname='checkin'/>"), 0);
        m_builder.reset(new CSEProductStructureCreator(m_packet.get(), 1));
    }

    int Count(const CSEString& path) { return m_packet->getNodeCount(path); }

    std::unique_ptr<CSEXMLPacket> m_packet{CSEXMLPacket::GetXMLPacketPtr(-1)};
    std::unique_ptr<CSEProductStructureCreator> m_builder;
};

} // namespace

TEST_F(ProductStructure, AssemblyWithSharedPartReadsBackFromTheSentText)
{
    CSEObjectInfo gearbox = Object(u"gearbox.asm", u"g1", u"Getriebe");
    CSEObjectInfo shaft = Object(u"shaft.asm", u"s1", u"Zahnrad-\u00fc");
    CSEObjectInfo bolt = Object(u"O'Brien \"M8\".prt", u"b1", u"\u6b6f\u8eca");
    bolt.uuid = u"u-1";
    const int root = m_builder->CreateRootObject(gearbox);
    const int shaftNode = m_builder->AddObject(root, shaft, Relationship(u"r1", u"q1"));
    const int boltNode = m_builder->AddObject(shaftNode, bolt, Relationship(u"r2"));
    const int boltEntry = m_builder->FindObjectListEntry(bolt.fileName);
    ASSERT_GT(boltEntry, 0);
    const int sharedBolt = m_builder->AddSharedObject(root, Relationship(u"r3"), boltEntry);
    ASSERT_GT(sharedBolt, 0);
    // A second root of a file already listed is placed with the listed cadid, not its own.
    EXPECT_GT(m_builder->CreateRootObject(Object(bolt.fileName, u"other", u"x")), 0);

    EXPECT_TRUE(m_builder->IsObjectExistsInAncestor(boltNode, u"g1"));
    EXPECT_FALSE(m_builder->IsObjectExistsInAncestor(boltNode, u"b1"));
    EXPECT_FALSE(m_builder->IsObjectExistsInAncestor(sharedBolt, u"s1"));
    EXPECT_EQ(m_builder->FindObjectListEntry(u"missing.prt"), -1);

    // Read back from the serialised request, as the service would.
    CSEString text;
    ASSERT_EQ(m_packet->getXMLString(text), 0);
    std::unique_ptr<CSEXMLPacket> sent(CSEXMLPacket::GetXMLPacketPtr(-1));
    ASSERT_EQ(sent->loadXMLinMemory(text), 0);
    EXPECT_EQ(sent->getNodeCount(u"//command/structure/family"), 1);
    EXPECT_EQ(sent->getNodeCount(u"//cadobjectlist/cadobject"), 3);
    EXPECT_EQ(sent->getNodeCount(u"//relationshiplist/relationship[@mustinstructure='true']"), 3);
    EXPECT_EQ(sent->getNodeCount(u"//relationshiplist/relationship[@qxid]"), 1);
    EXPECT_EQ(sent->getNodeCount(u"//structure/active/cadobject[@cadid='g1'][@firstentry='true']"), 1);
    EXPECT_EQ(sent->getNodeCount(u"//structure/active/cadobject[@cadid='b1']"), 1);
    EXPECT_EQ(sent->getNodeCount(u"//active/cadobject/cadobject[@cadid='b1']/relationship[@rid='r3']"), 1);
    EXPECT_EQ(sent->getNodeCount(u"//active/cadobject/cadobject/cadobject[@cadid='b1']/relationship[@rid='r2']"), 1);

    CSEString value;
    sent->getAttributeValue(u"//cadobjectlist/cadobject[@filename=" + CSEXMLPacket::MakeXPathLiteral(bolt.fileName) +
                                u"][@uuid='u-1']", u"name", value);
    EXPECT_EQ(value, u"\u6b6f\u8eca");
    sent->getAttributeValue(u"//cadobjectlist/cadobject[@cadid='s1']", u"uid", value);
    EXPECT_EQ(value, u"Zahnrad-\u00fc|");
    // Empty optional details are left out.
    EXPECT_EQ(sent->getNodeCount(u"//cadobjectlist/cadobject[@cadid='s1'][@uuid or @bustype or @busname]"), 0);
}

TEST_F(ProductStructure, DependentDocumentsArePlacedOnceAlsoWithoutIdentifiers)
{
    CSEObjectInfo gearbox = Object(u"gearbox.asm", u"g1", u"Getriebe");
    CSEObjectInfo shaft = Object(u"shaft.asm", u"s1", u"shaft");
    const int root = m_builder->CreateRootObject(gearbox);
    m_builder->AddObject(root, shaft, Relationship(u"r1"));
    CSEObjectInfo drawing = Object(u"shaft.drw", u"d1", u"drawing", u"s1");
    CSEObjectInfo sheet = Object(u"O'Brien.drw", u"d'2", u"sheet", u"g1");
    CSEObjectInfo orphan = Object(u"orphan.drw", u"d3", u"orphan", u"nowhere");

    // placed: where the document must stand afterwards, once
    struct Case { CSEObjectInfo* document; bool stripFirst; const char16_t* placed; } cases[] = {
        {&drawing, false, u"//active/cadobject/cadobject[@cadid='s1']/cadobject[@cadid='d1']"},
        {&drawing, false, u"//active/cadobject/cadobject[@cadid='s1']/cadobject[@cadid='d1']"},
        {&sheet, true, u"//active/cadobject[@cadid='g1']/cadobject[@cadid=\"d'2\"]"},
        {&sheet, true, u"//active/cadobject[@cadid='g1']/cadobject[@cadid=\"d'2\"]"},
    };
    for (const Case& c : cases) {
        if (c.stripFirst)
            m_packet->removeAttributeFromAllNodes(u"iGSSLID");
        EXPECT_TRUE(m_builder->MakeStructureEntry(u"//structure/active", *c.document, Relationship(u"rd")));
        EXPECT_EQ(Count(c.placed), 1) << c.document->fileName().ToUTF8();
        EXPECT_EQ(Count(CSEString(c.placed) + u"/relationship[@rid='rd']"), 1);
    }
    EXPECT_EQ(Count(u"//cadobjectlist/cadobject[@filename=\"O'Brien.drw\"]"), 1);
    EXPECT_FALSE(m_builder->MakeStructureEntry(u"//structure/active", orphan, Relationship(u"ro")));
    EXPECT_FALSE(m_builder->MakeStructureEntry(u"//structure/family", drawing, Relationship(u"ro")));
    // Without identifiers a listed file has no entry identifier, yet a new root of it still takes
    // the listed cadid and adds no second entry.
    EXPECT_EQ(m_builder->FindObjectListEntry(u"shaft.asm"), -1);
    EXPECT_GT(m_builder->CreateRootObject(Object(u"shaft.asm", u"x", u"x")), 0);
    EXPECT_EQ(Count(u"//active/cadobject[@cadid='s1']"), 1);
    EXPECT_EQ(Count(u"//cadobjectlist/cadobject[@filename='shaft.asm']"), 1);
}

TEST_F(ProductStructure, FailuresWriteNothingOrRaise)
{
    CSEObjectInfo object = Object(u"a.prt", u"a", u"a");
    const int active = m_packet->getUniqueIdOfNode(u"//structure/active");
    EXPECT_EQ(m_builder->AddSharedObject(active, Relationship(u"r"), 999999), -1);
    EXPECT_EQ(m_builder->CreateSharedRootObject(u"//cadobjectlist/cadobject[@cadid='none']", object), -1);
    EXPECT_EQ(object.cadId, u"a");
    EXPECT_THROW(m_builder->AddObject(999999, object, Relationship(u"r")), CSEException);
    EXPECT_EQ(Count(u"//cadobject | //relationship"), 0);
}

TEST(ProductStructureOwnership, ReleaseDeletesOnceAndNullsThePointer)
{
    std::unique_ptr<CSEXMLPacket> packet(CSEXMLPacket::GetXMLPacketPtr(-1));
    packet->loadXMLinMemory(u"<command/>");
    CSEProductStructureCreator* builder = new CSEProductStructureCreator(packet.get(), 1);
    CSEProductStructureCreator copy(*builder);
    CSEProductStructureCreator::Release(builder);
    EXPECT_EQ(builder, nullptr);
    CSEProductStructureCreator::Release(builder); // a second owner's destructor: harmless
    // The copy still writes into the packet, and the packet outlived the builder.
    EXPECT_GT(copy.CreateRootObject(Object(u"a.prt", u"a", u"a")), 0);
    EXPECT_EQ(packet->getNodeCount(u"//active/cadobject[@cadid='a']"), 1);
}
