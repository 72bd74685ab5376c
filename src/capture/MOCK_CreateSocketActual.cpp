// The argument files of the connection made to an address and port.
#include "MOCK_CreateSocketActual.h"

#include "TST_XMLServices.h"
#include "capture/MOCK_ArgumentFiles.h"

int MOCK_CreateSocketActual::CaptureInputArguments(const DVKUnicodeString& file, const DVKUnicodeString& server, int port)
{
    return MOCK_ArgumentFiles::Save(file, u"CreateSocketActualInputArgument",
                                    {{u"Server", server}, {u"NumPort", MOCK_ArgumentFiles::Decimal(port)}});
}

int MOCK_CreateSocketActual::CaptureOutputArgument(const DVKUnicodeString& file, int handle)
{
    return MOCK_ArgumentFiles::Save(file, u"CreateSocketActualOutputArgument",
                                    {{u"ReturnedValue", MOCK_ArgumentFiles::Decimal(handle)}});
}

int MOCK_CreateSocketActual::RetrieveOutputArgument(const DVKUnicodeString& file, int& handle)
{
    return MOCK_ArgumentFiles::RetrieveInteger(file, u"ReturnedValue", handle);
}
