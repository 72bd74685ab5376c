// XPath evaluation: compiles the expression, checks it yields nodes and hands them back as handles.
#include "host/DVKXPath.h"

#include <new>

#include "host/DVKUtf.h"
#include "host/DVKXmlPugi.h"

namespace dvk {

XmlStatus EvaluateXPath(const XmlNode& context, const std::u16string& expression,
                        std::vector<XmlNode>& nodes)
{
    nodes.clear();
    if (context.IsNull() || context.Kind() == XmlNodeKind::Attribute)
        return XmlStatus(XmlStatusCode::InvalidArgument, "the context is not a node");
    // A zero character would silently cut the expression short.
    if (expression.find(u'\0') != std::u16string::npos)
        return XmlStatus(XmlStatusCode::XPathError, "the expression holds a zero character");
    try {
        const pugi::xpath_query query(Utf16ToUtf8(expression).c_str());
        if (query.return_type() != pugi::xpath_type_node_set)
            return XmlStatus(XmlStatusCode::XPathError, "the expression does not select nodes");
        pugi::xpath_node_set selected = query.evaluate_node_set(XmlNodeAccess::Node(context));
        selected.sort();
        nodes.reserve(selected.size());
        for (const pugi::xpath_node& item : selected) {
            if (item.attribute())
                nodes.push_back(XmlNodeAccess::Make(item.parent(), item.attribute()));
            else
                nodes.push_back(XmlNodeAccess::Make(item.node()));
        }
    } catch (const pugi::xpath_exception& error) {
        nodes.clear();
        return XmlStatus(XmlStatusCode::XPathError, error.what());
    } catch (const std::bad_alloc&) {
        nodes.clear();
        return XmlStatus(XmlStatusCode::OutOfMemory, "out of memory");
    }
    return XmlStatus();
}

} // namespace dvk
