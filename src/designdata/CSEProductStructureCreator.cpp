// CSEProductStructureCreator: the sections, object and relationship entries and structure nodes of
// a product structure request. Look-ups go through identifier steps, so that no step of building
// searches the whole document.
#include "CSEProductStructureCreator.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "CSEException.h"
#include "CSELogger.h"
#include "CSEMsgMgr.h"
#include "CSEObjectInfo.h"
#include "CSERelationship.h"
#include "CSEUtil.h"
#include "CSEXMLPacket.h"
#include "host/DVKFatal.h"

// Which list entry each file placed by this builder went to. Complete when the builder wrote the
// object list itself: a file missing here is then missing from the list too.
struct CSEProductStructureCreator::FileIndex
{
    std::unordered_map<std::u16string, int> entries;
    bool complete = false;
};

namespace {

const int kTextNode = 1;

CSEString Number(int number)
{
    return CSEString(std::to_string(number).c_str());
}

CSEString Literal(const CSEString& text)
{
    return CSEXMLPacket::MakeXPathLiteral(text);
}

CSEString IdentifierTest(int id)
{
    return u"[@iGSSLID='" + Number(id) + u"']";
}

CSEString ListEntryPath(int id)
{
    return u"//cadobjectlist/cadobject" + IdentifierTest(id);
}

[[noreturn]] void RaiseCreationFailure(const char16_t* logText, int line)
{
    CSELogger::LogMsg(3, logText);
    throw CSEException(__FILE__, line, CSEMsgMgr::GetMsgOrId(u"MSG_EXCEPTION_CREATING_XML_REFER_LOG"),
                       CSEExceptionError);
}

struct ObjectAttribute
{
    const char16_t* name;
    CSEString value;
    bool optional;             // written only when not empty
    const char16_t* logText;   // logged before an optional attribute is written, when set
};

std::vector<ObjectAttribute> ObjectAttributes(const CSEObjectInfo& object)
{
    CSEString dirName, printablePath;
    CSEUtil::FormatDirNameForWKC(object, dirName);
    CSEUtil::GetPrintablePath(object.fullFileName, printablePath);
    return {
        {u"name", object.name, false, nullptr},
        {u"filename", object.fileName, false, nullptr},
        {u"dirname", dirName, false, nullptr},
        {u"cadid", object.cadId, false, nullptr},
        {u"modified", object.modified, false, nullptr},
        {u"type", object.type, false, nullptr},
        {u"parentid", object.parentId, false, nullptr},
        {u"selected", object.selected, false, nullptr},
        {u"typelist", object.typeList, false, nullptr},
        {u"qx_type", object.qxTypeInStructure, false, nullptr},
        {u"uid", object.name + u"|" + printablePath, false, nullptr},
        {u"uuid", object.uuid, true, nullptr},
        {u"bustype", object.busType, true,
         u"[CSEProductStructureCreator::AddDetailsOfCSEObjectInfo] Object info contains the type, creating bustype xml attribute."},
        {u"busname", object.busName, true,
         u"[CSEProductStructureCreator::AddDetailsOfCSEObjectInfo] Object info contains the name, creating busname xml attribute."},
        {u"busrevision", object.busRevision, true,
         u"[CSEProductStructureCreator::AddDetailsOfCSEObjectInfo] Object info contains the revision, creating busrevision xml attribute."},
        {u"selectable", object.selectable, false, nullptr},
        {u"familyid", object.familyId, true, nullptr},
    };
}

} // namespace

CSEProductStructureCreator::CSEProductStructureCreator(CSEXMLPacket* pPacket, unsigned char create)
    : m_xmlDocument(pPacket), m_xmlPosKey(-1), m_familyKey(-1), m_activeKey(-1), m_relationListKey(-1),
      m_objectListKey(-1), m_pFileIndex(std::make_shared<FileIndex>())
{
    if (pPacket == nullptr)
        DVKFatalError("pPacket!= NULL");
    if (create == 1)
        Create();
}

CSEProductStructureCreator::CSEProductStructureCreator(const CSEProductStructureCreator& other) = default;

CSEProductStructureCreator& CSEProductStructureCreator::operator=(const CSEProductStructureCreator& other) = default;

CSEProductStructureCreator::~CSEProductStructureCreator()
{
    m_xmlDocument = nullptr;
}

void CSEProductStructureCreator::Release(CSEProductStructureCreator*& pBuilder)
{
    CSEProductStructureCreator* builder = pBuilder;
    pBuilder = nullptr;
    delete builder;
}

