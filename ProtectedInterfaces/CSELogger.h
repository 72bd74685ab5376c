/// \file
/// CSELogger: the library's main, silent, capture and performance logs.
#ifndef CSELOGGER_H
#define CSELOGGER_H

#include <cstdio>

#include "CSEString.h"

class DVKListValDVKUnicodeString;

typedef int LogPriority;
typedef int SilentLogPriority;
typedef int RTMLogPriority;
typedef int PerformanceLogPriority;

/// A line of priority p reaches a log whose level L is at least p; a log of level 0 is off.
class CSELogger
{
public:
    CSELogger();
    ~CSELogger();

    static void LogMsg(LogPriority priority, const CSEString& message);
    static void LogDebugMsg(const CSEString& message);
    static void LogSilentMsg(SilentLogPriority priority, const CSEString& message);
    static void LogSilentDebugMsg(const CSEString& message);
    static void LogRTMMsg(RTMLogPriority priority, const CSEString& message);
    static void LogRTMMsg(RTMLogPriority priority, const DVKListValDVKUnicodeString& lines);
    static void LogPerformanceMsg(PerformanceLogPriority priority, const CSEString& message);
    static void LogPerformanceMsg(PerformanceLogPriority priority, const CSEString& message,
                                  const CSEString& detail);

    void SetAsDefault();
    void SetLogFilename(const CSEString& path);
    void SetSilentLogFilename(const CSEString& path);
    void SetRTMLogFilename(const CSEString& path);
    void SetLogPriority(LogPriority level);
    void SetSilentLogPriority(SilentLogPriority level);
    void SetRTMLogPriority(RTMLogPriority level);
    void SetPerformanceLogPriority(PerformanceLogPriority level);

private:
    static CSELogger* GetLogger();
    CSEString GetStampedMsg(const CSEString& message, const CSEString& priorityText);
    /// Appends one stamped line to path when level admits priority; a failed open loses the line.
    void WriteLine(int level, const CSEString& path, FILE*& stream, int priority,
                   const CSEString& message);
    /// Receives the "AssertionFailed:"/"ExpressionCheck:" lines of the host for the main log.
    static void WriteFatalLine(const char* text);

    PerformanceLogPriority m_iPerformanceLogPriority;
    CSEString m_sPerformanceLogFileName;
    FILE* m_pPerformanceLogFile;
    LogPriority m_iLogPriority;
    CSEString m_sLogFileName;
    FILE* m_pLogFile;
    SilentLogPriority m_iSilentLogPriority;
    CSEString m_sSilentLogFileName;
    FILE* m_pSilentLogFile;
    RTMLogPriority m_iRTMLogPriority;
    CSEString m_sRTMLogFileName;
    FILE* m_pRTMLogFile;

    static CSELogger* m_pLogger;
};

#endif
