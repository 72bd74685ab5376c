// XPath evaluation: compiles the expression, checks it yields nodes and hands them back as handles.
#include "host/DVKXPath.h"

#include <new>

#include "host/DVKUtf.h"
#include "host/DVKXmlPugi.h"

namespace dvk {

struct XPathQuery::Compiled
{
    explicit Compiled(const std::string& expression) : query(expression.c_str()) {}
    pugi::xpath_query query;
};

XPathQuery::XPathQuery(const std::u16string& expression)
{
    // A zero character would silently cut the expression short.
    if (expression.find(u'\0') != std::u16string::npos) {
        m_status = XmlStatus(XmlStatusCode::XPathError, "the expression holds a zero character");
        return;
    }
    try {
        m_pCompiled.reset(new Compiled(Utf16ToUtf8(expression)));
        if (m_pCompiled->query.return_type() != pugi::xpath_type_node_set)
            m_status = XmlStatus(XmlStatusCode::XPathError, "the expression does not select nodes");
    } catch (const pugi::xpath_exception& error) {
        m_status = XmlStatus(XmlStatusCode::XPathError, error.what());
    } catch (const std::bad_alloc&) {
        m_status = XmlStatus(XmlStatusCode::OutOfMemory, "out of memory");
    }
    if (!m_status)
        m_pCompiled.reset();
}

XPathQuery::~XPathQuery() = default;

XmlStatus XPathQuery::AppendTo(const XmlNode& context, std::vector<XmlNode>& nodes) const
{
    if (!m_status)
        return m_status;
    if (context.IsNull() || context.Kind() == XmlNodeKind::Attribute)
        return XmlStatus(XmlStatusCode::InvalidArgument, "the context is not a node");
    const std::size_t before = nodes.size();
    try {
        pugi::xpath_node_set selected = m_pCompiled->query.evaluate_node_set(XmlNodeAccess::Node(context));
        selected.sort();
        nodes.reserve(before + selected.size());
        for (const pugi::xpath_node& item : selected) {
            if (item.attribute())
                nodes.push_back(XmlNodeAccess::Make(item.parent(), item.attribute()));
            else
                nodes.push_back(XmlNodeAccess::Make(item.node()));
        }
    } catch (const pugi::xpath_exception& error) {
        nodes.resize(before);
        return XmlStatus(XmlStatusCode::XPathError, error.what());
    } catch (const std::bad_alloc&) {
        nodes.resize(before);
        return XmlStatus(XmlStatusCode::OutOfMemory, "out of memory");
    }
    return XmlStatus();
}

XmlStatus EvaluateXPath(const XmlNode& context, const std::u16string& expression,
                        std::vector<XmlNode>& nodes)
{
    nodes.clear();
    if (context.IsNull() || context.Kind() == XmlNodeKind::Attribute)
        return XmlStatus(XmlStatusCode::InvalidArgument, "the context is not a node");
    try {
        const XPathQuery query(expression);
        return query.AppendTo(context, nodes);
    } catch (const std::bad_alloc&) {
        return XmlStatus(XmlStatusCode::OutOfMemory, "out of memory");
    }
}

} // namespace dvk
