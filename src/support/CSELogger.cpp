// CSELogger: appends stamped lines to the main, silent, capture and performance logs.
#include "CSELogger.h"

#include <string>

#include "CSEClientSettings.h"
#include "DVKListValDVKUnicodeString.h"
#include "host/DVKFatal.h"
#include "host/DVKFiles.h"
#include "host/DVKTime.h"

CSELogger* CSELogger::m_pLogger = nullptr;

namespace {

const char16_t kPerformancePrefix[] = u"Performace_";

// Set while a log call creates the client settings: creating them may fail with an exception that
// logs its own message, and that message must not try to create the settings again.
bool g_bCreatingSettings = false;

// The client settings, created when needed; null when they cannot be had.
CSEClientSettings* SettingsOrNull()
{
    if (g_bCreatingSettings)
        return nullptr;
    g_bCreatingSettings = true;
    CSEClientSettings* settings = nullptr;
    try {
        settings = CSEClientSettings::GetInstance(0);
    } catch (...) {
        settings = nullptr;
    }
    g_bCreatingSettings = false;
    return settings;
}

CSEString PriorityText(int priority)
{
    return CSEString(std::to_string(priority).c_str());
}

} // namespace

CSELogger::CSELogger()
    : m_iPerformanceLogPriority(2), m_pPerformanceLogFile(nullptr), m_iLogPriority(5),
      m_pLogFile(nullptr), m_iSilentLogPriority(0), m_pSilentLogFile(nullptr), m_iRTMLogPriority(7),
      m_pRTMLogFile(nullptr)
{
}

CSELogger::~CSELogger()
{
    if (m_pLogger != this)
        return;
    m_pLogger = nullptr;
    dvk::SetFatalLogSink(nullptr);
}

CSELogger* CSELogger::GetLogger()
{
    if (m_pLogger != nullptr)
        return m_pLogger;
    CSEClientSettings* settings = SettingsOrNull();
    if (settings == nullptr)
        return nullptr;
    try {
        CSELogger* logger = settings->GetLogger();
        if (m_pLogger == nullptr && logger != nullptr)
            logger->SetAsDefault();
    } catch (...) {
        return nullptr;
    }
    return m_pLogger;
}

void CSELogger::LogMsg(LogPriority priority, const CSEString& message)
{
    try {
        CSEClientSettings* settings = SettingsOrNull();
        if (settings == nullptr)
            return;
        CSELogger* logger = GetLogger();
        if (logger == nullptr)
            return;
        if (settings->IsSilentMode()) {
            logger->WriteLine(logger->m_iSilentLogPriority, logger->m_sSilentLogFileName,
                              logger->m_pSilentLogFile, priority, message);
            return;
        }
        logger->WriteLine(logger->m_iLogPriority, logger->m_sLogFileName, logger->m_pLogFile,
                          priority, message);
    } catch (...) {
        // A log call never disturbs its caller.
    }
}

void CSELogger::LogDebugMsg(const CSEString& message)
{
    LogMsg(6, message);
}

void CSELogger::LogSilentMsg(SilentLogPriority priority, const CSEString& message)
{
    try {
        CSELogger* logger = GetLogger();
        if (logger == nullptr)
            return;
        logger->WriteLine(logger->m_iSilentLogPriority, logger->m_sSilentLogFileName,
                          logger->m_pSilentLogFile, priority, message);
    } catch (...) {
    }
}

void CSELogger::LogSilentDebugMsg(const CSEString& message)
{
    LogSilentMsg(6, message);
}

void CSELogger::LogRTMMsg(RTMLogPriority priority, const CSEString& message)
{
    try {
        CSELogger* logger = GetLogger();
        if (logger == nullptr)
            return;
        logger->WriteLine(logger->m_iRTMLogPriority, logger->m_sRTMLogFileName,
                          logger->m_pRTMLogFile, priority, message);
    } catch (...) {
    }
}

