/// \file
/// CSECommonCheckoutCmd: the base of the checkout commands; turns the service's answer into object
/// and relationship records, the checkout folder, the top-level objects and the old file names.
#ifndef CSECOMMONCHECKOUTCMD_H
#define CSECOMMONCHECKOUTCMD_H

#include <memory>
#include <string>
#include <unordered_set>

#include "CSECommand.h"
#include "CSEObjectInfo.h"
#include "CSERelationship.h"
#include "CSEString.h"
#include "CSEStringCSEObjectMap.h"
#include "CSEStringCSERelationshipMap.h"

class CSEXMLPacket;
class CSECheckoutLookups;

/// The caller fills the request through the command's packet and calls Execute; then
/// getObjectInfoList, which every other reading operation relies on, and any of the others.
///
/// Paths: every path the command makes from the response (fullFileName, the parent and child paths)
/// is a bare file name joined to its folder. A folder that is not absolute or has a "." or ".." step,
/// and a file name that is empty, "." or "..", or holds "/" or "\", give no path (the field stays
/// empty) and a log line: the host never gets a place outside the folder the service named.
class CSECommonCheckoutCmd : public CSECommand
{
public:
    CSECommonCheckoutCmd();
    /// Copies the records read so far; shares the request packet and the response as CSECommand does.
    CSECommonCheckoutCmd(const CSECommonCheckoutCmd& other);
    /// As the copy constructor; returns this command.
    CSECommonCheckoutCmd& operator=(const CSECommonCheckoutCmd& other);
    ~CSECommonCheckoutCmd() override;

    /// Reads every "cadobject" of the object list into the object map (empty at the start: nothing
    /// of an earlier answer stays) and appends a copy of each to out, in the map's order. Throws a
    /// CSEException for an object with several file formats unless "DV5_001" is "1", and for one
    /// with none unless "DV5_003" is "1"; out then holds the records before that one.
    virtual void getObjectInfoList(CSEObjectInfoVector& out);
    /// Reads every "relationship" with the parents and children the structure gives it, and appends
    /// one record per rid to out.
    virtual void getRelationshipList(CSERelationshipVector& out);
    /// fileName = name + the old extension; renamedFrom = the former file name (for a top-level
    /// object its current one, otherwise the relationship's "Renamed From" with that extension).
    virtual void setOldFileName(CSEObjectInfo& obj);
    /// attributes = every "attribute" of cadobject number index (from 0) of the object list;
    /// attributes2 = those the host is to write into the CAD file.
    virtual void copyAttributesFromResponse(CSEObjectInfo& obj, int index);

    /// The top-level objects found by findAllTopLevelObjects.
    CSEObjectInfoVector GetTopLevelObjectInfoList();
    /// True, with out = the record read for cadid; false (out untouched) when there is none.
    unsigned char GetCSEObjectInfoFromCadId(const CSEString& cadid, CSEObjectInfo& out);
    /// Gives the record of cadid a new file name (and full file name); nothing when there is none.
    void SetFileNameFromCadId(const CSEString& cadid, const CSEString& fileName);
    /// The folder ("dirname") of the answer's objects, read by getObjectInfoList; empty before that.
    CSEString GetCheckoutDirectory();
    /// True when an object of the answer comes from the design tool.
    unsigned char DoesRenamedObjectsExists();
    /// The request packet becomes a response envelope with the given "result".
    void CreateResponseForUserExit(const CSEString& result);

    /// Top-level search in any packet, against the caller's list. The first record of list with the
    /// node's "cadid" is marked when it is selected: markTopLevelObject marks the node at xpath and
    /// collects it into the top-level objects (once per cadid, however often it is met); findAllTopLevelObjects marks every node of xpath
    /// and, below each node not marked, its "cadobject" children the same way; findTopLevelObject
    /// marks (without collecting) the first selected object, depth first from xpath, and stops.
    void findTopLevelObject(CSEString xpath, CSEXMLPacket* packet, CSEObjectInfoVector& list);
    /// Marks the listed object of the first structure node at xpath as top-level; 1 when one was marked.
    unsigned char markTopLevelObject(CSEString xpath, CSEXMLPacket* packet, CSEObjectInfoVector& list);
    /// Marks every object of a structure node at xpath as top-level and keeps them for
    /// GetTopLevelObjectInfoList.
    void findAllTopLevelObjects(CSEString xpath, CSEXMLPacket* packet, CSEObjectInfoVector& list);

    /// Rebuilds the command header and forgets what was read from the last answer.
    void ResetCommonCheckoutCmdObj();
    /// Fills the parent and child of each relationship of rels that the structure below structPath
    /// uses; a rid that rels does not hold adds nothing.
    void GetCadObjectsForRelationships(const CSEString& structPath, CSEStringCSERelationshipMap& rels);

protected:
    /// Sets the parent path and parent file name of each object whose relationship is a "dpt" top
    /// node, from its parent in the structure below xpath.
    void SetParentNameByTraversingStructure(CSEString xpath);
    /// rid = the "rid" of the first node (depth first) below structPath with the cadid; rid is left
    /// as it was when there is none.
    void GetRelIDFromStructForCadID(const CSEString& structPath, const CSEString& cadid, CSEString& rid);
    /// obj.renamedFrom = the last "Renamed From" of obj's relationship in the structure.
    void GetObjOldName(const CSEString& unused, int unusedIndex, CSEObjectInfo& obj);
    /// Forgets what was read from the last answer (object map, top-level objects, flags, folder).
    void ForgetAnswer();

private:
    CSEXMLPacket* ResponsePacket();
    CSEObjectInfo* FindObject(const CSEString& cadid);
    /// The look-ups of the response packet; only for callers that found it not null.
    CSECheckoutLookups& Lookups();
    /// Marks list[index] top-level and collects it when it is selected; false otherwise.
    bool MarkTopLevel(CSEObjectInfoVector& list, int index);

    CSEStringCSEObjectMap m_ObjectMap;
    CSEObjectInfoVector m_TopLevelObjects;
    std::unordered_set<std::u16string> m_TopLevelCadIds; ///< those of m_TopLevelObjects
    unsigned char m_bDesignToolObjects;
    CSEString m_sCheckoutDirectory;
    /// Look-ups built on first use from the answer getObjectInfoList read.
    std::unique_ptr<CSECheckoutLookups> m_pLookups;
};

#endif
