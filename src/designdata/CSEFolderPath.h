// CSEFolderPath: the folder and path texts that update checks and attribute synchronisation hand to
// the host, where an empty folder means "no folder" rather than the root.
#ifndef QORVI_DESIGNDATA_CSEFOLDERPATH_H
#define QORVI_DESIGNDATA_CSEFOLDERPATH_H

#include "CSEString.h"

class CSEFolderPath
{
public:
    // The folder with a trailing "/"; an empty folder stays empty (a "/" would name the root).
    static CSEString WithSlash(const CSEString& folder);
    // folder + "/" + fileName, or the bare fileName when the folder is empty.
    static CSEString Join(const CSEString& folder, const CSEString& fileName);
};

#endif
