// Test helper: a host message manager that records every call it receives as one line of text.
#ifndef QORVI_TESTS_SUPPORT_MESSAGERECORDER_H
#define QORVI_TESTS_SUPPORT_MESSAGERECORDER_H

#include <string>
#include <vector>

#include "CSEMsgMgr.h"

class MessageRecorder : public CSEMsgMgr
{
public:
    CSEString ReadResourceString(CSEString id) override { return Note("id:" + U8(id), u"text of id"); }
    CSEString ReadResourceString(CSEString id, CSEWrapperStringVector arguments) override
    {
        return Note("args:" + U8(id) + ":" + std::to_string(arguments.Size()) + ":" + U8(arguments[1]),
                    u"text with arguments");
    }
    int ShowMessage(CSEString message, CSEString title, MessageBoxType type) override
    {
        Note("show:" + U8(message) + "|" + U8(title) + "|" + std::to_string(type));
        return 6;
    }
    int ShowCustomMessage(CSEString message, CSEString title, unsigned char flag, MessageBoxType type) override
    {
        Note("custom:" + U8(message) + "|" + U8(title) + "|" + std::to_string(flag) + "|" + std::to_string(type));
        return 7;
    }
    unsigned char ProgressStartA(int steps) override { Note("start:" + std::to_string(steps)); return 1; }
    void ProgressShowNextStepA(CSEString text) override { Note("step:" + U8(text)); }
    unsigned char ProgressEndA() override { Note("end"); return 1; }

    std::vector<std::string> m_calls;

private:
    static std::string U8(const CSEString& text) { return text().ToUTF8(); }
    CSEString Note(const std::string& call, const char16_t* answer = u"")
    {
        m_calls.push_back(call);
        return CSEString(answer);
    }
};

#endif
