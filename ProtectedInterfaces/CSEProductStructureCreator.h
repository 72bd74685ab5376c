/// \file
/// CSEProductStructureCreator: writes the product structure of a check-in, lock or version-recognition
/// request (relationship list, object list and structure tree) into the command's packet.
#ifndef CSEPRODUCTSTRUCTURECREATOR_H
#define CSEPRODUCTSTRUCTURECREATOR_H

#include <memory>

#include "CSEString.h"

class CSEObjectInfo;
class CSERelationship;
class CSEXMLPacket;

/// Every object is described once, in the object list ("cadobjectlist"); the structure tree
/// ("structure/active") carries only "cadid" references, so a shared file is sent once and placed
/// many times. Identifiers are the packet's unique identifiers; operations return the identifier of
/// the element they created, or -1. Element creations that the structure cannot do without raise a
/// CSEException (the packet keeps what was already written).
///
/// The builder does not own the packet. Its owner deletes it through Release, which makes a second
/// release of the same pointer harmless. Copies share the packet and the record of which file went
/// to which list entry.
class CSEProductStructureCreator
{
public:
    /// The packet must not be null (fatal). With create = 1 the three sections are written at once.
    CSEProductStructureCreator(CSEXMLPacket* pPacket, unsigned char create);
    /// Shares other's packet and its record of placed files.
    CSEProductStructureCreator(const CSEProductStructureCreator& other);
    /// Shares other's packet and its record of placed files; returns this builder.
    CSEProductStructureCreator& operator=(const CSEProductStructureCreator& other);
    virtual ~CSEProductStructureCreator();

    /// Deletes the builder the pointer names (if any) and nulls the pointer.
    static void Release(CSEProductStructureCreator*& pBuilder);

    /// Both the new and the current packet must be non-null (fatal).
    void SetXMLDoc(CSEXMLPacket* pXmlDocument);
    /// Sets the current position: the structure node that later additions go under.
    void SetXMLPosKey(int key);
    /// Writes "relationshiplist", "cadobjectlist" and "structure" (with "family" and "active") under
    /// "//command". Returns the identifier of "active".
    int Create();

    /// A root object under "active"; a file already in the object list is placed again with the
    /// cadid of its list entry.
    int CreateRootObject(const CSEObjectInfo& object);
    /// A root placement of the object whose list entry the path names; its cadid goes into object.
    int CreateSharedRootObject(const CSEString& objectPath, CSEObjectInfo& object);
    /// A child under the structure node parentId: structure node, list entry and relationship.
    int AddObject(int parentId, CSEObjectInfo& object, const CSERelationship& relationship);
    /// As AddObject under the first structure node of parentPath; -1 when there is none.
    int AddObject(const CSEString& parentPath, CSEObjectInfo& object, const CSERelationship& relationship);
    /// As AddObject, leaving the current position unchanged.
    int AddObjectActual(int parentId, const CSEObjectInfo& object, const CSERelationship& relationship);
    /// One more placement of the object of list entry objectListId under parentId; no list entry.
    int AddSharedObject(int parentId, const CSERelationship& relationship, int objectListId);

    /// A structure node for the object under parentId; returns its identifier, or -1.
    int AddObjectToStructure(int parentId, const CSEObjectInfo& object);
    /// Returns the identifier of the new list entry.
    int AddObjectToCadObjectList(int structureId, const CSEObjectInfo& object);
    /// Returns id.
    int AddDetailsOfCSEObjectInfo(int id, const CSEObjectInfo& object);
    /// Returns 0 when the "rid" was written.
    int AddRelEntryToStructure(int structureId, const CSERelationship& relationship);
    /// Adds the relationship to "relationshiplist"; returns the new entry's identifier, or -1.
    int AddRelationshipToRelList(const CSERelationship& relationship);

    /// The identifier of the first node of the path, or -1.
    int IsObjectAdded(const CSEString& nodePath, CSEString ignored);
    /// The identifier of the object-list entry of the file, or -1 when the file is not in the list.
    /// Files placed by this builder are found without searching the document.
    int FindObjectListEntry(const CSEString& fileName);
    /// True when a structure ancestor of the node id carries the cadid (an object inside itself).
    unsigned char IsObjectExistsInAncestor(int id, const CSEString& cadId);
    /// Places a dependent document under the first structure node of its parent (object.parentId)
    /// in the section ("//structure/active" or "//structure/family"). True when it is there now
    /// (placed, or found already placed); false when the parent is not in the section. Works also
    /// after the packet's identifiers were removed.
    unsigned char MakeStructureEntry(CSEString sectionPath, CSEObjectInfo& object,
                                     const CSERelationship& relationship);

private:
    struct FileIndex;

    CSEString SectionPath(int key, const char16_t* plainPath);
    CSEString ObjectListEntryPath(const CSEString& fileName);
    int CreateStructureNode(const CSEString& parentPath, const CSEString& cadId);
    int PlaceObject(int node, const CSEObjectInfo& object, const CSERelationship& relationship);

    CSEXMLPacket* m_xmlDocument;
    int m_xmlPosKey;
    int m_familyKey;
    int m_activeKey;
    int m_relationListKey;
    int m_objectListKey;
    std::shared_ptr<FileIndex> m_pFileIndex;
};

#endif
