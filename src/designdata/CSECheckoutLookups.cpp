// CSECheckoutLookups: tables of one checkout answer, each read from its list in one pass.
#include "designdata/CSECheckoutLookups.h"

#include "CSEAttribute.h"
#include "CSEXMLPacket.h"

namespace {

const char16_t kObjectsPath[] = u"//response/info/cadobjectlist/cadobject";
const char16_t kRelationshipsPath[] = u"//response/info/relationshiplist/relationship";
const char16_t kStructurePath[] = u"//response/info/structure";
const char16_t kRenamedFrom[] = u"Renamed From";

const std::u16string& Units(const CSEString& text)
{
    return text().Text();
}

CSEString Found(const std::unordered_map<std::u16string, std::u16string>& table, const CSEString& key)
{
    const auto found = table.find(Units(key));
    return found == table.end() ? CSEString() : CSEString(DVKUnicodeString(found->second));
}

} // namespace

CSECheckoutLookups::CSECheckoutLookups(CSEXMLPacket& packet) : m_packet(packet)
{
}

const CSEResponseList& CSECheckoutLookups::Objects()
{
    if (!m_pObjects)
        m_pObjects.reset(new CSEResponseList(m_packet, CSEString(kObjectsPath)));
    return *m_pObjects;
}

void CSECheckoutLookups::ReadTopNodes()
{
    if (m_bTopNodesRead)
        return;
    m_bTopNodesRead = true;
    const CSEResponseList relationships(m_packet, CSEString(kRelationshipsPath));
    for (int i = 0; i < relationships.Count(); ++i)
        m_topNodes.emplace(Units(relationships.Attribute(i, CSEString(u"rid"))),
                           Units(relationships.Attribute(i, CSEString(u"topnode"))));
}

void CSECheckoutLookups::ReadRenamedFrom()
{
    if (m_bRenamedFromRead)
        return;
    m_bRenamedFromRead = true;
    const CSEResponseList relationships(m_packet, CSEString(kRelationshipsPath));
    for (int i = 0; i < relationships.Count(); ++i) {
        const std::u16string rid = Units(relationships.Attribute(i, CSEString(u"rid")));
        for (const CSEAttribute& pair : relationships.Pairs(i)) {
            if (pair.name != kRenamedFrom)
                continue;
            m_lastRenamed[rid] = Units(pair.value);
            if (pair.value.size() != 0)
                m_firstRenamed.emplace(rid, Units(pair.value));
        }
    }
}

CSEString CSECheckoutLookups::TopNodeOf(const CSEString& rid)
{
    ReadTopNodes();
    return Found(m_topNodes, rid);
}

CSEString CSECheckoutLookups::TopChildRid(const CSEString& cadid)
{
    if (!m_pTopChildRids) {
        m_pTopChildRids.reset(new Table);
        CSECheckoutStructure structure;
        structure.Read(m_packet, CSEString(kStructurePath));
        const std::vector<CSECheckoutStructure::Node>& nodes = structure.Nodes();
        for (const CSECheckoutStructure::Node& node : nodes) {
            // A child of a top object: its parent's parent is the structure itself.
            if (node.parent > 0 && nodes[static_cast<std::size_t>(node.parent)].parent == 0 && node.rid.size() != 0)
                m_pTopChildRids->emplace(Units(node.cadId), Units(node.rid));
        }
    }
    return Found(*m_pTopChildRids, cadid);
}

CSEString CSECheckoutLookups::FirstRenamedFrom(const CSEString& rid)
{
    ReadRenamedFrom();
    return Found(m_firstRenamed, rid);
}

bool CSECheckoutLookups::LastRenamedFrom(const CSEString& rid, CSEString& value)
{
    ReadRenamedFrom();
    const auto found = m_lastRenamed.find(Units(rid));
    if (found == m_lastRenamed.end())
        return false;
    value = CSEString(DVKUnicodeString(found->second));
    return true;
}

bool CSECheckoutLookups::StructureRid(const CSEString& structPath, const CSEString& cadid, CSEString& rid)
{
    auto known = m_structureRids.find(Units(structPath));
    if (known == m_structureRids.end()) {
        known = m_structureRids.emplace(Units(structPath), Table()).first;
        CSECheckoutStructure structure;
        structure.Read(m_packet, structPath);
        const std::vector<CSECheckoutStructure::Node>& nodes = structure.Nodes();
        for (std::size_t k = 1; k < nodes.size(); ++k)
            known->second.emplace(Units(nodes[k].cadId), Units(nodes[k].rid));
    }
    const auto found = known->second.find(Units(cadid));
    if (found == known->second.end())
        return false;
    rid = CSEString(DVKUnicodeString(found->second));
    return true;
}
