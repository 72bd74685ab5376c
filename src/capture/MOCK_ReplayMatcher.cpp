// Record-by-record matching of a replayed message against the captured one.
#include "capture/MOCK_ReplayMatcher.h"

#include <algorithm>
#include <utility>


namespace {

void AddIfDifferent(MOCK_ReplayMatcher::Lines& block, const char16_t* prefix, const std::u16string& first,
                    const std::u16string& second)
{
    if (first != second)
        block.push_back(prefix + first + u" != " + second);
}

} // namespace

void MOCK_ReplayMatcher::Keep(Lines& block)
{
    if (block.size() > 1)
        m_differences.push_back(std::move(block));
}

bool MOCK_ReplayMatcher::MatchMessage(const MOCK_MessageRoot& captured, const MOCK_MessageRoot& replay)
{
    m_visited.assign(replay.objects.size(), 0);
    m_broken.clear();
    const int objects = static_cast<int>(std::min(captured.objects.size(), replay.objects.size()));
    m_CADIDs.Reserve(objects);
    m_RIDs.Reserve(static_cast<int>(std::min(captured.relationships.size(), replay.relationships.size())));
    return MatchRoot(captured, replay);
}

bool MOCK_ReplayMatcher::MatchRoot(const MOCK_MessageRoot& captured, const MOCK_MessageRoot& replay)
{
    Lines block{u"Error spotted while matching replay root node with captured root node"};
    AddIfDifferent(block, u"Root tag is different: ", captured.tag, replay.tag);
    AddIfDifferent(block, u"Command name is different: ", captured.cname, replay.cname);
    AddIfDifferent(block, u"CSE field is different: ", captured.cse, replay.cse);
    AddIfDifferent(block, u"Version field is different: ", captured.ver, replay.ver);
    AddIfDifferent(block, u"addn field is different: ", captured.addn, replay.addn);
    AddIfDifferent(block, u"Log level is different: ", captured.loglevel, replay.loglevel);
    AddIfDifferent(block, u"Focus Browser option is different: ", captured.focusbrowser, replay.focusbrowser);
    if (captured.otherAttributes != replay.otherAttributes)
        block.push_back(u"The xml node attributes are not all the same");
    if (captured.rootObjects.size() != replay.rootObjects.size())
        block.push_back(u"The number of root cadobject nodes is different");
    if (captured.lql != replay.lql) {
        block.push_back(u"The LQL node is different: \n\t\t\t\tLQL during capture: \"" + captured.lql +
                        u"\"\n\t\t\t\tLQL during replay : \"" + replay.lql + u"\"");
    }
    Keep(block);
    m_capturedIID = captured.iid;
    m_replayIID = replay.iid;

    // Depth first, as the structure reads: an object, then for each child its relationship and
    // its subtree. The stack keeps deep structures off the call stack.
    struct Pending
    {
        const MOCK_Relationship* capturedLink;
        const MOCK_Relationship* replayLink;
        const MOCK_CADObject* capturedObject;
        const MOCK_CADObject* replayObject;
    };
    std::vector<Pending> pending;
    const std::size_t roots = std::min(captured.rootObjects.size(), replay.rootObjects.size());
    for (std::size_t i = roots; i-- > 0;)
        pending.push_back(Pending{nullptr, nullptr, captured.rootObjects[i], replay.rootObjects[i]});
    while (!pending.empty()) {
        const Pending next = pending.back();
        pending.pop_back();
        if (next.capturedLink != nullptr && !MatchRelationship(*next.capturedLink, *next.replayLink))
            return false;
        bool descend = false;
        if (!MatchObject(*next.capturedObject, *next.replayObject, descend))
            return false;
        if (!descend)
            continue;
        const auto& capturedChildren = next.capturedObject->children;
        const auto& replayChildren = next.replayObject->children;
        for (std::size_t i = std::min(capturedChildren.size(), replayChildren.size()); i-- > 0;) {
            pending.push_back(Pending{capturedChildren[i].relationship, replayChildren[i].relationship,
                                      capturedChildren[i].object, replayChildren[i].object});
        }
    }
    return true;
}

