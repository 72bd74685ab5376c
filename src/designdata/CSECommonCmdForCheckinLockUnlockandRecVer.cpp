// CSECommonCmdForCheckinLockUnlockandRecVer: objects added through the structure builder with maps
// that remember where each went, expandable flags, request result, and sparse requests.
#include "CSECommonCmdForCheckinLockUnlockandRecVer.h"

#include <cstdint>
#include <exception>

#include "CSEClientSettings.h"
#include "CSELogger.h"
#include "CSEProductStructureCreator.h"
#include "CSERelationship.h"
#include "CSEUtil.h"
#include "CSEXMLPacket.h"
#include "DVKRawCollint.h"
#include "host/DVKFatal.h"

namespace {

const char16_t kWhere[] = u"[CSECommonCmdForCheckinLockUnlockandRecVer::";
const char16_t kGlobalActive[] = u"//command/structure/active//cadobject[@cadid=";

CSEString Literal(const CSEString& text)
{
    return CSEXMLPacket::MakeXPathLiteral(text);
}

std::u16string CaseKey(CSEString text)
{
    text.ToLower();
    return text().Text();
}

void* IdToSlot(int id)
{
    return reinterpret_cast<void*>(static_cast<std::intptr_t>(id));
}

int SlotToId(void* slot)
{
    return static_cast<int>(reinterpret_cast<std::intptr_t>(slot));
}

void LogStep(const char16_t* operation, const char16_t* step)
{
    CSELogger::LogMsg(5, CSEString(kWhere) + operation + u"]" + step);
}

} // namespace

CSECommonCmdForCheckinLockUnlockandRecVer::CSECommonCmdForCheckinLockUnlockandRecVer()
    : m_pStructureCreator(nullptr), m_pGlobalCmdXMLPacket(nullptr), m_pSparseCmdXMLPacket(nullptr)
{
    SetFocusBrowser(true);
    if (m_pCmdXMLPacket == nullptr)
        DVKFatalError("m_pCmdXMLPacket != NULL");
    m_spGlobalOwner = ShareCmdXMLPacket();
    m_pGlobalCmdXMLPacket = m_pCmdXMLPacket;
}

CSECommonCmdForCheckinLockUnlockandRecVer::~CSECommonCmdForCheckinLockUnlockandRecVer()
{
    // The derived command normally released the builder already; Release makes this harmless.
    CSEProductStructureCreator::Release(m_pStructureCreator);
    m_objectInfos.clear();
    m_cadIdToFile.clear();
    m_cadIdToStructureId.clear();
    m_expandedObjects.clear();
    m_expandedInCurrentSparse.clear();
    m_pGlobalCmdXMLPacket = nullptr;
    m_pSparseCmdXMLPacket = nullptr;
}

int CSECommonCmdForCheckinLockUnlockandRecVer::Execute(CSEString& response)
{
    return CSECommand::Execute(response);
}

int CSECommonCmdForCheckinLockUnlockandRecVer::CreateRootObject(const CSEObjectInfo& object)
{
    StoreObjectInfo(object);
    if (m_pStructureCreator == nullptr)
        return -1;
    const int id = m_pStructureCreator->CreateRootObject(object);
    m_cadIdToStructureId[object.cadId] = IdToSlot(id);
    return id;
}

int CSECommonCmdForCheckinLockUnlockandRecVer::AddAtributesToRequest(const CSEObjectInfo&)
{
    return 0;
}

int CSECommonCmdForCheckinLockUnlockandRecVer::AddObject(int parentId, CSEObjectInfo& object,
                                                        const CSERelationship& relationship)
{
    if (m_pStructureCreator == nullptr)
        return 0;
    const int existing = m_pStructureCreator->FindObjectListEntry(object.fileName);
    if (existing >= 1) {
        m_sharedOnlyCadIds.insert(object.cadId().Text());
        m_pStructureCreator->SetXMLPosKey(parentId);
        return m_pStructureCreator->AddSharedObject(parentId, relationship, existing);
    }
    StoreObjectInfo(object);
    const int id = m_pStructureCreator->AddObject(parentId, object, relationship);
    if (m_pCmdXMLPacket != nullptr)
        m_pCmdXMLPacket->createProperty(id, u"firstentry", u"true");
    m_cadIdToStructureId[object.cadId] = IdToSlot(id);
    m_objectInfos.push_back(object);
    return id;
}

