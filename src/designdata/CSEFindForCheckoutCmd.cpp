// CSEFindForCheckoutCmd: the "find" command.
#include "CSEFindForCheckoutCmd.h"

CSEFindForCheckoutCmd::CSEFindForCheckoutCmd()
{
    ConstructCommand(CSEString(u"[CSEFindForCheckoutCmd::CSEFindForCheckoutCmd()]"), CSEString(u"find"));
}

CSEFindForCheckoutCmd::~CSEFindForCheckoutCmd() = default;

void CSEFindForCheckoutCmd::setOldFileName(CSEObjectInfo& obj)
{
    CSECommonCheckoutCmd::setOldFileName(obj);
}

void CSEFindForCheckoutCmd::ResetFindForCheckoutCmd()
{
    SetCmdName(CSEString(u"find"));
    ResetCommonCheckoutCmdObj();
}
