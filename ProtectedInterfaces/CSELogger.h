/// \file
/// CSELogger: the library's main, silent, capture and performance logs.
#ifndef CSELOGGER_H
#define CSELOGGER_H

#include <cstdio>

#include "CSEString.h"

class DVKListValDVKUnicodeString;

/// Priority of a line of the main log (1 most urgent, 6 debug).
typedef int LogPriority;
/// Priority of a line of the silent processor's log.
typedef int SilentLogPriority;
/// Priority of a line of the capture log.
typedef int RTMLogPriority;
/// Priority of a line of the performance log.
typedef int PerformanceLogPriority;

/// A line of priority p reaches a log whose level L is at least p; a log of level 0 is off.
class CSELogger
{
public:
    /// A logger without open files; levels: main 5, performance 2, capture 7, silent 0 (off).
    CSELogger();
    /// Stops being the process's logger when it is one.
    ~CSELogger();

    /// Writes a stamped line to the main log when its level admits priority; never throws, and does nothing
    /// before the installation folder is set.
    static void LogMsg(LogPriority priority, const CSEString& message);
    /// LogMsg at priority 6.
    static void LogDebugMsg(const CSEString& message);
    /// Writes a stamped line to the silent processor's log when its level admits priority; never throws.
    static void LogSilentMsg(SilentLogPriority priority, const CSEString& message);
    /// LogSilentMsg at priority 6.
    static void LogSilentDebugMsg(const CSEString& message);
    /// Writes a stamped line to the capture log when its level admits priority; never throws.
    static void LogRTMMsg(RTMLogPriority priority, const CSEString& message);
    /// Writes each of the lines to the capture log as LogRTMMsg does.
    static void LogRTMMsg(RTMLogPriority priority, const DVKListValDVKUnicodeString& lines);
    /// Writes a stamped line to the performance log when its level admits priority; never throws.
    static void LogPerformanceMsg(PerformanceLogPriority priority, const CSEString& message);
    /// LogPerformanceMsg of message + ":" + detail.
    static void LogPerformanceMsg(PerformanceLogPriority priority, const CSEString& message,
                                  const CSEString& detail);

    /// Makes this the process's logger (not owned), which also receives the library's fatal-error lines.
    void SetAsDefault();
    /// Sets the path of the main log.
    void SetLogFilename(const CSEString& path);
    /// Sets the path of the silent processor's log.
    void SetSilentLogFilename(const CSEString& path);
    /// Sets the path of the capture log.
    void SetRTMLogFilename(const CSEString& path);
    /// Sets the level of the main log (0: off).
    void SetLogPriority(LogPriority level);
    /// Sets the level of the silent processor's log (0: off).
    void SetSilentLogPriority(SilentLogPriority level);
    /// Sets the level of the capture log (0: off).
    void SetRTMLogPriority(RTMLogPriority level);
    /// Sets the level of the performance log (0: off).
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
