// The tree of a checkout answer: children in the answer's order, a shared design's contents shown
// once, a loop in the answer ended, and objects the structure does not reach still listed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <CSEObjectInfo.h>
#include <CSERelationship.h>

#include "StructureTree.h"

namespace {

CSEObjectInfoVector Objects(const std::vector<std::string>& names)
{
    CSEObjectInfoVector objects;
    for (const std::string& name : names) {
        CSEObjectInfo object;
        object.name = CSEString(name.c_str());
        object.cadId = object.name;
        objects.push_back(object);
    }
    return objects;
}

// "rid parent child quantity" each.
CSERelationshipVector Relationships(const std::vector<std::vector<std::string>>& uses)
{
    CSERelationshipVector relationships;
    for (const auto& use : uses) {
        CSERelationship relationship;
        relationship.rid = CSEString(use[0].c_str());
        relationship.parentCadId = CSEString(use[1].c_str());
        relationship.childCadId = CSEString(use[2].c_str());
        relationship.quantity = std::stoi(use[3]);
        relationships.push_back(relationship);
    }
    return relationships;
}

// Each line as depth dots, the name, "xN", "*" when repeated and "!" before the first outside.
std::vector<std::string> Shown(const std::vector<StructureTree::Line>& lines, const CSEObjectInfoVector& objects)
{
    std::vector<std::string> shown;
    for (const StructureTree::Line& line : lines) {
        std::string text = (line.firstOutside ? "!" : "") + std::string(static_cast<std::size_t>(line.depth), '.') +
                           objects[line.object].name().ToUTF8();
        if (line.quantity > 1)
            text += "x" + std::to_string(line.quantity);
        shown.push_back(text + (line.repeated ? "*" : ""));
    }
    return shown;
}

} // namespace

TEST(StructureTree, SharedDesignsOnceLoopsEndedUnreachedListed)
{
    const CSEObjectInfoVector objects = Objects({"Top", "Sub", "Bolt", "Loop", "Stray", "Drawing"});
    // Listed out of the answer's order; Loop contains itself through Sub; Stray and Drawing hang
    // under nothing the top reaches.
    const CSERelationshipVector relationships = Relationships({{"r3", "Top", "Sub", "1"},
                                                               {"r1", "Top", "Bolt", "4"},
                                                               {"r2", "Sub", "Bolt", "8"},
                                                               {"r5", "Top", "Sub", "2"},
                                                               {"r4", "Sub", "Loop", "1"},
                                                               {"r6", "Loop", "Sub", "1"},
                                                               {"r7", "Stray", "Drawing", "1"},
                                                               {"r8", "Top", "Ghost", "1"}});
    const std::vector<std::string> order = {"r1", "r2", "r3", "r4", "r5", "r6", "r7"};
    const std::vector<std::string> expected = {"Top",     ".Boltx4", ".Sub",   "..Boltx8", "..Loop", "...Sub*",
                                               ".Subx2*", "!Stray",  ".Drawing"};
    EXPECT_EQ(Shown(StructureTree::Lines(objects, relationships, {"Top", "Nowhere"}, order), objects), expected);
}
