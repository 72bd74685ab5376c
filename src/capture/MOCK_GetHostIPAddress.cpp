// The argument files of the address found for a host name.
#include "MOCK_GetHostIPAddress.h"

#include "TST_XMLServices.h"
#include "capture/MOCK_ArgumentFiles.h"

int MOCK_GetHostIPAddress::CaptureInputArgument(const DVKUnicodeString& file, const DVKUnicodeString& hostName)
{
    return MOCK_ArgumentFiles::Save(file, u"GetHostIPAddressInputArgument", {{u"HostName", hostName}});
}

int MOCK_GetHostIPAddress::CaptureOutputArgument(const DVKUnicodeString& file, const DVKUnicodeString& hostIP)
{
    return MOCK_ArgumentFiles::Save(file, u"GetHostIPAddressOutputArgument", {{u"HostIP", hostIP}});
}

int MOCK_GetHostIPAddress::RetrieveOutputArgument(const DVKUnicodeString& file, DVKUnicodeString& hostIP)
{
    return MOCK_ArgumentFiles::Retrieve(file, {{u"HostIP", &hostIP}});
}
