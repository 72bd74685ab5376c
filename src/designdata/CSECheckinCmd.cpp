// CSECheckinCmd: the check-in request's silent mode, the rebuilt response, objects read from the
// request, the server's answer and the rebuilt response, the parent walk and the user's edits.
#include "CSECheckinCmd.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <utility>

#include "CSEException.h"
#include "CSEIntegrationAgent.h"
#include "CSELogger.h"
#include "CSEProductStructureCreator.h"
#include "CSEResponse.h"
#include "CSEServerSettings.h"
#include "CSEUtil.h"
#include "CSEXMLPacket.h"
#include "designdata/CSECheckinObjectFields.h"
#include "host/DVKFatal.h"

namespace {

using ObjectField = CSEResponseField<CSEObjectInfo>;

const ObjectField kRebuiltFields[] = {{u"renameto", &CSEObjectInfo::renameTo}};
const ObjectField kFinalAndRequestFields[] = {
    {u"design", &CSEObjectInfo::design},
    {u"filenamewithpath", &CSEObjectInfo::fullFileName},
};
const ObjectField kSparseFields[] = {
    {u"name", &CSEObjectInfo::name},           {u"expandall", &CSEObjectInfo::expandAll},
    {u"expandlevel", &CSEObjectInfo::expandLevel}, {u"cadid", &CSEObjectInfo::cadId},
    {u"type", &CSEObjectInfo::type},
};

const char16_t kRebuiltObjects[] = u"/response/cadobjectlist/cadobject";
const char16_t kFinalObjects[] = u"/response/info/cadobjectlist/cadobject";
const char16_t kRequestObjects[] = u"//command/cadobjectlist/cadobject";
const char16_t kEmbedded[] = u"embeddedComponent";

template <std::size_t N>
void ReadFields(CSEXMLPacket* packet, const CSEString& path, int index, const ObjectField (&fields)[N],
                CSEObjectInfo& object)
{
    for (const ObjectField& field : fields) {
        CSEString& value = object.*field.field;
        value.clear();
        packet->getAttributeValueAt(path, index, field.attribute, value);
    }
}

CSEServerSettings* ServerSettings()
{
    return CSEIntegrationAgent::GetIntegrationAgent().GetServerSettingsPtr();
}

CSEString FullFileName(const CSEObjectInfo& object)
{
    CSEString full = object.dirName;
    if (full.size() != 0)
        CSEUtil::AppendSlash(full);
    return full + object.fileName;
}

void Log(const char16_t* text)
{
    CSELogger::LogMsg(5, text);
}

bool HasText(const DVKListPtrCSEString& list, const CSEString& text)
{
    for (int position = 1; position <= list.Size(); ++position)
        if (list[position] != nullptr && CSEUtil::StrCompareNoCase(*list[position], text))
            return true;
    return false;
}

void CopyTexts(const DVKListPtrCSEString& source, DVKListPtrCSEString& target)
{
    for (int position = target.Size(); position >= 1; --position)
        delete target[position];
    target.RemoveAll();
    for (int position = 1; position <= source.Size(); ++position)
        if (source[position] != nullptr)
            target.Append(new CSEString(*source[position]));
}

} // namespace

CSECheckinCmd::CSECheckinCmd()
{
    Log(u"[CSECheckinCmd::CSECheckinCmd] Entering.");
    if (m_pCmdXMLPacket == nullptr)
        DVKFatalError("m_pCmdXMLPacket != NULL");
    SetCmdName(u"checkin");
    CreateCmdHeader();
    m_pStructureCreator = new CSEProductStructureCreator(m_pCmdXMLPacket, 1);
    Log(u"[CSECheckinCmd::CSECheckinCmd] Exiting.");
}

CSECheckinCmd::CSECheckinCmd(int) {}

CSECheckinCmd::~CSECheckinCmd()
{
    CSEProductStructureCreator::Release(m_pStructureCreator);
}

void CSECheckinCmd::AddCheckinModeinXMLRequestPacket()
{
    Log(u"[CSECheckinCmd::AddCheckinModeinXMLRequestPacket] Entering.");
    if (m_pCmdXMLPacket != nullptr) {
        m_pCmdXMLPacket->removeAttribute(u"//command", u"focusbrowser");
        m_pCmdXMLPacket->createProperty(u"//command", u"focusbrowser", u"false");
        m_pCmdXMLPacket->createProperty(u"//command", u"mode", u"silent");
        m_pCmdXMLPacket->createProperty(u"//command", u"showderivedoutput", u"false");
    }
    Log(u"[CSECheckinCmd::AddCheckinModeinXMLRequestPacket] Exiting.");
}

