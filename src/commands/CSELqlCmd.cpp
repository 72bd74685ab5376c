// CSELqlCmd: the "lql" server query command.
#include "CSELqlCmd.h"

#include "CSEXMLPacket.h"

CSELqlCmd::CSELqlCmd()
{
    if (ConstructCommand(CSEString(u"[CSELqlCmd::CSELqlCmd()]"), CSEString(u"lql")))
        m_pCmdXMLPacket->createChildNode(CSEString(u"//command"), CSEString(u"lql"), CSEString(), 1);
}

CSELqlCmd::~CSELqlCmd() = default;

void CSELqlCmd::setLQLCommand(const CSEString& query)
{
    if (m_pCmdXMLPacket != nullptr)
        m_pCmdXMLPacket->appendNodeValue(CSEString(u"//command/lql"), query);
}
