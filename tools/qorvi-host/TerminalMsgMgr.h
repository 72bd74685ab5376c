// The demo host's message manager: message boxes become lines on standard error, progress is shown
// there too, and the host's message catalogue gives texts for the identifiers it knows.
#ifndef QORVI_HOST_TERMINALMSGMGR_H
#define QORVI_HOST_TERMINALMSGMGR_H

#include <CSEMsgMgr.h>

#include "ProgressDisplay.h"

class TerminalMsgMgr : public CSEMsgMgr
{
public:
    TerminalMsgMgr();

    // The catalogue's text, else the identifier itself (a title or message without text still
    // says what it is about).
    CSEString ReadResourceString(int id) override;
    CSEString ReadResourceString(CSEString id) override;
    // The catalogue's text with "%1", "%2", ... replaced by the arguments; empty for an identifier
    // the catalogue lacks, so that the library names the identifier and its arguments.
    CSEString ReadResourceString(CSEString id, CSEWrapperStringVector arguments) override;
    int ShowMessage(CSEString message, int titleId, MessageBoxType type) override;
    int ShowMessage(CSEString message, CSEString title, MessageBoxType type) override;
    int ShowMessageEx(CSEString message, int titleId, MessageBoxType type) override;
    int ShowCustomMessage(CSEString message, CSEString title, unsigned char flag, MessageBoxType type) override;
    unsigned char ProgressStartA(int steps) override;
    void ProgressShowNextStepA(CSEString text) override;
    unsigned char ProgressEndA() override;

private:
    ProgressDisplay m_progress;
};

#endif