void CSEProductStructureCreator::SetXMLDoc(CSEXMLPacket* pXmlDocument)
{
    DVK_ASSERT(pXmlDocument);
    DVK_ASSERT(m_xmlDocument);
    if (pXmlDocument != m_xmlDocument)
        m_pFileIndex = std::make_shared<FileIndex>();
    m_xmlDocument = pXmlDocument;
}

void CSEProductStructureCreator::SetXMLPosKey(int key)
{
    m_xmlPosKey = key;
}

int CSEProductStructureCreator::Create()
{
    if (m_xmlDocument == nullptr)
        return -1;
    const CSEString command(u"//command");
    m_relationListKey = m_xmlDocument->createChildNode(command, u"relationshiplist", u"", kTextNode);
    if (m_relationListKey < 0)
        CSELogger::LogMsg(3, u"[CSEProductStructureCreator::Create]:Error in adding the RelnList node to the packet");
    m_objectListKey = m_xmlDocument->createChildNode(command, u"cadobjectlist", u"", kTextNode);
    if (m_objectListKey < 0)
        CSELogger::LogMsg(3, u"[CSEProductStructureCreator::Create]:Error in adding the CadObjList node to the packet");
    const int structure = m_xmlDocument->createChildNode(command, u"structure", u"", kTextNode);
    if (structure < 0)
        CSELogger::LogMsg(3, u"[CSEProductStructureCreator::Create]:Error in adding the Structure node to the packet");
    m_familyKey = m_xmlDocument->createChildNode(structure, u"family", u"", kTextNode);
    if (m_familyKey < 0)
        CSELogger::LogMsg(3, u"[CSEProductStructureCreator::Create]:Error in adding the family node to the packet");
    // A fresh object list: what this builder places in it is all it holds.
    m_pFileIndex = std::make_shared<FileIndex>();
    m_pFileIndex->complete = m_objectListKey >= 0;
    m_activeKey = m_xmlDocument->createChildNode(structure, u"active", u"", kTextNode);
    m_xmlPosKey = m_activeKey;
    if (m_activeKey < 0)
        RaiseCreationFailure(u"[CSEProductStructureCreator::Create]:Error in adding the active node to the packet",
                             __LINE__);
    return m_activeKey;
}

// The section's element through its identifier when it still carries it, else by its plain path.
CSEString CSEProductStructureCreator::SectionPath(int key, const char16_t* plainPath)
{
    const CSEString plain(plainPath);
    if (key < 0)
        return plain;
    const CSEString keyed = plain + IdentifierTest(key);
    return m_xmlDocument->getNodeCount(keyed) > 0 ? keyed : plain;
}

// A path to the file's entry in the object list, or an empty text when the file is not there.
CSEString CSEProductStructureCreator::ObjectListEntryPath(const CSEString& fileName)
{
    const auto found = m_pFileIndex->entries.find(fileName().Text());
    if (found != m_pFileIndex->entries.end()) {
        CSEString stored;
        const CSEString keyed = ListEntryPath(found->second);
        if (m_xmlDocument->getAttributeValue(keyed, u"filename", stored) == 0 && stored == fileName)
            return keyed;
    } else if (m_pFileIndex->complete) {
        return CSEString();
    }
    // Identifiers removed or the list changed behind the builder's back: search the list.
    const CSEString byName = u"//cadobjectlist/cadobject[@filename=" + Literal(fileName) + u"]";
    return m_xmlDocument->getNodeCount(byName) > 0 ? byName : CSEString();
}

int CSEProductStructureCreator::CreateStructureNode(const CSEString& parentPath, const CSEString& cadId)
{
    const int node = m_xmlDocument->createChildNode(parentPath, u"cadobject", u"", kTextNode);
    if (node < 0)
        RaiseCreationFailure(
            u"[CSEProductStructureCreator::AddObjectToStructure]:Error occured while creating cadobject tag under structure",
            __LINE__);
    m_xmlDocument->createProperty(node, u"cadid", cadId);
    return node;
}

int CSEProductStructureCreator::CreateRootObject(const CSEObjectInfo& object)
{
    if (m_xmlDocument == nullptr)
        return -1;
    const CSEString active = SectionPath(m_activeKey, u"//structure/active");
    const CSEString existing = ObjectListEntryPath(object.fileName);
    if (existing.size() == 0) {
        m_xmlPosKey = CreateStructureNode(active, object.cadId);
        m_xmlDocument->createProperty(m_xmlPosKey, u"firstentry", u"true");
        AddObjectToCadObjectList(m_xmlPosKey, object);
        return m_xmlPosKey;
    }
    CSEString cadId;
    m_xmlDocument->getAttributeValue(existing, u"cadid", cadId);
    m_xmlPosKey = CreateStructureNode(active, cadId);
    return m_xmlPosKey;
}

