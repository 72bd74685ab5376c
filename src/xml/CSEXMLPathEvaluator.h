// CSEXMLPathEvaluator: evaluates node paths on a packet's document, remembering recent results
// and taking shortcuts where a path's result follows from one already known.
#ifndef QORVI_XML_CSEXMLPATHEVALUATOR_H
#define QORVI_XML_CSEXMLPATHEVALUATOR_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/DVKXmlNode.h"
#include "host/DVKXmlStatus.h"

class CSEXMLIdIndex;
class CSEXMLNodePath;

// Every result is the one a plain XPath evaluation of the whole path from the document node gives.
// The shortcuts:
// - a remembered result is reused while the document is unchanged (its version is the same);
// - a path ending in a position, "p[k]" whose last step is a child step, takes the k-th node
//   under each parent from the result of "p" (so reading "p[1]", "p[2]", ... is linear);
// - a path whose step carries the identifier test "[@iGSSLID='N']" as its first predicate, behind
//   steps of names and attribute tests only, finds the element through the identifier index and
//   evaluates only the rest of the path from it;
// - "q/step" for a child step evaluates the step from the nodes of "q" when those come from a
//   remembered result or another shortcut.
class CSEXMLPathEvaluator
{
public:
    struct Positions; // the nodes of a result grouped by their position under their parent

    struct Result
    {
        std::vector<dvk::XmlNode> nodes; // in document order
        bool attributes = false;         // some of the nodes are attributes
        mutable std::shared_ptr<const Positions> positions; // made when first needed
    };
    using Shared = std::shared_ptr<const Result>;

    // The document as the evaluator sees it. The version must change with every change to the
    // document; a replaced document needs Forget.
    struct Document
    {
        dvk::XmlNode root;
        const CSEXMLIdIndex* ids = nullptr;
        std::uint64_t version = 0;
    };

    void Forget();
    // Null when the path cannot be evaluated; status then says why.
    Shared Evaluate(const Document& document, const std::u16string& path, dvk::XmlStatus& status);

private:
    struct Remembered
    {
        Shared result;
        std::uint64_t lastUse = 0;
    };

    Shared Evaluate(const std::u16string& path, int depth, dvk::XmlStatus& status);
    Shared Derive(const std::u16string& path, int depth, bool& remember);
    Shared ByPosition(const std::u16string& path, const CSEXMLNodePath& shape, int depth);
    Shared ByIdentifierPath(int identifier);
    Shared ByIdentifier(const std::u16string& path, const CSEXMLNodePath& shape);
    Shared ByChildStep(const std::u16string& path, const CSEXMLNodePath& shape, int depth);
    Shared Plain(const std::u16string& path, dvk::XmlStatus& status);
    Shared Recall(const std::u16string& path);
    void Remember(const std::u16string& path, const Shared& result);

    Document m_document;
    std::unordered_map<std::u16string, Remembered> m_remembered;
    std::size_t m_rememberedNodes = 0;
    std::uint64_t m_clock = 0;
};

#endif
