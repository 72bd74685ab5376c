// CSECommonCheckoutCmd: reads a checkout answer (objects, relationships, structure) into records,
// through positional list reads, an in-memory structure tree and maps by cadid and rid.
#include "CSECommonCheckoutCmd.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

#include "CSECheckoutResponse.h"
#include "CSEClientSettings.h"
#include "CSEException.h"
#include "CSEIntegrationAgent.h"
#include "CSELogger.h"
#include "CSEMsgMgr.h"
#include "CSEResponse.h"
#include "CSEServerSettings.h"
#include "CSEUtil.h"
#include "CSEWrapperStringVector.h"
#include "CSEXMLPacket.h"
#include "designdata/CSECheckoutLookups.h"
#include "designdata/CSECheckoutPath.h"
#include "designdata/CSECheckoutStructure.h"
#include "designdata/CSECopyToCADSelection.h"
#include "designdata/CSEResponseList.h"
#include "host/DVKFatal.h"

namespace {

const char16_t kRelationshipsPath[] = u"//response/info/relationshiplist/relationship";
const char16_t kStructurePath[] = u"//response/info/structure";
const char16_t kAnyStructurePath[] = u"//structure";
const char16_t kEmbedded[] = u"embeddedComponent";
const char16_t kDesignTool[] = u"designtool";
const char16_t kTrue[] = u"true";

const CSEResponseField<CSEObjectInfo> kObjectFields[] = {
    {u"cadid", &CSEObjectInfo::cadId},
    {u"name", &CSEObjectInfo::name},
    {u"filename", &CSEObjectInfo::fileName},
    {u"lock", &CSEObjectInfo::lock},
    {u"familyname", &CSEObjectInfo::familyName},
    {u"renamedfrom", &CSEObjectInfo::renamedFrom},
    {u"dirname", &CSEObjectInfo::dirName},
    {u"load", &CSEObjectInfo::load},
    {u"selected", &CSEObjectInfo::selected},
    {u"type", &CSEObjectInfo::type},
    {u"modificationstatus", &CSEObjectInfo::modificationStatus},
    {u"qxtype", &CSEObjectInfo::busType},
    {u"qxversion", &CSEObjectInfo::qxVersion},
    {u"modificationstatus", &CSEObjectInfo::modificationStatus2},
    {u"seldepdoc", &CSEObjectInfo::selDepDoc},
};

const CSEResponseField<CSERelationship> kRelationshipFields[] = {
    {u"rid", &CSERelationship::rid},
    {u"topnode", &CSERelationship::topNode},
    {u"cadrelationship", &CSERelationship::cadRelationship},
    {u"modificationstatus", &CSERelationship::modificationStatus},
    {u"mustinstructure", &CSERelationship::structureView},
};

// The relationship attributes a record keeps, and the field each also fills ("Quantity" has its own).
const CSEResponseField<CSERelationship> kRelationshipAttributes[] = {
    {u"Renamed From", &CSERelationship::renamedFrom},
    {u"relativeXform", &CSERelationship::relativeXform},
    {u"newtransform", &CSERelationship::newTransform},
    {u"componentID", &CSERelationship::componentId},
    {u"newcomponentID", &CSERelationship::newComponentId},
    {u"qxid", &CSERelationship::qxId},
    {u"UUID", &CSERelationship::uuid},
    {u"Quantity", nullptr},
};

// Keeps the pair in the relationship when its name is one of the table's.
void KeepRelationshipAttribute(CSERelationship& relationship, const CSEAttribute& pair)
{
    for (const CSEResponseField<CSERelationship>& kept : kRelationshipAttributes) {
        if (pair.name != kept.attribute)
            continue;
        relationship.attributes.push_back(pair);
        if (kept.field != nullptr)
            relationship.*(kept.field) = pair.value;
        else if (pair.value.size() != 0)
            relationship.quantity = std::max(CSEUtil::getIntFromCSEString(pair.value), 1);
        return;
    }
}

CSEString Tokenized(const CSEString& text, CSEWrapperStringVector& pieces)
{
    if (text.size() != 0)
        CSEUtil::GetTokenizedArray(text, CSEString(u"|"), pieces);
    return text;
}

// fileName from its last "." to the end; empty without a ".".
CSEString DottedExtension(const CSEString& fileName)
{
    const int dot = fileName.find_last_of(CSEString(u"."));
    return dot < 0 ? CSEString() : fileName.substr(dot);
}

// formatCount and fullFileName from the "|"-separated file names of the record.
void SetFormats(CSEObjectInfo& record)
{
    CSEWrapperStringVector names;
    Tokenized(record.fileName, names);
    record.formatCount = names.Size();
    record.fullFileName.clear();
    for (int i = 0; i < names.Size(); ++i) {
        CSEString path;
        if (!CSECheckoutPath::Join(record.dirName, names[i], record.cadId, path)) {
            record.fullFileName.clear();
            return;
        }
        if (i > 0)
            record.fullFileName += u"|";
        record.fullFileName += path;
    }
}

// Whether the client works with a server that selects the attributes to copy (2010 on).
bool SelectiveAttributeCopy()
{
    CSEString version;
    try {
        const CSEClientSettings* settings = CSEClientSettings::GetInstance(0);
        if (settings != nullptr)
            settings->GetSetting(CSEString(CSE_SECTION_CLIENT), CSEString(CSE_KEY_COMPATIBLEWKCVERSION), version);
    } catch (...) {
        return false; // without client settings there is no version to go by
    }
    return CSEUtil::IsVersionEqualOrLater(version, CSEString(u"2010"), -1) != 0;
}

CSEException FormatError(const char16_t* messageId, const CSEString& name)
{
    CSEWrapperStringVector arguments;
    arguments.push_back(name);
    return CSEException(__FILE__, __LINE__, CSEMsgMgr::GetMsgOrId(CSEString(messageId), arguments),
                        CSEExceptionError);
}

struct ParentName
{
    CSEString path;
    CSEString fileName;
};

// The first record of the list for each cadid (selected ones only when asked).
std::unordered_map<std::u16string, int> FirstRecords(const CSEObjectInfoVector& list, bool selectedOnly)
{
    std::unordered_map<std::u16string, int> first;
    for (int i = 0; i < list.size(); ++i) {
        if (!selectedOnly || list[i].selected == kTrue)
            first.emplace(list[i].cadId().Text(), i);
    }
    return first;
}

int Lookup(const std::unordered_map<std::u16string, int>& first, const CSEString& cadid)
{
    if (cadid.size() == 0)
        return -1;
    const auto found = first.find(cadid().Text());
    return found == first.end() ? -1 : found->second;
}

} // namespace

