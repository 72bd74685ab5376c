// CSEIntegrationAgent: finds the integration service, connects, logs in, keeps the global settings of
// the login and carries every command exchange; any transport failure drops the whole connection.
#include "CSEIntegrationAgent.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <string>

#include "CSEClientSettings.h"
#include "CSEException.h"
#include "CSELogger.h"
#include "CSELqlCmd.h"
#include "CSEResultCodes.h"
#include "CSEResponse.h"
#include "CSEServerSettings.h"
#include "CSESocketCommunicator.h"
#include "CSEStringCSEStringMap.h"
#include "CSEUtil.h"
#include "CSEXMLPacket.h"
#include "MOCK_EnvironmentServices.h"
#include "capture/MOCK_CallHooks.h"
#include "commands/CSERequestMasking.h"
#include "connection/CSEVersionList.h"
#include "host/DVKEnv.h"
#include "host/DVKExit.h"
#include "host/DVKFatal.h"
#include "host/DVKFiles.h"
#include "host/DVKUtf.h"

CSEIntegrationAgent* CSEIntegrationAgent::m_pIntegAgent = nullptr;

namespace {

const char16_t kRequestFileName[] = u"QxRequest.xml";
const char16_t kSentFileName[] = u"sent.xml";
const char16_t kReceivedFileName[] = u"recd.xml";
const char16_t kPortFileName[] = u"okt.port";
const char16_t kVersionQuery[] = u"exec prog CorvaneHelpAbout.tcl;";
const char16_t kResponseInfoPath[] = u"//response/info";
// At most this many bytes of the port file's first line are read.
constexpr std::size_t kPortFileMaxBytes = 19;
// Received text beyond this many bytes is cut from the log line (a response may reach 16 MiB).
constexpr std::size_t kLoggedTextBytes = 4096;
// Files that the agent writes carry the commands, passwords included: readable by the owner only.
constexpr unsigned int kPrivateFilePermissions = 0600;

CSEString Utf8(const std::string& text)
{
    return CSEString(text.c_str());
}

CSEString Decimal(int number)
{
    return CSEUtil::getCSEStringFromInt(number);
}

// The client settings; null when they cannot be had (no installation folder).
CSEClientSettings* ClientSettingsOrNull()
{
    try {
        return CSEClientSettings::GetInstance(0);
    } catch (...) {
        return nullptr;
    }
}

bool IsSilentMode()
{
    const CSEClientSettings* settings = ClientSettingsOrNull();
    return settings != nullptr && settings->IsSilentMode() != 0;
}

CSEString ClientSetting(const char16_t* section, const char16_t* key)
{
    CSEString value;
    const CSEClientSettings* settings = ClientSettingsOrNull();
    if (settings != nullptr)
        settings->GetSetting(section, key, value);
    return value;
}

// atoi rules: leading blanks, an optional sign, digits up to the first other character (0 when there
// are none); clamped to the int range instead of overflowing.
int LeadingInteger(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value <= static_cast<long long>(INT_MAX) + 1)
            value = value * 10 + (text[i] - '0');
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

// ---- The agent's own platform calls: the environment, the port file and the files it writes. ----

// "USERPROFILE", or "HOME" when that is unset or empty.
std::string UserProfileFromEnvironment()
{
    const std::string profile = dvk::GetEnvOrEmpty("USERPROFILE");
    return profile.empty() ? dvk::GetEnvOrEmpty("HOME") : profile;
}

enum class PortFileRead
{
    Read,
    Missing,
    Unreadable
};

// The first line of the file (without its line break), at most kPortFileMaxBytes bytes of it.
PortFileRead ReadFirstLine(const std::string& path, std::string& line)
{
    line.clear();
    dvk::FileStat stat;
    if (!dvk::StatFile(path, stat))
        return PortFileRead::Missing;
    if (!stat.isRegularFile)
        return PortFileRead::Unreadable;
    if (!dvk::ReadFileHead(path, kPortFileMaxBytes, line))
        return PortFileRead::Unreadable;
    const std::size_t end = line.find_first_of("\r\n");
    if (end != std::string::npos)
        line.erase(end);
    return PortFileRead::Read;
}

// Replaces a file of the installation folder with text (UTF-8), readable by the owner only.
bool WriteInstallationFile(const char16_t* fileName, const CSEString& text)
{
    const std::string folder = CSEUtil::GetInstallationFolder(CSEString())().ToUTF8();
    const std::string path = dvk::MakePath(folder, CSEString(fileName)().ToUTF8());
    if (!folder.empty() && dvk::WriteWholeFile(path, text().ToUTF8(), kPrivateFilePermissions))
        return true;
    CSELogger::LogMsg(3, u"[CSEIntegrationAgent] Could not write the file " + Utf8(path)
                             + u" in the installation folder (\"QX_DRAVIK_INSTALL_DIR\").");
    return false;
}

// A received text as it goes into one log line: whole when short, else its first kLoggedTextBytes
// bytes (UTF-8) and its total length.
CSEString Abridged(const CSEString& text)
{
    const std::u16string& units = text().Text();
    if (units.size() * 3 <= kLoggedTextBytes)
        return text;
    std::size_t head = std::min(units.size(), kLoggedTextBytes);
    if (head < units.size() && units[head] >= 0xDC00 && units[head] <= 0xDFFF)
        --head; // never half a surrogate pair
    std::string bytes = dvk::Utf16ToUtf8(units.data(), head);
    if (bytes.size() <= kLoggedTextBytes && head == units.size())
        return text;
    bytes.resize(dvk::Utf8CompletePrefix(bytes.data(), std::min(bytes.size(), kLoggedTextBytes)));
    return Utf8(bytes) + u" [... " + Utf8(std::to_string(units.size())) + u" characters in all]";
}

// A command that the host starts during its interface turn, while the response of another is
// awaited, is refused: it must neither replace that command's request file nor end its connection.
bool RefusedWhileAwaitingResponse(const CSESocketCommunicator* communicator, const char16_t* where)
{
    if (communicator == nullptr || !communicator->IsReceiving())
        return false;
    CSELogger::LogMsg(3, CSEString(where) + u" A response is still awaited; a second exchange is refused.");
    return true;
}

} // namespace

