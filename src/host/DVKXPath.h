// XPath 1.0 evaluation over XmlDocument trees.
#ifndef QORVI_HOST_DVKXPATH_H
#define QORVI_HOST_DVKXPATH_H

#include <memory>
#include <string>
#include <vector>

#include "host/DVKXmlNode.h"
#include "host/DVKXmlStatus.h"

namespace dvk {

// An expression compiled once and evaluated against any number of context nodes.
class XPathQuery
{
public:
    explicit XPathQuery(const std::u16string& expression);
    ~XPathQuery();
    XPathQuery(const XPathQuery&) = delete;
    XPathQuery& operator=(const XPathQuery&) = delete;

    // Failure when the expression does not compile or does not yield a node set.
    const XmlStatus& Status() const { return m_status; }
    // Appends the nodes selected from context, in document order (attributes come as Attribute
    // handles). On failure nothing is appended.
    XmlStatus AppendTo(const XmlNode& context, std::vector<XmlNode>& nodes) const;

private:
    struct Compiled;
    std::unique_ptr<Compiled> m_pCompiled;
    XmlStatus m_status;
};

// Evaluates the expression with context as the context node (a document's Root() for absolute
// and whole-document paths). The result must be a node set; nodes receives it in document order
// (attributes come as Attribute handles). On failure nodes is empty and the status says why.
XmlStatus EvaluateXPath(const XmlNode& context, const std::u16string& expression,
                        std::vector<XmlNode>& nodes);

} // namespace dvk

#endif
