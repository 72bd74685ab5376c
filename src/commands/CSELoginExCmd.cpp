// CSELoginExCmd: the "loginEx" command and the user name, password and version it carries.
#include "CSELoginExCmd.h"

#include "CSEClientSettings.h"
#include "CSELogger.h"
#include "CSEObjectInfo.h"
#include "CSEXMLPacket.h"

namespace {

const char16_t kCommandPath[] = u"//command";

bool IsBulkLoadingMode()
{
    try {
        const CSEClientSettings* settings = CSEClientSettings::GetInstance(0);
        return settings != nullptr && settings->IsBulkLoadingMode() != 0;
    } catch (...) {
        return false;
    }
}

// Removed first, so that the envelope carries the attribute once.
void ReplaceCommandAttribute(CSEXMLPacket& packet, const char16_t* name, const CSEString& value)
{
    packet.removeAttribute(CSEString(kCommandPath), CSEString(name));
    packet.createProperty(CSEString(kCommandPath), CSEString(name), value, 0);
}

} // namespace

CSELoginExCmd::CSELoginExCmd()
{
    ConstructCommand(CSEString(u"[CSELoginExCmd::CSELoginExCmd()]"), CSEString(u"loginEx"));
}

CSELoginExCmd::~CSELoginExCmd() = default;

CSEString CSELoginExCmd::AddExtraCmdNodeInfoForLoginEx(CSEObjectInfo& info)
{
    CSELogger::LogSilentMsg(5, CSEString(u"[CSELoginExCmd::AddExtraCmdNodeInfoForLoginEx()] Entering."));
    CSEString cname;
    if (m_pCmdXMLPacket != nullptr &&
        m_pCmdXMLPacket->getAttributeValue(CSEString(kCommandPath), CSEString(u"cname"), cname) == 0 &&
        cname == u"loginEx") {
        ReplaceCommandAttribute(*m_pCmdXMLPacket, u"username", info.userText1);
        ReplaceCommandAttribute(*m_pCmdXMLPacket, u"password", info.userText2);
        if (IsBulkLoadingMode())
            ReplaceCommandAttribute(*m_pCmdXMLPacket, u"ver", info.versionText);
    }
    CSELogger::LogSilentMsg(5, CSEString(u"[CSELoginExCmd::AddExtraCmdNodeInfoForLoginEx()] Exiting."));
    return CSEString();
}
