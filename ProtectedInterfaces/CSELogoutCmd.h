/// \file
/// CSELogoutCmd: the "logout" command (or a body-less command of another name).
#ifndef CSELOGOUTCMD_H
#define CSELOGOUTCMD_H

#include "CSECommand.h"

/// The "logout" command (or a body-less command of another name).
class CSELogoutCmd : public CSECommand
{
public:
    /// Both build the request envelope: they throw the CSEException of
    /// CSEClientSettings::GetInstance when the installation folder is not set.
    CSELogoutCmd();
    /// A logout command under another command name.
    explicit CSELogoutCmd(const CSEString& name);
    ~CSELogoutCmd() override;
};

#endif
