// MOCK_StartBrowser: the argument files of the start of a browser on an address.
#ifndef MOCK_STARTBROWSER_H
#define MOCK_STARTBROWSER_H

#include "DVKUnicodeString.h"

/// Records and replays the start of a browser on an address ("StartBrowser"): its input and output argument files.
class MOCK_StartBrowser
{
public:
    /// Records the address as "URL". Returns 0 or E_FAIL.
    static int CaptureInputArgument(const DVKUnicodeString& file, const DVKUnicodeString& url);
    /// Records the result of the start as "ReturnedValue". Returns 0 or E_FAIL.
    static int CaptureOutputArgument(const DVKUnicodeString& file, int result);
    /// The recorded result. Returns 0 or E_FAIL.
    static int RetrieveOutputArgument(const DVKUnicodeString& file, int& result);
};

#endif