bool MOCK_ReplayMatcher::MatchObject(const MOCK_CADObject& captured, const MOCK_CADObject& replay, bool& descend)
{
    Lines block{u"Error spotted while matching replay cadobject " + replay.CADID + u" with captured cadobject " +
                captured.CADID};
    AddIfDifferent(block, u"Types are different: ", replay.type, captured.type);
    AddIfDifferent(block, u"Filenames are different: ", replay.filename, captured.filename);
    if (captured.xmlAttributes != replay.xmlAttributes)
        block.push_back(u"The xml node attributes are not all the same");
    if (captured.attributes != replay.attributes)
        block.push_back(u"The lists of attributes are not equal");
    if (captured.children.size() != replay.children.size())
        block.push_back(u"The number of children is different");
    if (captured.CADID.empty() != replay.CADID.empty())
        block.push_back(u"Only one of the objects has a cadid");
    Keep(block);

    if (!captured.CADID.empty() && !replay.CADID.empty() && !m_CADIDs.Insert(captured.CADID, replay.CADID) && *m_CADIDs.Find(captured.CADID) != replay.CADID) {
        m_broken = "*pAlreadyMappedCADID == iCADObjectAtReplay.CADID";
        return false;
    }
    // Records come from the replayed message's own list, so their index is in range.
    descend = replay.index < m_visited.size() && m_visited[replay.index] == 0;
    if (descend)
        m_visited[replay.index] = 1;
    return true;
}

bool MOCK_ReplayMatcher::MatchRelationship(const MOCK_Relationship& captured, const MOCK_Relationship& replay)
{
    Lines block{u"Error spotted while matching replay relationship " + replay.RID + u" with captured relationship " +
                captured.RID};
    AddIfDifferent(block, u"Types are different: ", replay.type, captured.type);
    AddIfDifferent(block, u"Names are different: ", replay.name, captured.name);
    AddIfDifferent(block, u"QXIDs are different: ", replay.QXID, captured.QXID);
    if (captured.xmlAttributes != replay.xmlAttributes)
        block.push_back(u"The xml node attributes are not all the same");
    if (captured.attributes != replay.attributes)
        block.push_back(u"The lists of attributes are not equal");

    std::u16string transformed = captured.UUID;
    const std::u16string* mappedUUID = transformed.empty() ? nullptr : m_UUIDs.Find(transformed);
    if (mappedUUID != nullptr)
        transformed = *mappedUUID;
    // A relationship created anew in this run has a fresh UUID that nothing recorded can predict.
    const bool createdInRun = mappedUUID == nullptr && !transformed.empty() && !replay.UUID.empty() &&
                              captured.QXID.empty();
    if (!createdInRun && replay.UUID != transformed) {
        block.push_back(u"UUIDs are different: Replay UUID : " + replay.UUID + u", Capture UUID : " + captured.UUID +
                        u", Transformed Capture UUID : " + transformed);
    }
    Keep(block);

    if (!m_RIDs.Insert(captured.RID, replay.RID) && *m_RIDs.Find(captured.RID) != replay.RID) {
        m_broken = "*MappedRID == iRelationshipAtReplay.RID";
        return false;
    }
    if (mappedUUID != nullptr) {
        if (*mappedUUID != replay.UUID) {
            m_broken = "*MappedUUID == iRelationshipAtReplay.UUID";
            return false;
        }
    } else if (!captured.UUID.empty()) {
        // An empty captured UUID identifies nothing: mapping it would stamp a UUID on every empty
        // UUID of the responses.
        m_UUIDs.Insert(captured.UUID, replay.UUID);
    }
    return true;
}

void MOCK_ReplayMatcher::ResetTransaction()
{
    m_CADIDs.Clear();
    m_RIDs.Clear();
}

void MOCK_ReplayMatcher::FullReset()
{
    ResetTransaction();
    m_UUIDs.Clear();
}