CSECommonCheckoutCmd::CSECommonCheckoutCmd() : m_bDesignToolObjects(0)
{
    SetResponseObject(new CSECheckoutResponse());
    SetFocusBrowser(true);
}

CSECommonCheckoutCmd::CSECommonCheckoutCmd(const CSECommonCheckoutCmd& other)
    : CSECommand(other), m_ObjectMap(other.m_ObjectMap), m_TopLevelObjects(other.m_TopLevelObjects),
      m_TopLevelCadIds(other.m_TopLevelCadIds), m_bDesignToolObjects(other.m_bDesignToolObjects),
      m_sCheckoutDirectory(other.m_sCheckoutDirectory)
{
}

CSECommonCheckoutCmd& CSECommonCheckoutCmd::operator=(const CSECommonCheckoutCmd& other)
{
    if (this == &other)
        return *this;
    CSECommand::operator=(other);
    m_ObjectMap = other.m_ObjectMap;
    m_TopLevelObjects = other.m_TopLevelObjects;
    m_TopLevelCadIds = other.m_TopLevelCadIds;
    m_bDesignToolObjects = other.m_bDesignToolObjects;
    m_sCheckoutDirectory = other.m_sCheckoutDirectory;
    m_pLookups.reset();
    return *this;
}

CSECommonCheckoutCmd::~CSECommonCheckoutCmd()
{
    m_ObjectMap.clear();
}

