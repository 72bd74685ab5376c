// XmlNode: node handles over the parser's tree, with the DOM rules the library relies on.
#include "host/DVKXmlNode.h"

#include <cstring>

#include "host/DVKUtf.h"
#include "host/DVKXmlChars.h"
#include "host/DVKXmlOutput.h"
#include "host/DVKXmlPugi.h"

namespace dvk {
namespace {

std::u16string Wide(const char* utf8)
{
    return Utf8ToUtf16(utf8, std::strlen(utf8));
}

bool HoldsElement(pugi::xml_node document)
{
    for (pugi::xml_node child = document.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element)
            return true;
    }
    return false;
}

// The DOM's hierarchy rule for the kinds the tree holds: elements hold elements, text and CDATA;
// a document holds a single element.
bool MayHold(pugi::xml_node parent, pugi::xml_node_type childType)
{
    const bool content = childType == pugi::node_element || childType == pugi::node_pcdata ||
                         childType == pugi::node_cdata;
    if (parent.type() == pugi::node_element)
        return content;
    return parent.type() == pugi::node_document && childType == pugi::node_element &&
           !HoldsElement(parent);
}

bool InRange(char16_t unit, char16_t low, char16_t high)
{
    return unit >= low && unit <= high;
}

bool IsNameStartUnit(char16_t unit)
{
    if (unit < 0x80)
        return (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z') || unit == u'_' ||
               unit == u':';
    return InRange(unit, 0xC0, 0xD6) || InRange(unit, 0xD8, 0xF6) || InRange(unit, 0xF8, 0x2FF) ||
           InRange(unit, 0x370, 0x37D) || InRange(unit, 0x37F, 0x1FFF) ||
           InRange(unit, 0x200C, 0x200D) || InRange(unit, 0x2070, 0x218F) ||
           InRange(unit, 0x2C00, 0x2FEF) || InRange(unit, 0x3001, 0xD7FF) ||
           InRange(unit, 0xD800, 0xDFFF) || // halves of the supplementary planes' characters
           InRange(unit, 0xF900, 0xFDCF) || InRange(unit, 0xFDF0, 0xFFFD);
}

bool IsNameUnit(char16_t unit)
{
    return IsNameStartUnit(unit) || (unit >= u'0' && unit <= u'9') || unit == u'-' || unit == u'.' ||
           unit == 0xB7 || InRange(unit, 0x300, 0x36F) || InRange(unit, 0x203F, 0x2040);
}

// An attribute written on its own, as name="value".
std::string AttributeText(pugi::xml_attribute attribute)
{
    std::string text = attribute.name();
    text += "=\"";
    for (const char* p = attribute.value(); *p != '\0'; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c == '&')
            text += "&amp;";
        else if (c == '<')
            text += "&lt;";
        else if (c == '"')
            text += "&quot;";
        else if (c < 0x20)
            text += "&#" + std::to_string(c) + ";";
        else
            text += static_cast<char>(c);
    }
    text += '"';
    return text;
}

} // namespace

XmlNodeKind XmlNode::Kind() const
{
    if (m_pAttribute != nullptr)
        return XmlNodeKind::Attribute;
    switch (XmlNodeAccess::Node(*this).type()) {
    case pugi::node_document: return XmlNodeKind::Document;
    case pugi::node_element: return XmlNodeKind::Element;
    case pugi::node_pcdata: return XmlNodeKind::Text;
    case pugi::node_cdata: return XmlNodeKind::CData;
    default: return XmlNodeKind::Null; // the parser keeps no other kinds
    }
}

std::u16string XmlNode::Name() const
{
    switch (Kind()) {
    case XmlNodeKind::Attribute: return Wide(XmlNodeAccess::Attribute(*this).name());
    case XmlNodeKind::Element: return Wide(XmlNodeAccess::Node(*this).name());
    default: return std::u16string();
    }
}

std::u16string XmlNode::Value() const
{
    switch (Kind()) {
    case XmlNodeKind::Attribute: return Wide(XmlNodeAccess::Attribute(*this).value());
    case XmlNodeKind::Text:
    case XmlNodeKind::CData: return Wide(XmlNodeAccess::Node(*this).value());
    default: return std::u16string();
    }
}

std::u16string XmlNode::Text() const
{
    if (m_pAttribute != nullptr)
        return Value();
    std::string text;
    for (pugi::xml_node child = XmlNodeAccess::Node(*this).first_child(); child;
         child = child.next_sibling()) {
        if (child.type() != pugi::node_pcdata && child.type() != pugi::node_cdata)
            break;
        text += child.value();
    }
    return Utf8ToUtf16(text);
}

