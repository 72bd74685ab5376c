/// \file
/// CSEMsgMgr: the host's message manager, through which the library asks for texts, message boxes
/// and progress display.
#ifndef CSEMSGMGR_H
#define CSEMSGMGR_H

#include "CSEString.h"
#include "CSEWrapperStringVector.h"

/// Box kinds, a 32-bit value handed through to the host unchanged; the library itself uses only 3
/// (errors and warnings). Other values mean what the host makes them mean.
enum MessageBoxType : int
{
    CSEMessageBoxError = 3
};

/// The base class is a silent manager: no texts, no boxes, no progress. The host derives its own,
/// overrides what it shows, and installs one instance with SetMsgMgr before running any command.
/// A silent host (no user interface, such as the silent processor) must install one as well, the
/// base class will do: the library asks for texts and shows errors through it, and without one
/// installed that is a fatal error.
class CSEMsgMgr
{
public:
    CSEMsgMgr() = default;
    virtual ~CSEMsgMgr() = default;

    virtual CSEString ReadResourceString(int id);
    virtual CSEString ReadResourceString(CSEString id, CSEWrapperStringVector arguments);
    virtual CSEString ReadResourceString(CSEString id);
    virtual int ShowMessage(CSEString message, int titleId, MessageBoxType type);
    virtual int ShowMessage(CSEString message, CSEString title, MessageBoxType type);
    virtual int ShowMessageEx(CSEString message, int titleId, MessageBoxType type);
    virtual int ShowCustomMessage(CSEString message, CSEString title, unsigned char flag,
                                  MessageBoxType type);
    virtual unsigned char ProgressStartA(int steps);
    virtual void ProgressShowNextStepA(CSEString text);
    virtual unsigned char ProgressEndA();

    /// Installs the manager (not owned); a null manager is a fatal error.
    static void SetMsgMgr(CSEMsgMgr* pMsgMgr);
    /// Each of these forwards to the installed manager; with none installed it is a fatal error.
    static CSEString GetMsg(CSEString id);
    /// The text for id as GetMsg gives it; id itself when no manager is installed, the manager has
    /// no text for it, or it throws. The message of a CSEException raised for an identifier.
    static CSEString GetMsgOrId(CSEString id);
    static CSEString GetMsg(CSEString id, CSEWrapperStringVector arguments);
    /// The text for id with its arguments as GetMsg gives it; when there is none (no manager, no
    /// text, or the manager throws) id followed by ": " and the arguments, joined by ", ".
    static CSEString GetMsgOrId(CSEString id, CSEWrapperStringVector arguments);
    static CSEString GetMsg(int id);
    static int ShowMsg(CSEString message, CSEString title, MessageBoxType type);
    static int ShowCustomMsg(CSEString message, CSEString title, unsigned char flag,
                             MessageBoxType type);
    static unsigned char ProgressStart(int steps);
    static void ProgressShowNextStep(CSEString text);
    static unsigned char ProgressEnd();

private:
    static CSEMsgMgr* Installed();

    static CSEMsgMgr* m_pMsgMgr;
};

#endif
