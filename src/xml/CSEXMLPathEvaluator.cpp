// CSEXMLPathEvaluator: node paths evaluated through remembered results, positions under a parent,
// the identifier index and steps taken from known nodes, falling back to a plain XPath evaluation.
#include "xml/CSEXMLPathEvaluator.h"

#include <algorithm>
#include <new>
#include <unordered_set>
#include <utility>

#include "host/DVKXPath.h"
#include "xml/CSEXMLIdIndex.h"
#include "xml/CSEXMLNodePath.h"

using dvk::XmlNode;
using dvk::XmlNodeKind;
using Separator = CSEXMLNodePath::Separator;
using Step = CSEXMLNodePath::Step;

struct CSEXMLPathEvaluator::Positions
{
    // The nodes ordered by their position under their parent, each position in document order:
    // position k (from 1) holds nodes[starts[k - 1]] up to, not including, nodes[starts[k]].
    std::vector<XmlNode> nodes;
    std::vector<std::size_t> starts;
};

namespace {

// Remembered results: at most this many, holding at most this many nodes together (the result
// remembered last is kept whatever its size).
const std::size_t kRememberedResults = 32;
const std::size_t kRememberedNodes = std::size_t(1) << 20;
// A step is taken from at most this many known nodes; from more, one evaluation of the whole
// path is as quick.
const std::size_t kMaxContexts = 256;
// Shortcuts nest no deeper; a path of more steps or predicates is evaluated whole.
const int kMaxDepth = 16;

CSEXMLPathEvaluator::Shared MakeResult(std::vector<XmlNode> nodes)
{
    auto result = std::make_shared<CSEXMLPathEvaluator::Result>();
    result->attributes = std::any_of(nodes.begin(), nodes.end(), [](const XmlNode& node) {
        return node.Kind() == XmlNodeKind::Attribute;
    });
    result->nodes = std::move(nodes);
    return result;
}

std::shared_ptr<const CSEXMLPathEvaluator::Positions> Group(const std::vector<XmlNode>& nodes)
{
    auto positions = std::make_shared<CSEXMLPathEvaluator::Positions>();
    std::vector<std::size_t> position(nodes.size());
    std::unordered_map<XmlNode, std::size_t, dvk::XmlNodeHash> seenUnder;
    std::size_t highest = 0;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        position[i] = ++seenUnder[nodes[i].Parent()];
        highest = std::max(highest, position[i]);
    }
    // Counting sort by position, stable, so each position keeps document order.
    positions->starts.assign(highest + 1, 0);
    for (std::size_t p : position)
        ++positions->starts[p];
    for (std::size_t p = 1; p <= highest; ++p)
        positions->starts[p] += positions->starts[p - 1];
    std::vector<std::size_t> next(positions->starts.begin(), positions->starts.end() - 1);
    positions->nodes.resize(nodes.size());
    for (std::size_t i = 0; i < nodes.size(); ++i)
        positions->nodes[next[position[i] - 1]++] = nodes[i];
    return positions;
}

bool NameMatches(const Step& step, const XmlNode& node)
{
    return node.IsElement() && (step.name == u"*" || node.Name() == step.name);
}

// A named step whose predicates are all attribute tests.
bool IsSimple(const Step& step)
{
    std::u16string name, value;
    char16_t quote = 0;
    return step.named && std::all_of(step.predicates.begin(), step.predicates.end(), [&](const auto& predicate) {
        return CSEXMLNodePath::IsAttributeTest(predicate.text, name, value, quote);
    });
}

// The node passes a simple step's name test and attribute tests.
bool PassesSimple(const Step& step, const XmlNode& node)
{
    if (!NameMatches(step, node))
        return false;
    std::u16string name, value;
    char16_t quote = 0;
    for (const CSEXMLNodePath::Predicate& predicate : step.predicates) {
        CSEXMLNodePath::IsAttributeTest(predicate.text, name, value, quote);
        if (!node.HasAttribute(name) || node.GetAttribute(name) != value)
            return false;
    }
    return true;
}

// The predicate the packet writes for an identifier: "@iGSSLID='N'" with N in canonical decimal.
bool IsIdentifierTest(const CSEXMLNodePath::Predicate& predicate, int& identifier)
{
    std::u16string name, value;
    char16_t quote = 0;
    return CSEXMLNodePath::IsAttributeTest(predicate.text, name, value, quote) && quote == u'\'' &&
           name == CSEXMLIdIndex::AttributeName() && CSEXMLIdIndex::ParseIdentifier(value, identifier);
}

