/// \file
/// CSECheckinCmd: the check-in command. After Execute, ParseAndBuildResponse turns the command packet
/// into a working document (mandatory attributes, the request's relationships and structure, the
/// server's object list) from which the host reads objects, writes the user's edits back and asks
/// for each object's parents.
#ifndef CSECHECKINCMD_H
#define CSECHECKINCMD_H

#include <string>
#include <unordered_map>
#include <vector>

#include "CSECommonCmdForCheckinLockUnlockandRecVer.h"
#include "CSEObjectInfo.h"
#include "CSEString.h"
#include "CSEStringCSEObjectMap.h"
#include "CSEWrapperStringVector.h"

class CSEXMLPacket;

/// The check-in command. After Execute, ParseAndBuildResponse turns the command packet into a working
/// document (mandatory attributes, the request's relationships and structure, the server's object list) from
/// which the host reads objects, writes the user's edits back and asks for each object's parents.
class CSECheckinCmd : public CSECommonCmdForCheckinLockUnlockandRecVer
{
public:
    /// Writes the "checkin" request envelope with its empty structure sections.
    CSECheckinCmd();
    /// No name, header or builder: a derived command sets these itself.
    explicit CSECheckinCmd(int);
    ~CSECheckinCmd() override;

    /// Check-in without user interface: silent mode, no browser focus, no derived output.
    void AddCheckinModeinXMLRequestPacket();
    /// After Execute: the command packet becomes the rebuilt response. Always 0.
    int ParseAndBuildResponse();
    /// Writes one "attribute" element under elementId per mandatory-attribute definition of the global
    /// settings (with its mandatory or default value, or its name only); nothing without a login.
    void CreateMandatoryAttributeList(int elementId);

    /// Objects of the rebuilt response (index 0-based).
    int GetNumObjectsFromResponse();
    /// The object at index of the rebuilt response; an empty record when there is none.
    CSEObjectInfo GetObjectFromResponse(int index);
    /// Objects of the server's answer.
    int GetNumObjectsFromFinalResponse();
    /// The object at index of the server's answer; an empty record when there is none.
    CSEObjectInfo GetObjectFromFinalResponse(int index);
    /// Objects of the request, before ParseAndBuildResponse.
    int GetNumObjectsFromRequestPacket();
    /// The object at index of the request; an empty record when there is none.
    CSEObjectInfo GetObjectFromRequestPacket(int index);
    /// The objects of the server's answer, read with the fields a partial request needs.
    CSEObjectInfoVector GetRespSparseObjList();

    /// Reads every object of the rebuilt response into the object list and the map (keyed by
    /// cadid); withParents also gives the list's records their parent and owner cadids.
    CSEObjectInfoVector GetObjectListFromResponse(CSEStringCSEObjectMap& objects, unsigned char withParents);
    /// 1 when there is no command packet, else 0.
    virtual int GetListOfAllParents(CSEStringCSEObjectMap& objects);
    /// Adds parentCadId and ownerCadId to the records in objects of the structure nodes below nodePath,
    /// walking down the structure.
    void GetAllParentCadIds(CSEString& nodePath, CSEStringCSEObjectMap& objects, CSEString parentCadId,
                            CSEString ownerCadId);

    /// Writes the user's edits of the object into the rebuilt response: the result of setting
    /// "name" (0 on success), -1 without a command packet. The first call stamps the response's
    /// objects with identifiers, so that each call finds its object without searching the list.
    int UpdateObjectInResponse(const CSEObjectInfo& object);
    /// Gives the listed records of the object's cadid its file name, folder, name and attributes.
    /// Always -1.
    int UpdateObjectInObjectList(const CSEObjectInfo& object);
    /// The first listed record whose cadid or full file name is the key.
    bool GetObjectFromObjectList(CSEString& key, CSEObjectInfo& out);
    /// Copies the record of cadId in objects into out; false when objects has none.
    bool GetObjectFromObjectList(CSEStringCSEObjectMap& objects, CSEString& cadId, CSEObjectInfo& out);
    /// Reads name, full file name and type of the listed object cadId; false when the list has no such
    /// object.
    bool GetObjNameFullFileNameAndTypeFromCadId(CSEString& cadId, CSEString& name, CSEString& fullFileName,
                                                CSEString& type);
    /// True when the vector holds the value, case ignored.
    bool IsValueAlreadyAdded(CSEWrapperStringVector& values, CSEString& value);

protected:
    /// Empties the object list together with its look-up tables.
    void ClearObjectList();
    /// Walks the structure through GetListOfAllParents over byCadId, then gives each record of
    /// objects the parent and owner cadids found for its cadid. Throws nothing of its own.
    void AddParentsFromStructure(CSEObjectInfoVector& objects, CSEStringCSEObjectMap& byCadId);

    /// The objects read by GetObjectListFromResponse, in the order of the rebuilt response.
    CSEObjectInfoVector m_objectList;

private:
    CSEObjectInfo ReadObject(CSEXMLPacket* packet, const CSEString& path, int index, bool finalOrRequest);
    void IndexObjectList();
    int FirstPosition(const std::u16string& key, bool byCadId);

    /// Positions in m_objectList per cadid, and the first position per full file name (rebuilt
    /// when the list's names changed).
    std::unordered_map<std::u16string, std::vector<int>> m_cadIdPositions;
    std::unordered_map<std::u16string, int> m_fullNamePositions;
    bool m_fullNamesStale = true;

    // The node path of the rebuilt response's first object of the cadid.
    CSEString ResponseObjectPath(const CSEString& cadId);
    void IndexResponseObjects();
    // Identifier of the first object element per cadid in the packet m_pIndexedResponse.
    std::unordered_map<std::u16string, int> m_responseObjectIds;
    CSEXMLPacket* m_pIndexedResponse = nullptr;
};

#endif
