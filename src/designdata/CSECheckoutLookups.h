// CSECheckoutLookups: look-ups by rid and cadid over one checkout answer, each built by one pass over
// its list on first use, so that asking them once per object stays linear.
#ifndef QORVI_DESIGNDATA_CSECHECKOUTLOOKUPS_H
#define QORVI_DESIGNDATA_CSECHECKOUTLOOKUPS_H

#include <map>
#include <memory>
#include <string>
#include <unordered_map>

#include "CSEString.h"
#include "designdata/CSECheckoutStructure.h"
#include "designdata/CSEResponseList.h"

class CSEXMLPacket;

class CSECheckoutLookups
{
public:
    explicit CSECheckoutLookups(CSEXMLPacket& packet);

    CSEXMLPacket& Packet() const { return m_packet; }
    // The object list of the answer.
    const CSEResponseList& Objects();
    // "topnode" of the first relationship with the rid; empty when there is none.
    CSEString TopNodeOf(const CSEString& rid);
    // "rid" of the first child of a top structure object that has the cadid and a rid; empty when none.
    CSEString TopChildRid(const CSEString& cadid);
    // The first non-empty "Renamed From" of the relationships with the rid; empty when none.
    CSEString FirstRenamedFrom(const CSEString& rid);
    // value = the last "Renamed From" (empty or not) of the relationships with the rid; false when none.
    bool LastRenamedFrom(const CSEString& rid, CSEString& value);
    // rid = the rid of the first node (depth first, below the top) of the structure at structPath
    // with the cadid; false when there is none.
    bool StructureRid(const CSEString& structPath, const CSEString& cadid, CSEString& rid);

private:
    using Table = std::unordered_map<std::u16string, std::u16string>;

    void ReadTopNodes();
    void ReadRenamedFrom();

    CSEXMLPacket& m_packet;
    std::unique_ptr<CSEResponseList> m_pObjects;
    bool m_bTopNodesRead = false;
    bool m_bRenamedFromRead = false;
    Table m_topNodes;
    Table m_firstRenamed;
    Table m_lastRenamed;
    std::unique_ptr<Table> m_pTopChildRids;
    std::map<std::u16string, Table> m_structureRids; // structure path -> (cadid -> rid)
};

#endif