CSEIntegrationAgent::CSEIntegrationAgent()
    : m_pSockComm(new CSESocketCommunicator()), m_pServerSettings(nullptr),
      m_eConnectionStatus(NotConnected), m_iSilentAppletPort(-1)
{
}

CSEIntegrationAgent::~CSEIntegrationAgent()
{
    // Nothing here may log: at process exit the client settings and the logger may be gone already.
    delete m_pServerSettings;
    m_pServerSettings = nullptr;
    delete m_pSockComm;
    m_pSockComm = nullptr;
}

CSEIntegrationAgent& CSEIntegrationAgent::GetIntegrationAgent()
{
    if (m_pIntegAgent != nullptr)
        return *m_pIntegAgent;
    m_pIntegAgent = new (std::nothrow) CSEIntegrationAgent();
    if (m_pIntegAgent == nullptr)
        DVKFatalError("m_pIntegAgent != NULL");
    // Registered after the client settings' own callback when they exist already, so the agent (and its
    // socket) goes first at exit.
    DVKCallOnExit(&CSEIntegrationAgent::DeleteIntegrationAgent, 3);
    return *m_pIntegAgent;
}

int CSEIntegrationAgent::DeleteIntegrationAgent(int)
{
    CSEIntegrationAgent* agent = m_pIntegAgent;
    m_pIntegAgent = nullptr;
    delete agent;
    return 0;
}

void CSEIntegrationAgent::DisconnectSequence()
{
    m_eConnectionStatus = NotConnected;
    if (m_pServerSettings != nullptr) {
        m_pServerSettings->ClearServerSettings();
        delete m_pServerSettings;
        m_pServerSettings = nullptr;
    }
    if (m_pSockComm == nullptr) {
        DVKSysCheckFailure("m_pSockComm");
        return;
    }
    m_pSockComm->CloseSocket();
}

CSEString CSEIntegrationAgent::GetCurrentUserProfileDirectory()
{
    CSELogger::LogDebugMsg(u"[CSEIntegrationAgent::GetCurrentUserProfileDirectory] Entering");
    const CSEString profile = Utf8(UserProfileFromEnvironment());
    if (profile().IsEmpty())
        CSELogger::LogMsg(3, u"[Exiting CSEIntegrationAgent] Error getting env variable");
    CSELogger::LogDebugMsg(u"[CSEIntegrationAgent::GetCurrentUserProfileDirectory] Exiting");
    return profile;
}

