// The argument files of the start of a browser on an address.
#include "MOCK_StartBrowser.h"

#include "TST_XMLServices.h"
#include "capture/MOCK_ArgumentFiles.h"

int MOCK_StartBrowser::CaptureInputArgument(const DVKUnicodeString& file, const DVKUnicodeString& url)
{
    return MOCK_ArgumentFiles::Save(file, u"StartBrowserInputArgument", {{u"URL", url}});
}

int MOCK_StartBrowser::CaptureOutputArgument(const DVKUnicodeString& file, int result)
{
    return MOCK_ArgumentFiles::Save(file, u"StartBrowserOutputArgument", {{u"ReturnedValue", MOCK_ArgumentFiles::Decimal(result)}});
}

int MOCK_StartBrowser::RetrieveOutputArgument(const DVKUnicodeString& file, int& result)
{
    return MOCK_ArgumentFiles::RetrieveInteger(file, u"ReturnedValue", result);
}
