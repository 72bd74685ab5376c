// DVKDCICheckinExCmd: the extended check-in request (fresh requests, attributes, selection, options
// and final corrections), its objects read back, and the objects of the server's answer.
#include "DVKDCICheckinExCmd.h"

#include <string>
#include <unordered_set>
#include <vector>

#include "CSEException.h"
#include "CSEIntegrationAgent.h"
#include "CSELogger.h"
#include "CSEProductStructureCreator.h"
#include "CSEServerSettings.h"
#include "CSEUtil.h"
#include "CSEXMLPacket.h"
#include "designdata/CSECheckinObjectFields.h"
#include "designdata/CSEResponseList.h"

namespace {

const char16_t kWhere[] = u"[DVKDCICheckinExCmd::";
const char16_t kEntries[] = u"//command/cadobjectlist/cadobject";
const char16_t kAnswerObjects[] = u"/response/info/cadobjectlist/cadobject";
const char16_t kFalse[] = u"false";

const CSEResponseField<CSEObjectInfo> kRequestFields[] = {
    {u"filename", &CSEObjectInfo::fileName}, {u"cadid", &CSEObjectInfo::cadId},
    {u"name", &CSEObjectInfo::name},         {u"dirname", &CSEObjectInfo::dirName},
    {u"type", &CSEObjectInfo::type},         {u"lock", &CSEObjectInfo::lock},
    {u"modified", &CSEObjectInfo::modified},
};

// Stripped before sending from every entry that is not a derived output.
const char16_t* const kRequestOnlyAttributes[] = {u"modified", u"uid", u"selectable"};

void SilentDebug(const CSEString& operation, const char16_t* text)
{
    CSELogger::LogSilentDebugMsg(CSEString(kWhere) + operation + u"()] " + text);
}

// Entry i of the list: through its identifier while it has one (no search of the document), else
// by its position.
CSEString EntryAt(CSEXMLPacket& packet, const CSEResponseList& entries, int index)
{
    const CSEString id = entries.Attribute(index, u"iGSSLID");
    if (id.size() != 0)
        return packet.getNodePathFromUniqueId(CSEUtil::getIntFromCSEString(id));
    return entries.PathOf(index);
}

} // namespace

DVKDCICheckinExCmd::DVKDCICheckinExCmd()
    : CSECheckinCmd(0), m_deleteFiles(kFalse), m_retainLock(kFalse), m_createVersion(kFalse),
      m_overwriteObject(kFalse)
{
    if (ConstructCommand(u"[DVKDCICheckinExCmd::DVKDCICheckinExCmd()]", u"checkinEx"))
        m_pStructureCreator = new CSEProductStructureCreator(m_pCmdXMLPacket, 1);
}

DVKDCICheckinExCmd::~DVKDCICheckinExCmd()
{
    CSELogger::LogSilentDebugMsg(u"[DVKDCICheckinExCmd::~DVKDCICheckinExCmd()] Destructor.");
    // Release nulls the pointer, so the check-in destructor finds nothing left to delete.
    CSEProductStructureCreator::Release(m_pStructureCreator);
}

bool DVKDCICheckinExCmd::HasPacket(const char16_t* operation)
{
    if (m_pCmdXMLPacket != nullptr)
        return true;
    SilentDebug(operation, u"m_pCmdXMLPacket == NULL.");
    return false;
}

CSEString DVKDCICheckinExCmd::EntryPath(const CSEString& cadId)
{
    const CSEString known = ObjectListEntryPath(cadId);
    if (known.size() != 0)
        return known;
    return u"//command/cadobjectlist/cadobject[@cadid=" + CSEXMLPacket::MakeXPathLiteral(cadId) + u"]";
}

int DVKDCICheckinExCmd::CreateNewCheckinExCmd()
{
    if (!HasPacket(u"CreateNewCheckinExCmd"))
        return -1;
    if (m_pStructureCreator == nullptr) {
        SilentDebug(u"CreateNewCheckinExCmd", u"m_pStructureCreator == NULL.");
        return -1;
    }
    CSEString header;
    try {
        header = CSEUtil::CSEGetCmdHeaderString(u"checkinEx", false);
    } catch (const CSEException&) {
        header.clear();
    }
    if (header.size() == 0 || m_pCmdXMLPacket->loadXMLinMemory(header) != 0) {
        SilentDebug(u"CreateNewCheckinExCmd", u"The request envelope could not be written.");
        return -1;
    }
    // Nothing of the previous request may survive: a sub-assembly expanded there is expanded again.
    StartNewRequest();
    ClearObjectList();
    m_pStructureCreator->SetXMLDoc(m_pCmdXMLPacket);
    try {
        m_pStructureCreator->Create();
    } catch (const CSEException&) {
        SilentDebug(u"CreateNewCheckinExCmd", u"The structure sections could not be written.");
        return -1;
    }
    return 0;
}