int CSEIntegrationAgent::ReadSocketPortFromFile()
{
    CSELogger::LogDebugMsg(u"[CSEIntegrationAgent::ReadSocketPortFromFile]Entered function");
    // Recorded in capture mode; in replay mode the recorded port stands in for the file.
    const auto readPortFile = [this]() -> int {
        CSEString path = GetCurrentUserProfileDirectory();
        CSEUtil::AppendSlash(path);
        path += kPortFileName;
        CSELogger::LogDebugMsg(u"[CSEIntegrationAgent::ReadSocketPortFromFile] Looking up for the OKT.PORT file : "
                               + path);
        std::string line;
        switch (ReadFirstLine(path().ToUTF8(), line)) {
        case PortFileRead::Missing:
            CSELogger::LogMsg(3, u"[CSEIntegrationAgent::ReadSocketPortFromFile] OKT.PORT file doesnot exists at "
                                 u"the following location "
                                     + path);
            return -1;
        case PortFileRead::Unreadable:
            CSELogger::LogMsg(3, u"[CSEIntegrationAgent::ReadSocketPortFromFile] OKT.PORT file could not be read : "
                                     + path);
            return -1;
        case PortFileRead::Read:
            break;
        }
        CSELogger::LogDebugMsg(u"[CSEIntegrationAgent::ReadSocketPortFromFile] Found the OKT.PORT file : " + path);
        CSELogger::LogDebugMsg(u"[CSEIntegrationAgent::ReadSocketPortFromFile] The content of the OKT.PORT file is : "
                               + Utf8(line));
        const int port = LeadingInteger(line);
        CSELogger::LogDebugMsg(u"[CSEIntegrationAgent::ReadSocketPortFromFile] The port number parsed from the "
                               u"content of the OKT.PORT file is : "
                               + Decimal(port));
        CSELogger::LogDebugMsg(u"[CSEIntegrationAgent::ReadSocketPortFromFile] Exiting function");
        return port;
    };
    const int port = MOCK_CallHooks::ReadSocketPortFromFile(readPortFile);
    // A replay reads no file: the entry line and the recorded port are all it logs.
    if (MOCK_EnvironmentServices::IsReplay())
        CSELogger::LogDebugMsg(u"[CSEIntegrationAgent::ReadSocketPortFromFile] The port number parsed from the "
                               u"content of the OKT.PORT file is : "
                               + Decimal(port));
    return port;
}

CSEIntegrationAgent::ConnectionStatus CSEIntegrationAgent::Connect()
{
    if (m_eConnectionStatus != NotConnected)
        return m_eConnectionStatus;
    const CSEString host = ClientSetting(CSE_SECTION_SERVER, CSE_KEY_CLIENTNAME);
    if (host().IsEmpty()) {
        CSELogger::LogMsg(3, u"[CSEIntegrationAgent::Connect] The setting \"clientname\" of the section "
                             u"\"SERVER\" is missing or empty; no connection is attempted.");
        DisconnectSequence();
        return m_eConnectionStatus;
    }
    const int port = IsSilentMode() && m_iSilentAppletPort != -1 ? m_iSilentAppletPort : ReadSocketPortFromFile();
    if (port < static_cast<int>(CSESocketCommunicator::MinPort) ||
        port > static_cast<int>(CSESocketCommunicator::MaxPort)) {
        CSELogger::LogMsg(3, u"[CSEIntegrationAgent::Connect] Port number " + Decimal(port)
                                 + u" is outside 1 to 65535; no connection is attempted.");
        DisconnectSequence();
        return m_eConnectionStatus;
    }
    if (m_pSockComm == nullptr) {
        DisconnectSequence();
        return m_eConnectionStatus;
    }
    m_pSockComm->CreateSocket(host().ToUTF8().c_str(), static_cast<unsigned int>(port));
    if (!m_pSockComm->IsSocketAlive()) {
        CSELogger::LogMsg(3, u"[CSEIntegrationAgent::Connect] The integration service could not be reached at "
                                 + host + u":" + Decimal(port) + u".");
        DisconnectSequence();
        return m_eConnectionStatus;
    }
    m_eConnectionStatus = Connected;
    return m_eConnectionStatus;
}

bool CSEIntegrationAgent::CheckSocketAlive()
{
    if (m_pSockComm == nullptr) {
        DVKSysCheckFailure("m_pSockComm");
        DisconnectSequence();
        return false;
    }
    if (!m_pSockComm->IsSocketAlive()) {
        DVKSysCheckFailure("m_pSockComm->IsSocketAlive()");
        DisconnectSequence();
        return false;
    }
    return true;
}

