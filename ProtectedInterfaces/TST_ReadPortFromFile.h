// TST_ReadPortFromFile: the argument files of the port read from the port file.
#ifndef TST_READPORTFROMFILE_H
#define TST_READPORTFROMFILE_H

#include "DVKUnicodeString.h"

/// Records and replays the port read from the port file ("ReadSocketPortFromFile"): its input and output argument files.
class TST_ReadPortFromFile
{
public:
    /// Records the (argument-less) call. Returns 0 or E_FAIL.
    static int CaptureInputArgument(const DVKUnicodeString& file);
    /// Records the port (-1 when none was found) as "ReturnedValue". Returns 0 or E_FAIL.
    static int CaptureOutputArgument(const DVKUnicodeString& file, int port);
    /// The recorded port. Returns 0 or E_FAIL.
    static int RetrieveOutputArgument(const DVKUnicodeString& file, int& port);
};

#endif
