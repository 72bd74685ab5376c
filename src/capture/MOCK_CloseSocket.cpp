// The argument files of the closing of the connection.
#include "MOCK_CloseSocket.h"

#include "TST_XMLServices.h"
#include "capture/MOCK_ArgumentFiles.h"

int MOCK_CloseSocket::CaptureInputArgument(const DVKUnicodeString& file)
{
    return MOCK_ArgumentFiles::Save(file, u"CloseSocketInputArgument", {});
}

int MOCK_CloseSocket::CaptureOutputArgument(const DVKUnicodeString& file)
{
    return MOCK_ArgumentFiles::Save(file, u"CloseSocketOutputArgument", {});
}

int MOCK_CloseSocket::RetrieveOutputArgument(const DVKUnicodeString& file)
{
    return MOCK_ArgumentFiles::Retrieve(file, {});
}
