// Behaviour of CSELogger: line format, levels from the client settings, files and modes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "CSEClientSettings.h"
#include "CSEException.h"
#include "CSELogger.h"
#include "DVKListValDVKUnicodeString.h"
#include "capture/MOCK_EnvironmentState.h"
#include "core/LogLines.h"
#include "host/DVKFatal.h"
#include "support/InstallFolderFixture.h"

namespace {

const char kMainLog[] = "QxDravikV5.log";
const char kPerformanceLog[] = "Performace_QxDravikV5.log";
const char kSilentLog[] = "QxDravikV5SilentProcessor.log";
const char kCaptureLog[] = "QxDravikV5MOCK.log";

using Texts = std::vector<std::string>;

} // namespace

using Logger = InstallFolderFixture;

TEST_F(Logger, LevelsFollowTheFlagsAndLinesAreAppendedStampedAndUnchanged)
{
    WriteSettings("[CLIENT]\nclientloglevel=6\ndebugflag=TRUE\n");
    CSELogger::LogMsg(3, u"the flag is on only when it reads true");
    CSELogger::LogMsg(0, u"level 0 is off, whatever the line's priority");
    CSELogger::LogPerformanceMsg(0, u"perf");
    EXPECT_FALSE(Exists(kMainLog) || Exists(kPerformanceLog));

    CSEClientSettings::DeleteClientSettings(0);
    std::ofstream(PathOf(kMainLog)) << "earlier run\n";
    WriteSettings("[CLIENT]\ndebugflag=true\nclientloglevel=5\nperformancelogflag=true\n");
    CSELogger::LogMsg(3, u"first\nsecond \u00FC\u20AC");
    CSELogger::LogDebugMsg(u"above the level");
    CSELogger::LogPerformanceMsg(2, u"checkout : SEND/RECIEVE XML: START");
    CSELogger::LogPerformanceMsg(2, u"checkout", u"END");
    CSELogger::LogPerformanceMsg(3, u"above the default level 2");
    const std::string log = ReadFile(kMainLog);
    EXPECT_EQ(log.rfind("earlier run\n<5>", 0), 0u) << "files are appended, never truncated";
    const std::string version = "QxDravikV5 Version: " +
        CSEClientSettings::GetInstance(0)->GetCSEInfo().m_sCSEVersion().ToUTF8() + " :  : ";
    EXPECT_EQ(LogTextsAt(log, 5), Texts{version});
    EXPECT_EQ(LogTextsAt(log, 3), Texts{"first"});
    EXPECT_NE(log.find(":first\nsecond \xC3\xBC\xE2\x82\xAC\n"), std::string::npos) << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 4) << log;
    EXPECT_EQ(LogTextsAt(ReadFile(kPerformanceLog), 2),
              (Texts{"checkout : SEND/RECIEVE XML: START", "checkout:END"}));
    EXPECT_TRUE(LogTextsAt(ReadFile(kPerformanceLog), 3).empty());
}

TEST_F(Logger, SilentModeWritesTheSilentLogInstead)
{
    WriteSettings("[CLIENT]\ndebugflag=true\nsilentlogflag=true\n");
    CSEClientSettings::GetInstance(1);
    CSELogger::LogMsg(4, u"routed");
    CSELogger::LogMsg(5, u"above level");
    const std::string log = ReadFile(kSilentLog);
    EXPECT_EQ(LogTextsAt(log, 4), Texts{"routed"});
    EXPECT_TRUE(LogTextsAt(log, 5).empty());
    EXPECT_FALSE(Exists(kMainLog));

    CSEClientSettings::DeleteClientSettings(0);
    WriteSettings("[CLIENT]\nsilentlogflag=true\nsilentloglevel=6\n");
    CSEClientSettings::GetInstance(1)->SetBulkLoadingMode();
    CSELogger::LogSilentDebugMsg(u"bulk");
    EXPECT_EQ(LogTextsAt(ReadFile("HarloDravikV5ImportUtility.log"), 6), Texts{"bulk"});
}

