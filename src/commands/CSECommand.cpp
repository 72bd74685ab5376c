// CSECommand: request envelope, exchange through the integration agent, XML dumps, shared ownership
// of the request packet and the response between copies of a command.
#include "CSECommand.h"

#include <cstdio>
#include <ctime>
#include <string>

#include "CSEClientSettings.h"
#include "CSEIntegrationAgent.h"
#include "CSELogger.h"
#include "CSEMsgMgr.h"
#include "CSEResponse.h"
#include "CSEUtil.h"
#include "CSEXMLPacket.h"
#include "commands/CSERequestMasking.h"
#include "host/DVKFiles.h"

namespace {

const char16_t kCommandPath[] = u"//command";
const char16_t kResponseRootPath[] = u"/response";
const char16_t kRequestFileName[] = u"QxRequest.xml";
const char16_t kResponseFileName[] = u"Response.xml";
const unsigned int kOwnerOnly = 0600;

CSEString InstallFolderFile(const CSEString& name)
{
    CSEString path = CSEUtil::GetInstallationFolder(CSEString());
    CSEUtil::AppendSlash(path);
    return path + name;
}

CSEString DumpFolder()
{
    return InstallFolderFile(CSEString(u"XmlDump"));
}

// A dump name never leaves the dump folder, whatever the command name holds.
CSEString WithoutSeparators(CSEString text)
{
    text.ReplaceSubString(CSEString(u"/"), CSEString(u"_"));
    text.ReplaceSubString(CSEString(u"\\"), CSEString(u"_"));
    return text;
}

CSEString LocalTimeForDumpName()
{
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    char stamp[64] = "0000-00-00_00.00.00";
    if (local != nullptr)
        std::snprintf(stamp, sizeof(stamp), "%04d-%02d-%02d_%02d.%02d.%02d", local->tm_year + 1900,
                      local->tm_mon + 1, local->tm_mday, local->tm_hour, local->tm_min,
                      local->tm_sec);
    return CSEString(stamp);
}

} // namespace

CSECommand::CSECommand()
    : m_pCmdXMLPacket(CSEXMLPacket::GetXMLPacketPtr(-1)), m_pResponse(new CSEResponse()),
      m_bXMLDump(false), m_bFocusBrowser(false)
{
    m_spCmdXMLPacketOwner.reset(m_pCmdXMLPacket);
    m_spResponseOwner.reset(m_pResponse);
    m_bXMLDump = GetXMLDumpFlag();
    if (m_bXMLDump)
        CSEUtil::CreateDirectoryW(DumpFolder());
}

CSECommand::CSECommand(const CSECommand& other)
    : m_pCmdXMLPacket(nullptr), m_pResponse(nullptr), m_bXMLDump(other.m_bXMLDump),
      m_bFocusBrowser(other.m_bFocusBrowser)
{
    other.AdoptReplacedObjects();
    m_sCmdName = other.m_sCmdName;
    m_sBulkLoaderBatchNum = other.m_sBulkLoaderBatchNum;
    m_pCmdXMLPacket = other.m_pCmdXMLPacket;
    m_pResponse = other.m_pResponse;
    m_spCmdXMLPacketOwner = other.m_spCmdXMLPacketOwner;
    m_spResponseOwner = other.m_spResponseOwner;
}

CSECommand& CSECommand::operator=(const CSECommand& other)
{
    if (this == &other)
        return *this;
    other.AdoptReplacedObjects();
    AdoptReplacedObjects();
    // Release this command's own objects first (deleted here when no one else holds them).
    m_spCmdXMLPacketOwner.reset();
    m_spResponseOwner.reset();
    m_sCmdName = other.m_sCmdName;
    m_pCmdXMLPacket = other.m_pCmdXMLPacket;
    m_pResponse = other.m_pResponse;
    m_spCmdXMLPacketOwner = other.m_spCmdXMLPacketOwner;
    m_spResponseOwner = other.m_spResponseOwner;
    m_bXMLDump = other.m_bXMLDump;
    m_bFocusBrowser = other.m_bFocusBrowser;
    m_sBulkLoaderBatchNum = other.m_sBulkLoaderBatchNum;
    return *this;
}

CSECommand::~CSECommand()
{
    AdoptReplacedObjects();
    m_pCmdXMLPacket = nullptr;
    m_pResponse = nullptr;
}

void CSECommand::AdoptReplacedObjects() const
{
    if (m_pCmdXMLPacket != m_spCmdXMLPacketOwner.get())
        m_spCmdXMLPacketOwner.reset(m_pCmdXMLPacket);
    if (m_pResponse != m_spResponseOwner.get())
        m_spResponseOwner.reset(m_pResponse);
}

