// CSEClientSettings: the process-wide holder of "settings.ini", the identity record and the logger.
#include "CSEClientSettings.h"

#include <memory>

#include "CSEException.h"
#include "CSELogger.h"
#include "CSEMsgMgr.h"
#include "CSEUtil.h"
#include "host/DVKEnv.h"
#include "host/DVKExit.h"
#include "host/DVKFiles.h"
#include "settings/CSESettingsIni.h"

#if __has_include("MOCK_EnvironmentServices.h")
#include "MOCK_EnvironmentServices.h"
#define QORVI_HAVE_MOCK_ENVIRONMENT 1
#endif

CSEClientSettings* CSEClientSettings::m_pClientSettings = nullptr;

namespace {

const char16_t kApplicationName[] = u"QxDravikV5";
const char16_t kDefaultCompatibleVersion[] = u"10.7.SP1";
const char16_t kSettingsFileName[] = u"settings.ini";
const char16_t kSilentLogName[] = u"QxDravikV5SilentProcessor.log";
const char16_t kBulkLoadingLogName[] = u"HarloDravikV5ImportUtility.log";
const char16_t kCaptureLogName[] = u"QxDravikV5MOCK.log";
// Far above any real settings file; a larger one is not taken for settings at all.
const std::size_t kMaxSettingsBytes = 1024 * 1024;

bool IsCaptureOrReplay()
{
#ifdef QORVI_HAVE_MOCK_ENVIRONMENT
    return MOCK_EnvironmentServices::IsCapture() || MOCK_EnvironmentServices::IsReplay();
#else
    const std::string mode = dvk::GetEnvOrEmpty("DV5_MOCK_MODE");
    return mode == "capture" || mode == "replay";
#endif
}

CSEInfo MakeIdentity()
{
    CSEInfo info;
    info.m_sApplicationName = kApplicationName;
    info.m_sCSEVersion = CSEUtil::GetCSEVersion();
    info.m_sCompatibleWKCVersion = kDefaultCompatibleVersion;
    info.m_sIntegrationName = kApplicationName;
    info.m_pszExtraVersion1 = "";
    info.m_pszExtraVersion2 = "";
    return info;
}

} // namespace

CSEClientSettings* CSEClientSettings::GetInstance(unsigned char silent)
{
    if (m_pClientSettings != nullptr)
        return m_pClientSettings;
    const CSEInfo info = MakeIdentity();
    const CSEString installFolder = CSEUtil::GetInstallationFolder(CSEString());
    if (installFolder().IsEmpty())
        throw CSEException(__FILE__, __LINE__,
                           CSEMsgMgr::GetMsgOrId(CSEString(u"MSG_READREGISTRY_FAIL")),
                           CSEExceptionError);
    // Stored only once complete; a log line about the file waits until then, since logging asks
    // for this very instance.
    std::unique_ptr<CSEClientSettings> settings(new CSEClientSettings(info, silent, installFolder));
    const bool fileRead = settings->LoadSettingsFile();
    m_pClientSettings = settings.release();
    DVKCallOnExit(&CSEClientSettings::DeleteClientSettings, 3);
    if (!fileRead)
        m_pClientSettings->LogUnreadableFile();
    return m_pClientSettings;
}

int CSEClientSettings::DeleteClientSettings(int)
{
    CSEClientSettings* settings = m_pClientSettings;
    m_pClientSettings = nullptr;
    delete settings;
    return 0;
}

CSEClientSettings::CSEClientSettings(const CSEInfo& info, unsigned char silent,
                                     const CSEString& installFolder)
    : m_bSilent(silent), m_bBulkLoading(0), m_CSEInfo(info), m_pLogger(nullptr),
      m_sInstallFolder(installFolder)
{
    m_sIniPath = InstallFile(kSettingsFileName);
}

CSEClientSettings::~CSEClientSettings()
{
    // The logger unregisters itself as the default one, so no log call reaches it afterwards.
    delete m_pLogger;
    m_pLogger = nullptr;
}

void CSEClientSettings::ReadSettings()
{
    if (!LoadSettingsFile())
        LogUnreadableFile();
}

bool CSEClientSettings::LoadSettingsFile()
{
    const std::string path = m_sIniPath().ToUTF8();
    std::string bytes;
    const bool read = dvk::ReadRegularFile(path, kMaxSettingsBytes, bytes);
    if (read)
        cse::ParseSettingsText(bytes, m_Settings);
    CSEString version;
    if (GetSetting(CSE_SECTION_CLIENT, CSE_KEY_COMPATIBLEWKCVERSION, version))
        m_CSEInfo.m_sCompatibleWKCVersion = version;
    // A missing file is the usual case of an installation without settings.
    return read || !dvk::PathExists(path);
}

