// Behaviour of the CAD records: defaults, deep copies, equality over every field, their vectors.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "CMandatoryAttrib.h"
#include "CSEAttribute.h"
#include "CSEObjectInfo.h"
#include "CSERelationship.h"

namespace {

// The record's fields as the model lists them, kept apart from the library's own tables.
const std::vector<CSEString CSEObjectInfo::*> kObjectTexts = {
    &CSEObjectInfo::userText1, &CSEObjectInfo::userText2, &CSEObjectInfo::userText3,
    &CSEObjectInfo::userText4, &CSEObjectInfo::userText5, &CSEObjectInfo::userText6,
    &CSEObjectInfo::fileName, &CSEObjectInfo::dirName, &CSEObjectInfo::name, &CSEObjectInfo::cadId,
    &CSEObjectInfo::type, &CSEObjectInfo::tool, &CSEObjectInfo::renamedFrom, &CSEObjectInfo::userText7,
    &CSEObjectInfo::fullFileName, &CSEObjectInfo::familyName, &CSEObjectInfo::userText8,
    &CSEObjectInfo::familyId, &CSEObjectInfo::modified, &CSEObjectInfo::selected,
    &CSEObjectInfo::selectable, &CSEObjectInfo::load, &CSEObjectInfo::lock, &CSEObjectInfo::isPrevLocked,
    &CSEObjectInfo::selDepDoc, &CSEObjectInfo::manualSelDepDoc, &CSEObjectInfo::parentId,
    &CSEObjectInfo::detailBusType, &CSEObjectInfo::detailBusName, &CSEObjectInfo::detailBusRevision,
    &CSEObjectInfo::parentFullPath, &CSEObjectInfo::parentFileName, &CSEObjectInfo::designStatus,
    &CSEObjectInfo::qxVersion, &CSEObjectInfo::busType, &CSEObjectInfo::busName,
    &CSEObjectInfo::downloadedPath, &CSEObjectInfo::modificationStatus, &CSEObjectInfo::design,
    &CSEObjectInfo::versionText, &CSEObjectInfo::clonedFrom, &CSEObjectInfo::busRevision,
    &CSEObjectInfo::success, &CSEObjectInfo::message, &CSEObjectInfo::expandAll,
    &CSEObjectInfo::expandLevel, &CSEObjectInfo::typeList, &CSEObjectInfo::localCheckout,
    &CSEObjectInfo::modificationStatus2, &CSEObjectInfo::qxTypeInStructure, &CSEObjectInfo::renameTo,
    &CSEObjectInfo::isLocked, &CSEObjectInfo::locker, &CSEObjectInfo::userText9,
    &CSEObjectInfo::checkinAccess, &CSEObjectInfo::userText10, &CSEObjectInfo::uuid,
};

// One change per field of CSEObjectInfo, each to a value that differs from the default.
std::vector<std::function<void(CSEObjectInfo&)>> ObjectFieldChanges()
{
    std::vector<std::function<void(CSEObjectInfo&)>> changes;
    for (auto field : kObjectTexts)
        changes.push_back([field](CSEObjectInfo& o) { o.*field = u"changed"; });
    changes.push_back([](CSEObjectInfo& o) { o.formatCount = 2; });
    changes.push_back([](CSEObjectInfo& o) { o.hasRenamedChild = 1; });
    changes.push_back([](CSEObjectInfo& o) { o.isTopLevel = 1; });
    changes.push_back([](CSEObjectInfo& o) { o.attributes.push_back(CSEAttribute(u"n", u"v")); });
    changes.push_back([](CSEObjectInfo& o) { o.attributes2.push_back(CSEAttribute(u"n", u"v")); });
    changes.push_back([](CSEObjectInfo& o) { o.modifiedCadAttributes.Append(new CSEString(u"m")); });
    changes.push_back([](CSEObjectInfo& o) { o.parentCadIds.Append(new CSEString(u"p")); });
    changes.push_back([](CSEObjectInfo& o) { o.ownerCadIds.Append(new CSEString(u"o")); });
    return changes;
}

} // namespace

TEST(CSEObjectInfo, DefaultsAreDesignToolFalseTrueAndOtherwiseEmpty)
{
    const CSEObjectInfo info;
    for (auto field : kObjectTexts) {
        if (field == &CSEObjectInfo::tool || field == &CSEObjectInfo::modified ||
            field == &CSEObjectInfo::selectable)
            continue;
        EXPECT_TRUE(info.*field == u"");
    }
    EXPECT_TRUE(info.tool == u"designtool");
    EXPECT_TRUE(info.modified == u"false");
    EXPECT_TRUE(info.selectable == u"true");
    EXPECT_EQ(info.formatCount + info.hasRenamedChild + info.isTopLevel, 0);
    EXPECT_EQ(info.attributes.size() + info.attributes2.size(), 0);
    EXPECT_EQ(info.modifiedCadAttributes.Size() + info.parentCadIds.Size() + info.ownerCadIds.Size(), 0);
}