int DVKDCICheckinExCmd::AddAtributesToRequest(const CSEObjectInfo& object)
{
    CSELogger::LogMsg(5, u"[DVKDCICheckinExCmdProcessor::AddAtributesToRequest()] Entering.");
    if (!HasPacket(u"AddAtributesToRequest"))
        return -1;
    const int id = m_pStructureCreator == nullptr ? -1 : m_pStructureCreator->FindObjectListEntry(object.fileName);
    const CSEString entry = id >= 1 ? m_pCmdXMLPacket->getNodePathFromUniqueId(id)
                                    : u"//command/cadobjectlist/cadobject[@filename=" +
                                          CSEXMLPacket::MakeXPathLiteral(object.fileName) + u"]";
    const CSEString pairs = entry + u"/attribute";
    const int count = m_pCmdXMLPacket->getNodeCount(pairs);
    std::unordered_set<std::u16string> present;
    for (int i = 0; i < count; ++i) {
        CSEString name, value;
        m_pCmdXMLPacket->getNamedNVPair(pairs, i, name, value);
        present.insert(name().Text());
    }
    for (int i = 0; i < object.attributes.size(); ++i) {
        const CSEAttribute& attribute = object.attributes[i];
        if (present.count(attribute.GetName()().Text()) == 0)
            m_pCmdXMLPacket->createAttributeNVPair(entry, attribute.GetName(), attribute.GetValue());
    }
    CSELogger::LogMsg(5, u"[DVKDCICheckinExCmdProcessor::AddAtributesToRequest()] Exiting.");
    return 0;
}

int DVKDCICheckinExCmd::SetSelectable(CSEString& cadId, unsigned char selected)
{
    SilentDebug(u"SetSelectable", u"Entering.");
    if (!HasPacket(u"SetSelectable"))
        return -1;
    const CSEString entry = EntryPath(cadId);
    m_pCmdXMLPacket->removeAttribute(entry, u"selected");
    const int result = m_pCmdXMLPacket->createProperty(entry, u"selected", selected ? u"true" : u"false", 0);
    SilentDebug(u"SetSelectable", u"Exiting.");
    return result;
}

int DVKDCICheckinExCmd::CheckIfQxTypeEntryIsValid(CSEString& cadId, int& valid)
{
    valid = 0;
    if (!HasPacket(u"CheckIfQxTypeEntryIsValid"))
        return -1;
    const CSEString entry = EntryPath(cadId);
    CSEString qxType;
    m_pCmdXMLPacket->getAttributeValue(entry, u"qx_type", qxType);
    // An empty server type must not be sent.
    if (qxType.size() == 0)
        m_pCmdXMLPacket->removeAttribute(entry, u"qx_type");
    else
        valid = 1;
    SilentDebug(u"CheckIfQxTypeEntryIsValid", u"Exiting.");
    return 0;
}

int DVKDCICheckinExCmd::GetUIDOfFileFromCheckinxRequest(CSEString& cadId, CSEString& uid)
{
    SilentDebug(u"GetUIDOfFileFromCheckinxRequest", u"Entering.");
    if (!HasPacket(u"SetSelectable"))
        return -1;
    const int result = m_pCmdXMLPacket->getAttributeValue(EntryPath(cadId), u"uid", uid);
    SilentDebug(u"GetUIDOfFileFromCheckinxRequest", u"Exiting.");
    return result;
}

int DVKDCICheckinExCmd::GetNumberOfSelectedObjects()
{
    if (!HasPacket(u"GetNumberOfSelectedObjects"))
        return -1;
    const CSEResponseList entries(*m_pCmdXMLPacket, kEntries);
    int selected = 0;
    for (int i = 0; i < entries.Count(); ++i)
        if (entries.Attribute(i, u"selected") == u"true")
            ++selected;
    return selected;
}

CSEObjectInfoVector DVKDCICheckinExCmd::GetObjInfoListFromCheckinExPacket()
{
    CSEObjectInfoVector objects;
    SilentDebug(u"GetObjInfoListFromCheckinExPacket", u"Entering.");
    if (!HasPacket(u"GetObjInfoListFromCheckinExPacket"))
        return objects;
    CSEStringCSEObjectMap byCadId;
    {
        const CSEResponseList entries(*m_pCmdXMLPacket, kEntries);
        for (int i = 0; i < entries.Count(); ++i) {
            CSEObjectInfo object;
            entries.ReadFields(i, object, kRequestFields);
            objects.push_back(object);
            byCadId[object.cadId] = object;
        }
    }
    AddParentsFromStructure(objects, byCadId);
    SilentDebug(u"GetObjInfoListFromCheckinExPacket", u"Exiting.");
    return objects;
}

