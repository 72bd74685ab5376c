// Writing CAD object records into "cadobject" elements of requests.
#include "commands/CSERequestObject.h"

#include "CSEUtil.h"
#include "CSEXMLPacket.h"

void CSERequestObject::WriteFields(CSEXMLPacket& packet, int id, const CSEObjectInfo& object,
                                   std::initializer_list<CSERequestObjectField> fields)
{
    for (const CSERequestObjectField& entry : fields)
        packet.createProperty(id, CSEString(entry.attribute), object.*entry.field);
}

void CSERequestObject::WriteNonEmptyFields(CSEXMLPacket& packet, int id, const CSEObjectInfo& object,
                                           std::initializer_list<CSERequestObjectField> fields)
{
    for (const CSERequestObjectField& entry : fields) {
        if ((object.*entry.field).size() != 0)
            packet.createProperty(id, CSEString(entry.attribute), object.*entry.field);
    }
}

void CSERequestObject::WriteDirName(CSEXMLPacket& packet, int id, const CSEObjectInfo& object)
{
    CSEString folder;
    // An empty folder cannot be resolved; it is sent as it stands rather than lost.
    if (CSEUtil::FormatDirNameForWKC(object, folder) != 0)
        folder = object.dirName;
    packet.createProperty(id, CSEString(u"dirname"), folder);
}
