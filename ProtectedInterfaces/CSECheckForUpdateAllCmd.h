// CSECheckForUpdateAllCmd: the "checkforupdateall" command: the service brings every local file of
// the user up to date from the server.
#ifndef CSECHECKFORUPDATEALLCMD_H
#define CSECHECKFORUPDATEALLCMD_H

#include "CSECommand.h"
#include "CSEObjectInfo.h"

/// The "checkforupdateall" command: the service updates every local file of the user; the answer lists
/// the files updated and those that failed.
class CSECheckForUpdateAllCmd : public CSECommand
{
public:
    /// Named "checkforupdateall", with its command header; throws the CSEException of the command
    /// header when the installation folder is not set.
    CSECheckForUpdateAllCmd();
    /// Shares the request packet and the response with other (see CSECommand).
    CSECheckForUpdateAllCmd(const CSECheckForUpdateAllCmd& other);
    /// Releases this command's packet and response, then shares other's.
    CSECheckForUpdateAllCmd& operator=(const CSECheckForUpdateAllCmd& other);
    /// Releases the packet and the response unless a copy still shares them.
    ~CSECheckForUpdateAllCmd() override;

    /// The objects brought up to date ("downloadedpath", "filename"); empty without a response.
    CSEObjectInfoVector GetSuccessObjectInfoList();
    /// The objects that failed, from "errorfiles" ("downloadedpath", "filename"); empty without a
    /// response.
    CSEObjectInfoVector GetFailureObjectInfoList();
    /// Appends the updated objects with "filename", "qxversion", "qxtype" (as busType) and "name"
    /// to out; returns the size of out afterwards (unchanged without a response).
    int GetObjectsFromRespForUserExit(CSEObjectInfoVector& out);
    /// Rebuilds the request packet as a response envelope whose "result" is result; throws as
    /// the command header does.
    void CreateResponseForUserExit(const CSEString& result);
};

#endif
