// Builds a request through the installed headers and prints it: proves the package is usable.
#include <QorviCSECommon.h>

#include <cstdio>
#include <memory>

int main()
{
    std::unique_ptr<CSEXMLPacket> packet(CSEXMLPacket::GetXMLPacketPtr(-1));
    if (!packet || packet->loadXMLinMemory(CSEString(u"<command cname='ping'/>")) != 0)
        return 1;
    const int id = packet->createChildNode(CSEString(u"//command"), CSEString(u"cadobject"), CSEString(u""), 1);
    if (id != 1 || packet->createProperty(id, CSEString(u"name"), CSEString(u"O'Brien.prt")) != 0)
        return 1;
    packet->removeAttributeFromAllNodes(CSEString(u"iGSSLID"));
    CSEString xml;
    packet->getXMLString(xml);
    std::printf("%s\n", xml().ToUTF8().c_str());
    return xml.find(u"O'Brien.prt") >= 0 ? 0 : 1;
}