CSEIntegrationAgent::ConnectionStatus CSEIntegrationAgent::Login()
{
    if (m_eConnectionStatus != Connected)
        return m_eConnectionStatus;
    if (!CheckSocketAlive())
        return m_eConnectionStatus;
    if (IsSilentMode())
        return m_eConnectionStatus;
    if (!SendCommandActual(CSEUtil::CSEGetCmdHeaderString(u"login", false)))
        return m_eConnectionStatus;
    CSEString strLoginResponse;
    if (!GetResponse(strLoginResponse))
        return m_eConnectionStatus;
    CSEResponse response;
    response.ParseResponse(strLoginResponse);
    if (response.GetResult() == u"failure") {
        const CSEString reason = response.GetReason();
        CSELogger::LogDebugMsg(u"Login response is failed. Reason=" + reason);
        throw CSEException(__FILE__, __LINE__, reason, CSEExceptionError);
    }
    if (InitServerSettings(strLoginResponse) != CSE_SUCCESS) {
        DVKSysCheckFailure("CSE_SUCCESS == InitServerSettings(strLoginResponse)");
        CSELogger::LogMsg(3, u"[CSEIntegrationAgent::Login] InitServerSettings failed to parse the login response.");
        return m_eConnectionStatus;
    }
    if (sendRequestForServerComponentVersions() == CSE_SUCCESS) {
        // A transport failure during the query has already disconnected.
        if (m_eConnectionStatus == Connected)
            m_eConnectionStatus = LoggedIn;
        return m_eConnectionStatus;
    }
    CSELogger::LogMsg(3, u"[CSEIntegrationAgent::Login] Failed to get the server components versions.");
    return m_eConnectionStatus;
}

int CSEIntegrationAgent::InitServerSettings(const CSEString& loginResponse)
{
    if (m_pServerSettings != nullptr)
        DVKSysCheckFailure("!m_pServerSettings");
    // Settings held before are replaced only by a response that could be read.
    CSEServerSettings* loaded = LoadSettings(loginResponse);
    if (loaded == nullptr)
        return 1;
    delete m_pServerSettings;
    m_pServerSettings = loaded;
    return CSE_SUCCESS;
}

int CSEIntegrationAgent::InitServerSettingsForSilent(const CSEString& settingsXml)
{
    if (m_pServerSettings != nullptr) {
        DVKSysCheckFailure("!m_pServerSettings");
        return 1;
    }
    m_pServerSettings = LoadSettings(settingsXml);
    if (m_pServerSettings == nullptr)
        return 1;
    m_eConnectionStatus = LoggedIn;
    return CSE_SUCCESS;
}

CSEServerSettings* CSEIntegrationAgent::LoadSettings(const CSEString& loginResponse)
{
    std::unique_ptr<CSEServerSettings> settings(new (std::nothrow) CSEServerSettings());
    if (settings == nullptr || settings->LoadServerSettings(loginResponse) != CSE_SUCCESS)
        return nullptr;
    if (IsSilentMode())
        settings->InitServerSettingsForSilentProcessing();
    return settings.release();
}

int CSEIntegrationAgent::sendRequestForServerComponentVersions()
{
    CSELqlCmd command;
    command.setLQLCommand(kVersionQuery);
    CSEString responseText;
    int result = command.Execute(responseText);
    CSEResponse* response = command.GetResponseObject();
    if (response != nullptr && response->GetResult() == u"success") {
        CSEString versionList;
        CSEXMLPacket* packet = response->GetXMLPacket();
        if (packet != nullptr)
            packet->getNodeValue(kResponseInfoPath, versionList);
        // Without global settings the versions have nowhere to go: that is no success either.
        if (ParseVersionList(versionList) != CSE_SUCCESS)
            result = 1;
    } else {
        CSELogger::LogDebugMsg(u"CSEIntegrationAgent::sendRequestForServerComponentVersions() Failed."
                               + (response != nullptr ? response->GetReason() : CSEString()));
        result = 1;
    }
    CSELogger::LogDebugMsg(u"[CSEIntegrationAgent::sendRequestForServerComponentVersions] Response:"
                           + Abridged(responseText));
    return result;
}

int CSEIntegrationAgent::ParseVersionList(CSEString versionList)
{
    if (m_pServerSettings == nullptr)
        return 1;
    CSEStringCSEStringMap versions;
    cse::ParseComponentVersions(versionList, versions);
    m_pServerSettings->SetServerComponentVersions(versions);
    return CSE_SUCCESS;
}

CSEIntegrationAgent::ConnectionStatus CSEIntegrationAgent::PingServer()
{
    if (m_eConnectionStatus != LoggedIn)
        return m_eConnectionStatus;
    if (!CheckSocketAlive())
        return m_eConnectionStatus;
    // The connection is busy with an awaited response, which is answer enough.
    if (RefusedWhileAwaitingResponse(m_pSockComm, u"[CSEIntegrationAgent::PingServer]"))
        return m_eConnectionStatus;
    // A failed send or receive has dropped the connection it used already; a connection that the host
    // made during the interface turn is not the one that failed.
    sendAndRespondPingCommand();
    return m_eConnectionStatus;
}

