// Behaviour of CSELogger: line format, levels from the client settings, files and modes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "CSEClientSettings.h"
#include "CSEException.h"
#include "CSELogger.h"
#include "DVKListValDVKUnicodeString.h"
#include "core/LogLines.h"
#include "host/AscTimeMatcher.h"
#include "host/DVKFatal.h"
#include "support/InstallFolderFixture.h"

namespace {

const char kMainLog[] = "QxDravikV5.log";
const char kPerformanceLog[] = "Performace_QxDravikV5.log";
const char kSilentLog[] = "QxDravikV5SilentProcessor.log";
const char kCaptureLog[] = "QxDravikV5MOCK.log";

using Texts = std::vector<std::string>;

std::size_t LineCount(const std::string& text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

} // namespace

// Each capture-mode case runs in a child process: the mode is read once per process.
#define EXPECT_IN_MOCK_MODE(mode, condition)                                                       \
    EXPECT_EXIT(                                                                                   \
        {                                                                                          \
            setenv("DV5_MOCK_MODE", mode, 1);                                                      \
            std::exit((condition) ? 0 : 1);                                                        \
        },                                                                                         \
        ::testing::ExitedWithCode(0), "")

using Logger = InstallFolderFixture;

TEST_F(Logger, MainLevelFollowsDebugFlagAndClientLogLevel)
{
    WriteSettings("[CLIENT]\nclientloglevel=6\ndebugflag=TRUE\n");
    CSELogger::LogMsg(3, u"error");
    CSELogger::LogMsg(0, u"level 0 is off, whatever the line's priority");
    CSELogger::LogPerformanceMsg(2, u"perf");
    CSELogger::LogPerformanceMsg(0, u"perf");
    CSELogger::LogSilentMsg(2, u"silent");
    CSELogger::LogSilentMsg(0, u"silent");
    EXPECT_FALSE(Exists(kMainLog));
    EXPECT_FALSE(Exists(kPerformanceLog));
    EXPECT_FALSE(Exists(kSilentLog));

    CSEClientSettings::DeleteClientSettings(0);
    WriteSettings("[CLIENT]\ndebugflag=true\n");
    CSELogger::LogMsg(2, u"two");
    CSELogger::LogMsg(4, u"four");
    CSELogger::LogMsg(5, u"five");
    CSELogger::LogDebugMsg(u"debug");
    const std::string log = ReadFile(kMainLog);
    EXPECT_EQ(LineCount(log), 2u) << log;
    EXPECT_EQ(LogTextsAt(log, 2), Texts{"two"});
    EXPECT_EQ(LogTextsAt(log, 4), Texts{"four"});
}

TEST_F(Logger, LineFormatVersionLineAndAppending)
{
    std::ofstream(PathOf(kMainLog)) << "earlier run\n";
    WriteSettings("[CLIENT]\ndebugflag=true\nclientloglevel=6\n");
    CSELogger::LogDebugMsg(u"[CSEThing::Run] Entering");
    CSELogger::LogMsg(3, u"first\nsecond \u00FC\u20AC");
    const std::string log = ReadFile(kMainLog);
    EXPECT_EQ(log.rfind("earlier run\n<5>", 0), 0u) << "files are appended, never truncated";
    const std::string version = "QxDravikV5 Version: " +
        CSEClientSettings::GetInstance(0)->GetCSEInfo().m_sCSEVersion().ToUTF8() + " :  : ";
    EXPECT_EQ(LogTextsAt(log, 5), Texts{version});
    EXPECT_EQ(LogTextsAt(log, 6), Texts{"[CSEThing::Run] Entering"});
    EXPECT_EQ(LogTextsAt(log, 3), Texts{"first"});
    EXPECT_NE(log.find(":first\nsecond \xC3\xBC\xE2\x82\xAC\n"), std::string::npos)
        << "text is written unchanged, as UTF-8";
    EXPECT_EQ(log.find('\n', 12) - 12, std::string("<5>").size() + 24 + 1 + version.size());
    // Every line of every log is stamped the same way: "<p>" and the asctime layout.
    for (auto at = log.find("\n<"); at != std::string::npos; at = log.find("\n<", at + 1))
        EXPECT_TRUE(IsAscTimeStamp(log.substr(at + 4, 24))) << log.substr(at + 1, 40);
}

TEST_F(Logger, PerformanceLogBesideTheMainLog)
{
    WriteSettings("[CLIENT]\nperformancelogflag=true\n");
    CSELogger::LogPerformanceMsg(2, u"checkout : SEND/RECIEVE XML: START");
    CSELogger::LogPerformanceMsg(2, u"checkout", u"END");
    CSELogger::LogPerformanceMsg(3, u"too detailed");
    const std::string log = ReadFile(kPerformanceLog);
    EXPECT_EQ(LogTextsAt(log, 2), (Texts{"checkout : SEND/RECIEVE XML: START", "checkout:END"}));
    EXPECT_EQ(LineCount(log), 2u);
    EXPECT_FALSE(Exists(kMainLog));
}

TEST_F(Logger, SilentModeWritesTheSilentLogInstead)
{
    WriteSettings("[CLIENT]\ndebugflag=true\nsilentlogflag=true\n");
    CSEClientSettings::GetInstance(1);
    CSELogger::LogMsg(4, u"routed");
    CSELogger::LogMsg(5, u"above level");
    CSELogger::LogSilentDebugMsg(u"silent debug");
    CSELogger::LogSilentMsg(3, u"silent");
    const std::string log = ReadFile(kSilentLog);
    EXPECT_EQ(LogTextsAt(log, 4), Texts{"routed"});
    EXPECT_EQ(LogTextsAt(log, 3), Texts{"silent"});
    EXPECT_TRUE(LogTextsAt(log, 6).empty());
    EXPECT_FALSE(Exists(kMainLog));

    CSEClientSettings::DeleteClientSettings(0);
    WriteSettings("[CLIENT]\nsilentlogflag=true\nsilentloglevel=6\n");
    CSEClientSettings::GetInstance(1)->SetBulkLoadingMode();
    CSELogger::LogSilentDebugMsg(u"bulk");
    EXPECT_EQ(LogTextsAt(ReadFile("HarloDravikV5ImportUtility.log"), 6), Texts{"bulk"});
    EXPECT_EQ(ReadFile(kSilentLog), log);
}

TEST_F(Logger, CaptureLogOnlyInCaptureOrReplayMode)
{
    WriteSettings("");
    EXPECT_IN_MOCK_MODE("replay", (CSELogger::LogRTMMsg(6, u"Replaying --> send"),
                                   CSELogger::LogRTMMsg(7, u"seven"),
                                   LogTextsAt(ReadFile(kCaptureLog), 6).size() == 1 &&
                                       LogTextsAt(ReadFile(kCaptureLog), 7).size() == 1));
    dvk::DeleteFile(PathOf(kCaptureLog));
    DVKListValDVKUnicodeString lines;
    EXPECT_IN_MOCK_MODE("capture", (CSELogger::LogRTMMsg(4, lines), !Exists(kCaptureLog)));
    lines.Append(DVKUnicodeString(u"first"));
    lines.Append(DVKUnicodeString(u""));
    lines.Append(DVKUnicodeString(u"third"));
    EXPECT_IN_MOCK_MODE("capture", (CSELogger::LogRTMMsg(4, lines),
                                    LogTextsAt(ReadFile(kCaptureLog), 4) == Texts{"first", "", "third"}));
    dvk::DeleteFile(PathOf(kCaptureLog));
    WriteSettings("[CLIENT]\nmocklogflag=true\n");
    EXPECT_IN_MOCK_MODE("capture", (CSELogger::LogRTMMsg(6, u"Capturing --> send"),
                                    CSELogger::LogRTMMsg(4, u"four"),
                                    LogTextsAt(ReadFile(kCaptureLog), 6).empty() &&
                                        LogTextsAt(ReadFile(kCaptureLog), 4).size() == 1));
    dvk::DeleteFile(PathOf(kCaptureLog));
    EXPECT_IN_MOCK_MODE("Replay", (CSELogger::LogRTMMsg(1, u"customer mode"), !Exists(kCaptureLog)));
}

TEST_F(Logger, UnwritableLogLosesTheLineQuietly)
{
    WriteSettings("[CLIENT]\ndebugflag=true\n");
    CSEClientSettings::GetInstance(0)->GetLogger()->SetLogFilename(
        CSEString((m_folder + "/missing/sub/x.log").c_str()));
    CSELogger::LogMsg(2, u"lost");
    EXPECT_FALSE(Exists("missing"));
}

TEST_F(Logger, CheckFailuresReachTheMainLogAndEmptyPathsAreFatal)
{
    WriteSettings("[CLIENT]\ndebugflag=true\n");
    CSELogger::LogMsg(4, u"start");
    DVKSysCheckFailure("pNode != NULL");
    EXPECT_EQ(LogTextsAt(ReadFile(kMainLog), 3), Texts{"ExpressionCheck:pNode != NULL"});
    EXPECT_DEATH(CSEClientSettings::GetInstance(0)->GetLogger()->SetLogFilename(u""),
                 "AssertionFailed:sLogFullFileName != CSEString\\(_T\\(\"\"\\)\\)");
    EXPECT_EQ(LogTextsAt(ReadFile(kMainLog), 3),
              (Texts{"ExpressionCheck:pNode != NULL",
                     "AssertionFailed:sLogFullFileName != CSEString(_T(\"\"))"}));
    CSELogger logger;
    EXPECT_DEATH(logger.SetSilentLogFilename(u""),
                 "AssertionFailed:sSilentLogFullFileName != CSEString\\(_T\\(\"\"\\)\\)");
    EXPECT_DEATH(logger.SetRTMLogFilename(u""),
                 "AssertionFailed:sRTMLogFileName != CSEString\\(_T\\(\"\"\\)\\)");
}

TEST_F(Logger, DeletedSettingsTakeTheirLoggerAlong)
{
    WriteSettings("[CLIENT]\ndebugflag=true\n");
    CSELogger::LogMsg(3, u"before");
    CSEClientSettings::DeleteClientSettings(0);
    dvk::DeleteFile(PathOf(kMainLog));
    CSELogger::LogMsg(3, u"after");
    DVKSysCheckFailure("still safe");
    EXPECT_EQ(LogTextsAt(ReadFile(kMainLog), 3), (Texts{"after", "ExpressionCheck:still safe"}));
}

TEST_F(Logger, LogCallWithoutInstallFolderIsDropped)
{
    unsetenv("QX_DRAVIK_INSTALL_DIR");
    EXPECT_NO_THROW(CSELogger::LogMsg(2, u"nowhere"));
    EXPECT_NO_THROW(CSELogger::LogDebugMsg(u"nowhere"));
    EXPECT_NO_THROW(CSELogger::LogSilentMsg(2, u"nowhere"));
    EXPECT_NO_THROW(CSELogger::LogRTMMsg(2, u"nowhere"));
    EXPECT_NO_THROW(CSELogger::LogPerformanceMsg(2, u"nowhere", u"x"));
    // The exception logs its own message; that must neither recurse nor escape.
    EXPECT_NO_THROW({
        CSEException error(__FILE__, __LINE__, CSEString(u"MSG_READREGISTRY_FAIL"), CSEExceptionError);
        EXPECT_EQ(error.GetMsg()().ToUTF8(), "MSG_READREGISTRY_FAIL");
    });
    setenv("QX_DRAVIK_INSTALL_DIR", m_folder.c_str(), 1);
    WriteSettings("[CLIENT]\ndebugflag=true\n");
    CSELogger::LogMsg(2, u"found");
    EXPECT_EQ(LogTextsAt(ReadFile(kMainLog), 2), Texts{"found"})
        << "the failed attempt left no half-built settings";
}

TEST_F(Logger, OwnDefaultLoggerTakesTheLinesWhileItLives)
{
    WriteSettings("[CLIENT]\ndebugflag=true\n");
    {
        CSELogger own;
        own.SetLogFilename(CSEString(PathOf("own.log").c_str()));
        own.SetLogPriority(6);
        own.SetPerformanceLogPriority(2);
        own.SetAsDefault();
        CSELogger::LogDebugMsg(u"mine");
        CSELogger::LogPerformanceMsg(2, u"timed");
    }
    CSELogger::LogMsg(3, u"back");
    EXPECT_EQ(LogTextsAt(ReadFile("own.log"), 6), Texts{"mine"});
    EXPECT_EQ(LogTextsAt(ReadFile("Performace_own.log"), 2), Texts{"timed"});
    EXPECT_EQ(LogTextsAt(ReadFile(kMainLog), 3), Texts{"back"});
}
