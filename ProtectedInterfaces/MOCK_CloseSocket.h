// MOCK_CloseSocket: the argument files of the closing of the connection.
#ifndef MOCK_CLOSESOCKET_H
#define MOCK_CLOSESOCKET_H

#include "DVKUnicodeString.h"

/// Records and replays the closing of the connection ("CloseSocket"): its input and output argument files.
class MOCK_CloseSocket
{
public:
    /// Records the (argument-less) call. Returns 0 or E_FAIL.
    static int CaptureInputArgument(const DVKUnicodeString& file);
    /// Records that the call returned. Returns 0 or E_FAIL.
    static int CaptureOutputArgument(const DVKUnicodeString& file);
    /// Loads the recorded file, which must have a root. Returns 0 or E_FAIL.
    static int RetrieveOutputArgument(const DVKUnicodeString& file);
};

#endif
