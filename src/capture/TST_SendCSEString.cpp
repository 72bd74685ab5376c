// The argument files of the text sent to the service and whether it was sent.
#include "TST_SendCSEString.h"

#include "TST_XMLServices.h"
#include "capture/MOCK_ArgumentFiles.h"

int TST_SendCSEString::CaptureInputArgument(const DVKUnicodeString& file, const CSEString& text)
{
    return MOCK_ArgumentFiles::Save(file, u"SendCSEStringCESRequest", {{u"CSEString", MOCK_ArgumentFiles::Masked(text)}});
}

int TST_SendCSEString::CaptureOutputArgument(const DVKUnicodeString& file, bool sent)
{
    return MOCK_ArgumentFiles::Save(file, u"SendCSEStringResponse", {{u"Cmd", MOCK_ArgumentFiles::Cmd(sent)}});
}

int TST_SendCSEString::RetrieveOutputArgument(const DVKUnicodeString& file, bool& sent)
{
    DVKUnicodeString cmd;
    if (MOCK_ArgumentFiles::Retrieve(file, {{u"Cmd", &cmd}}) != 0)
        return TST_XMLServices::E_FAIL;
    sent = MOCK_ArgumentFiles::ParseCmd(cmd);
    return 0;
}
