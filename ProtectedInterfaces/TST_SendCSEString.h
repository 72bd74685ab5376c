// TST_SendCSEString: the argument files of the text sent to the service and whether it was sent.
#ifndef TST_SENDCSESTRING_H
#define TST_SENDCSESTRING_H

#include "CSEString.h"
#include "DVKUnicodeString.h"

/// Records and replays the text sent to the service and whether it was sent ("SendCSEString"): its input and output argument files.
class TST_SendCSEString
{
public:
    /// Records the text sent (password values masked) under "CSEString". Returns 0 or E_FAIL.
    static int CaptureInputArgument(const DVKUnicodeString& file, const CSEString& text);
    /// Records the result as "Cmd" ("TRUE" or "FALSE"). Returns 0 or E_FAIL.
    static int CaptureOutputArgument(const DVKUnicodeString& file, bool sent);
    /// The recorded result; a "Cmd" other than "TRUE" or "FALSE" is fatal. Returns 0 or E_FAIL.
    static int RetrieveOutputArgument(const DVKUnicodeString& file, bool& sent);
};

#endif
