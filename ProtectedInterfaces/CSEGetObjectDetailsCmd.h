// CSEGetObjectDetailsCmd: the "cadobjdetails" command: the server-side state of CAD objects
// (status, lock holder, check-in access, server type, name, revision and version).
#ifndef CSEGETOBJECTDETAILSCMD_H
#define CSEGETOBJECTDETAILSCMD_H

#include "CSECommand.h"
#include "CSEObjectInfo.h"

/// The "cadobjdetails" command: one record of server-side state per object listed.
class CSEGetObjectDetailsCmd : public CSECommand
{
public:
    /// Named "cadobjdetails", with its command header (the object list comes with
    /// AddObjectListNodeInObjectDetailsCmd); throws the CSEException of the command header when
    /// the installation folder is not set.
    CSEGetObjectDetailsCmd();
    /// Shares the request packet and the response with other (see CSECommand).
    CSEGetObjectDetailsCmd(const CSEGetObjectDetailsCmd& other);
    /// Releases this command's packet and response, then shares other's.
    CSEGetObjectDetailsCmd& operator=(const CSEGetObjectDetailsCmd& other);
    /// Releases the packet and the response unless a copy still shares them.
    ~CSEGetObjectDetailsCmd() override;

    /// Starts the request afresh: a new "cadobjdetails" header with an empty object list. Returns
    /// the list's identifier; -1 without a packet or when the list cannot be made.
    int CreateNewCadObjDetailsCmd();
    /// Adds an empty "cadobjectlist" under "//command" when the command is "cadobjdetails";
    /// returns its identifier, -1 otherwise or without a packet.
    int AddObjectListNodeInObjectDetailsCmd();
    /// Lists obj with "cadid", "dirname", "type", "filename", "name" and, when flag is 0,
    /// "selectable" = "true". Returns the element's identifier; -1 without a packet, the
    /// packet's failure result without an object list.
    int AddObjectToCmdPacket(CSEObjectInfo& obj, int flag);
    /// Appends one record per object of the response: names, folder, status, lock holder
    /// ("lockedby" from server version "2010" on, "locker" before), check-in access, full file
    /// name, server type, name and revision (detail fields) and "qxversion" (as busRevision).
    /// Nothing without a response.
    void getObjectInfoList(CSEObjectInfoVector& out);
};

#endif
