// CSEUpdateResults: the result lists of the update checks.
#include "designdata/CSEUpdateResults.h"

#include "CSEResponse.h"
#include "CSEXMLPacket.h"
#include "designdata/CSEFolderPath.h"

void CSEUpdateResults::Append(CSEResponse* response, const char16_t* listName,
                              std::initializer_list<CSEResponseField<CSEObjectInfo>> fields, Cleaning cleaning,
                              CSEObjectInfoVector& out)
{
    CSEXMLPacket* packet = response == nullptr ? nullptr : response->GetResponsePacket();
    if (packet == nullptr)
        return;
    const CSEResponseList list(*packet, u"//response/info/" + CSEString(listName) + u"/cadobject");
    for (int index = 0; index < list.Count(); ++index) {
        CSEObjectInfo object;
        list.ReadFields(index, object, fields);
        if (cleaning == Trimmed) {
            object.fileName = object.fileName.Strip(CSEStripBoth);
            object.dirName = CSEFolderPath::WithSlash(object.dirName.Strip(CSEStripBoth));
        }
        out.push_back(object);
    }
}
