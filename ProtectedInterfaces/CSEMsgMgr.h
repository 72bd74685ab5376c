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

    /// The host's text for the numeric identifier; the base class answers empty.
    virtual CSEString ReadResourceString(int id);
    /// The host's text for id with "%1", "%2", ... replaced by the arguments; the base class answers empty.
    virtual CSEString ReadResourceString(CSEString id, CSEWrapperStringVector arguments);
    /// The host's text for id; the base class answers empty.
    virtual CSEString ReadResourceString(CSEString id);
    /// Shows a message box titled with the text of titleId; returns the user's answer (the base class shows
    /// nothing and answers 0).
    virtual int ShowMessage(CSEString message, int titleId, MessageBoxType type);
    /// Shows a message box; returns the user's answer (the base class shows nothing and answers 0).
    virtual int ShowMessage(CSEString message, CSEString title, MessageBoxType type);
    /// As ShowMessage with a title identifier, for the host's extended box; the base class answers 0.
    virtual int ShowMessageEx(CSEString message, int titleId, MessageBoxType type);
    /// Shows a box with the host's own buttons chosen by flag; returns the user's answer (the base class
    /// answers 0).
    virtual int ShowCustomMessage(CSEString message, CSEString title, unsigned char flag,
                                  MessageBoxType type);
    /// Opens a progress display of steps steps; returns the host's answer (the base class answers 0).
    virtual unsigned char ProgressStartA(int steps);
    /// Advances the progress display by one step, showing text; the base class does nothing.
    virtual void ProgressShowNextStepA(CSEString text);
    /// Closes the progress display; returns the host's answer (the base class answers 0).
    virtual unsigned char ProgressEndA();

    /// Installs the manager (not owned); a null manager is a fatal error.
    static void SetMsgMgr(CSEMsgMgr* pMsgMgr);
    /// Each of these forwards to the installed manager; with none installed it is a fatal error.
    static CSEString GetMsg(CSEString id);
    /// The text for id as GetMsg gives it; id itself when no manager is installed, the manager has
    /// no text for it, or it throws. The message of a CSEException raised for an identifier.
    static CSEString GetMsgOrId(CSEString id);
    /// The installed manager's ReadResourceString(id, arguments); with none installed it is a fatal error.
    static CSEString GetMsg(CSEString id, CSEWrapperStringVector arguments);
    /// The text for id with its arguments as GetMsg gives it; when there is none (no manager, no
    /// text, or the manager throws) id followed by ": " and the arguments, joined by ", ".
    static CSEString GetMsgOrId(CSEString id, CSEWrapperStringVector arguments);
    /// The installed manager's ReadResourceString(id); with none installed it is a fatal error.
    static CSEString GetMsg(int id);
    /// The installed manager's ShowMessage; returns its answer. With none installed it is a fatal error.
    static int ShowMsg(CSEString message, CSEString title, MessageBoxType type);
    /// The installed manager's ShowCustomMessage; returns its answer. With none installed it is a fatal
    /// error.
    static int ShowCustomMsg(CSEString message, CSEString title, unsigned char flag,
                             MessageBoxType type);
    /// The installed manager's ProgressStartA; returns its answer. With none installed it is a fatal error.
    static unsigned char ProgressStart(int steps);
    /// The installed manager's ProgressShowNextStepA. With none installed it is a fatal error.
    static void ProgressShowNextStep(CSEString text);
    /// The installed manager's ProgressEndA; returns its answer. With none installed it is a fatal error.
    static unsigned char ProgressEnd();

private:
    static CSEMsgMgr* Installed();

    static CSEMsgMgr* m_pMsgMgr;
};

#endif
