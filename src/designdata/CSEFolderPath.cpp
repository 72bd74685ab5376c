// CSEFolderPath: folders and paths built from an object's folder and file name.
#include "designdata/CSEFolderPath.h"

#include "CSEUtil.h"

CSEString CSEFolderPath::WithSlash(const CSEString& folder)
{
    CSEString result = folder;
    if (result.size() != 0)
        CSEUtil::AppendSlash(result);
    return result;
}

CSEString CSEFolderPath::Join(const CSEString& folder, const CSEString& fileName)
{
    return WithSlash(folder) + fileName;
}
