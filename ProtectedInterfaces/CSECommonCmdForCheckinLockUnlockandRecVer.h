/// \file
/// CSECommonCmdForCheckinLockUnlockandRecVer: the base of the commands that send a product structure
/// (check-in, lock and unlock, version recognition): objects added through the structure builder,
/// look-ups into the request, and partial requests per group of top-level objects.
#ifndef CSECOMMONCMDFORCHECKINLOCKUNLOCKANDRECVER_H
#define CSECOMMONCMDFORCHECKINLOCKUNLOCKANDRECVER_H

#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "CSECommand.h"
#include "CSEObjectInfo.h"
#include "CSEString.h"
#include "CSEStringCSEStringMap.h"
#include "CSEStringVoidPtrMap.h"
#include "CSEWrapperStringVector.h"

class CSEProductStructureCreator;
class CSERelationship;
class CSEXMLPacket;
class DVKRawCollint;

/// Three packets: the global packet holds the request for the whole structure; a sparse packet is a
/// partial copy of it for some top-level objects; the command packet is the one that operations
/// write to and Execute sends (the sparse packet between StartSparseCommand and EndSparseCommand,
/// the global packet otherwise). An object's identity is its file name; cadids are those of the
/// object's first occurrence.
class CSECommonCmdForCheckinLockUnlockandRecVer : public CSECommand
{
public:
    CSECommonCmdForCheckinLockUnlockandRecVer();
    /// A copy would share the builder, which its command deletes.
    CSECommonCmdForCheckinLockUnlockandRecVer(const CSECommonCmdForCheckinLockUnlockandRecVer&) = delete;
    CSECommonCmdForCheckinLockUnlockandRecVer& operator=(const CSECommonCmdForCheckinLockUnlockandRecVer&) = delete;
    ~CSECommonCmdForCheckinLockUnlockandRecVer() override;

    /// Sends the command packet; 0 on success, 1 when nothing was sent or no response was read.
    int Execute(CSEString& response) override;

    /// Identifier of the new root node; -1 without a builder.
    virtual int CreateRootObject(const CSEObjectInfo& object);
    virtual int AddAtributesToRequest(const CSEObjectInfo& object);

    /// A child under the structure node parentId: a file not listed yet gets its list entry and a
    /// node marked "firstentry"; a listed file one more placement. 0 without a builder.
    int AddObject(int parentId, CSEObjectInfo& object, const CSERelationship& relationship);
    int AddSharedObject(int parentId, const CSERelationship& relationship, int objectListId);
    int IsObjectAdded(const CSEString& nodePath, CSEString ignored);
    int AddDependentDocumentObject(CSEObjectInfo& object, const CSERelationship& relationship);

    void StoreObjectInfo(const CSEObjectInfo& object);
    /// Sets dirName and fileName of the object from its cadid; 0 when known, else -1.
    int RetrieveObjectInfo(CSEObjectInfo& object);
    /// Folder and file name of the cadid; "" when the cadid is unknown.
    CSEString GetFullFileNameFromUID(CSEString cadId);

    /// Value "true" (any case) or force sets "expandable" on the object's list entry; otherwise the
    /// attribute is removed.
    void SetExpandAble(const CSEString& cadId, CSEString value, unsigned char force);
    bool IsObjectExpandable(const CSEString& cadId, unsigned char& expandable);
    void StoreExpandedObjectInfo(CSEString& cadId);
    bool IsObjectAlreadyExpanded(CSEString& cadId);
    bool IsObjectAlreadyExpandedInCurrentSparse(CSEString& cadId);

    int GetCADIDFromUniuqeID(int id, CSEString& cadId);
    /// Identifier of the first structure node of the cadid: 0 when found, else 1.
    int GetPosInStructureFromCADID(CSEString cadId, int& id);
    /// Identifiers of the children of the cadid's first structure node. Always 0.
    int GetListOfChildrenInStructure(CSEString cadId, DVKRawCollint& ids);

    /// Sets "result" on the root; a reason goes under "info" (the structure removed when asked).
    void SetRequestResult(const CSEString& result, const CSEString& reason, unsigned char removeLists);
    void CreateResponseForUserExit(const CSEString& result);

    /// Partial requests: CreateSparseXMLFromGlobalXML builds the sparse packet for the top-level
    /// cadids (true when built), StartSparseCommand makes it the command packet, Execute sends it,
    /// EndSparseCommand returns to the global packet and deletes the sparse one.
    void StartSparseCommand();
    void EndSparseCommand();
    bool CreateSparseCmdHeader();
    bool CreateSparseXMLFromGlobalXML(CSEWrapperStringVector cadIds);
    bool GetAlreadyProcessedChildrenFromGlobalXML(CSEString& cadId, int sparseParentId);

protected:
    /// Deletes the sparse packet (unless it is the global one) and nulls its pointer; a second call
    /// does nothing.
    void ReleaseSparsePacket();
    /// Deletes the global packet (once the command packet no longer needs it) and nulls its pointer.
    void ReleaseGlobalPacket();

    CSEObjectInfoVector m_objectInfos;
    CSEProductStructureCreator* m_pStructureCreator;
    CSEStringCSEStringMap m_cadIdToFile;
    CSEStringVoidPtrMap m_cadIdToStructureId;
    CSEXMLPacket* m_pGlobalCmdXMLPacket;
    CSEWrapperStringVector m_expandedObjects;
    CSEWrapperStringVector m_expandedInCurrentSparse;
    CSEXMLPacket* m_pSparseCmdXMLPacket;

private:
    CSEString RootPath();
    /// Node path of the cadid's object-list entry in the command packet; empty when the cadid is
    /// known to name none.
    CSEString ObjectListEntryPath(const CSEString& cadId);
    /// Node path of the cadid's first node in the active structure of the packet.
    CSEString FirstStructureNodePath(CSEXMLPacket* packet, const CSEString& cadId);
    void ClearCurrentSparse();

    std::shared_ptr<CSEXMLPacket> m_spGlobalOwner;
    std::shared_ptr<CSEXMLPacket> m_spSparseOwner;
    /// Length of the folder part of each m_cadIdToFile value (a folder may hold ",").
    std::unordered_map<std::u16string, int> m_dirLengths;
    /// cadids added as further placements of a listed file (their list entry has another cadid).
    std::unordered_set<std::u16string> m_sharedOnlyCadIds;
    /// The expanded lists in lower case, for look-ups without walking the lists.
    std::unordered_set<std::u16string> m_expandedKeys;
    std::unordered_set<std::u16string> m_currentSparseKeys;
};

#endif
