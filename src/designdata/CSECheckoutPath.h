// CSECheckoutPath: joins a folder and a file name of a checkout response into the path where the
// host places the file, refusing names that would put it anywhere else.
#ifndef QORVI_DESIGNDATA_CSECHECKOUTPATH_H
#define QORVI_DESIGNDATA_CSECHECKOUTPATH_H

#include "CSEString.h"

// The service names each file by a folder and a bare file name. A file name is safe when it is not
// empty, not "." or "..", and holds no "/", "\" or NUL: it stays in its folder. A folder is safe when
// it is empty or absolute ("/...") and has no "." or ".." step and no NUL: it is where it says.
class CSECheckoutPath
{
public:
    static bool IsSafeFileName(const CSEString& fileName);
    static bool IsSafeFolder(const CSEString& folder);
    // Each name of a "|"-separated list of file names (one per format) is safe.
    static bool AreSafeFileNames(const CSEString& fileNames);

    // path = folder + "/" + fileName, or fileName alone for an empty folder. False, with path empty
    // and a log line naming the object, when either is not safe.
    static bool Join(const CSEString& folder, const CSEString& fileName, const CSEString& cadId, CSEString& path);
    // "name.extension", or name alone when the extension is empty.
    static CSEString WithExtension(const CSEString& name, const CSEString& extension);
};

#endif
