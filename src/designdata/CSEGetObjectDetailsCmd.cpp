// CSEGetObjectDetailsCmd: the "cadobjdetails" request and the object records of its response.
#include "CSEGetObjectDetailsCmd.h"

#include "CSELogger.h"
#include "CSEResponse.h"
#include "CSEUtil.h"
#include "CSEXMLPacket.h"
#include "commands/CSERequestObject.h"
#include "designdata/CSEResponseList.h"

namespace {

using Field = CSEResponseField<CSEObjectInfo>;

const char16_t kCommandName[] = u"cadobjdetails";
// Anchored at the root: a "//" search would walk the whole request for every object added.
const char16_t kRequestListPath[] = u"/command/cadobjectlist";
const char16_t kResponseObjectsPath[] = u"/response/info/cadobjectlist/cadobject";

const Field kObjectFields[] = {
    {u"cadid", &CSEObjectInfo::cadId},
    {u"name", &CSEObjectInfo::name},
    {u"filename", &CSEObjectInfo::fileName},
    {u"familyname", &CSEObjectInfo::familyName},
    {u"renamedfrom", &CSEObjectInfo::renamedFrom},
    {u"dirname", &CSEObjectInfo::dirName},
    {u"load", &CSEObjectInfo::load},
    {u"selected", &CSEObjectInfo::selected},
    {u"type", &CSEObjectInfo::type},
    {u"status", &CSEObjectInfo::designStatus},
    {u"islocked", &CSEObjectInfo::isLocked},
    {u"checkinaccess", &CSEObjectInfo::checkinAccess},
    {u"filenamewithpath", &CSEObjectInfo::fullFileName},
    {u"busrevision", &CSEObjectInfo::detailBusRevision},
    {u"busname", &CSEObjectInfo::detailBusName},
    {u"bustype", &CSEObjectInfo::detailBusType},
    {u"qxversion", &CSEObjectInfo::busRevision},
};

} // namespace

CSEGetObjectDetailsCmd::CSEGetObjectDetailsCmd()
{
    ConstructCommand(CSEString(u"[CSEGetObjectDetailsCmd::CSEGetObjectDetailsCmd()]"), CSEString(kCommandName));
}

CSEGetObjectDetailsCmd::CSEGetObjectDetailsCmd(const CSEGetObjectDetailsCmd& other) = default;
CSEGetObjectDetailsCmd& CSEGetObjectDetailsCmd::operator=(const CSEGetObjectDetailsCmd& other) = default;
CSEGetObjectDetailsCmd::~CSEGetObjectDetailsCmd() = default;

int CSEGetObjectDetailsCmd::CreateNewCadObjDetailsCmd()
{
    if (m_pCmdXMLPacket == nullptr)
        return -1;
    if (m_pCmdXMLPacket->loadXMLinMemory(CSEUtil::CSEGetCmdHeaderString(CSEString(kCommandName), false)) != 0) {
        CSELogger::LogMsg(3, CSEString(u"[CSEGetObjectDetailsCmd::CreateNewCadObjDetailsCmd] The command header "
                                       u"could not be loaded"));
        return -1;
    }
    const int id = AddObjectListNodeInObjectDetailsCmd();
    return id < 0 ? -1 : id;
}

int CSEGetObjectDetailsCmd::AddObjectListNodeInObjectDetailsCmd()
{
    if (m_pCmdXMLPacket == nullptr)
        return -1;
    CSEString name;
    m_pCmdXMLPacket->getAttributeValue(CSEString(u"//command"), CSEString(u"cname"), name);
    if (name != kCommandName)
        return -1;
    return m_pCmdXMLPacket->createChildNode(CSEString(u"//command"), CSEString(u"cadobjectlist"), CSEString(), 1);
}

int CSEGetObjectDetailsCmd::AddObjectToCmdPacket(CSEObjectInfo& obj, int flag)
{
    if (m_pCmdXMLPacket == nullptr)
        return -1;
    const int id =
        m_pCmdXMLPacket->createChildNode(CSEString(kRequestListPath), CSEString(u"cadobject"), CSEString(), 1);
    if (id < 0)
        return id;
    if (flag == 0)
        m_pCmdXMLPacket->createProperty(id, CSEString(u"selectable"), CSEString(u"true"));
    CSERequestObject::WriteFields(*m_pCmdXMLPacket, id, obj, {{u"cadid", &CSEObjectInfo::cadId}});
    CSERequestObject::WriteDirName(*m_pCmdXMLPacket, id, obj);
    CSERequestObject::WriteFields(*m_pCmdXMLPacket, id, obj,
                                  {{u"type", &CSEObjectInfo::type},
                                   {u"filename", &CSEObjectInfo::fileName},
                                   {u"name", &CSEObjectInfo::name}});
    return id;
}

void CSEGetObjectDetailsCmd::getObjectInfoList(CSEObjectInfoVector& out)
{
    CSEXMLPacket* packet = m_pResponse == nullptr ? nullptr : m_pResponse->GetResponsePacket();
    if (packet == nullptr)
        return;
    CSEString version;
    packet->getAttributeValue(CSEString(u"/response"), CSEString(u"ver"), version);
    const CSEString lockerAttribute =
        CSEUtil::IsVersionEqualOrLater(version, CSEString(u"2010"), -1) ? u"lockedby" : u"locker";
    const CSEResponseList objects(*packet, CSEString(kResponseObjectsPath));
    for (int index = 0; index < objects.Count(); ++index) {
        CSEObjectInfo object;
        objects.ReadFields(index, object, kObjectFields);
        object.locker = objects.Attribute(index, lockerAttribute);
        out.push_back(object);
    }
}