void CSEClientSettings::LogUnreadableFile() const
{
    CSELogger::LogMsg(3, CSEString(u"[CSEClientSettings::ReadSettings] No settings taken from ") +
                             m_sIniPath +
                             u": not a regular file of at most 1 MiB, or it cannot be read.");
}

unsigned char CSEClientSettings::GetSetting(const CSEString& section, const CSEString& key,
                                            CSEString& value) const
{
    value.clear();
    const CSESettingsTable::const_iterator sectionIt = m_Settings.find(section().Text());
    if (sectionIt == m_Settings.end())
        return 0;
    const CSESettingsSection::const_iterator keyIt = sectionIt->second.find(key().Text());
    if (keyIt == sectionIt->second.end())
        return 0;
    value = CSEString(DVKUnicodeString(keyIt->second));
    return keyIt->second.empty() ? 0 : 1;
}

unsigned char CSEClientSettings::GetIntValue(const CSEString& section, const CSEString& key,
                                             int& value) const
{
    CSEString text;
    if (!GetSetting(section, key, text))
        return 0;
    value = CSEUtil::getIntFromCSEString(text);
    return 1;
}

unsigned char CSEClientSettings::GetBoolValue(const CSEString& section, const CSEString& key,
                                              unsigned char& value) const
{
    CSEString text;
    if (!GetSetting(section, key, text))
        return 0;
    value = text == u"true" ? 1 : 0;
    return 1;
}

const CSEInfo& CSEClientSettings::GetCSEInfo() const
{
    return m_CSEInfo;
}

void CSEClientSettings::SetBulkLoadingMode()
{
    m_bBulkLoading = 1;
}

unsigned char CSEClientSettings::IsSilentMode() const
{
    return m_bSilent;
}

unsigned char CSEClientSettings::IsBulkLoadingMode() const
{
    return m_bBulkLoading;
}

const CSEString& CSEClientSettings::GetIniPath() const
{
    return m_sIniPath;
}

CSEString CSEClientSettings::InstallFile(const char16_t* fileName) const
{
    CSEString path = m_sInstallFolder;
    CSEUtil::AppendSlash(path);
    return path + fileName;
}

const CSEString CSEClientSettings::GetLogFile()
{
    return InstallFile((m_CSEInfo.m_sApplicationName + u".log")().Data());
}

const CSEString CSEClientSettings::GetSilentProcessorLogFile()
{
    return InstallFile(m_bBulkLoading ? kBulkLoadingLogName : kSilentLogName);
}

const CSEString CSEClientSettings::GetRTMLogFile()
{
    return InstallFile(kCaptureLogName);
}

CSELogger* CSEClientSettings::GetLogger()
{
    if (m_pLogger != nullptr)
        return m_pLogger;
    CSELogger* logger = new CSELogger();
    ConfigureLogger(*logger);
    // Stored before the version line is logged, so that line finds this logger.
    m_pLogger = logger;
    const CSEString versionLine = m_CSEInfo.m_sApplicationName + u" Version: " +
                                  m_CSEInfo.m_sCSEVersion + u" : " +
                                  CSEString(m_CSEInfo.m_pszExtraVersion1) + u" : " +
                                  CSEString(m_CSEInfo.m_pszExtraVersion2);
    CSELogger::LogMsg(5, versionLine);
    return m_pLogger;
}

int CSEClientSettings::LogLevel(const char16_t* flagKey, const char16_t* levelKey, int onLevel,
                                int offLevel) const
{
    unsigned char flag = 0;
    GetBoolValue(CSE_SECTION_CLIENT, flagKey, flag);
    if (!flag)
        return offLevel;
    GetIntValue(CSE_SECTION_CLIENT, levelKey, onLevel);
    return onLevel;
}

void CSEClientSettings::ConfigureLogger(CSELogger& logger)
{
    logger.SetLogFilename(GetLogFile());
    if (m_bSilent) {
        logger.SetSilentLogFilename(GetSilentProcessorLogFile());
        logger.SetSilentLogPriority(LogLevel(CSE_KEY_SILENTLOGFLAG, CSE_KEY_SILENTLOGLEVEL, 4, 0));
    }
    if (IsCaptureOrReplay()) {
        logger.SetRTMLogFilename(GetRTMLogFile());
        logger.SetRTMLogPriority(LogLevel(CSE_KEY_MOCKLOGFLAG, CSE_KEY_MOCKLOGLEVEL, 4, 7));
    }
    logger.SetLogPriority(LogLevel(CSE_KEY_DEBUGFLAG, CSE_KEY_CLIENTLOGLEVEL, 4, 0));
    logger.SetPerformanceLogPriority(
        LogLevel(CSE_KEY_PERFORMANCELOGFLAG, CSE_KEY_PERFORMANCELOGLEVEL, 2, 0));
}
