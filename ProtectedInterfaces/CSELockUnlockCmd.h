// CSELockUnlockCmd: locks or unlocks the objects of a product structure ("lock-unlock") and reads
// back which objects are now locked or checked out, which failed, and which top-level files are to
// be checked out locally.
#ifndef CSELOCKUNLOCKCMD_H
#define CSELOCKUNLOCKCMD_H

#include <string>
#include <unordered_set>

#include "CSECommonCmdForCheckinLockUnlockandRecVer.h"
#include "CSEObjectInfo.h"
#include "CSEString.h"
#include "CSEWrapperStringVector.h"

/// The lock-unlock command: the request is built like a check-in request (roots and children
/// through the structure builder); the answer lists the objects it locked or checked out and those
/// it could not, which are shown to the user in one message box.
class CSELockUnlockCmd : public CSECommonCmdForCheckinLockUnlockandRecVer
{
public:
    /// Writes the "lock-unlock" request envelope with its empty structure sections. Throws the
    /// CSEException of the command header when the installation folder is not set.
    CSELockUnlockCmd();
    /// Releases the structure builder.
    ~CSELockUnlockCmd() override;

    /// Adds a root object (see the base) and remembers its file name as a top-level file.
    /// Returns the identifier of the new structure node, -1 without a builder.
    int CreateRootObject(const CSEObjectInfo& object) override;
    /// Sets "prelock" on the request to "true" for 1, else "false".
    void SetPrelock(unsigned char prelock);
    /// Starts a fresh request in this command: the envelope under the current command name, the
    /// three empty structure sections, and no roots remembered. Throws as the constructor does.
    void ResetLockUnlockCmd();

    /// Number of result objects of the answer and, through path, the node path that lists them
    /// (unchanged when the answer lists none); shows the failed objects to the user. -1 without an
    /// answer.
    int GetCheckedOutObjCountFromResponse(CSEString& path);
    /// Result object number index (from 0) of path; a default record without an answer. A root's
    /// record is marked top-level, and noted for local checkout when the answer asks for it.
    CSEObjectInfo GetCheckedoutObjFromResponse(int index, CSEString& path);
    /// Appends every result object of the answer to objects; returns their number (-1 without an
    /// answer).
    int GetCheckedoutObjListFromResponse(CSEObjectInfoVector& objects);
    /// The root objects read so far that the answer marks for local checkout, in reading order.
    CSEObjectInfoVector GetObjListOfTopLevelRFAFilesBeingCheckedOut();

protected:
    /// File names of the root objects, in the order they were added.
    CSEWrapperStringVector m_topLevelFileNames;
    /// Root objects that the answer marks for local checkout, in the order they were read.
    CSEObjectInfoVector m_topLevelLocalCheckouts;

private:
    void ShowFailures(CSEXMLPacket& answer);

    // The texts of m_topLevelFileNames, for look-ups without walking the list per object.
    std::unordered_set<std::u16string> m_topLevelKeys;
};

#endif
