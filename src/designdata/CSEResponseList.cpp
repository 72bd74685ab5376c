// CSEResponseList: positional reads of one list of a response packet.
#include "designdata/CSEResponseList.h"

#include "CSELogger.h"
#include "CSEResponse.h"
#include "CSEUtil.h"
#include "CSEXMLPacket.h"

CSEResponseList::CSEResponseList(CSEXMLPacket& packet, const CSEString& path)
    : m_packet(packet), m_sPath(path), m_iCount(packet.getNodeCount(path)), m_bOneParent(true)
{
    if (m_iCount > 1)
        m_bOneParent = packet.getNodeCount(path + u"/..") == 1;
    if (!m_bOneParent)
        CSELogger::LogMsg(4, u"[CSEResponseList] The elements of " + path +
                                 u" lie in more than one list of the response");
}

CSEXMLPacket* CSEResponseList::AnswerOf(CSEResponse* response)
{
    CSEXMLPacket* packet = response == nullptr ? nullptr : response->GetResponsePacket();
    CSEString root;
    return packet != nullptr && packet->getRootNodeName(root) == 0 && root.size() != 0 ? packet : nullptr;
}

CSEString CSEResponseList::Attribute(int index, const CSEString& name) const
{
    CSEString value;
    m_packet.getAttributeValueAt(m_sPath, index, name, value);
    return value;
}

std::vector<CSEAttribute> CSEResponseList::Pairs(int index) const
{
    const CSEString path = PathOf(index) + u"/attribute";
    const int count = m_packet.getNodeCount(path);
    std::vector<CSEAttribute> pairs(static_cast<std::size_t>(count));
    for (int j = 0; j < count; ++j)
        m_packet.getNamedNVPair(path, j, pairs[static_cast<std::size_t>(j)].name,
                                pairs[static_cast<std::size_t>(j)].value);
    return pairs;
}

CSEString CSEResponseList::PathOf(int index) const
{
    const CSEString position = u"[" + CSEUtil::getCSEStringFromInt(index + 1) + u"]";
    return m_bOneParent ? m_sPath + position : u"(" + m_sPath + u")" + position;
}
