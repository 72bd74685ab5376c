// CSEDVKXMLPacket: node paths and identifiers over a host XML document, with the query cache, the
// identifier index that lets identifier operations skip the document search, and the evaluator
// that answers repeated and derived paths without searching the document again.
#include "CSEDVKXMLPacket.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "CSELogger.h"
#include "CSEResultCodes.h"
#include "host/DVKXmlChars.h"
#include "host/DVKXmlDocument.h"
#include "xml/CSEXMLIdIndex.h"
#include "xml/CSEXMLPathEvaluator.h"

using dvk::XmlNode;

namespace {

const int kTextNode = 1;
const int kCDataNode = 2;
const int kBypassCache = 1;

const std::u16string& Units(const CSEString& text)
{
    return text().Text();
}

CSEString FromUnits(std::u16string units)
{
    return CSEString(DVKUnicodeString(std::move(units)));
}

CSEString Decimal(long long number)
{
    return CSEString(std::to_string(number).c_str());
}

void LogError(const CSEString& text)
{
    CSELogger::LogMsg(3, text);
}

void LogDetail(const char16_t* where, const dvk::XmlStatus& status)
{
    CSELogger::LogDebugMsg(where + CSEString(status.Description().c_str()));
}

// The host layer writes each character of a value that XML cannot carry as U+FFFD: one line says
// where (attribute names the attribute when the value is one).
void LogReplacedCharacters(const XmlNode& element, const CSEString& value,
                           const CSEString& attribute = CSEString())
{
    if (dvk::IsXmlText(Units(value)))
        return;
    const CSEString where = attribute.size() == 0 ? CSEString()
                                                  : u"attribute '" + attribute + u"' of ";
    LogError(u"[CSEDVKXMLPacket] Characters that XML cannot carry were written as U+FFFD in " + where +
             u"element '" + FromUnits(element.Name()) + u"'");
}

// Appends text, or a CDATA section, to element.
XmlNode AppendValue(XmlNode& element, const CSEString& text, bool cdata)
{
    const XmlNode node = cdata ? element.AppendCData(Units(text)) : element.AppendText(Units(text));
    if (node)
        LogReplacedCharacters(element, text);
    return node;
}

// One document with its identifier index. Packets that were assigned from each other share it.
struct PacketDocument
{
    dvk::XmlDocument xml;
    CSEXMLIdIndex ids;
    // Counts removals: a removal frees nodes, so handles that a packet kept from before are stale.
    std::uint64_t removals = 0;
    // Counts attribute removals: they free attributes, which only a result of "@" steps holds.
    std::uint64_t attributeRemovals = 0;
    // Changes with every change to the document, so that no remembered evaluation outlives one.
    std::uint64_t version = 0;
};

} // namespace

struct CSEDVKXMLPacket::Impl
{
    std::shared_ptr<PacketDocument> document; // null until a document is loaded

    // Query cache: the last path asked and its nodes (null when empty).
    CSEString cachedPath;
    CSEXMLPathEvaluator::Shared cachedNodes;
    std::uint64_t cachedRemovals = 0;
    std::uint64_t cachedAttributeRemovals = 0;
    CSEXMLPathEvaluator evaluator;

    // Where the last child-by-position walk ended, so that reading the children one by one stays linear.
    XmlNode cursorParent;
    XmlNode cursorChild;
    int cursorIndex = -1;
    std::uint64_t cursorRemovals = 0;

    // Marks the document changed when a changing operation ends (however it ends).
    class Changing
    {
    public:
        explicit Changing(const Impl& impl) : m_document(impl.document) {}
        ~Changing()
        {
            if (m_document)
                ++m_document->version;
        }
        Changing(const Changing&) = delete;
        Changing& operator=(const Changing&) = delete;

    private:
        std::shared_ptr<PacketDocument> m_document;
    };

    void EmptyCache()
    {
        cachedPath.clear();
        cachedNodes.reset();
    }

    void Use(std::shared_ptr<PacketDocument> replacement)
    {
        document = std::move(replacement);
        EmptyCache();
        evaluator.Forget();
        cursorIndex = -1;
    }

