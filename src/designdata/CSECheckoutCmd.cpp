// CSECheckoutCmd: the "checkout" command.
#include "CSECheckoutCmd.h"

CSECheckoutCmd::CSECheckoutCmd()
{
    ConstructCommand(CSEString(u"[CSECheckoutCmd::CSECheckoutCmd()]"), CSEString(u"checkout"));
}

CSECheckoutCmd::CSECheckoutCmd(const CSEString& name)
{
    LogConstruction(CSEString(u"[CSECheckoutCmd::CSECheckoutCmd(name)]"));
    SetCmdName(name);
}

CSECheckoutCmd::~CSECheckoutCmd() = default;
