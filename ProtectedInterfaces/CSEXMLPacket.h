/// \file
/// CSEXMLPacket: the XML document of every request and response, addressed by node path or identifier.
#ifndef CSEXMLPACKET_H
#define CSEXMLPACKET_H

#include "CSEString.h"

class CSEStringCSEStringMap;
class CSEWrapperStringVector;

/// A packet addresses nodes by a node path (an XPath 1.0 expression evaluated against the whole
/// document; operations use the first node selected unless they take an index) or by a unique
/// identifier: the packet stamps each element it creates with the attribute "iGSSLID", and an
/// operation given an identifier works on the node path getNodePathFromUniqueId returns.
///
/// Results: 0 success; -1 failure (no document, refused by the XML layer); -1003 the addressed node
/// was not found; creating operations return the new identifier. No operation throws.
///
/// Query cache: a path query remembers its path and result, and asking for the same path again
/// reuses that result (even when nodes were added since) until removeChildNode, appendXMLString,
/// createNamedNVPairLikeRLX or a parse empties the cache; query mode 1 always evaluates afresh. A
/// cached result that holds attributes is not reused once an attribute removal may have freed them.
///
/// Node kinds of createChildNode: 1 the text becomes a text node, 2 a CDATA section.
class CSEXMLPacket
{
public:
    virtual ~CSEXMLPacket();
    /// Copies the identifier counter.
    virtual CSEXMLPacket& operator=(const CSEXMLPacket& other);

