/// \file
/// CSELoginExCmd: the "loginEx" command, a login with a user name and password of the caller's.
#ifndef CSELOGINEXCMD_H
#define CSELOGINEXCMD_H

#include "CSECommand.h"

class CSEObjectInfo;

/// The "loginEx" command, a login with a user name and password of the caller's.
class CSELoginExCmd : public CSECommand
{
public:
    CSELoginExCmd();
    ~CSELoginExCmd() override;

    /// While the command is named "loginEx": sets "username" and "password" on "//command" to the
    /// object's userText1 and userText2, and in bulk-loading mode "ver" to its versionText, each
    /// once. The password travels in the request file only; logs and dumps show it masked.
    /// Returns an empty text.
    CSEString AddExtraCmdNodeInfoForLoginEx(CSEObjectInfo& info);
};

#endif