int CSEProductStructureCreator::CreateSharedRootObject(const CSEString& objectPath, CSEObjectInfo& object)
{
    if (m_xmlDocument == nullptr)
        return -1;
    CSEString cadId;
    if (m_xmlDocument->getAttributeValue(objectPath, u"cadid", cadId) != 0) {
        // A placement without a cadid would name no object.
        CSELogger::LogMsg(3, u"[CSEProductStructureCreator::CreateSharedRootObject] No object at " + objectPath);
        return -1;
    }
    object.cadId = cadId;
    m_xmlPosKey = CreateStructureNode(SectionPath(m_activeKey, u"//structure/active"), cadId);
    return m_xmlPosKey;
}

int CSEProductStructureCreator::AddObject(int parentId, CSEObjectInfo& object, const CSERelationship& relationship)
{
    const int node = AddObjectActual(parentId, object, relationship);
    if (node >= 0)
        m_xmlPosKey = node;
    return node;
}

int CSEProductStructureCreator::AddObject(const CSEString& parentPath, CSEObjectInfo& object,
                                          const CSERelationship& relationship)
{
    if (m_xmlDocument == nullptr)
        return -1;
    m_xmlPosKey = PlaceObject(CreateStructureNode(parentPath, object.cadId), object, relationship);
    return m_xmlPosKey;
}

int CSEProductStructureCreator::AddObjectActual(int parentId, const CSEObjectInfo& object,
                                                const CSERelationship& relationship)
{
    if (m_xmlDocument == nullptr)
        return -1;
    return PlaceObject(AddObjectToStructure(parentId, object), object, relationship);
}

// The list entry, the relationship under the new structure node and the relationship list entry.
int CSEProductStructureCreator::PlaceObject(int node, const CSEObjectInfo& object,
                                            const CSERelationship& relationship)
{
    AddObjectToCadObjectList(node, object);
    AddRelEntryToStructure(node, relationship);
    AddRelationshipToRelList(relationship);
    return node;
}

int CSEProductStructureCreator::AddSharedObject(int parentId, const CSERelationship& relationship,
                                                int objectListId)
{
    if (m_xmlDocument == nullptr)
        return -1;
    // Read before anything is written: a placement of an entry that does not exist would name no object.
    CSEString cadId;
    if (m_xmlDocument->getAttributeValue(ListEntryPath(objectListId), u"cadid", cadId) != 0) {
        CSELogger::LogMsg(3, u"Error in fuction [CSEProductStructureCreator::AddSharedObject]\t\t\t\t\t\t : No object list entry " +
                                 Number(objectListId));
        return -1;
    }
    const int node = m_xmlDocument->createChildNode(parentId, u"cadobject", u"", kTextNode);
    if (node < 0) {
        CSELogger::LogMsg(3, u"Error in fuction [CSEProductStructureCreator::AddSharedObject]\t\t\t\t\t\t : Could not create child node");
        return -1;
    }
    m_xmlPosKey = node;
    m_xmlDocument->createProperty(node, u"cadid", cadId);
    AddRelationshipToRelList(relationship);
    const int entry = m_xmlDocument->createChildNode(node, u"relationship", u"", kTextNode);
    m_xmlDocument->createProperty(entry, u"rid", relationship.rid);
    return m_xmlPosKey;
}

int CSEProductStructureCreator::AddObjectToStructure(int parentId, const CSEObjectInfo& object)
{
    if (m_xmlDocument == nullptr)
        return -1;
    return CreateStructureNode(m_xmlDocument->getNodePathFromUniqueId(parentId), object.cadId);
}

int CSEProductStructureCreator::AddObjectToCadObjectList(int /*structureId*/, const CSEObjectInfo& object)
{
    if (m_xmlDocument == nullptr)
        return -1;
    const int entry = m_xmlDocument->createChildNode(SectionPath(m_objectListKey, u"//cadobjectlist"),
                                                     u"cadobject", u"", kTextNode);
    if (entry < 0)
        RaiseCreationFailure(
            u"[CSEProductStructureCreator::AddObjectToCadObjectList]:Error occured while adding cadobject to cadobjectlist",
            __LINE__);
    AddDetailsOfCSEObjectInfo(entry, object);
    // The first entry of a file is the one its later look-ups find.
    m_pFileIndex->entries.emplace(object.fileName().Text(), entry);
    return entry;
}

