// The plug-in's message manager: the library asks it for texts, message boxes and progress.
// A CAD plug-in shows these in the CAD application's own dialogs; this one writes them to stderr.
#ifndef MINIMAL_PLUGIN_PLUGINMSGMGR_H
#define MINIMAL_PLUGIN_PLUGINMSGMGR_H

#include <CSEMsgMgr.h>

class PluginMsgMgr : public CSEMsgMgr
{
public:
    // The text of a message identifier; a plug-in looks it up in its own catalogue. Without one, the
    // identifier itself still says what the message is about.
    CSEString ReadResourceString(CSEString id) override;
    CSEString ReadResourceString(int id) override;
    // A message box: shown, and answered as if the user pressed OK (0).
    int ShowMessage(CSEString message, CSEString title, MessageBoxType type) override;
    int ShowMessage(CSEString message, int titleId, MessageBoxType type) override;
};

#endif
