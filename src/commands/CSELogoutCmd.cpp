// CSELogoutCmd: the "logout" command and body-less commands of other names.
#include "CSELogoutCmd.h"

CSELogoutCmd::CSELogoutCmd() : CSELogoutCmd(CSEString(u"logout"))
{
}

CSELogoutCmd::CSELogoutCmd(const CSEString& name)
{
    const bool hasPacket = LogConstruction(CSEString(u"[CSELogoutCmd::CSELogoutCmd()]"));
    SetCmdName(name);
    if (!hasPacket)
        return;
    CreateCmdHeader();
}

CSELogoutCmd::~CSELogoutCmd() = default;
