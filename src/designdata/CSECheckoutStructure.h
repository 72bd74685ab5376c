// CSECheckoutStructure: the tree of "cadobject" elements below one element of a packet (a
// response's structure section), read once into memory so that walks over it search nothing.
#ifndef QORVI_DESIGNDATA_CSECHECKOUTSTRUCTURE_H
#define QORVI_DESIGNDATA_CSECHECKOUTSTRUCTURE_H

#include <vector>

#include "CSEString.h"

class CSEXMLPacket;

class CSECheckoutStructure
{
public:
    struct Node
    {
        CSEString cadId;
        CSEString rid;   // "rid" of the node's first "relationship" child
        int parent = -1; // index of the parent node; -1 for the top node
    };

    // Reads the first element of path and the "cadobject" elements reached from it through
    // "cadobject" children, at any depth. False, and no nodes, when path selects no element.
    bool Read(CSEXMLPacket& packet, const CSEString& path);

    // Node 0 is the element of the path; every node comes after its parent, and children in
    // document order: a walk of the indexes in order is the depth-first walk of the tree.
    const std::vector<Node>& Nodes() const { return m_nodes; }

private:
    std::vector<Node> m_nodes;
};

#endif