CSEXMLPacket* CSECommonCheckoutCmd::ResponsePacket()
{
    return m_pResponse == nullptr ? nullptr : m_pResponse->GetXMLPacket();
}

CSEObjectInfo* CSECommonCheckoutCmd::FindObject(const CSEString& cadid)
{
    const CSEStringCSEObjectMapIterator found = m_ObjectMap.find(cadid);
    return found == m_ObjectMap.end() ? nullptr : &(*found).value;
}

CSECheckoutLookups& CSECommonCheckoutCmd::Lookups()
{
    CSEXMLPacket* packet = ResponsePacket();
    if (!m_pLookups || &m_pLookups->Packet() != packet)
        m_pLookups.reset(new CSECheckoutLookups(*packet));
    return *m_pLookups;
}

void CSECommonCheckoutCmd::ForgetAnswer()
{
    m_ObjectMap.clear();
    m_TopLevelObjects.clear();
    m_TopLevelCadIds.clear();
    m_bDesignToolObjects = 0;
    m_sCheckoutDirectory.clear();
    m_pLookups.reset();
}

void CSECommonCheckoutCmd::getObjectInfoList(CSEObjectInfoVector& out)
{
    ForgetAnswer();
    if (ResponsePacket() == nullptr)
        return;
    CSEString fallbackDirectory;
    const CSEResponseList& objects = Lookups().Objects();
    for (int i = 0; i < objects.Count(); ++i) {
        CSEObjectInfo record;
        objects.ReadFields(i, record, kObjectFields);
        CSEWrapperStringVector modified;
        Tokenized(objects.Attribute(i, CSEString(u"modifiedcadattributes")), modified);
        for (int j = 0; j < modified.Size(); ++j)
            record.modifiedCadAttributes.Append(new CSEString(modified[j]));
        const CSEString source = objects.Attribute(i, CSEString(u"fileSource"));
        if (source.size() != 0)
            record.tool = source;
        SetFormats(record);
        copyAttributesFromResponse(record, i);
        if (m_sCheckoutDirectory.size() == 0 && record.selected == kTrue) {
            if (!CSECheckoutPath::IsSafeFolder(record.dirName))
                CSELogger::LogMsg(3, u"[CSECommonCheckoutCmd::getObjectInfoList] The folder '" + record.dirName +
                                         u"' of the object '" + record.cadId + u"' is not a checkout folder");
            else if (record.lock == kTrue)
                m_sCheckoutDirectory = record.dirName;
            else
                fallbackDirectory = record.dirName;
        }
        m_ObjectMap[record.cadId] = record;
    }
    if (m_sCheckoutDirectory.size() == 0)
        m_sCheckoutDirectory = fallbackDirectory;
    SetParentNameByTraversingStructure(CSEString(kStructurePath));

    const bool multipleFormatsAllowed = CSEUtil::GetEnvVariableValue(CSEString(u"DV5_001")) == u"1";
    const bool missingFormatAllowed = CSEUtil::GetEnvVariableValue(CSEString(u"DV5_003")) == u"1";
    for (CSEStringCSEObjectMapIterator it = m_ObjectMap.begin(); it != m_ObjectMap.end(); ++it) {
        const CSEObjectInfo& record = (*it).value;
        if (!m_bDesignToolObjects && CSEUtil::StrCompareNoCase(record.tool, CSEString(kDesignTool)))
            m_bDesignToolObjects = 1;
        if (!multipleFormatsAllowed && record.formatCount >= 2)
            throw FormatError(u"MSG_MULTIPLE_FORMATS_FORBIDDEN", record.name);
        if (!missingFormatAllowed && record.formatCount == 0)
            throw FormatError(u"MSG_ERROR_NO_ATTACHED_FORMAT", record.name);
        out.push_back(record);
    }
}

