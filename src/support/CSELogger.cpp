// TEMPORARY: drops every line until the logger proper lands (replaced by the logger work).
#include "CSELogger.h"

CSELogger* CSELogger::m_pLogger = nullptr;

CSELogger::CSELogger()
    : m_iPerformanceLogPriority(2), m_pPerformanceLogFile(nullptr), m_iLogPriority(5),
      m_pLogFile(nullptr), m_iSilentLogPriority(0), m_pSilentLogFile(nullptr), m_iRTMLogPriority(7),
      m_pRTMLogFile(nullptr)
{
}
CSELogger::~CSELogger() = default;
void CSELogger::LogMsg(LogPriority, const CSEString&) {}
void CSELogger::LogDebugMsg(const CSEString&) {}
void CSELogger::LogSilentMsg(SilentLogPriority, const CSEString&) {}
void CSELogger::LogSilentDebugMsg(const CSEString&) {}
void CSELogger::LogRTMMsg(RTMLogPriority, const CSEString&) {}
void CSELogger::LogRTMMsg(RTMLogPriority, const DVKListValDVKUnicodeString&) {}
void CSELogger::LogPerformanceMsg(PerformanceLogPriority, const CSEString&) {}
void CSELogger::LogPerformanceMsg(PerformanceLogPriority, const CSEString&, const CSEString&) {}
void CSELogger::SetAsDefault() { m_pLogger = this; }
void CSELogger::SetLogFilename(const CSEString& path) { m_sLogFileName = path; }
void CSELogger::SetSilentLogFilename(const CSEString& path) { m_sSilentLogFileName = path; }
void CSELogger::SetRTMLogFilename(const CSEString& path) { m_sRTMLogFileName = path; }
void CSELogger::SetLogPriority(LogPriority level) { m_iLogPriority = level; }
void CSELogger::SetSilentLogPriority(SilentLogPriority level) { m_iSilentLogPriority = level; }
void CSELogger::SetRTMLogPriority(RTMLogPriority level) { m_iRTMLogPriority = level; }
void CSELogger::SetPerformanceLogPriority(PerformanceLogPriority level) { m_iPerformanceLogPriority = level; }
CSELogger* CSELogger::GetLogger() { return m_pLogger; }
CSEString CSELogger::GetStampedMsg(const CSEString& message, const CSEString&) { return message; }
