// TST_ReceiveCSEString: the argument files of the text received from the service and whether it came.
#ifndef TST_RECEIVECSESTRING_H
#define TST_RECEIVECSESTRING_H

#include "CSEString.h"
#include "DVKUnicodeString.h"

/// Records and replays the text received from the service and whether it came ("ReceiveCSEString"): its input and output argument files.
class TST_ReceiveCSEString
{
public:
    /// Records the text held before the receive under "CSEString". Returns 0 or E_FAIL.
    static int CaptureInputArgument(const DVKUnicodeString& file, const CSEString& text);
    /// Records the text received (password values masked) and the result as "Cmd". Returns 0 or E_FAIL.
    static int CaptureOutputArgument(const DVKUnicodeString& file, bool received, const CSEString& text);
    /// The recorded result and text; a "Cmd" other than "TRUE" or "FALSE" is fatal. Returns 0 or E_FAIL.
    static int RetrieveOutputArgument(const DVKUnicodeString& file, bool& received, CSEString& text);
};

#endif
