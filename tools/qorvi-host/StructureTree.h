// The structure of a checkout answer as a tree of lines: the top-level objects, each use of a
// design below its parent in the answer's order, then any object the structure does not reach.
// A design used again shows its own line but not its contents a second time, which also ends
// any loop an answer might hold: the tree has one line per use, at most, and is built without
// recursion, however deep the assembly.
#ifndef QORVI_HOST_STRUCTURETREE_H
#define QORVI_HOST_STRUCTURETREE_H

#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

class CSEObjectInfoVector;
class CSERelationshipVector;

class StructureTree
{
public:
    struct Line
    {
        int object; // index into the objects
        int depth;
        int quantity;
        // A design whose contents an earlier line shows.
        bool repeated;
        // The first of the objects the structure does not reach.
        bool firstOutside;
    };

    // topLevel: the cadids of the top-level objects, in order; ridOrder: the rids in the answer's
    // order, which orders the children of a parent.
    static std::vector<Line> Lines(const CSEObjectInfoVector& objects, const CSERelationshipVector& relationships,
                                   const std::vector<std::string>& topLevel, const std::vector<std::string>& ridOrder);

    // One row per line under a heading (object, type, version, lock, file), in aligned columns;
    // an object with a problem (by cadid) gets it at the end of its row.
    static void Print(const std::vector<Line>& lines, const CSEObjectInfoVector& objects,
                      const std::unordered_map<std::string, std::string>& problems, std::FILE* out);
};

#endif