    // The nodes of the path, from the cache when the path is the cached one (unless bypassed).
    // Null when there is no document or the path cannot be evaluated.
    const std::vector<XmlNode>* Query(const CSEString& path, int queryMode)
    {
        if (!document)
            return nullptr;
        const bool fresh = cachedNodes && cachedRemovals == document->removals &&
                           (!cachedNodes->attributes || cachedAttributeRemovals == document->attributeRemovals);
        if (queryMode != kBypassCache && fresh && path == cachedPath)
            return &cachedNodes->nodes;
        CSEXMLPathEvaluator::Document state;
        state.root = document->xml.Root();
        state.ids = &document->ids;
        state.version = document->version;
        dvk::XmlStatus status;
        CSEXMLPathEvaluator::Shared nodes = evaluator.Evaluate(state, Units(path), status);
        if (!nodes) {
            LogError(u"[CSEDVKXMLPacket::QueryNodes] The node path cannot be evaluated => " + path +
                     u" : " + CSEString(status.Description().c_str()));
            return nullptr;
        }
        cachedPath = path;
        cachedNodes = std::move(nodes);
        cachedRemovals = document->removals;
        cachedAttributeRemovals = document->attributeRemovals;
        return &cachedNodes->nodes;
    }

    XmlNode First(const CSEString& path, int queryMode = 0)
    {
        const std::vector<XmlNode>* nodes = Query(path, queryMode);
        if (nodes == nullptr || nodes->empty())
            return XmlNode();
        return nodes->front();
    }

    XmlNode ChildAt(const XmlNode& parent, int index)
    {
        XmlNode child;
        int position = 0;
        if (cursorIndex >= 0 && cursorIndex <= index && cursorParent == parent &&
            cursorRemovals == document->removals) {
            child = cursorChild;
            position = cursorIndex;
        } else {
            child = parent.FirstChild();
        }
        for (; child && position < index; ++position)
            child = child.NextSibling();
        if (child) {
            cursorParent = parent;
            cursorChild = child;
            cursorIndex = index;
            cursorRemovals = document->removals;
        }
        return child;
    }

    // Every attribute change goes through here so that the index follows identifier changes.
    template <typename Change>
    dvk::XmlStatus ChangeAttribute(XmlNode& element, const CSEString& name, Change change)
    {
        const bool identifier = name == CSEXMLIdIndex::AttributeName();
        if (identifier)
            document->ids.Remove(element);
        const dvk::XmlStatus status = change(element);
        if (identifier)
            document->ids.Add(element);
        return status;
    }

    dvk::XmlStatus RemoveAttribute(XmlNode& element, const CSEString& name)
    {
        if (element.HasAttribute(Units(name)))
            ++document->attributeRemovals;
        return ChangeAttribute(element, name,
                               [&](XmlNode& node) { return node.RemoveAttribute(Units(name)); });
    }

    dvk::XmlStatus SetAttribute(XmlNode& element, const CSEString& name, const CSEString& value)
    {
        const dvk::XmlStatus status = ChangeAttribute(element, name, [&](XmlNode& node) {
            return node.SetAttribute(Units(name), Units(value));
        });
        if (status)
            LogReplacedCharacters(element, value, name);
        return status;
    }

    void Stamp(XmlNode& element, int identifier)
    {
        element.SetAttribute(CSEXMLIdIndex::AttributeName(), Units(Decimal(identifier)));
        document->ids.Add(element);
    }

    // Frees the child and its subtree; the index forgets them first, while they can still be read.
    void Remove(XmlNode& parent, const XmlNode& child)
    {
        document->ids.RemoveSubtree(child);
        ++document->removals;
        if (!parent.RemoveChild(child))
            document->ids.AddSubtree(child);
    }
};

CSEDVKXMLPacket::CSEDVKXMLPacket(int initialIdentifier) : m_pImpl(new Impl)
{
    m_iGSSLUniqueIdentifier = initialIdentifier;
}

CSEDVKXMLPacket::CSEDVKXMLPacket(const CSEDVKXMLPacket& other) : CSEXMLPacket(other), m_pImpl(new Impl)
{
    m_pImpl->Use(other.m_pImpl->document);
}

CSEDVKXMLPacket& CSEDVKXMLPacket::operator=(const CSEDVKXMLPacket& other)
{
    *this = static_cast<const CSEXMLPacket&>(other);
    return *this;
}

CSEDVKXMLPacket::~CSEDVKXMLPacket() = default;

CSEXMLPacket& CSEDVKXMLPacket::operator=(const CSEXMLPacket& other)
{
    if (this == &other)
        return *this;
    CSEXMLPacket::operator=(other);
    if (const auto* packet = dynamic_cast<const CSEDVKXMLPacket*>(&other))
        m_pImpl->Use(packet->m_pImpl->document);
    return *this;
}

