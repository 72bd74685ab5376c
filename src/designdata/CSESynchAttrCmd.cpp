// CSESynchAttrCmd: objects of the "attributesynch" request and of its response.
#include "CSESynchAttrCmd.h"

#include "CSEResponse.h"
#include "CSEXMLPacket.h"
#include "commands/CSERequestObject.h"
#include "designdata/CSEFolderPath.h"
#include "designdata/CSEResponseList.h"

namespace {

using Field = CSEResponseField<CSEObjectInfo>;

// Anchored at the root: a "//" search would walk the whole request for every object added.
const char16_t kRequestListPath[] = u"/command/cadobjectlist";
const char16_t kResponseObjectsPath[] = u"//response/info/cadobjectlist/cadobject";

const Field kObjectFields[] = {
    {u"name", &CSEObjectInfo::name},         {u"type", &CSEObjectInfo::type},
    {u"selectable", &CSEObjectInfo::selected}, {u"cadid", &CSEObjectInfo::cadId},
    {u"filename", &CSEObjectInfo::fileName}, {u"success", &CSEObjectInfo::success},
};

} // namespace

CSESynchAttrCmd::CSESynchAttrCmd() = default;
CSESynchAttrCmd::CSESynchAttrCmd(const CSESynchAttrCmd& other) = default;
CSESynchAttrCmd& CSESynchAttrCmd::operator=(const CSESynchAttrCmd& other) = default;
CSESynchAttrCmd::~CSESynchAttrCmd() = default;

CSESynchAttrCmd::CSESynchAttrCmd(const CSEString& direction)
{
    if (!ConstructCommand(CSEString(u"[CSESynchAttrCmd::CSESynchAttrCmd()]"), CSEString(u"attributesynch")))
        return;
    m_pCmdXMLPacket->createProperty(CSEString(u"//command"), CSEString(u"direction"), direction, 0);
    m_pCmdXMLPacket->createChildNode(CSEString(u"//command"), CSEString(u"cadobjectlist"), CSEString(), 1);
}

int CSESynchAttrCmd::AddObjectToRequest(const CSEObjectInfo& obj)
{
    return AddObject(obj, true);
}

int CSESynchAttrCmd::AddAtributesToRequest(const CSEObjectInfo&)
{
    return 0;
}

void CSESynchAttrCmd::GetObjectInfoListFromResponse(CSEObjectInfoVector& out)
{
    ReadObjects(out, true);
}

int CSESynchAttrCmd::IsObjectAdded(const CSEString& path)
{
    return m_pCmdXMLPacket == nullptr ? -1 : m_pCmdXMLPacket->getUniqueIdOfNode(path);
}

int CSESynchAttrCmd::AddObject(const CSEObjectInfo& obj, bool busFields)
{
    if (m_pCmdXMLPacket == nullptr)
        return -1;
    const int id =
        m_pCmdXMLPacket->createChildNode(CSEString(kRequestListPath), CSEString(u"cadobject"), CSEString(), 1);
    if (id < 0)
        return id;
    CSERequestObject::WriteFields(*m_pCmdXMLPacket, id, obj, {{u"name", &CSEObjectInfo::name}});
    CSERequestObject::WriteDirName(*m_pCmdXMLPacket, id, obj);
    CSERequestObject::WriteFields(*m_pCmdXMLPacket, id, obj,
                                  {{u"filename", &CSEObjectInfo::fileName},
                                   {u"type", &CSEObjectInfo::type},
                                   {u"cadid", &CSEObjectInfo::cadId},
                                   {u"selectable", &CSEObjectInfo::selectable}});
    if (busFields)
        CSERequestObject::WriteNonEmptyFields(*m_pCmdXMLPacket, id, obj,
                                              {{u"bustype", &CSEObjectInfo::busType},
                                               {u"busname", &CSEObjectInfo::busName},
                                               {u"busrevision", &CSEObjectInfo::busRevision}});
    return id;
}

void CSESynchAttrCmd::AddAttributes(int id, const CSEObjectInfo& obj)
{
    for (int i = 0; i < obj.attributes.size(); ++i)
        m_pCmdXMLPacket->createAttributeNVPair(id, obj.attributes[i].name, obj.attributes[i].value);
}

void CSESynchAttrCmd::ReadObjects(CSEObjectInfoVector& out, bool cleanFolders)
{
    CSEXMLPacket* packet = m_pResponse == nullptr ? nullptr : m_pResponse->GetResponsePacket();
    if (packet == nullptr)
        return;
    const CSEResponseList objects(*packet, CSEString(kResponseObjectsPath));
    for (int index = 0; index < objects.Count(); ++index) {
        CSEObjectInfo object;
        objects.ReadFields(index, object, kObjectFields);
        object.dirName = objects.Attribute(index, CSEString(u"dirname"));
        if (cleanFolders) {
            if (object.dirName.size() == 0)
                object.dirName = objects.Attribute(index, CSEString(u"dirName"));
            object.dirName = CSEFolderPath::WithSlash(object.dirName);
        }
        const CSEString modified = objects.Attribute(index, CSEString(u"modified"));
        if (modified.size() != 0)
            object.modified = modified;
        packet->getNodeValue(objects.PathOf(index) + u"/message", object.message);
        for (const CSEAttribute& pair : objects.Pairs(index))
            object.attributes.push_back(pair);
        out.push_back(object);
    }
}
