// CSEMsgMgr: the silent base manager and the static operations that forward to the installed one.
#include "CSEMsgMgr.h"

#include "host/DVKFatal.h"

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
    return Installed()->ReadResourceString(id);
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
    return Installed()->ReadResourceString(id, arguments);
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
    return Installed()->ReadResourceString(id);
}

int CSEMsgMgr::ShowMsg(CSEString message, CSEString title, MessageBoxType type)
{
    return Installed()->ShowMessage(message, title, type);
}

int CSEMsgMgr::ShowCustomMsg(CSEString message, CSEString title, unsigned char flag,
                             MessageBoxType type)
{
    return Installed()->ShowCustomMessage(message, title, flag, type);
}

unsigned char CSEMsgMgr::ProgressStart(int steps)
{
    return Installed()->ProgressStartA(steps);
}

void CSEMsgMgr::ProgressShowNextStep(CSEString text)
{
    Installed()->ProgressShowNextStepA(text);
}

unsigned char CSEMsgMgr::ProgressEnd()
{
    return Installed()->ProgressEndA();
}
