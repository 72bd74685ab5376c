// CSERecentlyAccessedDesignsCmd: the "recentlyaccessedparts" command; it asks for the designs the user worked on last and has no body.
#include "CSERecentlyAccessedDesignsCmd.h"

CSERecentlyAccessedDesignsCmd::CSERecentlyAccessedDesignsCmd()
{
    ConstructCommand(CSEString(u"[CSERecentlyAccessedDesignsCmd::CSERecentlyAccessedDesignsCmd()]"), CSEString(u"recentlyaccessedparts"));
}

CSERecentlyAccessedDesignsCmd::~CSERecentlyAccessedDesignsCmd() = default;