void CSECommonCheckoutCmd::copyAttributesFromResponse(CSEObjectInfo& obj, int index)
{
    const CSEServerSettings* settings = CSEIntegrationAgent::GetIntegrationAgent().GetServerSettingsPtr();
    if (settings == nullptr) {
        DVKSysCheckFailure("pServerSettings");
        return;
    }
    if (ResponsePacket() == nullptr)
        return;
    const bool selective = SelectiveAttributeCopy();
    const CSECopyToCADSelection selection(*settings, obj);
    for (const CSEAttribute& pair : Lookups().Objects().Pairs(index)) {
        obj.attributes.push_back(pair);
        if (!selective || selection.Selects(pair.name))
            obj.attributes2.push_back(pair);
    }
}

void CSECommonCheckoutCmd::SetParentNameByTraversingStructure(CSEString xpath)
{
    CSELogger::LogDebugMsg(u"[CSECommonCheckoutCmd::SetParentNameByTraversingStructure]Entering");
    CSEXMLPacket* packet = ResponsePacket();
    CSECheckoutStructure structure;
    if (packet != nullptr && structure.Read(*packet, xpath)) {
        const std::vector<CSECheckoutStructure::Node>& nodes = structure.Nodes();
        // Each node's name as a parent, taken when the walk reaches it (before its children).
        std::vector<ParentName> asParent(nodes.size());
        for (std::size_t k = 0; k < nodes.size(); ++k) {
            const CSECheckoutStructure::Node& node = nodes[k];
            if (k > 0 && node.cadId.size() != 0 && node.rid.size() != 0 && Lookups().TopNodeOf(node.rid) == u"dpt") {
                if (CSEObjectInfo* child = FindObject(node.cadId)) {
                    const ParentName& parent = asParent[static_cast<std::size_t>(node.parent)];
                    child->parentFullPath = parent.path;
                    child->parentFileName = parent.fileName;
                }
            }
            const CSEObjectInfo* record = node.cadId.size() == 0 ? nullptr : FindObject(node.cadId);
            if (record == nullptr)
                continue;
            ParentName& name = asParent[k];
            if (record->type == kEmbedded) {
                // An embedded component passes its own parent on.
                name.path = record->parentFullPath;
                name.fileName = record->parentFileName;
            } else if (!CSEUtil::StrCompareNoCase(record->tool, CSEString(kDesignTool))) {
                const CSEString fileName =
                    CSECheckoutPath::WithExtension(record->name, CSEUtil::GetFileExtn(record->fileName));
                if (CSECheckoutPath::Join(record->dirName, fileName, record->cadId, name.path))
                    name.fileName = fileName;
            } else {
                name.path = record->fullFileName;
                if (CSECheckoutPath::AreSafeFileNames(record->fileName))
                    name.fileName = record->fileName;
            }
        }
    }
    CSELogger::LogDebugMsg(u"[CSECommonCheckoutCmd::SetParentNameByTraversingStructure]Exiting");
}

void CSECommonCheckoutCmd::getRelationshipList(CSERelationshipVector& out)
{
    CSEXMLPacket* packet = ResponsePacket();
    if (packet == nullptr)
        return;
    const CSEResponseList relationships(*packet, CSEString(kRelationshipsPath));
    CSEStringCSERelationshipMap byRid;
    for (int i = 0; i < relationships.Count(); ++i) {
        CSERelationship relationship;
        relationships.ReadFields(i, relationship, kRelationshipFields);
        for (const CSEAttribute& pair : relationships.Pairs(i))
            KeepRelationshipAttribute(relationship, pair);
        byRid[relationship.rid] = relationship;
    }
    GetCadObjectsForRelationships(CSEString(kAnyStructurePath), byRid);
    for (CSEStringCSERelationshipMapIterator it = byRid.begin(); it != byRid.end(); ++it)
        out.push_back((*it).value);
}

