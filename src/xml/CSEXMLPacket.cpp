// CSEXMLPacket: the identifier counter, the packet factory, XPath literals and the interface defaults.
#include "CSEXMLPacket.h"

#include <new>

#include "CSEDVKXMLPacket.h"

CSEXMLPacket::CSEXMLPacket() : m_iGSSLUniqueIdentifier(0) {}

CSEXMLPacket::CSEXMLPacket(const CSEXMLPacket& other) : m_iGSSLUniqueIdentifier(other.m_iGSSLUniqueIdentifier) {}

CSEXMLPacket::~CSEXMLPacket() = default;

CSEXMLPacket& CSEXMLPacket::operator=(const CSEXMLPacket& other)
{
    m_iGSSLUniqueIdentifier = other.m_iGSSLUniqueIdentifier;
    return *this;
}

void CSEXMLPacket::SetGSSLUniqueIdentifier(int identifier)
{
    m_iGSSLUniqueIdentifier = identifier;
}

int CSEXMLPacket::getLastValueOfUniqueIdentifier()
{
    return m_iGSSLUniqueIdentifier;
}

CSEXMLPacket* CSEXMLPacket::GetXMLPacketPtr(int initialIdentifier)
{
    try {
        return new CSEDVKXMLPacket(initialIdentifier == -1 ? 0 : initialIdentifier);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

CSEString CSEXMLPacket::MakeXPathLiteral(const CSEString& text)
{
    const std::u16string& units = text().Text();
    if (units.find(u'\'') == std::u16string::npos)
        return u"'" + text + CSEString(u"'");
    if (units.find(u'"') == std::u16string::npos)
        return u"\"" + text + CSEString(u"\"");

    // Both quote kinds: the apostrophes go into literals of their own between quoted pieces.
    std::u16string literal = u"concat(";
    std::size_t pieceStart = 0;
    bool first = true;
    auto add = [&](const std::u16string& part) {
        if (!first)
            literal += u", ";
        literal += part;
        first = false;
    };
    for (std::size_t i = 0; i <= units.size(); ++i) {
        if (i < units.size() && units[i] != u'\'')
            continue;
        if (i > pieceStart)
            add(u"'" + units.substr(pieceStart, i - pieceStart) + u"'");
        if (i < units.size())
            add(u"\"'\"");
        pieceStart = i + 1;
    }
    literal += u")";
    return CSEString(DVKUnicodeString(std::move(literal)));
}

int CSEXMLPacket::getNodeProperties(CSEString, CSEStringCSEStringMap&)
{
    return 0;
}

int CSEXMLPacket::getNodeProperties(CSEString, CSEWrapperStringVector&, CSEWrapperStringVector&)
{
    return 0;
}

int CSEXMLPacket::createAttributeNMandatoryVPair(int, const CSEString&, const CSEString&)
{
    return 0;
}

int CSEXMLPacket::createAttributeNDefaultVPair(int, const CSEString&, const CSEString&)
{
    return 0;
}

int CSEXMLPacket::createAttributeName(int, const CSEString&)
{
    return 0;
}

int CSEXMLPacket::createNamedNVPairLikeRLX(const CSEString&, const CSEString&, const CSEString&,
                                           const CSEString&, const CSEString&)
{
    return 0;
}