bool XmlNode::HasAttribute(const std::u16string& name) const
{
    if (!IsElement())
        return false;
    return static_cast<bool>(XmlNodeAccess::Node(*this).attribute(Utf16ToUtf8(name).c_str()));
}

std::u16string XmlNode::GetAttribute(const std::u16string& name) const
{
    if (!IsElement())
        return std::u16string();
    return Wide(XmlNodeAccess::Node(*this).attribute(Utf16ToUtf8(name).c_str()).value());
}

XmlStatus XmlNode::SetAttribute(const std::u16string& name, const std::u16string& value)
{
    if (!IsElement())
        return XmlStatus(XmlStatusCode::InvalidArgument, "attributes belong to elements");
    if (!IsValidName(name))
        return XmlStatus(XmlStatusCode::InvalidArgument, "not an XML name");
    pugi::xml_node element = XmlNodeAccess::Node(*this);
    const std::string narrowName = Utf16ToUtf8(name);
    pugi::xml_attribute attribute = element.attribute(narrowName.c_str());
    if (!attribute)
        attribute = element.append_attribute(narrowName.c_str());
    if (!attribute || !attribute.set_value(XmlUtf8(value).c_str()))
        return XmlStatus(XmlStatusCode::OutOfMemory, "out of memory");
    return XmlStatus();
}

XmlStatus XmlNode::RemoveAttribute(const std::u16string& name)
{
    if (!IsElement())
        return XmlStatus(XmlStatusCode::InvalidArgument, "attributes belong to elements");
    XmlNodeAccess::Node(*this).remove_attribute(Utf16ToUtf8(name).c_str());
    return XmlStatus();
}

std::vector<XmlAttribute> XmlNode::Attributes() const
{
    std::vector<XmlAttribute> attributes;
    if (!IsElement())
        return attributes;
    for (pugi::xml_attribute attribute : XmlNodeAccess::Node(*this).attributes())
        attributes.push_back(XmlAttribute{Wide(attribute.name()), Wide(attribute.value())});
    return attributes;
}

XmlNode XmlNode::Parent() const
{
    if (m_pAttribute != nullptr)
        return XmlNode();
    return XmlNodeAccess::Make(XmlNodeAccess::Node(*this).parent());
}

XmlNode XmlNode::FirstChild() const
{
    if (m_pAttribute != nullptr)
        return XmlNode();
    return XmlNodeAccess::Make(XmlNodeAccess::Node(*this).first_child());
}

XmlNode XmlNode::NextSibling() const
{
    if (m_pAttribute != nullptr)
        return XmlNode();
    return XmlNodeAccess::Make(XmlNodeAccess::Node(*this).next_sibling());
}

int XmlNode::ChildCount() const
{
    int count = 0;
    for (XmlNode child = FirstChild(); child; child = child.NextSibling())
        ++count;
    return count;
}

std::vector<XmlNode> XmlNode::Children() const
{
    std::vector<XmlNode> children;
    for (XmlNode child = FirstChild(); child; child = child.NextSibling())
        children.push_back(child);
    return children;
}

XmlNode XmlNode::AppendElement(const std::u16string& name)
{
    if (m_pAttribute != nullptr || !IsValidName(name))
        return XmlNode();
    pugi::xml_node parent = XmlNodeAccess::Node(*this);
    if (!MayHold(parent, pugi::node_element))
        return XmlNode();
    pugi::xml_node element = parent.append_child(Utf16ToUtf8(name).c_str());
    return XmlNodeAccess::Make(element);
}

XmlNode XmlNode::AppendText(const std::u16string& text)
{
    if (m_pAttribute != nullptr || !IsElement())
        return XmlNode();
    pugi::xml_node node = XmlNodeAccess::Node(*this).append_child(pugi::node_pcdata);
    if (node && !node.set_value(XmlUtf8(text).c_str())) {
        XmlNodeAccess::Node(*this).remove_child(node);
        return XmlNode();
    }
    return XmlNodeAccess::Make(node);
}

XmlNode XmlNode::AppendCData(const std::u16string& text)
{
    if (m_pAttribute != nullptr || !IsElement())
        return XmlNode();
    pugi::xml_node node = XmlNodeAccess::Node(*this).append_child(pugi::node_cdata);
    if (node && !node.set_value(XmlUtf8(text).c_str())) {
        XmlNodeAccess::Node(*this).remove_child(node);
        return XmlNode();
    }
    return XmlNodeAccess::Make(node);
}

