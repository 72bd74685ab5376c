// MOCK_ReplayMatcher: matches a replayed message with the captured one, record by record, collects
// every difference and learns which captured identifier stands for which replayed one.
#ifndef QORVI_CAPTURE_MOCK_REPLAYMATCHER_H
#define QORVI_CAPTURE_MOCK_REPLAYMATCHER_H

#include <string>
#include <vector>

#include "capture/MOCK_IdMap.h"
#include "capture/MOCK_MessageRoot.h"

class MOCK_ReplayMatcher
{
public:
    typedef std::vector<std::u16string> Lines;

    // Matches the roots and then the root objects pair by pair, walking each replayed object's
    // subtree once per message. Every record that differs adds one block of lines (its heading
    // first) to Differences(). False when an identifier would be mapped to two different ones:
    // BrokenCondition() then names it and matching stopped there.
    bool MatchMessage(const MOCK_MessageRoot& captured, const MOCK_MessageRoot& replay);

    const std::vector<Lines>& Differences() const { return m_differences; }
    void ClearDifferences() { m_differences.clear(); }
    const std::string& BrokenCondition() const { return m_broken; }

    const std::u16string& CapturedIID() const { return m_capturedIID; }
    const std::u16string& ReplayIID() const { return m_replayIID; }
    const MOCK_IdMap& CADIDs() const { return m_CADIDs; }
    const MOCK_IdMap& RIDs() const { return m_RIDs; }
    const MOCK_IdMap& UUIDs() const { return m_UUIDs; }

    // Forgets the object and relationship ids (a new command starts).
    void ResetTransaction();
    // Forgets the UUIDs as well.
    void FullReset();

private:
    bool MatchRoot(const MOCK_MessageRoot& captured, const MOCK_MessageRoot& replay);
    // False when broken; descend is set when the replayed object is met for the first time.
    bool MatchObject(const MOCK_CADObject& captured, const MOCK_CADObject& replay, bool& descend);
    bool MatchRelationship(const MOCK_Relationship& captured, const MOCK_Relationship& replay);
    // Keeps the block when more than its heading stands.
    void Keep(Lines& block);

    std::vector<Lines> m_differences;
    std::string m_broken;
    std::u16string m_capturedIID;
    std::u16string m_replayIID;
    MOCK_IdMap m_CADIDs;
    MOCK_IdMap m_RIDs;
    MOCK_IdMap m_UUIDs;
    std::vector<char> m_visited; // by replayed object (CADIDs are unique in a message): matched already
};

#endif