int CSECommand::Execute(CSEString& response)
{
    CSELogger::LogPerformanceMsg(2, m_sCmdName + u" : SEND/RECIEVE XML: START");
    const int result = Exchange(response);
    CSELogger::LogPerformanceMsg(2, m_sCmdName + u" : SEND/RECIEVE XML: END");
    return result;
}

int CSECommand::Exchange(CSEString& response)
{
    AdoptReplacedObjects();
    CSEIntegrationAgent& agent = CSEIntegrationAgent::GetIntegrationAgent();
    if (m_pCmdXMLPacket == nullptr || m_pResponse == nullptr) {
        CSELogger::LogMsg(3, CSEString(u"[CSECommand::Execute] Nothing sent: the command has no "
                                       u"request packet or no response object. Command: ") +
                                 m_sCmdName);
        return 1;
    }
    m_pCmdXMLPacket->removeAttributeFromAllNodes(CSEString(u"iGSSLID"));
    CSEString request;
    if (m_pCmdXMLPacket->getXMLString(request) != 0 || request.size() == 0) {
        CSELogger::LogMsg(3, CSEString(u"[CSECommand::Execute] Nothing sent: the request of the "
                                       u"command could not be serialised. Command: ") +
                                 m_sCmdName);
        return 1;
    }
    if (!agent.SendCommand(request)) {
        // Started from the host's interface turn while another command waits: the connection is up.
        if (agent.IsAwaitingResponse()) {
            CSELogger::LogMsg(3, CSEString(u"[CSECommand::Execute] Nothing sent: another command's "
                                           u"response is still awaited. Command: ") +
                                     m_sCmdName);
            return 1;
        }
        ShowNotConnected();
        return 1;
    }
    if (m_bXMLDump)
        DumpInstallFile(kRequestFileName, 0);
    if (!agent.GetResponse(response)) {
        ShowNotConnected();
        return 1;
    }
    if (m_bXMLDump)
        DumpInstallFile(kResponseFileName, 1);
    if (!m_pResponse->ParseResponse(response)) {
        CSELogger::LogMsg(3, CSEString(u"[CSECommand::Execute] The response could not be read. "
                                       u"Command: ") +
                                 m_sCmdName);
        return 1;
    }
    return 0;
}

void CSECommand::ShowNotConnected()
{
    CSELogger::LogMsg(3, CSEString(u"[CSECommand::Execute] The integration service is not "
                                   u"reachable. Command: ") +
                             m_sCmdName);
    CSEMsgMgr::ShowMsg(CSEMsgMgr::GetMsg(CSEString(u"MSG_NOT_CONNECTED")),
                       CSEString(u"MSG_MSGBOXTITLE"), CSEMessageBoxError);
}

void CSECommand::DumpInstallFile(const char16_t* fileName, int kind)
{
    const CSEString target = CreateXMLDumpFileName(kind);
    if (target.size() == 0)
        return;
    const CSEString source = InstallFolderFile(CSEString(fileName));
    std::string bytes;
    if (dvk::ReadWholeFile(source().ToUTF8(), bytes) &&
        dvk::WriteWholeFile(target().ToUTF8(), CSERequestMasking::MaskPasswords(bytes), kOwnerOnly))
        return;
    CSELogger::LogMsg(3, CSEString(u"[CSECommand::Execute] Could not write the XML dump ") +
                             target + u" of " + source);
}

void CSECommand::SetCmdName(const CSEString& name)
{
    m_sCmdName = name;
    // Before the header is loaded there is no document to write to.
    CSEString root;
    if (m_pCmdXMLPacket != nullptr && m_pCmdXMLPacket->getRootNodeName(root) == 0)
        m_pCmdXMLPacket->createProperty(CSEString(kCommandPath), CSEString(u"cname"), name, 0);
}

CSEString CSECommand::GetCmdName() const
{
    return m_sCmdName;
}

void CSECommand::CreateCmdHeader()
{
    if (m_pCmdXMLPacket == nullptr)
        return;
    if (m_pCmdXMLPacket->loadXMLinMemory(
            CSEUtil::CSEGetCmdHeaderString(m_sCmdName, m_bFocusBrowser)) != 0)
        CSELogger::LogMsg(3, CSEString(u"[CSECommand::CreateCmdHeader] The command header could "
                                       u"not be loaded. Command: ") +
                                 m_sCmdName);
}

void CSECommand::CreateResponseHeader()
{
    if (m_pCmdXMLPacket == nullptr)
        return;
    if (m_pCmdXMLPacket->loadXMLinMemory(
            CSEUtil::CSEGetResponseHeaderString(m_sCmdName, m_bFocusBrowser)) != 0)
        CSELogger::LogMsg(3, CSEString(u"[CSECommand::CreateResponseHeader] The response header "
                                       u"could not be loaded. Command: ") +
                                 m_sCmdName);
}