int CSECheckinCmd::ParseAndBuildResponse()
{
    if (m_pGlobalCmdXMLPacket == nullptr || m_pResponse == nullptr)
        return 0;
    CSEXMLPacket* global = m_pGlobalCmdXMLPacket;
    // Without an answer the request stays as it is: nothing would replace what the rebuild drops.
    CSEXMLPacket* answer = m_pResponse->GetResponsePacket();
    CSEString answerRoot;
    if (answer == nullptr || answer->getRootNodeName(answerRoot) != 0 || answerRoot.size() == 0)
        return 0;
    global->removeAttributeFromAllNodes(u"iGSSLID");
    std::shared_ptr<CSEXMLPacket> rebuilt(CSEXMLPacket::GetXMLPacketPtr(-1));
    if (!rebuilt) {
        CSELogger::LogMsg(3, u"[CSECheckinCmd::ParseAndBuildResponse] No packet for the response.");
        return 0;
    }
    // The global packet stays alive through its own owner until the end; a sparse packet is
    // deleted here, once, so that a later EndSparseCommand finds nothing left to delete.
    UseCmdXMLPacket(rebuilt);
    ReleaseSparsePacket();
    CreateResponseHeader();

    m_pIndexedResponse = nullptr;
    CSEProductStructureCreator::Release(m_pStructureCreator);
    try {
        m_pStructureCreator = new CSEProductStructureCreator(m_pCmdXMLPacket, 0);
    } catch (const CSEException&) {
        m_pStructureCreator = nullptr;
    }

    const int list = m_pCmdXMLPacket->createChildNode(u"//response", u"MandatoryAttributelist", u"", 1);
    if (list >= 0)
        CreateMandatoryAttributeList(list);

    CSEString root;
    global->getRootNodeName(root);
    const std::pair<CSEXMLPacket*, CSEString> sections[] = {
        {global, u"/" + root + u"/relationshiplist"},
        {answer, u"/response/info/cadobjectlist"},
        {global, u"/" + root + u"/structure"},
    };
    for (const auto& section : sections) {
        CSEString text;
        if (section.first->getNodeXMLString(section.second, text) == 0 && text.size() != 0)
            m_pCmdXMLPacket->appendXMLString(u"//response", text);
    }
    ReleaseGlobalPacket();
    return 0;
}

void CSECheckinCmd::CreateMandatoryAttributeList(int elementId)
{
    CSEServerSettings* settings = ServerSettings();
    if (settings == nullptr || m_pCmdXMLPacket == nullptr)
        return;
    const CSEMandatoryAttribVector definitions = settings->GetCADToQxMandatoryAttributesVector();
    for (int i = 0; i < definitions.size(); ++i) {
        const CMandatoryAttrib& definition = definitions[i];
        if (definition.kind == u"mandatory")
            m_pCmdXMLPacket->createAttributeNMandatoryVPair(elementId, definition.name, definition.value);
        else if (definition.kind == u"default")
            m_pCmdXMLPacket->createAttributeNDefaultVPair(elementId, definition.name, definition.value);
        else if (definition.kind == u"null")
            m_pCmdXMLPacket->createAttributeName(elementId, definition.name);
    }
}

CSEObjectInfo CSECheckinCmd::ReadObject(CSEXMLPacket* packet, const CSEString& path, int index,
                                        bool finalOrRequest)
{
    CSEObjectInfo object;
    if (packet == nullptr)
        return object;
    ReadFields(packet, path, index, kCheckinObjectFields, object);
    if (finalOrRequest)
        ReadFields(packet, path, index, kFinalAndRequestFields, object);
    else
        ReadFields(packet, path, index, kRebuiltFields, object);
    CSEServerSettings* settings = ServerSettings();
    if (settings == nullptr)
        return object;
    if (!finalOrRequest && settings->IsAutoRecognitionEnabled()) {
        // An answer without a server type keeps the one of "qxtype".
        CSEString busType;
        packet->getAttributeValueAt(path, index, u"bustype", busType);
        if (busType.size() != 0)
            object.busType = busType;
        if (object.name.size() == 0)
            packet->getAttributeValueAt(path, index, u"busname", object.name);
        object.busRevision.clear();
        packet->getAttributeValueAt(path, index, u"busrevision", object.busRevision);
    }
    RetrieveObjectInfo(object);
    if (!finalOrRequest)
        object.fullFileName = FullFileName(object);
    return object;
}