int CSECommonCmdForCheckinLockUnlockandRecVer::AddSharedObject(int parentId,
                                                              const CSERelationship& relationship,
                                                              int objectListId)
{
    if (m_pStructureCreator == nullptr)
        return -1;
    return m_pStructureCreator->AddSharedObject(parentId, relationship, objectListId);
}

int CSECommonCmdForCheckinLockUnlockandRecVer::IsObjectAdded(const CSEString& nodePath, CSEString ignored)
{
    if (m_pStructureCreator == nullptr)
        return -1;
    return m_pStructureCreator->IsObjectAdded(nodePath, ignored);
}

int CSECommonCmdForCheckinLockUnlockandRecVer::AddDependentDocumentObject(
    CSEObjectInfo& object, const CSERelationship& relationship)
{
    CSEClientSettings* settings = nullptr;
    try {
        settings = CSEClientSettings::GetInstance(0);
    } catch (const std::exception&) {
        settings = nullptr;
    }
    if (settings != nullptr && settings->IsSilentMode() && m_pCmdXMLPacket != nullptr)
        m_pCmdXMLPacket->removeAttributeFromAllNodes(u"iGSSLID");
    if (m_pStructureCreator == nullptr)
        return 0;
    if (!m_pStructureCreator->MakeStructureEntry(u"//structure/active", object, relationship))
        m_pStructureCreator->MakeStructureEntry(u"//structure/family", object, relationship);
    return 0;
}

void CSECommonCmdForCheckinLockUnlockandRecVer::StoreObjectInfo(const CSEObjectInfo& object)
{
    m_cadIdToFile[object.cadId] = object.dirName + u"," + object.fileName;
    m_dirLengths[object.cadId().Text()] = object.dirName.size();
}

int CSECommonCmdForCheckinLockUnlockandRecVer::RetrieveObjectInfo(CSEObjectInfo& object)
{
    auto found = m_cadIdToFile.find(object.cadId);
    if (found == m_cadIdToFile.end())
        return -1;
    const CSEString value = found->value;
    int comma = value.find(u",");
    const auto length = m_dirLengths.find(object.cadId().Text());
    if (length != m_dirLengths.end() && length->second < value.size() &&
        value().Text()[length->second] == u',')
        comma = length->second;
    // A value without "," gives the whole text to both fields.
    object.dirName = comma < 0 ? value : value.substr(0, comma);
    object.fileName = value.substr(comma + 1);
    return 0;
}

CSEString CSECommonCmdForCheckinLockUnlockandRecVer::GetFullFileNameFromUID(CSEString cadId)
{
    if (m_cadIdToFile.find(cadId) == m_cadIdToFile.end())
        return CSEString();
    CSEObjectInfo object;
    object.cadId = cadId;
    RetrieveObjectInfo(object);
    if (object.dirName.size() == 0)
        return object.fileName;
    CSEUtil::AppendSlash(object.dirName);
    return object.dirName + object.fileName;
}

CSEString CSECommonCmdForCheckinLockUnlockandRecVer::RootPath()
{
    CSEString root;
    if (m_pCmdXMLPacket != nullptr)
        m_pCmdXMLPacket->getRootNodeName(root);
    return u"//" + root;
}

