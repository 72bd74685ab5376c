// MOCK_CreateSocketActual: the argument files of the connection made to an address and port.
#ifndef MOCK_CREATESOCKETACTUAL_H
#define MOCK_CREATESOCKETACTUAL_H

#include "DVKUnicodeString.h"

/// Records and replays the connection made to an address and port ("CreateSocketActual"): its input and output argument files.
class MOCK_CreateSocketActual
{
public:
    /// Records the dotted address as "Server" and the port as "NumPort". Returns 0 or E_FAIL.
    static int CaptureInputArguments(const DVKUnicodeString& file, const DVKUnicodeString& server, int port);
    /// Records the socket handle (-1 when the connection failed) as "ReturnedValue". Returns 0 or E_FAIL.
    static int CaptureOutputArgument(const DVKUnicodeString& file, int handle);
    /// The recorded socket handle. Returns 0 or E_FAIL.
    static int RetrieveOutputArgument(const DVKUnicodeString& file, int& handle);
};

#endif
