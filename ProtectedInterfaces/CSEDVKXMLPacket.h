/// \file
/// CSEDVKXMLPacket: the XML packet over the host XML library.
#ifndef CSEDVKXMLPACKET_H
#define CSEDVKXMLPACKET_H

#include <memory>

#include "CSEXMLPacket.h"

/// Assignment and copying share the document (as handles do) but not the query cache. Node paths
/// are answered without searching the document where the answer follows from what is known: a
/// result evaluated since the document last changed, positions read from such a result, and
/// identifier steps found through an index of the stamped elements. Every answer is that of the
/// node path evaluated as XPath.
class CSEDVKXMLPacket : public CSEXMLPacket
{
public:
    /// An empty packet that numbers its elements from initialIdentifier + 1.
    explicit CSEDVKXMLPacket(int initialIdentifier = 0);
    /// A packet with a copy of other's document and identifier counter.
    CSEDVKXMLPacket(const CSEDVKXMLPacket& other);
    /// Replaces the document and identifier counter with copies of other's; returns this packet.
    CSEDVKXMLPacket& operator=(const CSEDVKXMLPacket& other);
    ~CSEDVKXMLPacket() override;
    CSEXMLPacket& operator=(const CSEXMLPacket& other) override;

    int removeChildNode(const CSEString& parentPath, const CSEString& childPath) override;
    int removeAttribute(const CSEString& path, const CSEString& attributeName) override;
    int loadXMLFile(const CSEString& filePath) override;
    int loadXMLinMemory(const CSEString& xmlText) override;
    int saveXMLFile(const CSEString& filePath) override;
    int getXMLString(CSEString& xmlText) override;
    int createChildNode(int parentId, const CSEString& elementName, const CSEString& text,
                        int kind) override;
    int createChildNode(const CSEString& parentPath, const CSEString& elementName,
                        const CSEString& text, int kind) override;
    int createProperty(int id, const CSEString& attributeName, const CSEString& value) override;
    int createProperty(const CSEString& path, const CSEString& attributeName, const CSEString& value,
                       int queryMode = 0) override;
    int createAttributeNVPair(int id, const CSEString& name, const CSEString& value) override;
    int createAttributeNVPair(const CSEString& path, const CSEString& name,
                              const CSEString& value) override;
    int createNamedNVPair(int id, const CSEString& elementName, const CSEString& name,
                          const CSEString& value, const CSEString& valueElementName) override;
    int createNamedNVPair(const CSEString& path, const CSEString& elementName, const CSEString& name,
                          const CSEString& value, const CSEString& valueElementName) override;
    int getNodeValue(const CSEString& path, CSEString& value) override;
    int appendNodeValue(const CSEString& path, const CSEString& text) override;
    int getChildNodeCount(int id) override;
    int getChildNodeCount(const CSEString& path) override;
    int getNodeCount(const CSEString& path) override;
    CSEString getNodePathFromUniqueId(int id) override;
    int reservedNoOp() override;
    int getAttributeValueAt(const CSEString& path, int index, const CSEString& attributeName,
                            CSEString& value) override;
    int setAttributeValueAt(const CSEString& path, int index, const CSEString& attributeName,
                            const CSEString& value) override;
    int getChildNodeName(const CSEString& path, int index, CSEString& name) override;
    int getNamedNVPair(const CSEString& path, int index, CSEString& name, CSEString& value) override;
    int removeAttributeFromAllNodes(const CSEString& attributeName) override;
    int getNodeXMLString(int id, CSEString& xmlText) override;
    int getNodeXMLString(const CSEString& path, CSEString& xmlText) override;
    int appendXMLString(int id, const CSEString& xmlFragment) override;
    int appendXMLString(const CSEString& path, const CSEString& xmlFragment) override;
    int copyNode(int parentId, CSEXMLPacket* sourcePacket, const CSEString& sourcePath) override;
    int copyNode(const CSEString& parentPath, CSEXMLPacket* sourcePacket,
                 const CSEString& sourcePath) override;
    int getUniqueIdOfNode(const CSEString& path) override;
    int getAttributeValue(const CSEString& path, const CSEString& attributeName,
                          CSEString& value) override;
    int createAttributeNMandatoryVPair(int id, const CSEString& name, const CSEString& value) override;
    int createAttributeNDefaultVPair(int id, const CSEString& name, const CSEString& value) override;
    int createAttributeName(int id, const CSEString& name) override;
    int getRootNodeName(CSEString& name) override;
    int createNamedNVPairLikeRLX(const CSEString& path, const CSEString& elementName,
                                 const CSEString& name, const CSEString& value,
                                 const CSEString& valueElementName) override;

private:
    struct Impl;
    int NextIdentifier();
    int CreateNamedNVPair(const CSEString& path, const CSEString& elementName, const CSEString& name,
                          const CSEString& value, const CSEString& valueElementName, bool nameAsText);

    std::unique_ptr<Impl> m_pImpl;
};

#endif