// Whether the steps before steps[last] (names and attribute tests, each after its separator)
// select, from the document node, a node whose step steps[last] reaches the element.
bool ReachedBy(const std::vector<Step>& steps, std::size_t last, const XmlNode& element)
{
    const Step& final = steps[last];
    if (!NameMatches(final, element))
        return false;
    if (last == 0 && final.separator == Separator::Descendant)
        return true; // every element descends from the document node
    // The ancestors from the document node down to the element's parent.
    std::vector<XmlNode> chain;
    for (XmlNode above = element.Parent(); above; above = above.Parent())
        chain.push_back(above);
    if (chain.empty())
        return false; // not in a document
    std::reverse(chain.begin(), chain.end());
    // selected[j]: chain[j] is selected by the steps taken so far (none yet: the document node).
    std::vector<char> selected(chain.size(), 0), next(chain.size(), 0);
    selected[0] = 1;
    for (std::size_t i = 0; i < last; ++i) {
        bool earlier = false; // some chain node above j is selected
        for (std::size_t j = 0; j < chain.size(); ++j) {
            const bool reached = steps[i].separator == Separator::Child ? j > 0 && selected[j - 1] : earlier;
            next[j] = reached && j > 0 && PassesSimple(steps[i], chain[j]);
            earlier = earlier || selected[j];
        }
        selected.swap(next);
    }
    if (final.separator == Separator::Child)
        return selected.back() != 0;
    return std::find(selected.begin(), selected.end(), 1) != selected.end();
}

// Whether a context lies below another, so that the nodes found from each in turn would not come
// in document order.
bool Nested(const std::vector<XmlNode>& contexts)
{
    if (contexts.size() < 2)
        return false;
    const std::unordered_set<XmlNode, dvk::XmlNodeHash> known(contexts.begin(), contexts.end());
    for (const XmlNode& context : contexts) {
        for (XmlNode above = context.Parent(); above; above = above.Parent()) {
            if (known.count(above) != 0)
                return true;
        }
    }
    return false;
}

} // namespace

void CSEXMLPathEvaluator::Forget()
{
    m_remembered.clear();
    m_rememberedNodes = 0;
    m_document = Document();
}

CSEXMLPathEvaluator::Shared CSEXMLPathEvaluator::Evaluate(const Document& document, const std::u16string& path,
                                                          dvk::XmlStatus& status)
{
    status = dvk::XmlStatus();
    try {
        if (document.version != m_document.version || document.root != m_document.root ||
            document.ids != m_document.ids) {
            Forget();
            m_document = document;
        }
        return Evaluate(path, 0, status);
    } catch (const std::bad_alloc&) {
        Forget();
        status = dvk::XmlStatus(dvk::XmlStatusCode::OutOfMemory, "out of memory");
        return nullptr;
    }
}

CSEXMLPathEvaluator::Shared CSEXMLPathEvaluator::Evaluate(const std::u16string& path, int depth,
                                                          dvk::XmlStatus& status)
{
    if (Shared known = Recall(path))
        return known;
    bool remember = true;
    Shared result = Derive(path, depth, remember);
    if (!result) {
        result = Plain(path, status);
        remember = true;
    }
    if (result && remember)
        Remember(path, result);
    return result;
}

CSEXMLPathEvaluator::Shared CSEXMLPathEvaluator::Derive(const std::u16string& path, int depth, bool& remember)
{
    if (depth > kMaxDepth)
        return nullptr;
    // Results by position or identifier cost little to derive again and are not remembered, so
    // that reading many of them keeps the results they come from.
    remember = false;
    int identifier = 0;
    if (CSEXMLIdIndex::ParsePath(path, identifier))
        return ByIdentifierPath(identifier);
    const CSEXMLNodePath shape(path);
    if (!shape.IsSplit())
        return nullptr;
    if (Shared result = ByPosition(path, shape, depth))
        return result;
    if (Shared result = ByIdentifier(path, shape))
        return result;
    remember = true;
    return ByChildStep(path, shape, depth);
}

CSEXMLPathEvaluator::Shared CSEXMLPathEvaluator::ByPosition(const std::u16string& path,
                                                            const CSEXMLNodePath& shape, int depth)
{
    const Step& last = shape.Steps().back();
    std::size_t position = 0;
    if (!last.named || last.predicates.empty() ||
        !CSEXMLNodePath::IsPosition(last.predicates.back().text, position))
        return nullptr;
    // "p[k]" takes, under each parent, the k-th node of p's last step (a child step: each node's
    // context is its parent).
    dvk::XmlStatus ignored;
    const Shared all = Evaluate(path.substr(0, last.predicates.back().begin), depth + 1, ignored);
    if (!all)
        return nullptr;
    if (!all->positions)
        all->positions = Group(all->nodes);
    const Positions& grouped = *all->positions;
    if (position == 0 || position >= grouped.starts.size())
        return MakeResult({});
    return MakeResult(std::vector<XmlNode>(grouped.nodes.begin() + grouped.starts[position - 1],
                                           grouped.nodes.begin() + grouped.starts[position]));
}

