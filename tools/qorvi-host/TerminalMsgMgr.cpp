// The host's message catalogue is a table of (identifier, text); the texts of the library's errors
// say what the user can do about them.
#include "TerminalMsgMgr.h"

#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

const struct
{
    const char* id;
    const char* text;
} kCatalogue[] = {
    {"MSG_MSGBOXTITLE", "QorviCSECommon"},
    {"MSG_NOT_CONNECTED", "The integration service cannot be reached; is it running?"},
    {"ERR_MSG_LOCK_UNLOCK_FAILED", "These objects could not be locked or unlocked:\n"},
    {"MSG_MULTIPLE_FORMATS_FORBIDDEN",
     "'%1' has several file formats, which this site does not allow (a site that uses them sets the "
     "environment variable DV5_001=1)"},
    {"MSG_ERROR_NO_ATTACHED_FORMAT",
     "'%1' has no file, which this site does not allow (a site that allows it sets the environment "
     "variable DV5_003=1)"},
};

const char* TextOf(const std::string& id)
{
    for (const auto& entry : kCatalogue) {
        if (id == entry.id)
            return entry.text;
    }
    return nullptr;
}

std::string Utf8(const CSEString& text)
{
    return text().ToUTF8();
}

} // namespace

TerminalMsgMgr::TerminalMsgMgr() : m_progress(stderr, ::isatty(STDERR_FILENO) == 1)
{
}

CSEString TerminalMsgMgr::ReadResourceString(int id)
{
    return ReadResourceString(CSEString(std::to_string(id).c_str()));
}

CSEString TerminalMsgMgr::ReadResourceString(CSEString id)
{
    const char* text = TextOf(Utf8(id));
    return text != nullptr ? CSEString(text) : id;
}

CSEString TerminalMsgMgr::ReadResourceString(CSEString id, CSEWrapperStringVector arguments)
{
    const char* text = TextOf(Utf8(id));
    if (text == nullptr)
        return CSEString();
    std::string filled;
    for (const char* at = text; *at != '\0'; ++at) {
        const int index = at[0] == '%' && at[1] >= '1' && at[1] <= '9' ? at[1] - '1' : -1;
        if (index < 0) {
            filled += *at;
            continue;
        }
        if (index < arguments.Size())
            filled += Utf8(arguments[index]);
        ++at;
    }
    return CSEString(filled.c_str());
}

int TerminalMsgMgr::ShowMessage(CSEString message, int titleId, MessageBoxType type)
{
    return ShowMessage(message, ReadResourceString(titleId), type);
}

int TerminalMsgMgr::ShowMessage(CSEString message, CSEString title, MessageBoxType)
{
    m_progress.End(); // a message in the middle of a progress line would be lost in it
    std::fprintf(stderr, "qorvi-host: message [%s] %s\n", Utf8(ReadResourceString(title)).c_str(),
                 Utf8(message).c_str());
    return 0;
}

int TerminalMsgMgr::ShowMessageEx(CSEString message, int titleId, MessageBoxType type)
{
    return ShowMessage(message, titleId, type);
}

int TerminalMsgMgr::ShowCustomMessage(CSEString message, CSEString title, unsigned char, MessageBoxType type)
{
    return ShowMessage(message, title, type);
}

unsigned char TerminalMsgMgr::ProgressStartA(int steps)
{
    m_progress.Start(steps);
    return 1;
}

void TerminalMsgMgr::ProgressShowNextStepA(CSEString text)
{
    m_progress.Step(Utf8(text));
}

unsigned char TerminalMsgMgr::ProgressEndA()
{
    m_progress.End();
    return 1;
}
