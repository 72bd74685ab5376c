// Behaviour of the CAD records: defaults, deep copies and equality over every field.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

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

} // namespace

TEST(CSEObjectInfo, EveryFieldIsCopiedAndComparedFromDefaultsThatAreEmptyButThree)
{
    std::vector<std::function<void(CSEObjectInfo&)>> changes = {
        [](CSEObjectInfo& o) { o.formatCount = 2; },
        [](CSEObjectInfo& o) { o.hasRenamedChild = 1; },
        [](CSEObjectInfo& o) { o.isTopLevel = 1; },
        [](CSEObjectInfo& o) { o.attributes.push_back(CSEAttribute(u"n", u"v")); },
        [](CSEObjectInfo& o) { o.attributes2.push_back(CSEAttribute(u"n", u"v")); },
        [](CSEObjectInfo& o) { o.modifiedCadAttributes.Append(new CSEString(u"m")); },
        [](CSEObjectInfo& o) { o.parentCadIds.Append(new CSEString(u"p")); },
        [](CSEObjectInfo& o) { o.ownerCadIds.Append(new CSEString(u"o")); }};
    for (auto field : kObjectTexts)
        changes.push_back([field](CSEObjectInfo& o) { o.*field = u"changed"; });
    ASSERT_EQ(changes.size(), 65u);
    const CSEObjectInfo defaults;
    EXPECT_EQ(std::count_if(kObjectTexts.begin(), kObjectTexts.end(),
                            [&](CSEString CSEObjectInfo::*field) { return defaults.*field != u""; }), 3);
    EXPECT_TRUE(defaults.tool == u"designtool" && defaults.modified == u"false" && defaults.selectable == u"true");
    for (std::size_t i = 0; i < changes.size(); ++i) {
        CSEObjectInfo changed;
        changes[i](changed);
        CSEObjectInfo assigned;
        assigned = changed;
        EXPECT_TRUE(CSEObjectInfo(changed) == changed) << "change " << i;
        EXPECT_TRUE(assigned == changed) << "change " << i;
        EXPECT_TRUE(changed != defaults) << "change " << i;
    }
}

TEST(CSEObjectInfo, CopiesOwnTheirAttributesAndStringLists)
{
    CSEObjectInfo source;
    source.attributes.push_back(CSEAttribute(u"Material", u"Steel"));
    source.parentCadIds.Append(new CSEString(u"parent-1"));
    source.ownerCadIds.Append(nullptr);

    CSEObjectInfo copy(source);
    EXPECT_TRUE(copy == source);
    EXPECT_NE(copy.parentCadIds[1], source.parentCadIds[1]) << "lists compare by their texts";
    EXPECT_EQ(copy.ownerCadIds[1], nullptr);
    copy.attributes[0].value = u"Brass";
    EXPECT_TRUE(copy != source);
    EXPECT_TRUE(source.attributes[0].GetValue() == u"Steel");

    // The same heap string appended twice is still released once (ASan checks).
    CSEString* shared = new CSEString(u"twice");
    copy.modifiedCadAttributes.Append(shared);
    copy.modifiedCadAttributes.Append(shared);
    copy = source;
    EXPECT_EQ(copy.modifiedCadAttributes.Size(), 0);
}

TEST(CSERelationship, DefaultsAndEqualityReachIntoNestedRecords)
{
    const CSERelationship defaults;
    EXPECT_TRUE(defaults.topNode == u"dpt");
    EXPECT_EQ(defaults.quantity, 1);
    EXPECT_TRUE(defaults.child.tool == u"designtool");

    CSERelationship use;
    use.child.parentCadIds.Append(new CSEString(u"asm"));
    CSERelationship copy(use);
    copy.child.parentCadIds[1]->append(u"-2");
    EXPECT_TRUE(copy != use) << "the nested record is a copy and is compared";

    for (const auto& change : std::vector<std::function<void(CSERelationship&)>>{
             [](CSERelationship& r) { r.userText1 = u"x"; },
             [](CSERelationship& r) { r.userText2 = u"x"; },
             [](CSERelationship& r) { r.quantity = 4; },
             [](CSERelationship& r) { r.parent.isTopLevel = 1; },
             [](CSERelationship& r) { r.attributes.push_back(CSEAttribute()); }}) {
        CSERelationship changed;
        change(changed);
        EXPECT_TRUE(changed != defaults);
        EXPECT_TRUE(CSERelationship(changed) == changed);
    }
}

TEST(CSEAttributeDeathTest, IndexOutsideTheVectorIsFatal)
{
    const CSEAttributeVector none;
    EXPECT_DEATH((void)none[0].name, "AssertionFailed:");
}
