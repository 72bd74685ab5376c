// Orderings of normalised replay records.
#include "capture/MOCK_ReplayOrdering.h"

#include <algorithm>
#include <vector>

namespace {

int CompareText(const std::u16string& left, const std::u16string& right)
{
    const int order = left.compare(right);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

} // namespace

int MOCK_ReplayOrdering::CompareLists(const MOCK_TextList& left, const MOCK_TextList& right)
{
    const std::size_t common = std::min(left.size(), right.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (const int order = CompareText(left[i], right[i]))
            return order;
    }
    return left.size() < right.size() ? -1 : (left.size() > right.size() ? 1 : 0);
}

int MOCK_ReplayOrdering::CompareRelationships(const MOCK_Relationship& left, const MOCK_Relationship& right)
{
    if (const int order = CompareText(left.type, right.type))
        return order;
    if (const int order = CompareText(left.name, right.name))
        return order;
    if (const int order = CompareText(left.QXID, right.QXID))
        return order;
    if (const int order = CompareLists(left.xmlAttributes, right.xmlAttributes))
        return order;
    if (const int order = CompareLists(left.attributes, right.attributes))
        return order;
    return left.QXID.empty() ? 0 : CompareText(left.UUID, right.UUID);
}

bool MOCK_ReplayOrdering::Settled(const MOCK_CADObject& left, const MOCK_CADObject& right, int& order) const
{
    order = 0;
    if (&left == &right)
        return true;
    if ((order = CompareText(left.filename, right.filename)) != 0 || (order = CompareText(left.type, right.type)) != 0 ||
        (order = CompareLists(left.xmlAttributes, right.xmlAttributes)) != 0 ||
        (order = CompareLists(left.attributes, right.attributes)) != 0)
        return true;
    if (left.children.empty() && right.children.empty())
        return true;
    const auto known = m_known.find(std::make_pair(&left, &right));
    if (known == m_known.end())
        return false;
    order = known->second;
    return true;
}

int MOCK_ReplayOrdering::CompareObjects(const MOCK_CADObject& left, const MOCK_CADObject& right)
{
    int order = 0;
    if (Settled(left, right, order))
        return order;
    // The children lists are compared with a stack of pairs, however deep the structures are.
    struct Frame
    {
        const MOCK_CADObject* left;
        const MOCK_CADObject* right;
        std::size_t next; // the child position under comparison
    };
    std::vector<Frame> frames{Frame{&left, &right, 0}};
    bool childSettled = false; // order holds the outcome of the top frame's current child objects
    for (;;) {
        Frame& frame = frames.back();
        const std::vector<MOCK_Child>& leftChildren = frame.left->children;
        const std::vector<MOCK_Child>& rightChildren = frame.right->children;
        const std::size_t common = std::min(leftChildren.size(), rightChildren.size());
        bool descend = false;
        if (!childSettled)
            order = 0;
        while (frame.next < common) {
            const MOCK_Child& leftChild = leftChildren[frame.next];
            const MOCK_Child& rightChild = rightChildren[frame.next];
            if (childSettled) {
                childSettled = false;
            } else {
                order = CompareText(leftChild.object->filename, rightChild.object->filename);
                if (order == 0 && leftChild.relationship != rightChild.relationship)
                    order = CompareRelationships(*leftChild.relationship, *rightChild.relationship);
                if (order == 0 && !Settled(*leftChild.object, *rightChild.object, order)) {
                    frames.push_back(Frame{leftChild.object, rightChild.object, 0});
                    descend = true;
                    break;
                }
            }
            if (order == 0)
                order = CompareText(leftChild.relationship->RID, rightChild.relationship->RID);
            if (order == 0)
                order = CompareText(leftChild.object->CADID, rightChild.object->CADID);
            if (order != 0)
                break;
            ++frame.next;
        }
        if (descend)
            continue;
        if (order == 0 && leftChildren.size() != rightChildren.size())
            order = leftChildren.size() < rightChildren.size() ? -1 : 1;
        m_known.emplace(std::make_pair(frame.left, frame.right), order);
        m_known.emplace(std::make_pair(frame.right, frame.left), -order);
        frames.pop_back();
        if (frames.empty())
            return order;
        childSettled = true;
    }
}

int MOCK_ReplayOrdering::CompareChildren(const MOCK_Child& left, const MOCK_Child& right)
{
    if (const int order = CompareText(left.object->filename, right.object->filename))
        return order;
    if (left.relationship != right.relationship) {
        if (const int order = CompareRelationships(*left.relationship, *right.relationship))
            return order;
    }
    if (const int order = CompareObjects(*left.object, *right.object))
        return order;
    if (const int order = CompareText(left.relationship->RID, right.relationship->RID))
        return order;
    return CompareText(left.object->CADID, right.object->CADID);
}