CSEXMLPathEvaluator::Shared CSEXMLPathEvaluator::ByIdentifierPath(int identifier)
{
    XmlNode element;
    switch (m_document.ids == nullptr ? CSEXMLIdIndex::Answer::Unsure : m_document.ids->Find(identifier, element)) {
    case CSEXMLIdIndex::Answer::None: return MakeResult({});
    case CSEXMLIdIndex::Answer::One: return MakeResult({element});
    default: return nullptr;
    }
}

CSEXMLPathEvaluator::Shared CSEXMLPathEvaluator::ByIdentifier(const std::u16string& path,
                                                              const CSEXMLNodePath& shape)
{
    const std::vector<Step>& steps = shape.Steps();
    if (m_document.ids == nullptr || steps.front().separator == Separator::None)
        return nullptr;
    std::size_t at = 0;
    int identifier = 0;
    for (; at < steps.size(); ++at) {
        if (!steps[at].predicates.empty() && steps[at].named && IsIdentifierTest(steps[at].predicates[0], identifier))
            break;
        if (!IsSimple(steps[at]))
            return nullptr;
    }
    if (at == steps.size())
        return nullptr;
    XmlNode element;
    const CSEXMLIdIndex::Answer answer = m_document.ids->Find(identifier, element);
    if (answer == CSEXMLIdIndex::Answer::Unsure)
        return nullptr;

    // A path that would not compile is left to the plain evaluation, which reports it.
    if (!dvk::XPathQuery(path).Status())
        return nullptr;
    // What follows the identifier test: the step's other predicates and the steps after it.
    // Only the element carries the identifier, so those predicates see it alone (position 1 of 1).
    const std::u16string rest = path.substr(steps[at].predicates[0].end);
    if (answer == CSEXMLIdIndex::Answer::None || !ReachedBy(steps, at, element))
        return MakeResult({});
    if (rest.empty())
        return MakeResult({element});
    const dvk::XPathQuery fromElement(u"self::node()" + rest);
    std::vector<XmlNode> nodes;
    if (!fromElement.AppendTo(element, nodes))
        return nullptr;
    return MakeResult(std::move(nodes));
}

CSEXMLPathEvaluator::Shared CSEXMLPathEvaluator::ByChildStep(const std::u16string& path,
                                                             const CSEXMLNodePath& shape, int depth)
{
    const std::vector<Step>& steps = shape.Steps();
    const Step& last = steps.back();
    if (steps.size() < 2 || !last.named || last.separator != Separator::Child)
        return nullptr;
    // "q/step": the step from each node of q, when q's nodes are known or cheap to derive.
    const std::u16string prefix = path.substr(0, last.start);
    Shared contexts = Recall(prefix);
    if (!contexts) {
        bool ignored = false;
        contexts = Derive(prefix, depth + 1, ignored);
    }
    // Nodes found from nested contexts would not come in document order.
    if (!contexts || contexts->nodes.size() > kMaxContexts || Nested(contexts->nodes))
        return nullptr;
    const dvk::XPathQuery step(path.substr(last.start + 1, last.end - last.start - 1));
    if (!step.Status())
        return nullptr;
    std::vector<XmlNode> nodes;
    for (const XmlNode& context : contexts->nodes) {
        // Only elements and the document node have children.
        const XmlNodeKind kind = context.Kind();
        if ((kind == XmlNodeKind::Element || kind == XmlNodeKind::Document) && !step.AppendTo(context, nodes))
            return nullptr;
    }
    return MakeResult(std::move(nodes));
}

CSEXMLPathEvaluator::Shared CSEXMLPathEvaluator::Plain(const std::u16string& path, dvk::XmlStatus& status)
{
    std::vector<XmlNode> nodes;
    status = dvk::EvaluateXPath(m_document.root, path, nodes);
    if (!status)
        return nullptr;
    return MakeResult(std::move(nodes));
}

CSEXMLPathEvaluator::Shared CSEXMLPathEvaluator::Recall(const std::u16string& path)
{
    const auto found = m_remembered.find(path);
    if (found == m_remembered.end())
        return nullptr;
    found->second.lastUse = ++m_clock;
    return found->second.result;
}

void CSEXMLPathEvaluator::Remember(const std::u16string& path, const Shared& result)
{
    Remembered& entry = m_remembered[path];
    if (entry.result)
        m_rememberedNodes -= entry.result->nodes.size();
    entry.result = result;
    entry.lastUse = ++m_clock;
    m_rememberedNodes += result->nodes.size();
    while (m_remembered.size() > 1 &&
           (m_remembered.size() > kRememberedResults || m_rememberedNodes > kRememberedNodes)) {
        const auto oldest = std::min_element(m_remembered.begin(), m_remembered.end(),
                                             [](const auto& a, const auto& b) { return a.second.lastUse < b.second.lastUse; });
        m_rememberedNodes -= oldest->second.result->nodes.size();
        m_remembered.erase(oldest);
    }
}