void CSECommonCheckoutCmd::GetCadObjectsForRelationships(const CSEString& structPath, CSEStringCSERelationshipMap& rels)
{
    CSEXMLPacket* packet = ResponsePacket();
    CSECheckoutStructure structure;
    if (packet == nullptr || !structure.Read(*packet, structPath))
        return;
    const std::vector<CSECheckoutStructure::Node>& nodes = structure.Nodes();
    // The path of a record's file as the structure places it.
    const auto pathOf = [](const CSEObjectInfo* record) {
        CSEString path;
        if (record == nullptr)
            return path;
        const CSEString fileName =
            record->type == kEmbedded
                ? record->fileName
                : CSECheckoutPath::WithExtension(record->name, CSEUtil::GetFileExtn(record->fileName));
        CSECheckoutPath::Join(record->dirName, fileName, record->cadId, path);
        return path;
    };
    for (std::size_t k = 1; k < nodes.size(); ++k) {
        const CSECheckoutStructure::Node& node = nodes[k];
        if (node.rid.size() == 0)
            continue;
        const CSEStringCSERelationshipMapIterator found = rels.find(node.rid);
        if (found == rels.end()) {
            CSELogger::LogMsg(4, u"[CSECommonCheckoutCmd::GetCadObjectsForRelationships] The structure uses "
                                 u"the relationship '" + node.rid + u"', which the response does not list");
            continue;
        }
        CSERelationship& relationship = (*found).value;
        const CSEString& parentCadId = nodes[static_cast<std::size_t>(node.parent)].cadId;
        CSEObjectInfo* parent = parentCadId.size() == 0 ? nullptr : FindObject(parentCadId);
        const CSEObjectInfo* child = node.cadId.size() == 0 ? nullptr : FindObject(node.cadId);
        if (parent != nullptr && relationship.renamedFrom.size() != 0)
            parent->hasRenamedChild = 1;
        relationship.parent = parent != nullptr ? *parent : CSEObjectInfo();
        relationship.child = child != nullptr ? *child : CSEObjectInfo();
        relationship.parentFullPath = pathOf(parent);
        relationship.childFullPath = pathOf(child);
        relationship.parentCadId = parentCadId;
        relationship.childCadId = node.cadId;
        relationship.childName = relationship.child.name;
    }
}

void CSECommonCheckoutCmd::setOldFileName(CSEObjectInfo& obj)
{
    const CSEString extension = DottedExtension(obj.fileName);
    const CSEString newFileName = obj.name + extension;
    CSEString oldFileName = obj.fileName;
    if (!obj.isTopLevel) {
        if (ResponsePacket() == nullptr)
            return;
        const CSEString rid = Lookups().TopChildRid(obj.cadId);
        const CSEString renamedFrom = rid.size() == 0 ? CSEString() : Lookups().FirstRenamedFrom(rid);
        if (renamedFrom.size() != 0)
            oldFileName = renamedFrom + extension;
    }
    if (!CSECheckoutPath::IsSafeFileName(newFileName)) {
        CSELogger::LogMsg(3, u"[CSECommonCheckoutCmd::setOldFileName] The object '" + obj.cadId +
                                 u"' keeps its file name: its name would make the file name '" + newFileName +
                                 u"', which leaves its folder");
        return;
    }
    obj.renamedFrom = oldFileName;
    obj.fileName = newFileName;
}

void CSECommonCheckoutCmd::GetRelIDFromStructForCadID(const CSEString& structPath, const CSEString& cadid, CSEString& rid)
{
    if (ResponsePacket() != nullptr && cadid.size() != 0)
        Lookups().StructureRid(structPath, cadid, rid);
}

void CSECommonCheckoutCmd::GetObjOldName(const CSEString&, int, CSEObjectInfo& obj)
{
    CSEString rid;
    GetRelIDFromStructForCadID(CSEString(kAnyStructurePath), obj.cadId, rid);
    if (rid.size() == 0)
        return;
    CSEString renamedFrom;
    if (Lookups().LastRenamedFrom(rid, renamedFrom))
        obj.renamedFrom = renamedFrom;
}

CSEObjectInfoVector CSECommonCheckoutCmd::GetTopLevelObjectInfoList()
{
    return m_TopLevelObjects;
}