int CSEProductStructureCreator::AddDetailsOfCSEObjectInfo(int id, const CSEObjectInfo& object)
{
    if (m_xmlDocument == nullptr)
        return id;
    for (const ObjectAttribute& attribute : ObjectAttributes(object)) {
        if (attribute.optional && attribute.value.size() == 0)
            continue;
        if (attribute.logText != nullptr)
            CSELogger::LogMsg(5, attribute.logText);
        m_xmlDocument->createProperty(id, attribute.name, attribute.value);
    }
    for (int i = 0; i < object.attributes.size(); ++i)
        m_xmlDocument->createAttributeNVPair(id, object.attributes[i].name, object.attributes[i].value);
    return id;
}

int CSEProductStructureCreator::AddRelEntryToStructure(int structureId, const CSERelationship& relationship)
{
    if (m_xmlDocument == nullptr)
        return -1;
    const int entry = m_xmlDocument->createChildNode(structureId, u"relationship", u"", kTextNode);
    if (entry < 0)
        RaiseCreationFailure(
            u"[CSEProductStructureCreator::AddRelEntryToStructure]:Error occured while creating relationship tag under structure",
            __LINE__);
    return m_xmlDocument->createProperty(entry, u"rid", relationship.rid);
}

int CSEProductStructureCreator::AddRelationshipToRelList(const CSERelationship& relationship)
{
    if (m_xmlDocument == nullptr)
        return -1;
    const int entry = m_xmlDocument->createChildNode(SectionPath(m_relationListKey, u"//relationshiplist"),
                                                     u"relationship", u"", kTextNode);
    if (entry < 0) {
        CSELogger::LogMsg(3, u"[CSEProductStructureCreator::AddRelationshipToRelList] Could not create relationship");
        return -1;
    }
    m_xmlDocument->createProperty(entry, u"cadrelationship", relationship.cadRelationship);
    m_xmlDocument->createProperty(entry, u"rid", relationship.rid);
    m_xmlDocument->createProperty(entry, u"structureview", relationship.structureView);
    if (relationship.qxId.size() != 0)
        m_xmlDocument->createProperty(entry, u"qxid", relationship.qxId);
    m_xmlDocument->createProperty(entry, u"topnode", relationship.topNode);
    m_xmlDocument->createProperty(entry, u"mustinstructure", u"true");
    for (int i = 0; i < relationship.attributes.size(); ++i)
        m_xmlDocument->createAttributeNVPair(entry, relationship.attributes[i].name,
                                             relationship.attributes[i].value);
    return entry;
}

int CSEProductStructureCreator::IsObjectAdded(const CSEString& nodePath, CSEString /*ignored*/)
{
    if (m_xmlDocument == nullptr)
        return -1;
    return m_xmlDocument->getUniqueIdOfNode(nodePath);
}

int CSEProductStructureCreator::FindObjectListEntry(const CSEString& fileName)
{
    if (m_xmlDocument == nullptr)
        return -1;
    const CSEString path = ObjectListEntryPath(fileName);
    return path.size() == 0 ? -1 : m_xmlDocument->getUniqueIdOfNode(path);
}

unsigned char CSEProductStructureCreator::IsObjectExistsInAncestor(int id, const CSEString& cadId)
{
    if (m_xmlDocument == nullptr)
        return 0;
    const CSEString path = u"//structure//cadobject" + IdentifierTest(id) + u"/ancestor::*[@cadid=" +
                           Literal(cadId) + u"]";
    return m_xmlDocument->getNodeCount(path) > 0 ? 1 : 0;
}

unsigned char CSEProductStructureCreator::MakeStructureEntry(CSEString sectionPath, CSEObjectInfo& object,
                                                             const CSERelationship& relationship)
{
    if (m_xmlDocument == nullptr)
        return 0;
    const CSEString parents = sectionPath + u"//cadobject[@cadid=" + Literal(object.parentId) + u"]";
    // The parent's first node: through its identifier while it has one, else by position.
    const int parentId = m_xmlDocument->getUniqueIdOfNode(parents);
    CSEString parent;
    if (parentId > 0)
        parent = u"//structure//cadobject" + IdentifierTest(parentId);
    else if (m_xmlDocument->getNodeCount(parents) > 0)
        parent = u"(" + parents + u")[1]";
    else
        return 0;
    // Counted, not looked up by identifier: an entry whose identifier was removed is still there.
    if (m_xmlDocument->getNodeCount(parent + u"/cadobject[@cadid=" + Literal(object.cadId) + u"]") == 0)
        AddObject(parent, object, relationship);
    return 1;
}
