// Test helper: a host message manager that records every call it receives as one line of text.
#ifndef QORVI_TESTS_SUPPORT_MESSAGERECORDER_H
#define QORVI_TESTS_SUPPORT_MESSAGERECORDER_H

#include <string>
#include <vector>

#include "CSEMsgMgr.h"

class MessageRecorder : public CSEMsgMgr
{
public:
    CSEString ReadResourceString(int id) override
    {
        return Note("int:" + std::to_string(id), u"text of int");
    }
    CSEString ReadResourceString(CSEString id, CSEWrapperStringVector arguments) override
    {
        return Note("args:" + id().ToUTF8() + ":" + std::to_string(arguments.Size()) + ":" +
                        arguments[1]().ToUTF8(),
                    u"text with arguments");
    }
    CSEString ReadResourceString(CSEString id) override
    {
        return Note("id:" + id().ToUTF8(), u"text of id");
    }
    int ShowMessage(CSEString message, CSEString title, MessageBoxType type) override
    {
        Note("show:" + message().ToUTF8() + "|" + title().ToUTF8() + "|" + std::to_string(type));
        return 6;
    }
    int ShowCustomMessage(CSEString message, CSEString title, unsigned char flag,
                          MessageBoxType type) override
    {
        Note("custom:" + message().ToUTF8() + "|" + title().ToUTF8() + "|" + std::to_string(flag) +
             "|" + std::to_string(type));
        return 7;
    }
    unsigned char ProgressStartA(int steps) override
    {
        Note("start:" + std::to_string(steps));
        return 1;
    }
    void ProgressShowNextStepA(CSEString text) override { Note("step:" + text().ToUTF8()); }
    unsigned char ProgressEndA() override
    {
        Note("end");
        return 1;
    }

    std::vector<std::string> m_calls;

private:
    CSEString Note(const std::string& call, const char16_t* answer = u"")
    {
        m_calls.push_back(call);
        return CSEString(answer);
    }
};

#endif
