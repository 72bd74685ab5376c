// CSEUserDefinedCmd: the "userdefined" command: a page of the web interface and a command text.
#include "CSEUserDefinedCmd.h"

#include "CSEXMLPacket.h"

namespace {

const char16_t kCommandPath[] = u"//command";
const char16_t kCommandElement[] = u"userdefinedcommand";
const char16_t kCommandElementPath[] = u"//command/userdefinedcommand";

} // namespace

CSEUserDefinedCmd::CSEUserDefinedCmd()
{
    ConstructCommand(CSEString(u"[CSEUserDefinedCmd::CSEUserDefinedCmd()]"), CSEString(u"userdefined"));
}

CSEUserDefinedCmd::~CSEUserDefinedCmd() = default;

void CSEUserDefinedCmd::SetJSPNameNCommand(const CSEString& page, const CSEString& command)
{
    SetJSPNameNCommand(page, command, 0);
}

void CSEUserDefinedCmd::SetJSPNameNCommand(const CSEString& page, const CSEString& command, int hangBrowser)
{
    if (m_pCmdXMLPacket == nullptr)
        return;
    // One command per request: a second one would go to the service beside the first.
    for (int left = m_pCmdXMLPacket->getNodeCount(CSEString(kCommandElementPath)); left > 0; --left)
        m_pCmdXMLPacket->removeChildNode(CSEString(kCommandPath), CSEString(kCommandElementPath));
    m_pCmdXMLPacket->createChildNode(CSEString(kCommandPath), CSEString(kCommandElement), command, 2);
    m_pCmdXMLPacket->createProperty(CSEString(kCommandPath), CSEString(u"url"), page, 0);
    m_pCmdXMLPacket->createProperty(CSEString(kCommandPath), CSEString(u"hangbrowser"),
                                    CSEString(hangBrowser != 0 ? u"true" : u"false"), 0);
}