CSEString CSECommonCmdForCheckinLockUnlockandRecVer::ObjectListEntryPath(const CSEString& cadId)
{
    // The builder knows each file's list entry; the sparse packet carries copies of the entries.
    auto file = m_cadIdToFile.find(cadId);
    if (file != m_cadIdToFile.end() && m_pStructureCreator != nullptr && m_pCmdXMLPacket != nullptr) {
        CSEObjectInfo object;
        object.cadId = cadId;
        RetrieveObjectInfo(object);
        const int id = m_pStructureCreator->FindObjectListEntry(object.fileName);
        const CSEString path = m_pCmdXMLPacket->getNodePathFromUniqueId(id);
        CSEString stored;
        if (id >= 0 && m_pCmdXMLPacket->getAttributeValue(path, u"cadid", stored) == 0 &&
            stored == cadId)
            return path;
    }
    // A cadid seen only on further placements of a listed file names no list entry.
    if (file == m_cadIdToFile.end() && m_sharedOnlyCadIds.count(cadId().Text()) != 0)
        return CSEString();
    return RootPath() + u"/cadobjectlist/cadobject[@cadid=" + Literal(cadId) + u"]";
}

CSEString CSECommonCmdForCheckinLockUnlockandRecVer::FirstStructureNodePath(CSEXMLPacket* packet,
                                                                          const CSEString& cadId)
{
    auto known = m_cadIdToStructureId.find(cadId);
    if (packet == m_pGlobalCmdXMLPacket && known != m_cadIdToStructureId.end()) {
        const CSEString path = packet->getNodePathFromUniqueId(SlotToId(known->value));
        CSEString stored;
        if (packet->getAttributeValue(path, u"cadid", stored) == 0 && stored == cadId)
            return path;
    }
    return u"(" + CSEString(kGlobalActive) + Literal(cadId) + u"])[1]";
}

void CSECommonCmdForCheckinLockUnlockandRecVer::SetExpandAble(const CSEString& cadId, CSEString value,
                                                             unsigned char force)
{
    LogStep(u"SetExpandAble", u"Entering");
    const CSEString path = m_pCmdXMLPacket == nullptr ? CSEString() : ObjectListEntryPath(cadId);
    if (path.size() != 0) {
        if (CaseKey(value) == u"true" || force)
            m_pCmdXMLPacket->createProperty(path, u"expandable", value, 0);
        else
            m_pCmdXMLPacket->removeAttribute(path, u"expandable");
    }
    LogStep(u"SetExpandAble", u"Exiting");
}

bool CSECommonCmdForCheckinLockUnlockandRecVer::IsObjectExpandable(const CSEString& cadId,
                                                                  unsigned char& expandable)
{
    LogStep(u"IsObjectExpandable", u"Entering");
    expandable = 0;
    CSEString value;
    const CSEString path = m_pCmdXMLPacket == nullptr ? CSEString() : ObjectListEntryPath(cadId);
    if (path.size() != 0 && m_pCmdXMLPacket->getAttributeValue(path, u"expandable", value) == 0)
        expandable = CaseKey(value) == u"true" ? 1 : 0;
    LogStep(u"IsObjectExpandable", u"Exiting");
    return m_pCmdXMLPacket != nullptr;
}

void CSECommonCmdForCheckinLockUnlockandRecVer::StoreExpandedObjectInfo(CSEString& cadId)
{
    m_expandedObjects.push_back(cadId);
    m_expandedInCurrentSparse.push_back(cadId);
    m_expandedKeys.insert(CaseKey(cadId));
    m_currentSparseKeys.insert(CaseKey(cadId));
}

bool CSECommonCmdForCheckinLockUnlockandRecVer::IsObjectAlreadyExpanded(CSEString& cadId)
{
    return m_expandedKeys.count(CaseKey(cadId)) != 0;
}

bool CSECommonCmdForCheckinLockUnlockandRecVer::IsObjectAlreadyExpandedInCurrentSparse(CSEString& cadId)
{
    return m_currentSparseKeys.count(CaseKey(cadId)) != 0;
}

void CSECommonCmdForCheckinLockUnlockandRecVer::ClearCurrentSparse()
{
    m_expandedInCurrentSparse.clear();
    m_currentSparseKeys.clear();
}

