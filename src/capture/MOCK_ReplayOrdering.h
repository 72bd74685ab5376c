// MOCK_ReplayOrdering: the orderings that put the objects and children of a normalised document into
// a form that does not depend on the order the run listed them in.
#ifndef QORVI_CAPTURE_MOCK_REPLAYORDERING_H
#define QORVI_CAPTURE_MOCK_REPLAYORDERING_H

#include <cstddef>
#include <functional>
#include <unordered_map>
#include <utility>

#include "capture/MOCK_MessageRoot.h"

// Each comparison returns a negative value, zero or a positive value. An object's children must be
// sorted before the object is compared. Results of object comparisons are remembered, so that
// an object shared by many parents is not compared again for each path that reaches it, and deep
// structures are compared without recursion.
class MOCK_ReplayOrdering
{
public:
    // File name, type, XML attributes, attributes, then the children one by one (a list that is
    // the beginning of a longer one comes first).
    int CompareObjects(const MOCK_CADObject& left, const MOCK_CADObject& right);
    // Type, name, QXID, XML attributes, attributes, then the UUID when the QXID is set.
    static int CompareRelationships(const MOCK_Relationship& left, const MOCK_Relationship& right);
    // The child's file name, relationship, object, then the relationship's and the object's ids.
    int CompareChildren(const MOCK_Child& left, const MOCK_Child& right);
    static int CompareLists(const MOCK_TextList& left, const MOCK_TextList& right);

private:
    // True when the order of the two objects is known without walking their children (written to
    // order): the same object, a difference of their own, no children, or compared before.
    bool Settled(const MOCK_CADObject& left, const MOCK_CADObject& right, int& order) const;

    struct PairHash
    {
        std::size_t operator()(const std::pair<const void*, const void*>& pair) const
        {
            return std::hash<const void*>()(pair.first) * 31u ^ std::hash<const void*>()(pair.second);
        }
    };
    std::unordered_map<std::pair<const void*, const void*>, int, PairHash> m_known;
};

#endif
