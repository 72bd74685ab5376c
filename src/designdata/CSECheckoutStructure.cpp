// CSECheckoutStructure: reads a structure through a private copy whose elements carry identifiers,
// so that each element's children are found through the identifier index however deep it lies.
#include "designdata/CSECheckoutStructure.h"

#include <memory>
#include <string>

#include "CSELogger.h"
#include "CSEUtil.h"
#include "CSEXMLPacket.h"

namespace {

const char16_t kIdentifier[] = u"iGSSLID";
const char16_t kTop[] = u"/*";
// Every candidate below the top element, in document order; the walk keeps those it reaches.
const char16_t kCandidates[] = u"/*//cadobject";
// The first relationship of each candidate, and the candidates that have one (the same order).
const char16_t kRelationships[] = u"/*//cadobject/relationship[1]";
const char16_t kRelationshipOwners[] = u"/*//cadobject/relationship[1]/..";

// The candidate number held in the identifier read from the copy; -1 when it holds none.
int CandidateOf(CSEXMLPacket& copy, const CSEString& path, int index, int candidates)
{
    CSEString text;
    copy.getAttributeValueAt(path, index, CSEString(kIdentifier), text);
    if (text.size() == 0)
        return -1;
    const int number = CSEUtil::getIntFromCSEString(text);
    return number >= 1 && number <= candidates ? number : -1;
}

} // namespace

bool CSECheckoutStructure::Read(CSEXMLPacket& packet, const CSEString& path)
{
    m_nodes.clear();
    CSEString text;
    if (packet.getNodeXMLString(path, text) != 0 || text.size() == 0)
        return false;
    std::unique_ptr<CSEXMLPacket> copy(CSEXMLPacket::GetXMLPacketPtr(-1));
    if (!copy || copy->loadXMLinMemory(text) != 0)
        return false;

    // Identifiers: 0 for the top element, 1..n for the candidates in document order.
    copy->removeAttributeFromAllNodes(CSEString(kIdentifier));
    copy->setAttributeValueAt(CSEString(kTop), 0, CSEString(kIdentifier), CSEString(u"0"));
    const CSEString candidatesPath(kCandidates);
    const int candidates = copy->getNodeCount(candidatesPath);
    std::vector<Node> found(static_cast<std::size_t>(candidates) + 1);
    copy->getAttributeValue(CSEString(kTop), CSEString(u"cadid"), found[0].cadId);
    for (int i = 0; i < candidates; ++i) {
        copy->setAttributeValueAt(candidatesPath, i, CSEString(kIdentifier), CSEUtil::getCSEStringFromInt(i + 1));
        copy->getAttributeValueAt(candidatesPath, i, CSEString(u"cadid"), found[static_cast<std::size_t>(i) + 1].cadId);
    }

    const CSEString relationships(kRelationships);
    const int withRelationship = copy->getNodeCount(relationships);
    std::vector<CSEString> rids(static_cast<std::size_t>(withRelationship));
    for (int i = 0; i < withRelationship; ++i)
        copy->getAttributeValueAt(relationships, i, CSEString(u"rid"), rids[static_cast<std::size_t>(i)]);
    const CSEString owners(kRelationshipOwners);
    if (copy->getNodeCount(owners) == withRelationship) {
        for (int i = 0; i < withRelationship; ++i) {
            const int owner = CandidateOf(*copy, owners, i, candidates);
            if (owner > 0)
                found[static_cast<std::size_t>(owner)].rid = rids[static_cast<std::size_t>(i)];
        }
    }

    // The walk: a candidate belongs to the tree when its parent does. Parents come before their
    // children in document order, so one pass in that order reaches every node.
    std::vector<int> parentNumber(found.size(), -1);
    std::vector<int> nodeIndex(found.size(), -1);
    nodeIndex[0] = 0;
    m_nodes.reserve(found.size());
    m_nodes.push_back(found[0]);
    for (int number = 0; number <= candidates; ++number) {
        const std::size_t at = static_cast<std::size_t>(number);
        if (number > 0) {
            if (parentNumber[at] < 0)
                continue;
            found[at].parent = nodeIndex[static_cast<std::size_t>(parentNumber[at])];
            nodeIndex[at] = static_cast<int>(m_nodes.size());
            m_nodes.push_back(found[at]);
        }
        const CSEString children = copy->getNodePathFromUniqueId(number) + u"/cadobject";
        const int count = copy->getNodeCount(children);
        for (int k = 0; k < count; ++k) {
            const int child = CandidateOf(*copy, children, k, candidates);
            if (child > number)
                parentNumber[static_cast<std::size_t>(child)] = number;
        }
    }
    return true;
}