int CSECheckinCmd::GetNumObjectsFromResponse()
{
    return m_pCmdXMLPacket == nullptr ? 0 : m_pCmdXMLPacket->getNodeCount(kRebuiltObjects);
}

CSEObjectInfo CSECheckinCmd::GetObjectFromResponse(int index)
{
    return ReadObject(m_pCmdXMLPacket, kRebuiltObjects, index, false);
}

int CSECheckinCmd::GetNumObjectsFromFinalResponse()
{
    CSEXMLPacket* answer = m_pResponse == nullptr ? nullptr : m_pResponse->GetResponsePacket();
    return answer == nullptr ? 0 : answer->getNodeCount(kFinalObjects);
}

CSEObjectInfo CSECheckinCmd::GetObjectFromFinalResponse(int index)
{
    return ReadObject(m_pResponse == nullptr ? nullptr : m_pResponse->GetResponsePacket(), kFinalObjects,
                      index, true);
}

int CSECheckinCmd::GetNumObjectsFromRequestPacket()
{
    return m_pCmdXMLPacket == nullptr ? 0 : m_pCmdXMLPacket->getNodeCount(kRequestObjects);
}

CSEObjectInfo CSECheckinCmd::GetObjectFromRequestPacket(int index)
{
    return ReadObject(m_pCmdXMLPacket, kRequestObjects, index, true);
}

CSEObjectInfoVector CSECheckinCmd::GetRespSparseObjList()
{
    Log(u"[CSECheckinCmd::GetRespSparseObjList]Entering");
    CSEObjectInfoVector objects;
    CSEXMLPacket* answer = m_pResponse == nullptr ? nullptr : m_pResponse->GetResponsePacket();
    const int count = answer == nullptr ? 0 : answer->getNodeCount(kFinalObjects);
    for (int index = 0; index < count; ++index) {
        CSEObjectInfo object;
        ReadFields(answer, kFinalObjects, index, kSparseFields, object);
        objects.push_back(object);
    }
    Log(u"[CSECheckinCmd::GetRespSparseObjList]Exiting");
    return objects;
}

CSEObjectInfoVector CSECheckinCmd::GetObjectListFromResponse(CSEStringCSEObjectMap& objects,
                                                             unsigned char withParents)
{
    Log(u"[CSECheckinCmd::GetObjectListFromResponse] Entering.");
    m_objectList.clear();
    objects.clear();
    CSEStringCSEObjectMap local;
    const int count = GetNumObjectsFromResponse();
    for (int index = 0; index < count; ++index) {
        const CSEObjectInfo object = GetObjectFromResponse(index);
        m_objectList.push_back(object);
        objects[object.cadId] = object;
        if (withParents)
            local[object.cadId] = object;
    }
    if (withParents) {
        AddParentsFromStructure(m_objectList, local);
    }
    IndexObjectList();
    Log(u"[CSECheckinCmd::GetObjectListFromResponse] Exiting.");
    return m_objectList;
}

void CSECheckinCmd::AddParentsFromStructure(CSEObjectInfoVector& objects, CSEStringCSEObjectMap& byCadId)
{
    GetListOfAllParents(byCadId);
    for (int index = 0; index < objects.size(); ++index) {
        CSEObjectInfo& object = objects[index];
        auto found = byCadId.find(object.cadId);
        if (found == byCadId.end())
            continue;
        CopyTexts(found->value.parentCadIds, object.parentCadIds);
        CopyTexts(found->value.ownerCadIds, object.ownerCadIds);
    }
}

int CSECheckinCmd::GetListOfAllParents(CSEStringCSEObjectMap& objects)
{
    Log(u"[CSECheckinCmd::GetListOfAllParents] Entering.");
    if (m_pCmdXMLPacket == nullptr) {
        Log(u"[CSECheckinCmd::GetListOfAllParents] Exting.");
        return 1;
    }
    CSEString active(u"/response/structure/active");
    GetAllParentCadIds(active, objects, u"", u"");
    Log(u"[CSECheckinCmd::GetListOfAllParents] Exting.");
    return 0;
}

