// DVKDCICheckinExCmd: the extended check-in command ("checkinEx"): the request is prepared in full
// (objects, attributes, selection, options), can be read back and corrected by the host, and is
// then sent.
#ifndef DVKDCICHECKINEXCMD_H
#define DVKDCICHECKINEXCMD_H

#include "CSECheckinCmd.h"
#include "CSEObjectInfo.h"
#include "CSEString.h"
#include "CSEStringCSEObjectMap.h"

/// The extended check-in command. Its operations never throw: without a request packet they log
/// to the silent debug log and answer -1 (or an empty result).
class DVKDCICheckinExCmd : public CSECheckinCmd
{
public:
    /// Writes the "checkinEx" request envelope with its empty structure sections; the four options
    /// start as "false". Throws the CSEException of the command header when the installation
    /// folder is not set.
    DVKDCICheckinExCmd();
    /// Releases the structure builder (once).
    ~DVKDCICheckinExCmd() override;

    /// Starts a fresh request in this command: the envelope without browser focus, the three empty
    /// sections, and nothing remembered of the objects of the previous request (the four options
    /// stay). 0; -1 without a request packet, a builder, or an envelope.
    int CreateNewCheckinExCmd();
    /// Adds to the object's request entry (found by file name) each of the object's attributes whose
    /// name the entry does not have yet. 0; -1 without a request packet.
    int AddAtributesToRequest(const CSEObjectInfo& object) override;
    /// Leaves exactly one "selected" ("true" or "false") on the entry of the cadid. The packet's
    /// result (0 on success, -1003 when there is no such entry); -1 without a request packet.
    int SetSelectable(CSEString& cadId, unsigned char selected);
    /// Removes an empty "qx_type" from the entry of the cadid; valid is set to 1 when the entry
    /// keeps a non-empty one, else 0. 0; -1 without a request packet.
    int CheckIfQxTypeEntryIsValid(CSEString& cadId, int& valid);
    /// Reads "uid" of the entry of the cadid into uid. The packet's result; -1 without a request
    /// packet.
    int GetUIDOfFileFromCheckinxRequest(CSEString& cadId, CSEString& uid);
    /// Number of request entries whose "selected" is exactly "true"; -1 without a request packet.
    int GetNumberOfSelectedObjects();
    /// The request entries as records, each with its parent and owner cadids; empty without a
    /// request packet.
    CSEObjectInfoVector GetObjInfoListFromCheckinExPacket();
    /// The parent walk over the request's active structure. 0; -1 without a request packet.
    int GetListOfAllParents(CSEStringCSEObjectMap& objects) override;
    /// Final corrections before sending: the options on a "checkinEx" envelope, and no "modified",
    /// "uid" or "selectable" on entries that are not derived outputs. 0; -1 without a request
    /// packet.
    int ConsolidateCheckinExRequestXML();
    /// Sends the request; the result of Execute (0 on success, 1 on failure), -1 without a request
    /// packet.
    int ExecuteCheckinEx(CSEString& response);
    /// Number of objects in the server's answer; -1 without an answer.
    int GetNumObjectsFromResponse();
    /// Object number index (from 0) of the server's answer, with its full file name as the answer
    /// gives it; an empty record without an answer.
    CSEObjectInfo GetObjectFromResponse(int index);

    /// Sets the "deletefiles" option ("true" or "false").
    void SetDeleteFilesValue(CSEString& value) { m_deleteFiles = value; }
    /// Sets the "maintainlock" option ("true" or "false").
    void SetRetainLockValue(CSEString& value) { m_retainLock = value; }
    /// Sets the "createversion" option ("true" or "false").
    void SetCreateVersionValue(CSEString& value) { m_createVersion = value; }
    /// Sets the "overwriteobject" option ("true" or "false").
    void SetOverwriteObjectValue(CSEString& value) { m_overwriteObject = value; }

protected:
    /// The "deletefiles" option.
    CSEString m_deleteFiles;
    /// The "maintainlock" option.
    CSEString m_retainLock;
    /// The "createversion" option.
    CSEString m_createVersion;
    /// The "overwriteobject" option.
    CSEString m_overwriteObject;

private:
    // Path of the request entry of the cadid.
    CSEString EntryPath(const CSEString& cadId);
    // Logs "[DVKDCICheckinExCmd::<operation>()] m_pCmdXMLPacket == NULL." when there is no request
    // packet; true when there is one.
    bool HasPacket(const char16_t* operation);
};

#endif
