// XPath 1.0 evaluation over XmlDocument trees.
#ifndef QORVI_HOST_DVKXPATH_H
#define QORVI_HOST_DVKXPATH_H

#include <string>
#include <vector>

#include "host/DVKXmlNode.h"
#include "host/DVKXmlStatus.h"

namespace dvk {

// Evaluates the expression with context as the context node (a document's Root() for absolute
// and whole-document paths). The result must be a node set; nodes receives it in document order
// (attributes come as Attribute handles). On failure nodes is empty and the status says why.
XmlStatus EvaluateXPath(const XmlNode& context, const std::u16string& expression,
                        std::vector<XmlNode>& nodes);

} // namespace dvk

#endif