int CSEDVKXMLPacket::removeChildNode(const CSEString& parentPath, const CSEString& childPath)
{
    const Impl::Changing changing(*m_pImpl);
    int result = 0;
    XmlNode parent = m_pImpl->First(parentPath);
    if (parent) {
        const XmlNode child = m_pImpl->First(childPath);
        if (child && child.Parent() == parent)
            m_pImpl->Remove(parent, child);
        else
            result = 1;
    }
    m_pImpl->EmptyCache();
    return result;
}

int CSEDVKXMLPacket::removeAttribute(const CSEString& path, const CSEString& attributeName)
{
    const Impl::Changing changing(*m_pImpl);
    XmlNode node = m_pImpl->First(path);
    if (!node.IsElement())
        return CSE_XML_NODE_NOT_FOUND;
    return m_pImpl->RemoveAttribute(node, attributeName) ? 0 : 1;
}

int CSEDVKXMLPacket::loadXMLFile(const CSEString& filePath)
{
    CSELogger::LogDebugMsg(u"[CSEDVKXMLPacket::loadXMLFile] Entering.");
    CSELogger::LogDebugMsg(u"[CSEDVKXMLPacket::loadXMLFile] XML file path is => " + filePath);
    auto document = std::make_shared<PacketDocument>();
    const dvk::XmlStatus status = document->xml.LoadFile(Units(filePath));
    if (status) {
        document->ids.AddSubtree(document->xml.Root());
        m_pImpl->Use(std::move(document));
    } else {
        m_pImpl->Use(nullptr);
        LogError(u"Error occured in function : CSEDVKXMLPacket::loadXMLFile()");
        LogDetail(u"[CSEDVKXMLPacket::loadXMLFile] ", status);
    }
    CSELogger::LogDebugMsg(u"[CSEDVKXMLPacket::loadXMLFile] Exiting.");
    return status ? 0 : CSE_XML_FAILURE;
}

int CSEDVKXMLPacket::loadXMLinMemory(const CSEString& xmlText)
{
    auto document = std::make_shared<PacketDocument>();
    const dvk::XmlStatus status = document->xml.LoadText(Units(xmlText));
    if (!status) {
        m_pImpl->Use(nullptr);
        LogError(u"Error occured in function : CSEDVKXMLPacket::loadXMLinMemory()");
        LogDetail(u"[CSEDVKXMLPacket::loadXMLinMemory] ", status);
        return CSE_XML_FAILURE;
    }
    document->ids.AddSubtree(document->xml.Root());
    m_pImpl->Use(std::move(document));
    return 0;
}

int CSEDVKXMLPacket::saveXMLFile(const CSEString& filePath)
{
    if (!m_pImpl->document) {
        LogError(u"Error occured in function : CSEDVKXMLPacket::saveXMLFile(); ");
        return CSE_XML_FAILURE;
    }
    const dvk::XmlStatus status = m_pImpl->document->xml.SaveFile(Units(filePath));
    if (!status) {
        LogError(u"Error occured in function : CSEDVKXMLPacket::saveXMLFile()");
        LogDetail(u"[CSEDVKXMLPacket::saveXMLFile] ", status);
        return CSE_XML_FAILURE;
    }
    return 0;
}

int CSEDVKXMLPacket::getXMLString(CSEString& xmlText)
{
    xmlText.clear();
    if (!m_pImpl->document) {
        LogError(u"Error occured in function : CSEDVKXMLPacket::getXMLString(); ");
        return CSE_XML_FAILURE;
    }
    xmlText = FromUnits(m_pImpl->document->xml.ToText());
    return 0;
}

int CSEDVKXMLPacket::createChildNode(int parentId, const CSEString& elementName, const CSEString& text,
                                     int kind)
{
    return createChildNode(getNodePathFromUniqueId(parentId), elementName, text, kind);
}

int CSEDVKXMLPacket::createChildNode(const CSEString& parentPath, const CSEString& elementName,
                                     const CSEString& text, int kind)
{
    const Impl::Changing changing(*m_pImpl);
    if (!m_pImpl->document) {
        LogError(u"Error occured in function : CSEDVKXMLPacket::createChildNode(); ");
        return CSE_XML_FAILURE;
    }
    const int identifier = NextIdentifier();
    XmlNode parent = m_pImpl->First(parentPath);
    if (!parent)
        return CSE_XML_FAILURE;
    if ((kind != kTextNode && kind != kCDataNode) || elementName.size() == 0)
        return identifier;
    XmlNode element = parent.AppendElement(Units(elementName));
    if (!element) {
        LogError(u"Error occured in function : CSEDVKXMLPacket::createChildNode(); ");
        return CSE_XML_FAILURE;
    }
    if (text.size() != 0)
        AppendValue(element, text, kind == kCDataNode);
    m_pImpl->Stamp(element, identifier);
    return identifier;
}