TEST_F(Logger, CaptureLogOnlyInCaptureOrReplayMode)
{
    // Each case runs in a child process: the mode is read once per process.
    const auto expectInMode = [this](const char* mode, int priority, const Texts& written,
                                     const std::function<void()>& log) {
        dvk::DeleteFile(PathOf(kCaptureLog));
        EXPECT_EXIT(
            {
                setenv("DV5_MOCK_MODE", mode, 1);
                mock::ForgetResolvedEnvironment(); // an earlier test may have resolved it in this process
                log();
                std::exit(LogTextsAt(ReadFile(kCaptureLog), priority) == written ? 0 : 1);
            },
            ::testing::ExitedWithCode(0), "")
            << mode << " " << priority;
    };
    WriteSettings("");
    expectInMode("replay", 7, {"seven"}, [] { CSELogger::LogRTMMsg(7, u"seven"); });
    expectInMode("Replay", 1, {}, [] { CSELogger::LogRTMMsg(1, u"customer mode"); });
    DVKListValDVKUnicodeString lines;
    expectInMode("capture", 4, {}, [&] { CSELogger::LogRTMMsg(4, lines); });
    for (const char16_t* line : {u"first", u"", u"third"})
        lines.Append(DVKUnicodeString(line));
    expectInMode("capture", 4, {"first", "", "third"}, [&] { CSELogger::LogRTMMsg(4, lines); });
    WriteSettings("[CLIENT]\nmocklogflag=true\n");
    expectInMode("capture", 6, {}, [] { CSELogger::LogRTMMsg(6, u"Capturing --> send"); });
    expectInMode("capture", 4, {"four"}, [] { CSELogger::LogRTMMsg(4, u"four"); });
}

// A logger that goes away, with its settings or as an own default, leaves no dangling default.
TEST_F(Logger, LinesFollowTheLoggerThatLivesAndFatalOrLostLinesDoNoHarm)
{
    WriteSettings("[CLIENT]\ndebugflag=true\n");
    CSELogger::LogMsg(3, u"before");
    CSEClientSettings::DeleteClientSettings(0);
    dvk::DeleteFile(PathOf(kMainLog));
    CSELogger::LogMsg(3, u"after");
    {
        CSELogger own;
        own.SetLogFilename(CSEString(PathOf("own.log").c_str()));
        own.SetLogPriority(6);
        own.SetAsDefault();
        CSELogger::LogDebugMsg(u"mine");
    }
    CSELogger::LogMsg(4, u"back");
    CSELogger::LogMsg(5, u"above the default level 4");
    DVKSysCheckFailure("still safe");
    CSELogger* logger = CSEClientSettings::GetInstance(0)->GetLogger();
    EXPECT_DEATH(logger->SetLogFilename(u""),
                 "AssertionFailed:sLogFullFileName != CSEString\\(_T\\(\"\"\\)\\)");
    EXPECT_EQ(LogTextsAt(ReadFile("own.log"), 6), Texts{"mine"});
    const std::string log = ReadFile(kMainLog);
    EXPECT_EQ(LogTextsAt(log, 4), Texts{"back"});
    EXPECT_EQ(LogTextsAt(log, 3), (Texts{"after", "ExpressionCheck:still safe",
                                         "AssertionFailed:sLogFullFileName != CSEString(_T(\"\"))"}));
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 4) << log;
    EXPECT_DEATH(logger->SetSilentLogFilename(u""),
                 "AssertionFailed:sSilentLogFullFileName != CSEString\\(_T\\(\"\"\\)\\)");
    EXPECT_DEATH(logger->SetRTMLogFilename(u""),
                 "AssertionFailed:sRTMLogFileName != CSEString\\(_T\\(\"\"\\)\\)");

    logger->SetLogFilename(CSEString((m_folder + "/missing/sub/x.log").c_str()));
    CSELogger::LogMsg(2, u"lost");
    EXPECT_FALSE(Exists("missing"));
}

TEST_F(Logger, LogIsOwnerOnlyAndAFifoInItsPlaceIsRefusedWithoutWaiting)
{
    WriteSettings("[CLIENT]\ndebugflag=true\nclientloglevel=6\n");
    CSELogger::LogMsg(3, u"request text");
    struct stat info {};
    ASSERT_EQ(stat(PathOf(kMainLog).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    ASSERT_EQ(unlink(PathOf(kMainLog).c_str()), 0);
    ASSERT_EQ(mkfifo(PathOf(kMainLog).c_str(), 0600), 0);
    EXPECT_NO_THROW(CSELogger::LogMsg(3, u"no reader on the other side"));
}

TEST_F(Logger, LogCallWithoutInstallFolderIsDropped)
{
    unsetenv("QX_DRAVIK_INSTALL_DIR");
    EXPECT_NO_THROW(CSELogger::LogMsg(2, u"nowhere"));
    EXPECT_NO_THROW(CSELogger::LogSilentMsg(2, u"nowhere"));
    EXPECT_NO_THROW(CSELogger::LogRTMMsg(2, u"nowhere"));
    EXPECT_NO_THROW(CSELogger::LogPerformanceMsg(2, u"nowhere", u"x"));
    // The exception logs its own message; that must neither recurse nor escape.
    EXPECT_NO_THROW(CSEException(__FILE__, __LINE__, CSEString(u"MSG_READREGISTRY_FAIL"), CSEExceptionError));
}
