// The argument files of the text received from the service and whether it came.
#include "TST_ReceiveCSEString.h"

#include "TST_XMLServices.h"
#include "capture/MOCK_ArgumentFiles.h"

int TST_ReceiveCSEString::CaptureInputArgument(const DVKUnicodeString& file, const CSEString& text)
{
    return MOCK_ArgumentFiles::Save(file, u"ReceiveCSEStringCESRequest", {{u"CSEString", MOCK_ArgumentFiles::Masked(text)}});
}

int TST_ReceiveCSEString::CaptureOutputArgument(const DVKUnicodeString& file, bool received, const CSEString& text)
{
    return MOCK_ArgumentFiles::Save(file, u"ReceiveCSEStringResponse",
                                    {{u"CSEString", MOCK_ArgumentFiles::Masked(text)}, {u"Cmd", MOCK_ArgumentFiles::Cmd(received)}});
}

int TST_ReceiveCSEString::RetrieveOutputArgument(const DVKUnicodeString& file, bool& received, CSEString& text)
{
    DVKUnicodeString cmd;
    DVKUnicodeString recorded;
    if (MOCK_ArgumentFiles::Retrieve(file, {{u"Cmd", &cmd}, {u"CSEString", &recorded}}) != 0)
        return TST_XMLServices::E_FAIL;
    received = MOCK_ArgumentFiles::ParseCmd(cmd);
    text = CSEString(recorded);
    return 0;
}
