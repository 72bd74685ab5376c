// CSEPreferencesCmd: the "preferences" command; it asks the service for the user's preferences and has no body.
#include "CSEPreferencesCmd.h"

CSEPreferencesCmd::CSEPreferencesCmd()
{
    ConstructCommand(CSEString(u"[CSEPreferencesCmd::CSEPreferencesCmd()]"), CSEString(u"preferences"));
}

CSEPreferencesCmd::~CSEPreferencesCmd() = default;