int CSEDVKXMLPacket::createProperty(int id, const CSEString& attributeName, const CSEString& value)
{
    return createProperty(getNodePathFromUniqueId(id), attributeName, value, 0);
}

int CSEDVKXMLPacket::createProperty(const CSEString& path, const CSEString& attributeName,
                                    const CSEString& value, int queryMode)
{
    const Impl::Changing changing(*m_pImpl);
    XmlNode node = m_pImpl->First(path, queryMode);
    if (!node || attributeName.size() == 0)
        return CSE_XML_FAILURE;
    if (!m_pImpl->SetAttribute(node, attributeName, value)) {
        LogError(u"Error occured in function : CSEDVKXMLPacket::createProperty(); ");
        return CSE_XML_FAILURE;
    }
    return 0;
}

int CSEDVKXMLPacket::createAttributeNVPair(int id, const CSEString& name, const CSEString& value)
{
    return createAttributeNVPair(getNodePathFromUniqueId(id), name, value);
}

int CSEDVKXMLPacket::createAttributeNVPair(const CSEString& path, const CSEString& name,
                                           const CSEString& value)
{
    return createNamedNVPair(path, u"attribute", name, value, u"value");
}

int CSEDVKXMLPacket::createNamedNVPair(int id, const CSEString& elementName, const CSEString& name,
                                       const CSEString& value, const CSEString& valueElementName)
{
    return createNamedNVPair(getNodePathFromUniqueId(id), elementName, name, value, valueElementName);
}

int CSEDVKXMLPacket::createNamedNVPair(const CSEString& path, const CSEString& elementName,
                                       const CSEString& name, const CSEString& value,
                                       const CSEString& valueElementName)
{
    return CreateNamedNVPair(path, elementName, name, value, valueElementName, false);
}

int CSEDVKXMLPacket::createNamedNVPairLikeRLX(const CSEString& path, const CSEString& elementName,
                                              const CSEString& name, const CSEString& value,
                                              const CSEString& valueElementName)
{
    return CreateNamedNVPair(path, elementName, name, value, valueElementName, true);
}

int CSEDVKXMLPacket::CreateNamedNVPair(const CSEString& path, const CSEString& elementName,
                                       const CSEString& name, const CSEString& value,
                                       const CSEString& valueElementName, bool nameAsText)
{
    const Impl::Changing changing(*m_pImpl);
    const CSEString failure(u"Error occured in function : CSEDVKXMLPacket::createNamedNVPair(); ");
    if (!m_pImpl->document) {
        LogError(failure);
        return CSE_XML_FAILURE;
    }
    const int identifier = NextIdentifier();
    XmlNode parent = m_pImpl->First(path);
    if (!parent)
        return CSE_XML_NODE_NOT_FOUND;
    if (elementName.size() == 0)
        return 0;
    // Names are checked before anything is built, so that a refusal leaves no half-made pair.
    const bool valueElementWanted = valueElementName.size() != 0;
    if (!XmlNode::IsValidName(Units(elementName)) ||
        (valueElementWanted && !XmlNode::IsValidName(Units(valueElementName)))) {
        LogError(failure);
        return CSE_XML_FAILURE;
    }
    XmlNode element = parent.AppendElement(Units(elementName));
    if (!element) {
        LogError(failure);
        return CSE_XML_FAILURE;
    }
    m_pImpl->Stamp(element, identifier);
    XmlNode nameElement = element.AppendElement(u"name");
    XmlNode valueElement = valueElementWanted ? element.AppendElement(Units(valueElementName)) : XmlNode();
    if (name.size() != 0)
        AppendValue(nameElement, name, !nameAsText);
    if (valueElement && value.size() != 0)
        AppendValue(valueElement, value, true);
    if (nameAsText)
        m_pImpl->EmptyCache();
    return 0;
}

int CSEDVKXMLPacket::getNodeValue(const CSEString& path, CSEString& value)
{
    value.clear();
    const XmlNode node = m_pImpl->First(path);
    if (!node)
        return CSE_XML_NODE_NOT_FOUND;
    value = FromUnits(node.Text());
    return 0;
}

