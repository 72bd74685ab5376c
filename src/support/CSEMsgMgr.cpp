// CSEMsgMgr: the silent base manager and the static operations that forward to the installed one.
#include "CSEMsgMgr.h"

#include "CSELogger.h"
#include "connection/CSECaughtException.h"
#include "host/DVKFatal.h"

namespace {

// Runs one call into the host's message manager. A host that throws from a message box or a
// progress step must not take the command (or a destructor) down with it: the failure is logged
// and the call answers as the silent manager would.
template <typename Result, typename Call>
Result GuardedHostCall(CSEMsgMgr* manager, const char16_t* operation, Call call)
{
    try {
        return call(manager);
    } catch (...) {
        try {
            CSELogger::LogMsg(3, CSEString(u"[CSEMsgMgr::") + operation
                                     + u"] The message manager failed: "
                                     + DescribeCaughtException() + u".");
        } catch (...) {
            // Nothing more can be done for a failure while reporting a failure.
        }
        return Result();
    }
}

} // namespace

CSEMsgMgr* CSEMsgMgr::m_pMsgMgr = nullptr;

CSEString CSEMsgMgr::ReadResourceString(int)
{
    return CSEString();
}

CSEString CSEMsgMgr::ReadResourceString(CSEString, CSEWrapperStringVector)
{
    return CSEString();
}

CSEString CSEMsgMgr::ReadResourceString(CSEString)
{
    return CSEString();
}

int CSEMsgMgr::ShowMessage(CSEString, int, MessageBoxType)
{
    return 0;
}

int CSEMsgMgr::ShowMessage(CSEString, CSEString, MessageBoxType)
{
    return 0;
}

int CSEMsgMgr::ShowMessageEx(CSEString, int, MessageBoxType)
{
    return 0;
}

int CSEMsgMgr::ShowCustomMessage(CSEString, CSEString, unsigned char, MessageBoxType)
{
    return 0;
}

unsigned char CSEMsgMgr::ProgressStartA(int)
{
    return 0;
}

void CSEMsgMgr::ProgressShowNextStepA(CSEString)
{
}

unsigned char CSEMsgMgr::ProgressEndA()
{
    return 0;
}

void CSEMsgMgr::SetMsgMgr(CSEMsgMgr* pMsgMgr)
{
    if (pMsgMgr == nullptr)
        DVKFatalError("pMsgMgr != NULL");
    m_pMsgMgr = pMsgMgr;
}

CSEMsgMgr* CSEMsgMgr::Installed()
{
    if (m_pMsgMgr == nullptr)
        DVKFatalError("m_pMsgMgr != NULL");
    return m_pMsgMgr;
}

CSEString CSEMsgMgr::GetMsg(CSEString id)
{
    return GuardedHostCall<CSEString>(Installed(), u"GetMsg",
                                      [&](CSEMsgMgr* m) { return m->ReadResourceString(id); });
}

CSEString CSEMsgMgr::GetMsgOrId(CSEString id)
{
    if (m_pMsgMgr == nullptr)
        return id;
    try {
        CSEString text = GetMsg(id);
        if (!text().IsEmpty())
            return text;
    } catch (...) {
        // The host's catalogue failed; the identifier still names the error.
    }
    return id;
}

CSEString CSEMsgMgr::GetMsg(CSEString id, CSEWrapperStringVector arguments)
{
    return GuardedHostCall<CSEString>(Installed(), u"GetMsg", [&](CSEMsgMgr* m) { return m->ReadResourceString(id, arguments); });
}

CSEString CSEMsgMgr::GetMsgOrId(CSEString id, CSEWrapperStringVector arguments)
{
    if (m_pMsgMgr != nullptr) {
        try {
            CSEString text = GetMsg(id, arguments);
            if (!text().IsEmpty())
                return text;
        } catch (...) {
            // The host's catalogue failed; the identifier and its arguments still name the error.
        }
    }
    for (int i = 0; i < arguments.Size(); ++i)
        id += (i == 0 ? u": " : u", ") + arguments[i];
    return id;
}

CSEString CSEMsgMgr::GetMsg(int id)
{
    return GuardedHostCall<CSEString>(Installed(), u"GetMsg",
                                      [&](CSEMsgMgr* m) { return m->ReadResourceString(id); });
}

int CSEMsgMgr::ShowMsg(CSEString message, CSEString title, MessageBoxType type)
{
    return GuardedHostCall<int>(Installed(), u"ShowMsg", [&](CSEMsgMgr* m) { return m->ShowMessage(message, title, type); });
}

int CSEMsgMgr::ShowCustomMsg(CSEString message, CSEString title, unsigned char flag,
                             MessageBoxType type)
{
    return GuardedHostCall<int>(Installed(), u"ShowCustomMsg", [&](CSEMsgMgr* m) {
        return m->ShowCustomMessage(message, title, flag, type);
    });
}

unsigned char CSEMsgMgr::ProgressStart(int steps)
{
    return GuardedHostCall<unsigned char>(Installed(), u"ProgressStart",
                                          [&](CSEMsgMgr* m) { return m->ProgressStartA(steps); });
}

void CSEMsgMgr::ProgressShowNextStep(CSEString text)
{
    GuardedHostCall<int>(Installed(), u"ProgressShowNextStep", [&](CSEMsgMgr* m) {
        m->ProgressShowNextStepA(text);
        return 0;
    });
}

unsigned char CSEMsgMgr::ProgressEnd()
{
    return GuardedHostCall<unsigned char>(Installed(), u"ProgressEnd",
                                          [](CSEMsgMgr* m) { return m->ProgressEndA(); });
}