unsigned char CSEIntegrationAgent::sendAndRespondPingCommand()
{
    CSELogger::LogDebugMsg(u"[CSEIntegrationAgent::sendAndRespondPingCommand] Entering.");
    bool answered = false;
    if (SendCommandActual(CSEUtil::CSEGetCmdHeaderString(u"ping", false))) {
        CSEString response;
        answered = GetResponse(response) != 0;
    }
    CSELogger::LogDebugMsg(u"[CSEIntegrationAgent::sendAndRespondPingCommand] Exiting.");
    return answered;
}

void CSEIntegrationAgent::Disconnect()
{
    DisconnectSequence();
}

CSEIntegrationAgent::ConnectionStatus CSEIntegrationAgent::GetConnectionStatus() const
{
    return m_eConnectionStatus;
}

CSEServerSettings* CSEIntegrationAgent::GetServerSettingsPtr()
{
    return m_pServerSettings;
}

bool CSEIntegrationAgent::IsAwaitingResponse() const
{
    return m_pSockComm != nullptr && m_pSockComm->IsReceiving();
}

unsigned char CSEIntegrationAgent::SendCommand(const CSEString& command)
{
    const unsigned char sent = SendCommandActual(command);
    if (sent)
        CSEUtil::BringBrowserWindowToFront();
    return sent;
}

unsigned char CSEIntegrationAgent::SendCommandActual(const CSEString& command)
{
    CSELogger::LogMsg(5, u"[CSEIntegrationAgent::SendCommand] Sending command: "
                             + CSERequestMasking::MaskPasswords(command));
    if (RefusedWhileAwaitingResponse(m_pSockComm, u"[CSEIntegrationAgent::SendCommand]"))
        return false;
    // The service reads the command from this file: without it the pointer would name a stale one.
    if (!WriteInstallationFile(kRequestFileName, command)) {
        DisconnectSequence();
        return false;
    }
    if (m_pSockComm == nullptr) {
        DVKSysCheckFailure("m_pSockComm");
        DisconnectSequence();
        return false;
    }
    const CSEString request =
        CSEUtil::CSEGetRequestCmdString(CSEUtil::GetInstallationFolder(CSEString()), kRequestFileName);
    WriteInstallationFile(kSentFileName, request);
    CSELogger::LogMsg(5, u"[CSEIntegrationAgent::SendCommand] Sending Request: " + request);
    const unsigned char sent = m_pSockComm->SendCSEString(request);
    if (!sent)
        DisconnectSequence();
    return sent;
}

unsigned char CSEIntegrationAgent::GetResponse(CSEString& response)
{
    CSELogger::LogMsg(5, u"[CSEIntegrationAgent::GetResponse]Entered");
    if (RefusedWhileAwaitingResponse(m_pSockComm, u"[CSEIntegrationAgent::GetResponse]"))
        return false;
    if (m_pSockComm == nullptr) {
        DVKSysCheckFailure("m_pSockComm");
        DisconnectSequence();
        return false;
    }
    const std::uint64_t awaitedOn = m_pSockComm->GetConnectionNumber();
    const unsigned char received = m_pSockComm->ReceiveCSEString(response);
    if (received) {
        WriteInstallationFile(kReceivedFileName, response);
    } else if (m_pSockComm->GetConnectionNumber() == awaitedOn) {
        DisconnectSequence();
    } else {
        // The host closed that connection during its interface turn; one it made since is not ours to drop.
        CSELogger::LogMsg(3, u"[CSEIntegrationAgent::GetResponse] The connection was closed during the host's "
                             u"interface turn while its response was awaited; nothing else is dropped.");
    }
    CSELogger::LogMsg(5, u"[CSEIntegrationAgent::GetResponse] Thin response recieved: " + Abridged(response));
    return received;
}

int CSEIntegrationAgent::StartBrowser()
{
    CSELogger::LogMsg(5, u"[CSEIntegrationAgent::StartBrowser] Entering");
    CSEString address;
    if (IsSilentMode())
        address = !m_sServerUrl().IsEmpty() ? m_sServerUrl : ClientSetting(CSE_SECTION_SERVER, CSE_KEY_SILENTADDRESS);
    else
        address = ClientSetting(CSE_SECTION_SERVER, CSE_KEY_ADDRESS);
    const int result = CSEUtil::StartBrowser(address);
    CSELogger::LogMsg(5, u"[CSEIntegrationAgent::StartBrowser] Exiting");
    return result;
}

void CSEIntegrationAgent::SetServerUrl(const CSEString& url)
{
    m_sServerUrl = url;
}

void CSEIntegrationAgent::SetSilentAppletPortNumber(const int& port)
{
    m_iSilentAppletPort = port;
}
