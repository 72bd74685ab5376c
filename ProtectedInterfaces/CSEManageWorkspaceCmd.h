/// \file
/// CSEManageWorkspaceCmd: the "initiatewsm" command, which opens the workspace manager on a folder
/// and a list of objects.
#ifndef CSEMANAGEWORKSPACECMD_H
#define CSEMANAGEWORKSPACECMD_H

#include "CSECommand.h"

class CSEObjectInfoVector;

/// The "initiatewsm" command, which opens the workspace manager on a folder and a list of objects.
class CSEManageWorkspaceCmd : public CSECommand
{
public:
    CSEManageWorkspaceCmd();
    ~CSEManageWorkspaceCmd() override;

    /// Sets "initialdir" on "//command".
    void SetInitialDir(const CSEString& dir);
    /// One "cadobject" per object, in list order, under "//command/cadobjectlist".
    void AddObjectInfoList(const CSEObjectInfoVector& list);
};

#endif