int CSEDVKXMLPacket::appendNodeValue(const CSEString& path, const CSEString& text)
{
    const Impl::Changing changing(*m_pImpl);
    XmlNode node = m_pImpl->First(path);
    if (!node)
        return CSE_XML_NODE_NOT_FOUND;
    return AppendValue(node, text, false) ? 0 : CSE_XML_FAILURE;
}

int CSEDVKXMLPacket::getChildNodeCount(int id)
{
    return getChildNodeCount(getNodePathFromUniqueId(id));
}

int CSEDVKXMLPacket::getChildNodeCount(const CSEString& path)
{
    return m_pImpl->First(path).ChildCount();
}

int CSEDVKXMLPacket::getNodeCount(const CSEString& path)
{
    const std::vector<XmlNode>* nodes = m_pImpl->Query(path, 0);
    return nodes == nullptr ? 0 : static_cast<int>(nodes->size());
}

CSEString CSEDVKXMLPacket::getNodePathFromUniqueId(int id)
{
    return FromUnits(CSEXMLIdIndex::PathOf(id));
}

int CSEDVKXMLPacket::reservedNoOp()
{
    return 0;
}

int CSEDVKXMLPacket::getAttributeValueAt(const CSEString& path, int index, const CSEString& attributeName,
                                         CSEString& value)
{
    value.clear();
    const std::vector<XmlNode>* nodes = m_pImpl->Query(path, 0);
    if (nodes == nullptr || attributeName.size() == 0 || index < 0 ||
        index >= static_cast<int>(nodes->size()))
        return CSE_XML_NODE_NOT_FOUND;
    const XmlNode node = (*nodes)[index];
    if (node.IsElement())
        value = FromUnits(node.GetAttribute(Units(attributeName)));
    return 0;
}

int CSEDVKXMLPacket::setAttributeValueAt(const CSEString& path, int index, const CSEString& attributeName,
                                         const CSEString& value)
{
    const Impl::Changing changing(*m_pImpl);
    const std::vector<XmlNode>* nodes = m_pImpl->Query(path, 0);
    if (nodes == nullptr || attributeName.size() == 0 || index < 0 ||
        index >= static_cast<int>(nodes->size()))
        return CSE_XML_NODE_NOT_FOUND;
    XmlNode node = (*nodes)[index];
    if (!node.IsElement())
        return CSE_XML_NODE_NOT_FOUND;
    return m_pImpl->SetAttribute(node, attributeName, value) ? 0 : CSE_XML_FAILURE;
}

int CSEDVKXMLPacket::getChildNodeName(const CSEString& path, int index, CSEString& name)
{
    name.clear();
    const XmlNode parent = m_pImpl->First(path);
    if (!parent || index < 0)
        return 0;
    const XmlNode child = m_pImpl->ChildAt(parent, index);
    if (child.IsElement())
        name = FromUnits(child.Name());
    return 0;
}

int CSEDVKXMLPacket::getNamedNVPair(const CSEString& path, int index, CSEString& name, CSEString& value)
{
    name.clear();
    value.clear();
    const XmlNode pair = m_pImpl->First(path + u"[" + Decimal(static_cast<long long>(index) + 1) + u"]");
    if (!pair.IsElement())
        return 0;
    name = FromUnits(pair.FirstElementByTagName(u"name").Text());
    value = FromUnits(pair.FirstElementByTagName(u"value").Text());
    return 0;
}

int CSEDVKXMLPacket::removeAttributeFromAllNodes(const CSEString& attributeName)
{
    const Impl::Changing changing(*m_pImpl);
    // Always evaluated afresh: a cached "//*" would miss the elements made since, and the
    // identifiers must all go before a request leaves.
    const std::vector<XmlNode>* nodes = m_pImpl->Query(u"//*", kBypassCache);
    if (nodes == nullptr || nodes->empty())
        return CSE_XML_NODE_NOT_FOUND;
    for (XmlNode node : *nodes)
        m_pImpl->RemoveAttribute(node, attributeName);
    return 0;
}

int CSEDVKXMLPacket::getNodeXMLString(int id, CSEString& xmlText)
{
    return getNodeXMLString(getNodePathFromUniqueId(id), xmlText);
}

int CSEDVKXMLPacket::getNodeXMLString(const CSEString& path, CSEString& xmlText)
{
    xmlText.clear();
    const XmlNode node = m_pImpl->First(path);
    if (!node)
        return CSE_XML_NODE_NOT_FOUND;
    xmlText = FromUnits(node.ToText());
    return 0;
}

