// XmlNode: a light handle on a node (or an attribute, as XPath yields them) of an XmlDocument.
#ifndef QORVI_HOST_DVKXMLNODE_H
#define QORVI_HOST_DVKXMLNODE_H

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "host/DVKXmlStatus.h"

namespace dvk {

enum class XmlNodeKind
{
    Null,
    Document,
    Element,
    Text,
    CData,
    Attribute
};

struct XmlAttribute
{
    std::u16string name;
    std::u16string value;
};

struct XmlNodeRep;      // opaque: a node of the parser's tree
struct XmlAttributeRep; // opaque: an attribute of the parser's tree

// A handle is valid while its document lives and the node is in it: removing a node (or replacing
// the document) frees it and every handle on it or below it. Handles compare by identity.
// Text crosses this interface as UTF-16; reads of a null handle give empty results. A stored value
// holds U+FFFD for each character that XML cannot carry (see DVKXmlChars.h).
class XmlNode
{
public:
    XmlNode() = default;

    bool IsNull() const { return m_pNode == nullptr; }
    explicit operator bool() const { return !IsNull(); }
    bool operator==(const XmlNode& other) const
    {
        return m_pNode == other.m_pNode && m_pAttribute == other.m_pAttribute;
    }
    bool operator!=(const XmlNode& other) const { return !(*this == other); }
    // Agrees with ==, for hashed containers of handles.
    std::size_t Hash() const
    {
        return std::hash<const void*>()(m_pNode) ^ (std::hash<const void*>()(m_pAttribute) << 1);
    }

    XmlNodeKind Kind() const;
    bool IsElement() const { return Kind() == XmlNodeKind::Element; }
    // Tag name of an element, name of an attribute; else empty.
    std::u16string Name() const;
    // Text of a text or CDATA node, value of an attribute; else empty.
    std::u16string Value() const;
    // The element's text: the run of text and CDATA children that starts at its first child, joined
    // (a CDATA section holding "]]>" or a carriage return is written as adjacent sections, the
    // carriage return as a reference between them, and reads back whole here).
    // An attribute's text is its value.
    std::u16string Text() const;

    // Attributes of an element. GetAttribute gives "" when the attribute is absent; removing an
    // absent attribute succeeds. Other kinds hold none and refuse changes.
    bool HasAttribute(const std::u16string& name) const;
    std::u16string GetAttribute(const std::u16string& name) const;
    XmlStatus SetAttribute(const std::u16string& name, const std::u16string& value);
    XmlStatus RemoveAttribute(const std::u16string& name);
    std::vector<XmlAttribute> Attributes() const;

    XmlNode Parent() const;
    XmlNode FirstChild() const;
    XmlNode NextSibling() const;
    int ChildCount() const;
    std::vector<XmlNode> Children() const;

    // Creation appends the new node as the last child and returns it; a null handle means refused
    // (invalid name, or a parent that cannot hold it: only elements hold text, and a document holds
    // one element).
    XmlNode AppendElement(const std::u16string& name);
    XmlNode AppendText(const std::u16string& text);
    XmlNode AppendCData(const std::u16string& text);
    // Copies a node of any document (this one included) as the last child: deep copies the whole
    // subtree, shallow copies an element with its attributes only (text and CDATA with their text).
    XmlNode AppendImport(const XmlNode& source, bool deep);
    // Moves a node of the same document (not an ancestor of this one) to the end of this node.
    XmlStatus AppendChild(const XmlNode& child);
    // Removes and frees the child with its subtree.
    XmlStatus RemoveChild(const XmlNode& child);

    // Descendant elements (not this node) in document order; "*" matches every name.
    std::vector<XmlNode> ElementsByTagName(const std::u16string& name) const;
    XmlNode FirstElementByTagName(const std::u16string& name) const;
    // Calls visit for this node when it is an element and for every descendant element, in
    // document order, without recursion.
    void ForEachElement(const std::function<void(const XmlNode&)>& visit) const;

    // The node with its subtree as XML text, indented by two spaces (as a document is), without a
    // declaration.
    std::u16string ToText() const;

    // True for a well-formed XML name (as in the XML recommendation, for the ASCII range).
    static bool IsValidName(const std::u16string& name);

private:
    friend struct XmlNodeAccess;
    XmlNode(XmlNodeRep* node, XmlAttributeRep* attribute) : m_pNode(node), m_pAttribute(attribute) {}

    XmlNodeRep* m_pNode = nullptr;           // for an attribute: the element that holds it
    XmlAttributeRep* m_pAttribute = nullptr; // set only for an attribute
};

struct XmlNodeHash
{
    std::size_t operator()(const XmlNode& node) const { return node.Hash(); }
};

} // namespace dvk

#endif
