// The argument files of the port read from the port file.
#include "TST_ReadPortFromFile.h"

#include "TST_XMLServices.h"
#include "capture/MOCK_ArgumentFiles.h"

int TST_ReadPortFromFile::CaptureInputArgument(const DVKUnicodeString& file)
{
    return MOCK_ArgumentFiles::Save(file, u"ReadPortFromFile", {});
}

int TST_ReadPortFromFile::CaptureOutputArgument(const DVKUnicodeString& file, int port)
{
    return MOCK_ArgumentFiles::Save(file, u"ReadPortFromFile", {{u"ReturnedValue", MOCK_ArgumentFiles::Decimal(port)}});
}

int TST_ReadPortFromFile::RetrieveOutputArgument(const DVKUnicodeString& file, int& port)
{
    return MOCK_ArgumentFiles::RetrieveInteger(file, u"ReturnedValue", port);
}
