// The tree of a checkout answer: children in the answer's order, a shared design's contents shown
// once, a loop in the answer ended, and objects the structure does not reach still listed.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include <CSEObjectInfo.h>
#include <CSERelationship.h>

#include "StructureTree.h"

TEST(StructureTree, SharedDesignsOnceLoopsEndedUnreachedListed)
{
    CSEObjectInfoVector objects;
    for (const char* name : {"Top", "Sub", "Bolt", "Loop", "Stray", "Drawing"}) {
        CSEObjectInfo object;
        object.name = object.cadId = CSEString(name);
        objects.push_back(object);
    }
    // "rid parent child quantity", out of the answer's order; Loop contains itself through Sub;
    // Stray and Drawing hang under nothing the top reaches; Ghost is no object of the answer.
    CSERelationshipVector relationships;
    for (const char* use : {"r3 Top Sub 1", "r1 Top Bolt 4", "r2 Sub Bolt 8", "r5 Top Sub 2", "r4 Sub Loop 1",
                            "r6 Loop Sub 1", "r7 Stray Drawing 1", "r8 Top Ghost 1"}) {
        std::istringstream fields(use);
        std::string rid, parent, child;
        CSERelationship relationship;
        fields >> rid >> parent >> child >> relationship.quantity;
        relationship.rid = CSEString(rid.c_str());
        relationship.parentCadId = CSEString(parent.c_str());
        relationship.childCadId = CSEString(child.c_str());
        relationships.push_back(relationship);
    }
    const std::vector<StructureTree::Line> lines = StructureTree::Lines(
        objects, relationships, {"Top", "Nowhere"}, {"r1", "r2", "r3", "r4", "r5", "r6", "r7"});

    // Each line as depth dots, "!" before the first outside, the name, "xN", "*" when repeated.
    std::vector<std::string> shown;
    for (const StructureTree::Line& line : lines) {
        shown.push_back((line.firstOutside ? "!" : "") + std::string(static_cast<std::size_t>(line.depth), '.') +
                        objects[line.object].name().ToUTF8() +
                        (line.quantity > 1 ? "x" + std::to_string(line.quantity) : "") + (line.repeated ? "*" : ""));
    }
    const std::vector<std::string> expected = {"Top",     ".Boltx4", ".Sub",   "..Boltx8", "..Loop", "...Sub*",
                                               ".Subx2*", "!Stray",  ".Drawing"};
    EXPECT_EQ(shown, expected);
}