int CSECommonCmdForCheckinLockUnlockandRecVer::GetCADIDFromUniuqeID(int id, CSEString& cadId)
{
    if (m_pCmdXMLPacket == nullptr)
        return 1;
    CSEString value;
    const int result =
        m_pCmdXMLPacket->getAttributeValue(m_pCmdXMLPacket->getNodePathFromUniqueId(id), u"cadid", value);
    if (result == 0)
        cadId = value;
    return result;
}

int CSECommonCmdForCheckinLockUnlockandRecVer::GetPosInStructureFromCADID(CSEString cadId, int& id)
{
    if (m_pCmdXMLPacket == nullptr)
        return 1;
    auto known = m_cadIdToStructureId.find(cadId);
    if (m_pCmdXMLPacket == m_pGlobalCmdXMLPacket && known != m_cadIdToStructureId.end()) {
        CSEString stored;
        const int candidate = SlotToId(known->value);
        if (m_pCmdXMLPacket->getAttributeValue(m_pCmdXMLPacket->getNodePathFromUniqueId(candidate),
                                               u"cadid", stored) == 0 &&
            stored == cadId) {
            id = candidate;
            return 0;
        }
    }
    const int found = m_pCmdXMLPacket->getUniqueIdOfNode(u"//structure/active//*[@cadid=" +
                                                         Literal(cadId) + u"]");
    if (found < 0)
        return 1;
    id = found;
    return 0;
}

int CSECommonCmdForCheckinLockUnlockandRecVer::GetListOfChildrenInStructure(CSEString cadId,
                                                                           DVKRawCollint& ids)
{
    ids.RemoveAll();
    if (cadId.size() == 0 || m_pCmdXMLPacket == nullptr)
        return 0;
    const CSEString children = FirstStructureNodePath(m_pCmdXMLPacket, cadId) + u"/cadobject";
    const int count = m_pCmdXMLPacket->getNodeCount(children);
    for (int i = 1; i <= count; ++i) {
        CSEString id;
        m_pCmdXMLPacket->getAttributeValue(children + u"[" + CSEUtil::getCSEStringFromInt(i) + u"]",
                                           u"iGSSLID", id);
        ids.Append(CSEUtil::getIntFromCSEString(id));
    }
    return 0;
}

void CSECommonCmdForCheckinLockUnlockandRecVer::SetRequestResult(const CSEString& result,
                                                                const CSEString& reason,
                                                                unsigned char removeLists)
{
    if (m_pCmdXMLPacket == nullptr)
        return;
    const CSEString root = RootPath();
    m_pCmdXMLPacket->createProperty(root, u"result", result, 0);
    if (reason.size() == 0)
        return;
    if (removeLists) {
        for (const char16_t* section : {u"/relationshiplist", u"/cadobjectlist", u"/structure"})
            m_pCmdXMLPacket->removeChildNode(root, root + section);
    }
    m_pCmdXMLPacket->createChildNode(root, u"info", CSEString(), 1);
    m_pCmdXMLPacket->createChildNode(root + u"/info", u"reason", reason, 1);
}

void CSECommonCmdForCheckinLockUnlockandRecVer::CreateResponseForUserExit(const CSEString& result)
{
    CreateResponseHeader();
    if (m_pCmdXMLPacket != nullptr)
        m_pCmdXMLPacket->createProperty(RootPath(), u"result", result, 0);
}

void CSECommonCmdForCheckinLockUnlockandRecVer::StartSparseCommand()
{
    if (m_pCmdXMLPacket == nullptr)
        DVKSysCheckFailure("m_pCmdXMLPacket");
    if (m_pGlobalCmdXMLPacket == nullptr)
        DVKSysCheckFailure("m_pGlobalCmdXMLPacket");
    if (m_pSparseCmdXMLPacket == nullptr) {
        DVKSysCheckFailure("m_pSparseCmdXMLPacket");
        return;
    }
    UseCmdXMLPacket(m_spSparseOwner);
}

