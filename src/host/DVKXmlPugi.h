// Private to the host XML layer: the bridge between XmlNode handles and the parser's own types,
// and the parse settings that every part of the layer shares.
#ifndef QORVI_HOST_DVKXMLPUGI_H
#define QORVI_HOST_DVKXMLPUGI_H

#include <pugixml.hpp>

#include <cstddef>
#include <string>

#include "host/DVKXmlNode.h"

namespace dvk {

struct XmlNodeAccess
{
    static XmlNode Make(pugi::xml_node node)
    {
        return XmlNode(reinterpret_cast<XmlNodeRep*>(node.internal_object()), nullptr);
    }
    static XmlNode Make(pugi::xml_node owner, pugi::xml_attribute attribute)
    {
        if (!owner || !attribute)
            return XmlNode();
        return XmlNode(reinterpret_cast<XmlNodeRep*>(owner.internal_object()),
                       reinterpret_cast<XmlAttributeRep*>(attribute.internal_object()));
    }
    static pugi::xml_node Node(const XmlNode& node)
    {
        return pugi::xml_node(reinterpret_cast<pugi::xml_node_struct*>(node.m_pNode));
    }
    static pugi::xml_attribute Attribute(const XmlNode& node)
    {
        return pugi::xml_attribute(reinterpret_cast<pugi::xml_attribute_struct*>(node.m_pAttribute));
    }
};

// Visits the descendants of root in document order without recursion; stops when visit says so.
template <typename Visit>
void WalkDescendants(pugi::xml_node root, Visit visit)
{
    pugi::xml_node current = root.first_child();
    while (current) {
        if (!visit(current))
            return;
        if (current.first_child()) {
            current = current.first_child();
            continue;
        }
        while (current != root && !current.next_sibling())
            current = current.parent();
        if (current == root)
            return;
        current = current.next_sibling();
    }
}

// Whitespace between elements is layout, but an element whose only content is blanks keeps them.
constexpr unsigned int kXmlParseOptions = pugi::parse_default | pugi::parse_ws_pcdata_single;
// Collects written text in memory.
class XmlStringWriter : public pugi::xml_writer
{
public:
    void write(const void* data, size_t size) override
    {
        m_text.append(static_cast<const char*>(data), size);
    }
    std::string& Text() { return m_text; }

private:
    std::string m_text;
};

} // namespace dvk

#endif