void CSELogger::LogRTMMsg(RTMLogPriority priority, const DVKListValDVKUnicodeString& lines)
{
    try {
        CSELogger* logger = GetLogger();
        if (logger == nullptr)
            return;
        for (int position = 1; position <= lines.Size(); ++position) {
            logger->WriteLine(logger->m_iRTMLogPriority, logger->m_sRTMLogFileName,
                              logger->m_pRTMLogFile, priority, CSEString(lines[position]));
        }
    } catch (...) {
    }
}

void CSELogger::LogPerformanceMsg(PerformanceLogPriority priority, const CSEString& message)
{
    try {
        CSELogger* logger = GetLogger();
        if (logger == nullptr)
            return;
        logger->WriteLine(logger->m_iPerformanceLogPriority, logger->m_sPerformanceLogFileName,
                          logger->m_pPerformanceLogFile, priority, message);
    } catch (...) {
    }
}

void CSELogger::LogPerformanceMsg(PerformanceLogPriority priority, const CSEString& message,
                                  const CSEString& detail)
{
    LogPerformanceMsg(priority, message + u":" + detail);
}

void CSELogger::SetAsDefault()
{
    m_pLogger = this;
    dvk::SetFatalLogSink(&CSELogger::WriteFatalLine);
}

void CSELogger::SetLogFilename(const CSEString& path)
{
    if (path == CSEString(u""))
        DVKFatalError("sLogFullFileName != CSEString(_T(\"\"))");
    m_sLogFileName = path;
    std::string folder;
    std::string fileName;
    dvk::SplitPath(path().ToUTF8(), folder, fileName);
    if (!folder.empty())
        folder = dvk::AppendSlash(folder);
    m_sPerformanceLogFileName = CSEString(folder.c_str()) + kPerformancePrefix +
                                CSEString(fileName.c_str());
}

void CSELogger::SetSilentLogFilename(const CSEString& path)
{
    if (path == CSEString(u""))
        DVKFatalError("sSilentLogFullFileName != CSEString(_T(\"\"))");
    m_sSilentLogFileName = path;
}

void CSELogger::SetRTMLogFilename(const CSEString& path)
{
    if (path == CSEString(u""))
        DVKFatalError("sRTMLogFileName != CSEString(_T(\"\"))");
    m_sRTMLogFileName = path;
}

void CSELogger::SetLogPriority(LogPriority level)
{
    m_iLogPriority = level;
}

void CSELogger::SetSilentLogPriority(SilentLogPriority level)
{
    m_iSilentLogPriority = level;
}

void CSELogger::SetRTMLogPriority(RTMLogPriority level)
{
    m_iRTMLogPriority = level;
}

void CSELogger::SetPerformanceLogPriority(PerformanceLogPriority level)
{
    m_iPerformanceLogPriority = level;
}

CSEString CSELogger::GetStampedMsg(const CSEString& message, const CSEString& priorityText)
{
    return u"<" + priorityText + u">" + CSEString(dvk::LocalAscTimeStamp().c_str()) + u":" +
           message;
}

void CSELogger::WriteLine(int level, const CSEString& path, FILE*& stream, int priority,
                          const CSEString& message)
{
    // Level 0 (or below) is a log that is off, even for a line of priority 0.
    if (level <= 0 || level < priority || path == CSEString(u""))
        return;
    const std::string line = GetStampedMsg(message, PriorityText(priority))().ToUTF8() + "\n";
    stream = dvk::OpenForAppend(path().ToUTF8());
    if (stream == nullptr)
        return;
    std::fwrite(line.data(), 1, line.size(), stream);
    std::fclose(stream);
    stream = nullptr;
}

void CSELogger::WriteFatalLine(const char* text)
{
    if (m_pLogger == nullptr || text == nullptr)
        return;
    m_pLogger->WriteLine(m_pLogger->m_iLogPriority, m_pLogger->m_sLogFileName, m_pLogger->m_pLogFile,
                         3, CSEString(text));
}