void CSECommonCmdForCheckinLockUnlockandRecVer::EndSparseCommand()
{
    if (m_pSparseCmdXMLPacket == nullptr)
        DVKSysCheckFailure("m_pSparseCmdXMLPacket");
    if (m_pGlobalCmdXMLPacket == nullptr)
        DVKSysCheckFailure("m_pGlobalCmdXMLPacket");
    else
        UseCmdXMLPacket(m_spGlobalOwner);
    ReleaseSparsePacket();
    ClearCurrentSparse();
}

void CSECommonCmdForCheckinLockUnlockandRecVer::ReleaseSparsePacket()
{
    // The command packet may still hold the sparse packet; shared ownership deletes it last.
    if (m_pSparseCmdXMLPacket != m_pGlobalCmdXMLPacket)
        m_spSparseOwner.reset();
    m_pSparseCmdXMLPacket = nullptr;
}

void CSECommonCmdForCheckinLockUnlockandRecVer::ReleaseGlobalPacket()
{
    // When the command packet still is the global one, its shared owner deletes it last.
    m_spGlobalOwner.reset();
    m_pGlobalCmdXMLPacket = nullptr;
}

void CSECommonCmdForCheckinLockUnlockandRecVer::StartNewRequest()
{
    m_objectInfos.clear();
    m_cadIdToFile.clear();
    m_cadIdToStructureId.clear();
    m_dirLengths.clear();
    m_sharedOnlyCadIds.clear();
    m_expandedObjects.clear();
    m_expandedKeys.clear();
    ClearCurrentSparse();
    if (m_pGlobalCmdXMLPacket == nullptr && m_pCmdXMLPacket != nullptr) {
        m_spGlobalOwner = ShareCmdXMLPacket();
        m_pGlobalCmdXMLPacket = m_pCmdXMLPacket;
    }
}

bool CSECommonCmdForCheckinLockUnlockandRecVer::CreateSparseCmdHeader()
{
    LogStep(u"CreateSparseCmdHeader", u"Entering");
    if (m_pGlobalCmdXMLPacket == nullptr) {
        DVKSysCheckFailure("m_pGlobalCmdXMLPacket");
        return false;
    }
    if (m_pSparseCmdXMLPacket != nullptr) {
        DVKSysCheckFailure("m_pSparseCmdXMLPacket == NULL");
        return false;
    }
    CSEXMLPacket* global = m_pGlobalCmdXMLPacket;
    // Identifiers continue from the global packet's, so they stay unique across both packets.
    std::shared_ptr<CSEXMLPacket> sparse(
        CSEXMLPacket::GetXMLPacketPtr(global->getLastValueOfUniqueIdentifier()));
    CSEString header;
    try {
        header = CSEUtil::CSEGetResponseHeaderString(GetCmdName(), false);
    } catch (const std::exception&) {
        header.clear();
    }
    if (!sparse || header.size() == 0 || sparse->loadXMLinMemory(header) != 0) {
        CSELogger::LogMsg(3, CSEString(kWhere) + u"CreateSparseCmdHeader] The sparse request "
                                                  u"could not be started. Command: " + GetCmdName());
        return false;
    }
    CSEString rootName;
    global->getRootNodeName(rootName);
    const CSEString root = u"/" + rootName;
    CSEString result;
    if (global->getAttributeValue(root, u"result", result) == 0 && result.size() != 0)
        sparse->createProperty(u"//response", u"result", result, 0);
    // The options of the whole request hold for each of its parts: a part sent without them would
    // be taken with the service's defaults (an extended check-in asked to create versions would
    // store none and release the user's locks).
    for (const char16_t* option :
         {u"checkincomment", u"deletefiles", u"maintainlock", u"createversion", u"overwriteobject"}) {
        CSEString value;
        if (global->getNodeCount(root + u"/@" + option) > 0 && global->getAttributeValue(root, option, value) == 0)
            sparse->createProperty(u"//response", option, value, 0);
    }
    for (const char16_t* list : {u"/relationshiplist", u"/cadobjectlist"}) {
        CSEString text;
        if (global->getNodeXMLString(root + list, text) == 0)
            sparse->appendXMLString(u"//response", text);
    }
    sparse->copyNode(u"//response", global, root + u"/structure");
    sparse->copyNode(u"//response/structure", global, root + u"/structure/family");
    sparse->copyNode(u"//response/structure", global, root + u"/structure/active");
    m_spSparseOwner = sparse;
    m_pSparseCmdXMLPacket = sparse.get();
    LogStep(u"CreateSparseCmdHeader", u"Exiting");
    return true;
}

