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
    /// Hook for a derived command to add the object's attributes to the request; the base class adds
    /// nothing and returns 0.
    virtual int AddAtributesToRequest(const CSEObjectInfo& object);

    /// A child under the structure node parentId: a file not listed yet gets its list entry and a
    /// node marked "firstentry"; a listed file one more placement. 0 without a builder.
    int AddObject(int parentId, CSEObjectInfo& object, const CSERelationship& relationship);
    /// One more placement of the listed object objectListId under parentId; returns the new node's
    /// identifier, -1 without a builder.
    int AddSharedObject(int parentId, const CSERelationship& relationship, int objectListId);
    /// Identifier of the first node of nodePath; -1 when there is none or without a builder.
    int IsObjectAdded(const CSEString& nodePath, CSEString ignored);
    /// Places a dependent document under its parent (object.parentId) in the active structure, else in the
    /// family structure; always 0. In silent mode first strips the packet's identifiers.
    int AddDependentDocumentObject(CSEObjectInfo& object, const CSERelationship& relationship);

    /// Remembers folder and file name of the object's cadid (see RetrieveObjectInfo).
    void StoreObjectInfo(const CSEObjectInfo& object);
    /// Sets dirName and fileName of the object from its cadid; 0 when known, else -1.
    int RetrieveObjectInfo(CSEObjectInfo& object);
    /// Folder and file name of the cadid; "" when the cadid is unknown.
    CSEString GetFullFileNameFromUID(CSEString cadId);

    /// Value "true" (any case) or force sets "expandable" on the object's list entry; otherwise the
    /// attribute is removed.
    void SetExpandAble(const CSEString& cadId, CSEString value, unsigned char force);
    /// expandable = 1 when the cadid's list entry has "expandable" "true" (any case), else 0; false without
    /// a command packet.
    bool IsObjectExpandable(const CSEString& cadId, unsigned char& expandable);
    /// Records the cadid as expanded, overall and in the current partial request.
    void StoreExpandedObjectInfo(CSEString& cadId);
    /// True when the cadid (any case) was recorded as expanded.
    bool IsObjectAlreadyExpanded(CSEString& cadId);
    /// True when the cadid (any case) was recorded as expanded in the current partial request.
    bool IsObjectAlreadyExpandedInCurrentSparse(CSEString& cadId);

    /// The "cadid" of the element id into cadId; 0 when read, else the packet's result (1 without a command
    /// packet).
    int GetCADIDFromUniuqeID(int id, CSEString& cadId);
    /// Identifier of the first structure node of the cadid: 0 when found, else 1.
    int GetPosInStructureFromCADID(CSEString cadId, int& id);
    /// Identifiers of the children of the cadid's first structure node. Always 0.
    int GetListOfChildrenInStructure(CSEString cadId, DVKRawCollint& ids);

    /// Sets "result" on the root; a reason goes under "info" (the structure removed when asked).
    void SetRequestResult(const CSEString& result, const CSEString& reason, unsigned char removeLists);
    /// Replaces the command packet with a response envelope whose "result" is result (a user exit's
    /// answer).
    void CreateResponseForUserExit(const CSEString& result);

    /// Partial requests: CreateSparseXMLFromGlobalXML builds the sparse packet for the top-level
    /// cadids (true when built), StartSparseCommand makes it the command packet, Execute sends it,
    /// EndSparseCommand returns to the global packet and deletes the sparse one.
    void StartSparseCommand();
    /// Returns to the global packet and deletes the sparse one (a broken call order is a fatal error).
    void EndSparseCommand();
    /// Starts the sparse packet with a response envelope numbered on from the global packet; false when
    /// there is no global packet, a sparse one exists already, or the envelope cannot be made.
    bool CreateSparseCmdHeader();
    /// Builds the sparse packet for the top-level cadids from the global packet; true when built.
    bool CreateSparseXMLFromGlobalXML(CSEWrapperStringVector cadIds);
    /// Copies the structure below the cadid's first node of the global packet under the sparse node
    /// sparseParentId, once per cadid and partial request; always true.
    bool GetAlreadyProcessedChildrenFromGlobalXML(CSEString& cadId, int sparseParentId);

protected:
    /// Deletes the sparse packet (unless it is the global one) and nulls its pointer; a second call
    /// does nothing.
    void ReleaseSparsePacket();
    /// Deletes the global packet (once the command packet no longer needs it) and nulls its pointer.
    void ReleaseGlobalPacket();
    /// Forgets every object of the previous request (object list, look-up maps, expanded lists),
    /// for a fresh request in the same command; the command packet becomes the global packet again
    /// when the global packet is gone.
    void StartNewRequest();
    /// Node path of the cadid's object-list entry in the command packet; empty when the cadid is
    /// known to name none.
    CSEString ObjectListEntryPath(const CSEString& cadId);

    CSEObjectInfoVector m_objectInfos;  ///<Records kept by derived commands.
    CSEProductStructureCreator* m_pStructureCreator;  ///<The structure builder over the command packet; owned.
    CSEStringCSEStringMap m_cadIdToFile;  ///<cadid -> folder + "," + file name (StoreObjectInfo).
    CSEStringVoidPtrMap m_cadIdToStructureId;  ///<cadid -> structure node identifier.
    CSEXMLPacket* m_pGlobalCmdXMLPacket;  ///<The request for the whole structure.
    CSEWrapperStringVector m_expandedObjects;  ///<cadids recorded as expanded.
    CSEWrapperStringVector m_expandedInCurrentSparse;  ///<cadids recorded as expanded in the current partial request.
    CSEXMLPacket* m_pSparseCmdXMLPacket;  ///<The partial request; null outside one.

private:
    CSEString RootPath();
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
