// Orderings of normalised replay records.
#include "capture/MOCK_ReplayOrdering.h"

#include <algorithm>

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

int MOCK_ReplayOrdering::CompareObjects(const MOCK_CADObject& left, const MOCK_CADObject& right)
{
    if (&left == &right)
        return 0;
    if (const int order = CompareText(left.filename, right.filename))
        return order;
    if (const int order = CompareText(left.type, right.type))
        return order;
    if (const int order = CompareLists(left.xmlAttributes, right.xmlAttributes))
        return order;
    if (const int order = CompareLists(left.attributes, right.attributes))
        return order;
    if (left.children.empty() && right.children.empty())
        return 0;
    const std::pair<const void*, const void*> key(&left, &right);
    const auto known = m_known.find(key);
    if (known != m_known.end())
        return known->second;
    int order = 0;
    const std::size_t common = std::min(left.children.size(), right.children.size());
    for (std::size_t i = 0; i < common && order == 0; ++i)
        order = CompareChildren(left.children[i], right.children[i]);
    if (order == 0)
        order = left.children.size() < right.children.size() ? -1 : (left.children.size() > right.children.size() ? 1 : 0);
    m_known.emplace(key, order);
    m_known.emplace(std::make_pair(key.second, key.first), -order);
    return order;
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
