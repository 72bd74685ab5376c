// CSECheckForUpdateCurrentCmd: the "checkforupdatecurrent" command: the service brings the listed
// local files up to date from the server; also builds the response-shaped second request.
#ifndef CSECHECKFORUPDATECURRENTCMD_H
#define CSECHECKFORUPDATECURRENTCMD_H

#include <memory>

#include "CSECommand.h"
#include "CSEObjectInfo.h"

/// The "checkforupdatecurrent" command: the service updates the files listed; the answer lists the
/// files updated and those that failed.
class CSECheckForUpdateCurrentCmd : public CSECommand
{
public:
    /// Named "checkforupdatecurrent", with its command header; throws the CSEException of the
    /// command header when the installation folder is not set.
    CSECheckForUpdateCurrentCmd();
    /// Shares the request packet, the response and the list of file names with other.
    CSECheckForUpdateCurrentCmd(const CSECheckForUpdateCurrentCmd& other);
    /// Releases this command's packet and response, then shares other's.
    CSECheckForUpdateCurrentCmd& operator=(const CSECheckForUpdateCurrentCmd& other);
    /// Releases the packet and the response unless a copy still shares them.
    ~CSECheckForUpdateCurrentCmd() override;

    /// Lists the object in the request ("name", "type", "cadid", "dirname", "filename" and the
    /// non-empty "bustype", "busname", "busrevision"); an object whose file name is listed already
    /// is left out. Does nothing without a request packet.
    void AddCADObjectNode(CSEObjectInfo& obj);
    /// The updated objects with "downloadedpath", "filename", "dirname", "qxtype" (as busType),
    /// "cadid" and "qxversion"; file name and folder trimmed, a folder ends in "/".
    CSEObjectInfoVector GetObjectInfoList();
    /// The updated objects with "downloadedpath", "filename" and "dirname", cleaned as above.
    CSEObjectInfoVector GetSuccessObjectInfoList();
    /// The failed objects of "errorfiles" with "downloadedpath", "filename" and "dirname", cleaned
    /// as above.
    CSEObjectInfoVector GetFailureObjectInfoList();
    /// Replaces the request packet by a fresh response envelope with an empty "cadobjectlist";
    /// throws as the command header does.
    void CreateRootResponse();
    /// Adds the object to the response-shaped request with "name", "type", "cadid" and its path as
    /// "filename" (the bare file name when its folder is empty). Does nothing without a packet or
    /// before CreateRootResponse.
    void AddCadObjectToSecondRequest(CSEObjectInfo obj);

private:
    struct ListedFiles;
    // The file names of the request's objects, so that a long list is not searched per object.
    ListedFiles& Listed();

    std::shared_ptr<ListedFiles> m_spListed;
};

#endif
