// CSESynchAttrCmd: the common part of the "attributesynch" commands: objects written into the
// request and the objects of the response with their attributes.
#ifndef CSESYNCHATTRCMD_H
#define CSESYNCHATTRCMD_H

#include "CSECommand.h"
#include "CSEObjectInfo.h"

/// The common part of the "attributesynch" commands: request objects and response records.
class CSESynchAttrCmd : public CSECommand
{
public:
    /// A command without a name or header; the derived commands give both.
    CSESynchAttrCmd();
    /// Shares the request packet and the response with other (see CSECommand).
    CSESynchAttrCmd(const CSESynchAttrCmd& other);
    /// Releases this command's packet and response, then shares other's.
    CSESynchAttrCmd& operator=(const CSESynchAttrCmd& other);
    /// Releases the packet and the response unless a copy still shares them.
    ~CSESynchAttrCmd() override;

    /// Adds a "cadobject" under "//command/cadobjectlist" with "name", "dirname", "filename",
    /// "type", "cadid", "selectable" and the non-empty "bustype", "busname", "busrevision".
    /// Returns its identifier; -1 without a packet, the packet's failure without an object list.
    virtual int AddObjectToRequest(const CSEObjectInfo& obj);
    /// Does nothing here; returns 0.
    virtual int AddAtributesToRequest(const CSEObjectInfo& obj);
    /// Appends one record per object of the response: names, folder (ending in "/" unless empty;
    /// "dirName" stands in for an empty "dirname"), "modified" (default "false"), "selectable"
    /// as selected, "success", the "message" text and the attributes. Nothing without a response.
    virtual void GetObjectInfoListFromResponse(CSEObjectInfoVector& out);
    /// The identifier of the element at path; -1 when it is absent or there is no packet.
    int IsObjectAdded(const CSEString& path);

protected:
    /// Named "attributesynch", with the command header, the direction on "//command" and an empty
    /// "cadobjectlist"; throws as the command header does.
    explicit CSESynchAttrCmd(const CSEString& direction);
    /// The "cadobject" element with the fields; bus fields only when busFields is true.
    int AddObject(const CSEObjectInfo& obj, bool busFields);
    /// Appends an "attribute" pair per attribute of obj under the element id.
    void AddAttributes(int id, const CSEObjectInfo& obj);
    /// The response's objects; folders read and cleaned only when cleanFolders is true.
    void ReadObjects(CSEObjectInfoVector& out, bool cleanFolders);
};

#endif
