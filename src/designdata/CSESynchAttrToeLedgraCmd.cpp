// CSESynchAttrToeLedgraCmd: "attributesynch" from the CAD side to the server, objects with their
// attributes.
#include "CSESynchAttrToeLedgraCmd.h"

#include "CSEXMLPacket.h"

CSESynchAttrToeLedgraCmd::CSESynchAttrToeLedgraCmd() : CSESynchAttrCmd(CSEString(u"cad-to-ledgra")) {}
CSESynchAttrToeLedgraCmd::CSESynchAttrToeLedgraCmd(const CSESynchAttrToeLedgraCmd& other) = default;
CSESynchAttrToeLedgraCmd& CSESynchAttrToeLedgraCmd::operator=(const CSESynchAttrToeLedgraCmd& other) = default;
CSESynchAttrToeLedgraCmd::~CSESynchAttrToeLedgraCmd() = default;

int CSESynchAttrToeLedgraCmd::AddObjectToRequest(const CSEObjectInfo& obj)
{
    const int id = AddObject(obj, true);
    if (id >= 0)
        AddAttributes(id, obj);
    return id;
}

int CSESynchAttrToeLedgraCmd::AddAtributesToRequest(const CSEObjectInfo& obj)
{
    if (m_pCmdXMLPacket == nullptr)
        return 0;
    const CSEString path =
        u"/response/cadobjectlist/cadobject[@cadid=" + CSEXMLPacket::MakeXPathLiteral(obj.cadId) + u"]";
    for (int i = 0; i < obj.attributes.size(); ++i)
        m_pCmdXMLPacket->createAttributeNVPair(path, obj.attributes[i].name, obj.attributes[i].value);
    return 0;
}

void CSESynchAttrToeLedgraCmd::GetObjectInfoListFromResponse(CSEObjectInfoVector& out)
{
    ReadObjects(out, false);
}

void CSESynchAttrToeLedgraCmd::AddObjectInfoListToRequest(const CSEObjectInfoVector& objects)
{
    for (int i = 0; i < objects.size(); ++i) {
        const int id = AddObject(objects[i], false);
        if (id >= 0)
            AddAttributes(id, objects[i]);
    }
}