unsigned char CSECommonCheckoutCmd::GetCSEObjectInfoFromCadId(const CSEString& cadid, CSEObjectInfo& out)
{
    const CSEObjectInfo* record = FindObject(cadid);
    if (record == nullptr)
        return 0;
    out = *record;
    return 1;
}

void CSECommonCheckoutCmd::SetFileNameFromCadId(const CSEString& cadid, const CSEString& fileName)
{
    CSEObjectInfo* record = FindObject(cadid);
    if (record == nullptr) {
        CSELogger::LogMsg(4, u"[CSECommonCheckoutCmd::SetFileNameFromCadId] The answer holds no object '" + cadid + u"'");
        return;
    }
    record->fileName = fileName;
    CSECheckoutPath::Join(record->dirName, fileName, cadid, record->fullFileName);
}

CSEString CSECommonCheckoutCmd::GetCheckoutDirectory()
{
    return m_sCheckoutDirectory;
}

unsigned char CSECommonCheckoutCmd::DoesRenamedObjectsExists()
{
    return m_bDesignToolObjects;
}

void CSECommonCheckoutCmd::CreateResponseForUserExit(const CSEString& result)
{
    if (m_pCmdXMLPacket == nullptr)
        return;
    CSECommand::CreateResponseHeader();
    SetResult(result);
}

unsigned char CSECommonCheckoutCmd::markTopLevelObject(CSEString xpath, CSEXMLPacket* packet, CSEObjectInfoVector& list)
{
    if (packet == nullptr)
        return 0;
    CSEString cadid;
    packet->getAttributeValue(xpath, CSEString(u"cadid"), cadid);
    return MarkTopLevel(list, Lookup(FirstRecords(list, false), cadid)) ? 1 : 0;
}

bool CSECommonCheckoutCmd::MarkTopLevel(CSEObjectInfoVector& list, int index)
{
    if (index < 0 || list[index].selected != kTrue)
        return false;
    list[index].isTopLevel = 1;
    // A selected part used in several places is one top-level object.
    if (m_TopLevelCadIds.insert(list[index].cadId().Text()).second)
        m_TopLevelObjects.push_back(list[index]);
    return true;
}

void CSECommonCheckoutCmd::findAllTopLevelObjects(CSEString xpath, CSEXMLPacket* packet, CSEObjectInfoVector& list)
{
    if (packet == nullptr)
        return;
    const std::unordered_map<std::u16string, int> first = FirstRecords(list, false);
    const int count = packet->getNodeCount(xpath);
    for (int i = 1; i <= count; ++i) {
        CSECheckoutStructure structure;
        if (!structure.Read(*packet, xpath + u"[" + CSEUtil::getCSEStringFromInt(i) + u"]"))
            continue;
        const std::vector<CSECheckoutStructure::Node>& nodes = structure.Nodes();
        // closed: the node or one above it is marked, so nothing below it is searched.
        std::vector<char> closed(nodes.size(), 0);
        for (std::size_t k = 0; k < nodes.size(); ++k) {
            if (k > 0 && closed[static_cast<std::size_t>(nodes[k].parent)])
                closed[k] = 1;
            else
                closed[k] = MarkTopLevel(list, Lookup(first, nodes[k].cadId)) ? 1 : 0;
        }
    }
}

void CSECommonCheckoutCmd::findTopLevelObject(CSEString xpath, CSEXMLPacket* packet, CSEObjectInfoVector& list)
{
    CSECheckoutStructure structure;
    if (packet == nullptr || !structure.Read(*packet, xpath))
        return;
    const std::unordered_map<std::u16string, int> firstSelected = FirstRecords(list, true);
    for (const CSECheckoutStructure::Node& node : structure.Nodes()) {
        const int index = Lookup(firstSelected, node.cadId);
        if (index >= 0) {
            list[index].isTopLevel = 1;
            return;
        }
    }
}

void CSECommonCheckoutCmd::ResetCommonCheckoutCmdObj()
{
    CreateCmdHeader();
    ForgetAnswer();
}