int DVKDCICheckinExCmd::GetListOfAllParents(CSEStringCSEObjectMap& objects)
{
    CSELogger::LogMsg(5, u"[DVKDCICheckinExCmd::GetListOfAllParents] Entering.");
    if (!HasPacket(u"GetListOfAllParents"))
        return -1;
    CSEString active(u"/command/structure/active");
    GetAllParentCadIds(active, objects, u"", u"");
    CSELogger::LogMsg(5, u"[DVKDCICheckinExCmd::GetListOfAllParents] Exting.");
    return 0;
}

int DVKDCICheckinExCmd::ConsolidateCheckinExRequestXML()
{
    SilentDebug(u"ConsolidateCheckinExRequestXML", u"Entering.");
    if (m_pCmdXMLPacket == nullptr) {
        CSELogger::LogSilentMsg(
            3, u"[DVKDCICheckinExCmd::ConsolidateCheckinExRequestXML()] m_pCmdXMLPacket = NULL. Exiting.");
        return -1;
    }
    CSEString name;
    m_pCmdXMLPacket->getAttributeValue(u"//command", u"cname", name);
    if (name == u"checkinEx") {
        const CSEString command(u"//command");
        m_pCmdXMLPacket->removeAttribute(command, u"focusbrowser");
        m_pCmdXMLPacket->createProperty(command, u"focusbrowser", u"false", 0);
        m_pCmdXMLPacket->createProperty(command, u"checkincomment", u"", 0);
        m_pCmdXMLPacket->createProperty(command, u"deletefiles", m_deleteFiles, 0);
        m_pCmdXMLPacket->createProperty(command, u"maintainlock", m_retainLock, 0);
        m_pCmdXMLPacket->createProperty(command, u"createversion", m_createVersion, 0);
        m_pCmdXMLPacket->createProperty(command, u"overwriteobject", m_overwriteObject, 0);
    }
    // Entry by entry in list order: two entries may share a cadid (or both have none).
    // All entries are read before the first removal, which would make the list be searched again.
    std::vector<CSEString> stripped;
    {
        const CSEResponseList entries(*m_pCmdXMLPacket, kEntries);
        for (int i = 0; i < entries.Count(); ++i)
            if (!CSEUtil::IsCadObjTypeDerivedOutput(entries.Attribute(i, u"type")))
                stripped.push_back(EntryAt(*m_pCmdXMLPacket, entries, i));
    }
    for (const CSEString& entry : stripped)
        for (const char16_t* attribute : kRequestOnlyAttributes)
            m_pCmdXMLPacket->removeAttribute(entry, attribute);
    SilentDebug(u"ConsolidateCheckinExRequestXML", u"Exiting.");
    return 0;
}

int DVKDCICheckinExCmd::ExecuteCheckinEx(CSEString& response)
{
    SilentDebug(u"ExecuteCheckinEx", u"Entering.");
    if (!HasPacket(u"ExecuteCheckinEx"))
        return -1;
    const int result = Execute(response);
    SilentDebug(u"ExecuteCheckinEx", u"Exiting.");
    return result;
}

int DVKDCICheckinExCmd::GetNumObjectsFromResponse()
{
    CSEXMLPacket* answer = CSEResponseList::AnswerOf(m_pResponse);
    const int count = answer == nullptr ? -1 : answer->getNodeCount(kAnswerObjects);
    SilentDebug(u"GetNumObjectsFromResponse", u"Exiting.");
    return count < -1 ? -1 : count;
}

CSEObjectInfo DVKDCICheckinExCmd::GetObjectFromResponse(int index)
{
    CSEObjectInfo object;
    CSEXMLPacket* answer = CSEResponseList::AnswerOf(m_pResponse);
    if (answer == nullptr)
        return object;
    const CSEResponseList objects(*answer, kAnswerObjects);
    objects.ReadFields(index, object, kCheckinObjectFields);
    object.fullFileName = objects.Attribute(index, u"filenamewithpath");
    CSEServerSettings* settings = CSEIntegrationAgent::GetIntegrationAgent().GetServerSettingsPtr();
    if (settings == nullptr)
        return object;
    if (settings->IsAutoRecognitionEnabled()) {
        // An answer without a server type keeps the one of "qxtype".
        const CSEString busType = objects.Attribute(index, u"bustype");
        if (busType.size() != 0)
            object.busType = busType;
        if (object.name.size() == 0)
            object.name = objects.Attribute(index, u"busname");
        object.busRevision = objects.Attribute(index, u"busrevision");
    }
    RetrieveObjectInfo(object);
    return object;
}