void CSECommand::CreateFailureHeader(CSEString reason)
{
    CreateCmdHeader();
    if (m_pCmdXMLPacket == nullptr)
        return;
    CSEString root;
    if (m_pCmdXMLPacket->getRootNodeName(root) == 0 && root == u"response")
        SetResult(CSEString(u"failure"));
    // Takes effect on a command root only.
    m_pCmdXMLPacket->createChildNode(CSEString(kCommandPath), CSEString(u"info"), CSEString(), 1);
    m_pCmdXMLPacket->createChildNode(CSEString(u"//command/info"), CSEString(u"reason"), reason, 1);
}

void CSECommand::SetResult(CSEString result)
{
    if (m_pCmdXMLPacket != nullptr)
        m_pCmdXMLPacket->createProperty(CSEString(kResponseRootPath), CSEString(u"result"), result, 0);
}

void CSECommand::SetUserExitEnabled(bool enabled)
{
    if (m_pCmdXMLPacket != nullptr)
        m_pCmdXMLPacket->createProperty(CSEString(kCommandPath), CSEString(u"prefiletrans"),
                                        CSEString(enabled ? u"true" : u"false"), 0);
}

void CSECommand::SetFocusBrowser(bool focusBrowser)
{
    m_bFocusBrowser = focusBrowser;
}

void CSECommand::SetResponseObject(CSEResponse* response)
{
    AdoptReplacedObjects();
    if (response == nullptr || response == m_pResponse)
        return;
    m_pResponse = response;
    m_spResponseOwner.reset(response);
}

CSEResponse* CSECommand::GetResponseObject()
{
    return m_pResponse;
}

void CSECommand::ReplaceCmdXMLPacket(CSEXMLPacket* packet)
{
    AdoptReplacedObjects();
    if (packet == m_pCmdXMLPacket)
        return;
    m_pCmdXMLPacket = packet;
    m_spCmdXMLPacketOwner.reset(packet);
}

std::shared_ptr<CSEXMLPacket> CSECommand::ShareCmdXMLPacket()
{
    AdoptReplacedObjects();
    return m_spCmdXMLPacketOwner;
}

void CSECommand::UseCmdXMLPacket(const std::shared_ptr<CSEXMLPacket>& packet)
{
    AdoptReplacedObjects();
    m_pCmdXMLPacket = packet.get();
    m_spCmdXMLPacketOwner = packet;
}

bool CSECommand::LogConstruction(const CSEString& where)
{
    CSELogger::LogSilentDebugMsg(where + u" Constructor.");
    if (m_pCmdXMLPacket != nullptr)
        return true;
    CSELogger::LogSilentDebugMsg(where + u" m_pCmdXMLPacket == NULL.");
    return false;
}

bool CSECommand::ConstructCommand(const CSEString& where, const CSEString& name)
{
    const bool hasPacket = LogConstruction(where);
    SetCmdName(name);
    if (hasPacket)
        CreateCmdHeader();
    return hasPacket;
}

void CSECommand::SetBulkLoaderBatchNumForXMLDump(CSEString& batchNumber)
{
    m_sBulkLoaderBatchNum = batchNumber;
}

bool CSECommand::GetXMLDumpFlag()
{
    CSELogger::LogDebugMsg(CSEString(u"CSECommand::GetXMLDumpFlag::Entering"));
    CSEString value(u"false");
    try {
        CSEClientSettings* settings = CSEClientSettings::GetInstance(0);
        if (settings != nullptr && !settings->GetSetting(CSEString(CSE_SECTION_CLIENT),
                                                         CSEString(CSE_KEY_XMLDUMP), value))
            value = u"false";
    } catch (...) {
        // Without client settings there is no installation folder to dump into.
        value = u"false";
    }
    CSELogger::LogDebugMsg(CSEString(u"CSECommand::GetXMLDumpFlag::Exiting"));
    return value == u"true";
}

CSEString CSECommand::CreateXMLDumpFileName(int kind)
{
    CSELogger::LogDebugMsg(CSEString(u"CSECommand::CreateXMLDumpFileName::Entering"));
    if (!m_bXMLDump || (kind != 0 && kind != 1))
        return CSEString();
    CSEString folder = DumpFolder();
    CSEUtil::AppendSlash(folder);
    const CSEString base = folder + LocalTimeForDumpName() + u"_" +
                           WithoutSeparators(m_sCmdName + u"_" +
                                             (kind == 0 ? u"QxRequest" : u"Response") +
                                             m_sBulkLoaderBatchNum);
    for (int number = 0;; ++number) {
        const CSEString candidate = base + CSEUtil::getCSEStringFromInt(number) + u".xml";
        if (!CSEUtil::doesFileExist(candidate))
            return candidate;
    }
}
