// CSELogoutCmd: the "logout" command (or a body-less command of another name).
#ifndef CSELOGOUTCMD_H
#define CSELOGOUTCMD_H

#include "CSECommand.h"

class CSELogoutCmd : public CSECommand
{
public:
    CSELogoutCmd();
    explicit CSELogoutCmd(const CSEString& name);
    ~CSELogoutCmd() override;
};

#endif