TEST(CSEObjectInfo, EveryFieldIsCopiedAndCompared)
{
    const auto changes = ObjectFieldChanges();
    ASSERT_EQ(changes.size(), 65u);
    const CSEObjectInfo defaults;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        CSEObjectInfo changed;
        changes[i](changed);
        const CSEObjectInfo copy(changed);
        CSEObjectInfo assigned;
        assigned = changed;
        EXPECT_TRUE(copy == changed) << "field " << i + 1;
        EXPECT_TRUE(assigned == changed) << "field " << i + 1;
        EXPECT_FALSE(copy != changed) << "field " << i + 1;
        EXPECT_FALSE(changed == defaults) << "field " << i + 1;
        EXPECT_TRUE(changed != defaults) << "field " << i + 1;
    }
}

TEST(CSEObjectInfo, CopiesOwnTheirAttributesAndStringLists)
{
    CSEObjectInfo source;
    source.attributes.push_back(CSEAttribute(u"Material", u"Steel"));
    source.attributes.push_back(CSEAttribute(u"Mass", u"2kg"));
    source.parentCadIds.Append(new CSEString(u"parent-1"));
    source.ownerCadIds.Append(nullptr);

    CSEObjectInfo copy(source);
    copy.attributes.clear();
    *copy.parentCadIds[1] = u"other";
    EXPECT_EQ(source.attributes.size(), 2);
    EXPECT_TRUE(source.attributes[1].GetValue() == u"2kg");
    EXPECT_TRUE(*source.parentCadIds[1] == u"parent-1");
    EXPECT_EQ(copy.ownerCadIds[1], nullptr);

    // Lists compare by their texts, not by their pointers.
    CSEObjectInfo twin(source);
    EXPECT_TRUE(twin == source);
    EXPECT_NE(twin.parentCadIds[1], source.parentCadIds[1]);

    // The same heap string appended twice is still released once (ASan checks).
    CSEString* shared = new CSEString(u"twice");
    copy.modifiedCadAttributes.Append(shared);
    copy.modifiedCadAttributes.Append(shared);
    copy = source;
    EXPECT_EQ(copy.modifiedCadAttributes.Size(), 0);
}

TEST(CSEObjectInfo, ValueListsFindRecordsByEquality)
{
    CSEObjectInfo first;
    first.cadId = u"1";
    CSEObjectInfo second;
    second.cadId = u"2";
    DVKListValCSEObjectInfo list;
    list.Append(first);
    list.Append(second);
    EXPECT_EQ(list.Locate(second), 2);
    EXPECT_EQ(list.RemoveValue(first), 1);
    EXPECT_EQ(list.Size(), 1);
    EXPECT_TRUE(list[1].cadId == u"2");
}

TEST(CSERelationship, DefaultsAndEqualityReachIntoNestedRecords)
{
    const CSERelationship defaults;
    EXPECT_TRUE(defaults.topNode == u"dpt");
    EXPECT_EQ(defaults.quantity, 1);
    EXPECT_TRUE(defaults.child.tool == u"designtool");

    CSERelationship use;
    use.rid = u"r1";
    use.child.parentCadIds.Append(new CSEString(u"asm"));
    use.attributes.push_back(CSEAttribute(u"Quantity", u"3"));
    CSERelationship copy(use);
    EXPECT_TRUE(copy == use);
    copy.child.parentCadIds[1]->append(u"-2");
    EXPECT_TRUE(copy != use);
    EXPECT_TRUE(*use.child.parentCadIds[1] == u"asm");

    for (const auto& change : std::vector<std::function<void(CSERelationship&)>>{
             [](CSERelationship& r) { r.userText1 = u"x"; },
             [](CSERelationship& r) { r.userText2 = u"x"; },
             [](CSERelationship& r) { r.childName = u"x"; },
             [](CSERelationship& r) { r.quantity = 4; },
             [](CSERelationship& r) { r.parent.isTopLevel = 1; },
             [](CSERelationship& r) { r.attributes.push_back(CSEAttribute()); }}) {
        CSERelationship changed;
        change(changed);
        EXPECT_TRUE(changed != defaults);
        EXPECT_FALSE(changed == defaults);
    }
}

TEST(CSEAttribute, VectorsCopyDeeplyAndCompareByValue)
{
    CSEAttributeVector attributes;
    attributes.push_back(CSEAttribute(u"a", u"1"));
    CSEAttribute second;
    second.SetName(u"b");
    second.SetValue(u"2");
    attributes.push_back(second);

    CSEAttributeVector copy(attributes);
    EXPECT_TRUE(copy == attributes);
    copy[0].value = u"changed";
    EXPECT_TRUE(copy != attributes);
    EXPECT_TRUE(attributes[0].GetValue() == u"1");
    EXPECT_TRUE(CSEAttribute(u"a", u"1") != CSEAttribute(u"a", u"2"));

    CSEMandatoryAttribVector definitions;
    CMandatoryAttrib definition;
    definition.name = u"Material";
    definition.value = u"Steel";
    definition.kind = u"default";
    definitions.push_back(definition);
    CSEMandatoryAttribVector assigned;
    assigned = definitions;
    definitions.clear();
    ASSERT_EQ(assigned.size(), 1);
    EXPECT_TRUE(assigned[0].kind == u"default");
}

TEST(CSEAttributeDeathTest, IndexOutsideTheVectorIsFatal)
{
    const CSEAttributeVector none;
    EXPECT_DEATH((void)none[0].name, "AssertionFailed:");
}