XmlNode XmlNode::AppendImport(const XmlNode& source, bool deep)
{
    if (IsNull() || m_pAttribute != nullptr || source.IsNull() || source.m_pAttribute != nullptr)
        return XmlNode();
    pugi::xml_node parent = XmlNodeAccess::Node(*this);
    pugi::xml_node original = XmlNodeAccess::Node(source);
    if (!MayHold(parent, original.type()))
        return XmlNode();
    if (deep || original.type() != pugi::node_element)
        return XmlNodeAccess::Make(parent.append_copy(original));

    pugi::xml_node copy = parent.append_child(pugi::node_element);
    if (!copy)
        return XmlNode();
    bool copied = copy.set_name(original.name());
    for (pugi::xml_attribute attribute : original.attributes())
        copied = copied && copy.append_copy(attribute);
    if (!copied) {
        parent.remove_child(copy);
        return XmlNode();
    }
    return XmlNodeAccess::Make(copy);
}

XmlStatus XmlNode::AppendChild(const XmlNode& child)
{
    if (IsNull() || m_pAttribute != nullptr || child.IsNull() || child.m_pAttribute != nullptr)
        return XmlStatus(XmlStatusCode::InvalidArgument, "only nodes hold children");
    pugi::xml_node parent = XmlNodeAccess::Node(*this);
    pugi::xml_node moved = XmlNodeAccess::Node(child);
    const bool alreadyHere = moved.parent() == parent;
    if (!alreadyHere && !MayHold(parent, moved.type()))
        return XmlStatus(XmlStatusCode::InvalidArgument, "this node cannot hold that child");
    if (!parent.append_move(moved))
        return XmlStatus(XmlStatusCode::InvalidArgument,
                       "the child belongs to another document or is an ancestor");
    return XmlStatus();
}

XmlStatus XmlNode::RemoveChild(const XmlNode& child)
{
    if (IsNull() || m_pAttribute != nullptr || child.IsNull() || child.m_pAttribute != nullptr)
        return XmlStatus(XmlStatusCode::InvalidArgument, "only nodes hold children");
    pugi::xml_node parent = XmlNodeAccess::Node(*this);
    pugi::xml_node removed = XmlNodeAccess::Node(child);
    if (removed.parent() != parent)
        return XmlStatus(XmlStatusCode::NotAChild, "not a child of this node");
    // The parser frees a subtree recursively; taking it apart leaf by leaf first keeps a deep
    // subtree from exhausting the stack.
    pugi::xml_node current = removed;
    for (;;) {
        while (current.first_child())
            current = current.first_child();
        if (current == removed)
            break;
        pugi::xml_node above = current.parent();
        above.remove_child(current);
        current = above;
    }
    parent.remove_child(removed);
    return XmlStatus();
}

std::vector<XmlNode> XmlNode::ElementsByTagName(const std::u16string& name) const
{
    std::vector<XmlNode> elements;
    if (IsNull() || m_pAttribute != nullptr)
        return elements;
    const bool any = name == u"*";
    const std::string narrowName = Utf16ToUtf8(name);
    WalkDescendants(XmlNodeAccess::Node(*this), [&](pugi::xml_node node) {
        if (node.type() == pugi::node_element && (any || narrowName == node.name()))
            elements.push_back(XmlNodeAccess::Make(node));
        return true;
    });
    return elements;
}

XmlNode XmlNode::FirstElementByTagName(const std::u16string& name) const
{
    XmlNode found;
    if (IsNull() || m_pAttribute != nullptr)
        return found;
    const bool any = name == u"*";
    const std::string narrowName = Utf16ToUtf8(name);
    WalkDescendants(XmlNodeAccess::Node(*this), [&](pugi::xml_node node) {
        if (node.type() == pugi::node_element && (any || narrowName == node.name()))
            found = XmlNodeAccess::Make(node);
        return found.IsNull();
    });
    return found;
}

void XmlNode::ForEachElement(const std::function<void(const XmlNode&)>& visit) const
{
    if (IsNull() || m_pAttribute != nullptr)
        return;
    pugi::xml_node root = XmlNodeAccess::Node(*this);
    if (root.type() == pugi::node_element)
        visit(*this);
    WalkDescendants(root, [&](pugi::xml_node node) {
        if (node.type() == pugi::node_element)
            visit(XmlNodeAccess::Make(node));
        return true;
    });
}

std::u16string XmlNode::ToText() const
{
    if (IsNull())
        return std::u16string();
    if (m_pAttribute != nullptr)
        return Utf8ToUtf16(AttributeText(XmlNodeAccess::Attribute(*this)));
    XmlStringWriter writer;
    WriteXml(XmlNodeAccess::Node(*this), writer);
    return Utf8ToUtf16(writer.Text());
}

bool XmlNode::IsValidName(const std::u16string& name)
{
    if (name.empty() || !IsNameStartUnit(name[0]))
        return false;
    for (char16_t unit : name) {
        if (!IsNameUnit(unit))
            return false;
    }
    return true;
}

} // namespace dvk
