// CSEUserLockStatusCmd: asks the server for the lock state of a flat list of objects
// ("userlockstatus").
#ifndef CSEUSERLOCKSTATUSCMD_H
#define CSEUSERLOCKSTATUSCMD_H

#include "CSECommand.h"
#include "CSEObjectInfo.h"

/// The user lock status command: one "cadobject" per object in the request, one per answered
/// object in the response.
class CSEUserLockStatusCmd : public CSECommand
{
public:
    /// Writes the "userlockstatus" request envelope. Throws the CSEException of the command header
    /// when the installation folder is not set.
    CSEUserLockStatusCmd();

    /// Writes the objects into the request, in order, up to the first one whose success field is
    /// not "true".
    void AddObjectList(const CSEObjectInfoVector& objects);
    /// Appends one record per answered object (its lock state in the lock field); appends nothing
    /// without an answer.
    void GetObjectInfoListFromResponse(CSEObjectInfoVector& objects);
};

#endif
