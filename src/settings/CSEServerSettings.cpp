// CSEServerSettings: takes the login response in and keeps the server's component versions.
//
// The login response is checked and kept whole here; reading the individual settings out of its
// "//response/info" sections builds on the loaded document.
#include "CSEServerSettings.h"

#include <memory>

#include "CSELogger.h"
#include "CSEResponse.h"
#include "CSEResultCodes.h"
#include "CSEXMLPacket.h"

namespace {

const char16_t kInfoPath[] = u"//response/info";

void LogLoadFailure(const CSEString& reason)
{
    CSELogger::LogMsg(3, u"[CSEServerSettings::LoadServerSettings] " + reason);
}

} // namespace

CSEServerSettings::CSEServerSettings() = default;

CSEServerSettings::~CSEServerSettings() = default;

int CSEServerSettings::LoadServerSettings(const CSEString& thinResponse)
{
    ClearServerSettings();
    std::unique_ptr<CSEXMLPacket> packet(CSEXMLPacket::GetXMLPacketPtr(-1));
    if (packet == nullptr) {
        LogLoadFailure(u"No XML packet could be created.");
        return CSE_FAILURE;
    }
    // A thin response names the file that holds the full response; any other text is that response.
    CSEString path;
    if (CSEResponse::GetFilenameFromThinResp(thinResponse, path)) {
        if (packet->loadXMLFile(path) != CSE_SUCCESS) {
            LogLoadFailure(u"The login response file " + path + u" is missing or not well-formed XML.");
            return CSE_FAILURE;
        }
    } else if (packet->loadXMLinMemory(thinResponse) != CSE_SUCCESS) {
        LogLoadFailure(u"The login response is not well-formed XML.");
        return CSE_FAILURE;
    }
    // A login response without settings is still a login: every setting keeps its default.
    if (packet->getNodeCount(kInfoPath) == 0)
        CSELogger::LogMsg(4, u"[CSEServerSettings::LoadServerSettings] The login response has no global "
                             u"settings (\"//response/info\"); the defaults apply.");
    CSEString document;
    if (packet->getXMLString(document) != CSE_SUCCESS) {
        LogLoadFailure(u"The login response could not be kept.");
        return CSE_FAILURE;
    }
    m_sLoginResponse = document;
    return CSE_SUCCESS;
}

void CSEServerSettings::ClearServerSettings()
{
    m_sLoginResponse.clear();
    m_ServerComponentVersions.clear();
}

void CSEServerSettings::InitServerSettingsForSilentProcessing()
{
    // The silent adjustments change switches and options read from the "//response/info" sections;
    // until those are read there is nothing to adjust.
}

unsigned char CSEServerSettings::SetServerComponentVersions(CSEStringCSEStringMap& versions)
{
    m_ServerComponentVersions = versions;
    return true;
}

CSEStringCSEStringMap& CSEServerSettings::GetServerComponentVersions()
{
    return m_ServerComponentVersions;
}

const CSEString& CSEServerSettings::GetLoginResponse() const
{
    return m_sLoginResponse;
}
