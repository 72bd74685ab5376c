// MOCK_GetHostIPAddress: the argument files of the address found for a host name.
#ifndef MOCK_GETHOSTIPADDRESS_H
#define MOCK_GETHOSTIPADDRESS_H

#include "DVKUnicodeString.h"

/// Records and replays the address found for a host name ("GetHostIPAddress"): its input and output argument files.
class MOCK_GetHostIPAddress
{
public:
    /// Records the host name as "HostName". Returns 0 or E_FAIL.
    static int CaptureInputArgument(const DVKUnicodeString& file, const DVKUnicodeString& hostName);
    /// Records the dotted address (empty when the host is unknown) as "HostIP". Returns 0 or E_FAIL.
    static int CaptureOutputArgument(const DVKUnicodeString& file, const DVKUnicodeString& hostIP);
    /// The recorded address. Returns 0 or E_FAIL.
    static int RetrieveOutputArgument(const DVKUnicodeString& file, DVKUnicodeString& hostIP);
};

#endif