void CSECheckinCmd::GetAllParentCadIds(CSEString& nodePath, CSEStringCSEObjectMap& objects,
                                       CSEString parentCadId, CSEString ownerCadId)
{
    Log(u"[CSECheckinCmd::GetAllParentCadIds] Entering.");
    if (m_pCmdXMLPacket == nullptr)
        return;
    // Depth first with a stack of its own, so that a deep structure cannot exhaust the call stack.
    struct Step
    {
        CSEString path, parent, owner;
    };
    std::vector<Step> pending{{nodePath, parentCadId, ownerCadId}};
    while (!pending.empty()) {
        const Step step = std::move(pending.back());
        pending.pop_back();
        const int count = m_pCmdXMLPacket->getNodeCount(step.path + u"/cadobject");
        std::vector<Step> children;
        for (int i = 1; i <= count; ++i) {
            const CSEString child = step.path + u"/cadobject[" + CSEUtil::getCSEStringFromInt(i) + u"]";
            CSEString cadId;
            m_pCmdXMLPacket->getAttributeValue(child, u"cadid", cadId);
            CSEObjectInfo& object = objects[cadId];
            if (step.parent.size() != 0 && step.parent != cadId)
                object.parentCadIds.Append(new CSEString(step.parent));
            const bool embedded = object.type == kEmbedded;
            if (embedded && step.owner.size() != 0 && step.owner != cadId && !HasText(object.ownerCadIds, step.owner))
                object.ownerCadIds.Append(new CSEString(step.owner));
            children.push_back({child, cadId, embedded ? step.owner : cadId});
        }
        // Visited in document order: each node's subtree before its next sibling.
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            pending.push_back(std::move(*it));
    }
    Log(u"[CSECheckinCmd::GetAllParentCadIds] Exiting.");
}

int CSECheckinCmd::UpdateObjectInResponse(const CSEObjectInfo& object)
{
    if (m_pCmdXMLPacket == nullptr)
        return -1;
    const CSEString node = ResponseObjectPath(object.cadId);
    m_pCmdXMLPacket->createProperty(node, u"filename", object.fileName, 0);
    CSEString dirName;
    CSEUtil::FormatDirNameForWKC(object, dirName);
    m_pCmdXMLPacket->createProperty(node, u"dirname", CSEUtil::RemoveTrailingSlashes(dirName), 0);
    const int result = m_pCmdXMLPacket->createProperty(node, u"name", object.name, 0);
    const CSEString attributes = node + u"/attribute";
    for (int i = 0; i < object.attributes.size(); ++i) {
        const CSEAttribute& attribute = object.attributes[i];
        // An edit replaces the attribute of the same name written before.
        const int count = m_pCmdXMLPacket->getNodeCount(attributes);
        for (int position = count; position >= 1; --position) {
            const CSEString existing = attributes + u"[" + CSEUtil::getCSEStringFromInt(position) + u"]";
            CSEString name;
            if (m_pCmdXMLPacket->getNodeValue(existing + u"/name", name) == 0 && name == attribute.GetName())
                m_pCmdXMLPacket->removeChildNode(node, existing);
        }
        m_pCmdXMLPacket->createAttributeNVPair(node, attribute.GetName(), attribute.GetValue());
    }
    return result;
}

CSEString CSECheckinCmd::ResponseObjectPath(const CSEString& cadId)
{
    if (m_pIndexedResponse != m_pCmdXMLPacket)
        IndexResponseObjects();
    // The element found must still be the cadid's: the packet may have been changed since.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const auto found = m_responseObjectIds.find(cadId().Text());
        if (found == m_responseObjectIds.end())
            break;
        const CSEString path = m_pCmdXMLPacket->getNodePathFromUniqueId(found->second);
        CSEString carried;
        if (m_pCmdXMLPacket->getAttributeValue(path, u"cadid", carried) == 0 && carried == cadId)
            return path;
        if (attempt == 0)
            IndexResponseObjects();
    }
    // An object added after the index was made, or none of the cadid: searched for.
    return u"/response/cadobjectlist/cadobject[@cadid=" + CSEXMLPacket::MakeXPathLiteral(cadId) + u"]";
}

void CSECheckinCmd::IndexResponseObjects()
{
    m_responseObjectIds.clear();
    m_pIndexedResponse = m_pCmdXMLPacket;
    // Read and stamped through one node path by position, which the packet answers in one pass.
    const CSEString path(kRebuiltObjects);
    const int count = m_pCmdXMLPacket->getNodeCount(path);
    int identifier = m_pCmdXMLPacket->getLastValueOfUniqueIdentifier();
    for (int index = 0; index < count; ++index) {
        CSEString cadId;
        m_pCmdXMLPacket->getAttributeValueAt(path, index, u"cadid", cadId);
        if (m_responseObjectIds.count(cadId().Text()) != 0)
            continue;
        if (m_pCmdXMLPacket->setAttributeValueAt(path, index, u"iGSSLID", CSEUtil::getCSEStringFromInt(++identifier)) == 0)
            m_responseObjectIds.emplace(cadId().Text(), identifier);
    }
    m_pCmdXMLPacket->SetGSSLUniqueIdentifier(identifier);
}

