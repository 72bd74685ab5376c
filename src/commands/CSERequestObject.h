// CSERequestObject: writes the fields of a CAD object record as the attributes of a "cadobject"
// element of a request, by tables of (XML attribute, field) pairs.
#ifndef QORVI_COMMANDS_CSEREQUESTOBJECT_H
#define QORVI_COMMANDS_CSEREQUESTOBJECT_H

#include <initializer_list>

#include "CSEObjectInfo.h"
#include "CSEString.h"

class CSEXMLPacket;

struct CSERequestObjectField
{
    const char16_t* attribute;
    CSEString CSEObjectInfo::*field;
};

class CSERequestObject
{
public:
    // Sets each field's attribute on the element id.
    static void WriteFields(CSEXMLPacket& packet, int id, const CSEObjectInfo& object,
                            std::initializer_list<CSERequestObjectField> fields);
    // The same, skipping the fields that are empty.
    static void WriteNonEmptyFields(CSEXMLPacket& packet, int id, const CSEObjectInfo& object,
                                    std::initializer_list<CSERequestObjectField> fields);
    // "dirname": the object's folder as the server expects it (CSEUtil::FormatDirNameForWKC), or
    // the folder as given when it cannot be formatted.
    static void WriteDirName(CSEXMLPacket& packet, int id, const CSEObjectInfo& object);
};

#endif
