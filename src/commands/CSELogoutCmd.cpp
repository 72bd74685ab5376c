// CSELogoutCmd: the "logout" command and body-less commands of other names.
#include "CSELogoutCmd.h"

CSELogoutCmd::CSELogoutCmd() : CSELogoutCmd(CSEString(u"logout"))
{
}

CSELogoutCmd::CSELogoutCmd(const CSEString& name)
{
    ConstructCommand(CSEString(u"[CSELogoutCmd::CSELogoutCmd()]"), name);
}

CSELogoutCmd::~CSELogoutCmd() = default;