int CSECheckinCmd::UpdateObjectInObjectList(const CSEObjectInfo& object)
{
    Log(u"[CSECheckinCmd::UpdateObjectInObjectList] Entering.");
    auto found = m_cadIdPositions.find(object.cadId().Text());
    if (found != m_cadIdPositions.end()) {
        for (int position : found->second) {
            CSEObjectInfo& entry = m_objectList[position];
            entry.fileName = object.fileName;
            entry.dirName = object.dirName;
            entry.name = object.name;
            // Position by position; attributes beyond the stored ones are appended.
            for (int i = 0; i < object.attributes.size(); ++i) {
                if (i < entry.attributes.size()) {
                    entry.attributes[i].SetName(object.attributes[i].GetName());
                    entry.attributes[i].SetValue(object.attributes[i].GetValue());
                } else {
                    entry.attributes.push_back(object.attributes[i]);
                }
            }
        }
        m_fullNamesStale = true;
    }
    Log(u"[CSECheckinCmd::UpdateObjectInObjectList] Exiting.");
    return -1;
}

void CSECheckinCmd::ClearObjectList()
{
    m_objectList.clear();
    IndexObjectList();
}

void CSECheckinCmd::IndexObjectList()
{
    m_cadIdPositions.clear();
    for (int position = 0; position < m_objectList.size(); ++position)
        m_cadIdPositions[m_objectList[position].cadId().Text()].push_back(position);
    m_fullNamesStale = true;
}

int CSECheckinCmd::FirstPosition(const std::u16string& key, bool byCadId)
{
    if (byCadId) {
        auto found = m_cadIdPositions.find(key);
        return found == m_cadIdPositions.end() || found->second.empty() ? -1 : found->second.front();
    }
    if (m_fullNamesStale) {
        m_fullNamePositions.clear();
        for (int position = 0; position < m_objectList.size(); ++position)
            m_fullNamePositions.emplace(FullFileName(m_objectList[position])().Text(), position);
        m_fullNamesStale = false;
    }
    auto found = m_fullNamePositions.find(key);
    return found == m_fullNamePositions.end() ? -1 : found->second;
}

bool CSECheckinCmd::GetObjectFromObjectList(CSEString& key, CSEObjectInfo& out)
{
    Log(u"[CSECheckinCmd::GetObjectFromObjectList] Entering.");
    const int byCadId = FirstPosition(key().Text(), true);
    const int byName = FirstPosition(key().Text(), false);
    int position = byCadId < 0 ? byName : (byName < 0 ? byCadId : std::min(byCadId, byName));
    if (position >= 0)
        out = m_objectList[position];
    Log(u"[CSECheckinCmd::GetObjectFromObjectList] Exiting.");
    return position >= 0;
}

bool CSECheckinCmd::GetObjectFromObjectList(CSEStringCSEObjectMap& objects, CSEString& cadId, CSEObjectInfo& out)
{
    Log(u"[CSECheckinCmd::GetObjectFromObjectList (CSEStringCSEObjectMap& objCadIdObjInfoMap, CSEString "
        u"&sObjCADId, CSEObjectInfo& objInfo);)] Entering.");
    auto found = objects.find(cadId);
    const bool present = found != objects.end();
    if (present)
        out = found->value;
    Log(u"[CSECheckinCmd::GetObjectFromObjectList (CSEStringCSEObjectMap& objCadIdObjInfoMap, CSEString "
        u"&sObjCADId, CSEObjectInfo& objInfo);)] Exiting.");
    return present;
}

bool CSECheckinCmd::GetObjNameFullFileNameAndTypeFromCadId(CSEString& cadId, CSEString& name,
                                                           CSEString& fullFileName, CSEString& type)
{
    Log(u"[CSECheckinCmd::GetObjNameFullFileNameAndTypeFromCadId] Entering.");
    const int position = FirstPosition(cadId().Text(), true);
    if (position >= 0) {
        const CSEObjectInfo& object = m_objectList[position];
        name = object.name;
        fullFileName = FullFileName(object);
        type = object.type;
    }
    Log(u"[CSECheckinCmd::GetObjNameFullFileNameAndTypeFromCadId] Exiting.");
    return position >= 0;
}

bool CSECheckinCmd::IsValueAlreadyAdded(CSEWrapperStringVector& values, CSEString& value)
{
    return HasText(values, value);
}