    /// 0 also when the parent path finds nothing; 1 when the child is missing or not its child.
    virtual int removeChildNode(const CSEString& parentPath, const CSEString& childPath) = 0;
    /// -1003 when the node is missing or not an element.
    virtual int removeAttribute(const CSEString& path, const CSEString& attributeName) = 0;
    /// A parse replaces the document; a failed parse leaves the packet without a document.
    virtual int loadXMLFile(const CSEString& filePath) = 0;
    /// Parses the text into a new document; 0 on success, -1 when it is not well-formed (the packet then
    /// has no document).
    virtual int loadXMLinMemory(const CSEString& xmlText) = 0;
    /// UTF-8, indented by two spaces; the file is replaced whole (a reader never sees half of it)
    /// and readable by its owner only.
    virtual int saveXMLFile(const CSEString& filePath) = 0;
    /// The whole document as text into xmlText; 0 on success, -1 without a document.
    virtual int getXMLString(CSEString& xmlText) = 0;
    /// Returns the new identifier (used up even when nothing is created), or -1.
    virtual int createChildNode(int parentId, const CSEString& elementName, const CSEString& text,
                                int kind) = 0;
    /// As createChildNode under the first node of parentPath; -1003 when there is none.
    virtual int createChildNode(const CSEString& parentPath, const CSEString& elementName,
                                const CSEString& text, int kind) = 0;
    /// Sets the attribute on the element id (replacing its value); 0 on success, -1003 when the element is
    /// missing.
    virtual int createProperty(int id, const CSEString& attributeName, const CSEString& value) = 0;
    /// Sets the attribute on the first node of path (queryMode 1: path evaluated afresh); 0 on success,
    /// -1003 when the node is missing.
    virtual int createProperty(const CSEString& path, const CSEString& attributeName,
                               const CSEString& value, int queryMode = 0) = 0;
    /// An "attribute" element with "name" and "value" children.
    virtual int createAttributeNVPair(int id, const CSEString& name, const CSEString& value) = 0;
    /// As createAttributeNVPair under the first node of path.
    virtual int createAttributeNVPair(const CSEString& path, const CSEString& name,
                                      const CSEString& value) = 0;
    /// An element with a "name" child and a child named valueElementName, each holding a CDATA
    /// section (the value element is left out when its name is empty).
    virtual int createNamedNVPair(int id, const CSEString& elementName, const CSEString& name,
                                  const CSEString& value, const CSEString& valueElementName) = 0;
    /// As createNamedNVPair under the first node of path.
    virtual int createNamedNVPair(const CSEString& path, const CSEString& elementName,
                                  const CSEString& name, const CSEString& value,
                                  const CSEString& valueElementName) = 0;
    /// The element's text (its leading text and CDATA children joined).
    virtual int getNodeValue(const CSEString& path, CSEString& value) = 0;
    /// Appends text to the first node of path; 0 on success, -1003 when the node is missing.
    virtual int appendNodeValue(const CSEString& path, const CSEString& text) = 0;
    /// The number of child elements of the element id; 0 when it is missing.
    virtual int getChildNodeCount(int id) = 0;
    /// The number of child elements of the first node of path; 0 when there is none.
    virtual int getChildNodeCount(const CSEString& path) = 0;
    /// The number of nodes the path selects.
    virtual int getNodeCount(const CSEString& path) = 0;
    /// The node path of the element with identifier id.
    virtual CSEString getNodePathFromUniqueId(int id) = 0;
    /// Does nothing; returns 0.
    virtual int reservedNoOp() = 0;
    /// index counts the nodes the path selects, from 0.
    virtual int getAttributeValueAt(const CSEString& path, int index, const CSEString& attributeName,
                                    CSEString& value) = 0;
    /// Sets the attribute on node number index (from 0) of the path; 0 on success, -1003 when there is no
    /// such node.
    virtual int setAttributeValueAt(const CSEString& path, int index, const CSEString& attributeName,
                                    const CSEString& value) = 0;
    /// index counts the children of the first node, from 0.
    virtual int getChildNodeName(const CSEString& path, int index, CSEString& name) = 0;
    /// Reads back the name and "value" of element number index (from 0) of the path.
    virtual int getNamedNVPair(const CSEString& path, int index, CSEString& name, CSEString& value) = 0;
    /// The attributes of the first node of path by name; returns 0 (the base class fills nothing).
    virtual int getNodeProperties(CSEString path, CSEStringCSEStringMap& properties);
    /// The attribute names and values of the first node of path, in document order; returns 0 (the base
    /// class fills nothing).
    virtual int getNodeProperties(CSEString path, CSEWrapperStringVector& names,
                                  CSEWrapperStringVector& values);
    /// Removes the attribute from every element; 0 on success, -1003 without elements.
    virtual int removeAttributeFromAllNodes(const CSEString& attributeName) = 0;
    /// The element id with its subtree as text; 0 on success, -1003 when it is missing.
    virtual int getNodeXMLString(int id, CSEString& xmlText) = 0;
    /// The first node of path with its subtree as text; 0 on success, -1003 when it is missing.
    virtual int getNodeXMLString(const CSEString& path, CSEString& xmlText) = 0;
    /// Appends the root element of the XML fragment (with its subtree, unstamped).
    virtual int appendXMLString(int id, const CSEString& xmlFragment) = 0;
    /// As appendXMLString under the first node of path.
    virtual int appendXMLString(const CSEString& path, const CSEString& xmlFragment) = 0;
    /// Appends a stamped copy of the source node with its attributes but without its children.
    virtual int copyNode(int parentId, CSEXMLPacket* sourcePacket, const CSEString& sourcePath) = 0;
    /// As copyNode under the first node of parentPath.
    virtual int copyNode(const CSEString& parentPath, CSEXMLPacket* sourcePacket,
                         const CSEString& sourcePath) = 0;
    /// -1 when the node is missing or carries no identifier.
    virtual int getUniqueIdOfNode(const CSEString& path) = 0;
    /// The attribute of the first node of path into value (empty when absent); 0 on success, -1003 when the
    /// node is missing.
    virtual int getAttributeValue(const CSEString& path, const CSEString& attributeName,
                                  CSEString& value) = 0;
    /// An "attribute" element with "name" and "MandatoryValue" children under the element id; returns the
    /// new identifier (the base class does nothing and returns 0).
    virtual int createAttributeNMandatoryVPair(int id, const CSEString& name, const CSEString& value);
    /// An "attribute" element with "name" and "DefaultValue" children under the element id; returns the new
    /// identifier (the base class does nothing and returns 0).
    virtual int createAttributeNDefaultVPair(int id, const CSEString& name, const CSEString& value);
    /// An "attribute" element with only a "name" child under the element id; returns the new identifier
    /// (the base class does nothing and returns 0).
    virtual int createAttributeName(int id, const CSEString& name);
    /// 1 when there is no document element.
    virtual int getRootNodeName(CSEString& name) = 0;
    /// As createNamedNVPair, with the name as a text node; empties the query cache.
    virtual int createNamedNVPairLikeRLX(const CSEString& path, const CSEString& elementName,
                                         const CSEString& name, const CSEString& value,
                                         const CSEString& valueElementName);

    /// Sets the last identifier handed out; the next element gets identifier + 1.
    void SetGSSLUniqueIdentifier(int identifier);
    /// Returns the last identifier handed out.
    int getLastValueOfUniqueIdentifier();
    /// A new, empty packet that numbers its elements from initialIdentifier + 1 (-1 counts as 0);
    /// the caller owns it. Null when it cannot be allocated.
    static CSEXMLPacket* GetXMLPacketPtr(int initialIdentifier);

    /// The text as an XPath 1.0 string literal, for embedding values in node paths: 'text' when the
    /// text holds no apostrophe, "text" when it holds no quotation mark, otherwise a concat() of
    /// both kinds of literal (O'Brien "2" gives concat('O', "'", 'Brien "2"')).
    static CSEString MakeXPathLiteral(const CSEString& text);

protected:
    CSEXMLPacket();
    /// Copies the identifier counter.
    CSEXMLPacket(const CSEXMLPacket& other);

    int m_iGSSLUniqueIdentifier; ///< the last identifier handed out
};

#endif