bool CSECommonCmdForCheckinLockUnlockandRecVer::CreateSparseXMLFromGlobalXML(CSEWrapperStringVector cadIds)
{
    LogStep(u"CreateSparseXMLFromGlobalXML", u"Entering");
    if (m_pGlobalCmdXMLPacket == nullptr) {
        DVKSysCheckFailure("m_pGlobalCmdXMLPacket");
        return false;
    }
    if (m_pGlobalCmdXMLPacket == m_pSparseCmdXMLPacket) {
        DVKSysCheckFailure("m_pGlobalCmdXMLPacket != m_pSparseCmdXMLPacket");
        return false;
    }
    ClearCurrentSparse();
    if (!CreateSparseCmdHeader())
        return false;
    const int active = m_pSparseCmdXMLPacket->getUniqueIdOfNode(u"//structure/active");
    for (CSEString cadId : cadIds) {
        const int top = m_pSparseCmdXMLPacket->copyNode(
            active, m_pGlobalCmdXMLPacket, FirstStructureNodePath(m_pGlobalCmdXMLPacket, cadId));
        GetAlreadyProcessedChildrenFromGlobalXML(cadId, top);
        // Through the copy's identifier: a search from the document root per top-level object
        // would walk the whole object list each time.
        if (top >= 0)
            m_pSparseCmdXMLPacket->createProperty(top, u"firstentry", u"true");
        else
            m_pSparseCmdXMLPacket->createProperty(
                u"/response/structure/active/cadobject[@cadid=" + Literal(cadId) + u"]",
                u"firstentry", u"true", 0);
    }
    LogStep(u"CreateSparseXMLFromGlobalXML", u"Exiting");
    return true;
}

bool CSECommonCmdForCheckinLockUnlockandRecVer::GetAlreadyProcessedChildrenFromGlobalXML(
    CSEString& cadId, int sparseParentId)
{
    if (IsObjectAlreadyExpandedInCurrentSparse(cadId))
        return true;
    m_expandedInCurrentSparse.push_back(cadId);
    m_currentSparseKeys.insert(CaseKey(cadId));
    if (m_pGlobalCmdXMLPacket == nullptr || m_pSparseCmdXMLPacket == nullptr || sparseParentId < 0)
        return true;
    const CSEString children =
        FirstStructureNodePath(m_pGlobalCmdXMLPacket, cadId) + u"/cadobject";
    const int count = m_pGlobalCmdXMLPacket->getNodeCount(children);
    for (int i = 1; i <= count; ++i) {
        const CSEString child = children + u"[" + CSEUtil::getCSEStringFromInt(i) + u"]";
        const int id = m_pSparseCmdXMLPacket->copyNode(sparseParentId, m_pGlobalCmdXMLPacket, child);
        CSEString childCadId;
        m_pGlobalCmdXMLPacket->getAttributeValue(child, u"cadid", childCadId);
        m_pSparseCmdXMLPacket->copyNode(id, m_pGlobalCmdXMLPacket, child + u"/relationship");
        if (childCadId.size() != 0 && id >= 0)
            GetAlreadyProcessedChildrenFromGlobalXML(childCadId, id);
    }
    return true;
}