int CSEDVKXMLPacket::appendXMLString(int id, const CSEString& xmlFragment)
{
    return appendXMLString(getNodePathFromUniqueId(id), xmlFragment);
}

int CSEDVKXMLPacket::appendXMLString(const CSEString& path, const CSEString& xmlFragment)
{
    const Impl::Changing changing(*m_pImpl);
    if (!m_pImpl->document)
        return CSE_XML_FAILURE;
    dvk::XmlDocument fragment;
    const dvk::XmlStatus status = fragment.LoadText(Units(xmlFragment));
    if (!status) {
        LogError(u"Error occured in function : CSEDVKXMLPacket::appendXMLString()");
        LogDetail(u"[CSEDVKXMLPacket::appendXMLString] ", status);
        return CSE_XML_FAILURE;
    }
    XmlNode parent = m_pImpl->First(path);
    if (!parent)
        return CSE_XML_NODE_NOT_FOUND;
    const XmlNode imported = parent.AppendImport(fragment.DocumentElement(), true);
    if (!imported) {
        LogError(u"Error occured in function : CSEDVKXMLPacket::appendXMLString()");
        return CSE_XML_FAILURE;
    }
    m_pImpl->document->ids.AddSubtree(imported);
    m_pImpl->EmptyCache();
    return 0;
}

int CSEDVKXMLPacket::copyNode(int parentId, CSEXMLPacket* sourcePacket, const CSEString& sourcePath)
{
    return copyNode(getNodePathFromUniqueId(parentId), sourcePacket, sourcePath);
}

int CSEDVKXMLPacket::copyNode(const CSEString& parentPath, CSEXMLPacket* sourcePacket,
                              const CSEString& sourcePath)
{
    const Impl::Changing changing(*m_pImpl);
    auto* source = dynamic_cast<CSEDVKXMLPacket*>(sourcePacket);
    if (!m_pImpl->document || source == nullptr)
        return CSE_XML_FAILURE;
    const int identifier = NextIdentifier();
    const XmlNode original = source->m_pImpl->First(sourcePath);
    XmlNode parent = m_pImpl->First(parentPath);
    if (!original || !parent)
        return CSE_XML_FAILURE;
    XmlNode copy = parent.AppendImport(original, false);
    if (!copy)
        return CSE_XML_FAILURE;
    if (copy.IsElement())
        m_pImpl->Stamp(copy, identifier);
    return identifier;
}

int CSEDVKXMLPacket::getUniqueIdOfNode(const CSEString& path)
{
    const XmlNode node = m_pImpl->First(path);
    int identifier = -1;
    if (!node.IsElement() ||
        !CSEXMLIdIndex::ParseIdentifier(node.GetAttribute(CSEXMLIdIndex::AttributeName()), identifier))
        return CSE_XML_FAILURE;
    return identifier;
}

int CSEDVKXMLPacket::getAttributeValue(const CSEString& path, const CSEString& attributeName,
                                       CSEString& value)
{
    value.clear();
    const XmlNode node = m_pImpl->First(path);
    if (!node.IsElement())
        return CSE_XML_FAILURE;
    value = FromUnits(node.GetAttribute(Units(attributeName)));
    return 0;
}

int CSEDVKXMLPacket::createAttributeNMandatoryVPair(int id, const CSEString& name, const CSEString& value)
{
    return createNamedNVPair(id, u"attribute", name, value, u"MandatoryValue");
}

int CSEDVKXMLPacket::createAttributeNDefaultVPair(int id, const CSEString& name, const CSEString& value)
{
    return createNamedNVPair(id, u"attribute", name, value, u"DefaultValue");
}

int CSEDVKXMLPacket::createAttributeName(int id, const CSEString& name)
{
    return createNamedNVPair(id, u"attribute", name, u"", u"");
}

int CSEDVKXMLPacket::getRootNodeName(CSEString& name)
{
    name.clear();
    if (!m_pImpl->document)
        return 1;
    const XmlNode root = m_pImpl->document->xml.DocumentElement();
    if (!root)
        return 1;
    name = FromUnits(root.Name());
    return 0;
}

int CSEDVKXMLPacket::NextIdentifier()
{
    // Wraps instead of overflowing when a caller set the counter near the top of the range.
    m_iGSSLUniqueIdentifier = static_cast<int>(static_cast<unsigned int>(m_iGSSLUniqueIdentifier) + 1u);
    return m_iGSSLUniqueIdentifier;
}
