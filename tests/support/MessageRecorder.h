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
    int ShowMessage(CSEString message, CSEString title, MessageBoxType type) override
    {
        Note("show:" + U8(message) + "|" + U8(title) + "|" + std::to_string(type));
        return 6;
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
