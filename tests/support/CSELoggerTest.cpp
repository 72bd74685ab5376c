// Behaviour of CSELogger: line format, levels from the client settings, files and modes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "CSEClientSettings.h"
#include "CSEException.h"
#include "CSELogger.h"
#include "DVKListValDVKUnicodeString.h"
#include "host/AscTimeMatcher.h"
#include "host/DVKFatal.h"
#include "support/InstallFolderFixture.h"

namespace {

const char kMainLog[] = "QxDravikV5.log";
const char kPerformanceLog[] = "Performace_QxDravikV5.log";
const char kSilentLog[] = "QxDravikV5SilentProcessor.log";
const char kBulkLog[] = "HarloDravikV5ImportUtility.log";
const char kCaptureLog[] = "QxDravikV5MOCK.log";

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    while (start < text.size()) {
        const std::string::size_type end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

// The texts of the lines of one priority, without their stamps; malformed lines are skipped.
std::vector<std::string> Texts(const std::string& log, int priority)
{
    const std::string head = "<" + std::to_string(priority) + ">";
    const std::size_t stampEnd = head.size() + 24;
    std::vector<std::string> texts;
    for (const std::string& line : Lines(log)) {
        if (line.compare(0, head.size(), head) != 0 || line.size() <= stampEnd ||
            line[stampEnd] != ':' || !IsAscTimeStamp(line.substr(head.size(), 24)))
            continue;
        texts.push_back(line.substr(stampEnd + 1));
    }
    return texts;
}

} // namespace

class Logger : public InstallFolderFixture
{
protected:
    // Run in capture mode: an empty list writes nothing, a list writes one line per element.
    bool ListIsWrittenLineByLine() const
    {
        DVKListValDVKUnicodeString lines;
        CSELogger::LogRTMMsg(4, lines);
        if (Exists(kCaptureLog))
            return false;
        lines.Append(DVKUnicodeString(u"first"));
        lines.Append(DVKUnicodeString(u""));
        lines.Append(DVKUnicodeString(u"third"));
        CSELogger::LogRTMMsg(4, lines);
        return Texts(ReadFile(kCaptureLog), 4) == std::vector<std::string>{"first", "", "third"};
    }
};

TEST_F(Logger, MainLogIsOffWithoutDebugFlag)
{
    WriteSettings("[CLIENT]\nclientloglevel=6\ndebugflag=TRUE\n");
    CSELogger::LogMsg(3, u"error");
    CSELogger::LogPerformanceMsg(2, u"perf");
    CSELogger::LogSilentMsg(2, u"silent");
    EXPECT_FALSE(Exists(kMainLog));
    EXPECT_FALSE(Exists(kPerformanceLog));
    EXPECT_FALSE(Exists(kSilentLog));
}

TEST_F(Logger, DebugFlagWritesUpToTheDefaultLevel)
{
    WriteSettings("[CLIENT]\ndebugflag=true\n");
    CSELogger::LogMsg(2, u"two");
    CSELogger::LogMsg(4, u"four");
    CSELogger::LogMsg(5, u"five");
    CSELogger::LogDebugMsg(u"debug");
    const std::string log = ReadFile(kMainLog);
    EXPECT_EQ(Lines(log).size(), 2u) << log;
    EXPECT_EQ(Texts(log, 2), std::vector<std::string>{"two"});
    EXPECT_EQ(Texts(log, 4), std::vector<std::string>{"four"});
}

TEST_F(Logger, LineFormatAndVersionLine)
{
    WriteSettings("[CLIENT]\ndebugflag=true\nclientloglevel=6\n");
    CSELogger::LogDebugMsg(u"[CSEThing::Run] Entering");
    CSELogger::LogMsg(3, u"first\nsecond \u00FC\u20AC");
    const std::string log = ReadFile(kMainLog);
    const std::string version = "QxDravikV5 Version: " +
        CSEClientSettings::GetInstance(0)->GetCSEInfo().m_sCSEVersion().ToUTF8() + " :  : ";
    EXPECT_EQ(Texts(log, 5), std::vector<std::string>{version});
    EXPECT_EQ(Texts(log, 6), std::vector<std::string>{"[CSEThing::Run] Entering"});
    EXPECT_EQ(Texts(log, 3), std::vector<std::string>{"first"});
    EXPECT_NE(log.find(":first\nsecond \xC3\xBC\xE2\x82\xAC\n"), std::string::npos)
        << "text is written unchanged, as UTF-8";
    EXPECT_EQ(Lines(log)[0].size(), std::string("<5>").size() + 24 + 1 + version.size());
}

TEST_F(Logger, FilesAreAppendedNeverTruncated)
{
    WriteSettings("[CLIENT]\ndebugflag=true\n");
    std::ofstream(PathOf(kMainLog)) << "earlier run\n";
    CSELogger::LogMsg(3, u"now");
    const std::string log = ReadFile(kMainLog);
    EXPECT_EQ(log.rfind("earlier run\n", 0), 0u);
    EXPECT_EQ(Texts(log, 3), std::vector<std::string>{"now"});
}

TEST_F(Logger, PerformanceLogBesideTheMainLog)
{
    WriteSettings("[CLIENT]\nperformancelogflag=true\n");
    CSELogger::LogPerformanceMsg(2, u"checkout : SEND/RECIEVE XML: START");
    CSELogger::LogPerformanceMsg(2, u"checkout", u"END");
    CSELogger::LogPerformanceMsg(3, u"too detailed");
    const std::string log = ReadFile(kPerformanceLog);
    EXPECT_EQ(Texts(log, 2),
              (std::vector<std::string>{"checkout : SEND/RECIEVE XML: START", "checkout:END"}));
    EXPECT_EQ(Lines(log).size(), 2u);
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
    EXPECT_EQ(Texts(log, 4), std::vector<std::string>{"routed"});
    EXPECT_EQ(Texts(log, 3), std::vector<std::string>{"silent"});
    EXPECT_TRUE(Texts(log, 6).empty());
    EXPECT_FALSE(Exists(kMainLog));
}

TEST_F(Logger, SilentLevelAndBulkLoadingName)
{
    WriteSettings("[CLIENT]\nsilentlogflag=true\nsilentloglevel=6\n");
    CSEClientSettings::GetInstance(1)->SetBulkLoadingMode();
    CSELogger::LogSilentDebugMsg(u"bulk");
    EXPECT_EQ(Texts(ReadFile(kBulkLog), 6), std::vector<std::string>{"bulk"});
    EXPECT_FALSE(Exists(kSilentLog));
}

TEST_F(Logger, CaptureLogOnlyInCaptureOrReplayMode)
{
    // The mode is read once per process, so each case runs in a child process.
    WriteSettings("");
    EXPECT_EXIT(
        {
            setenv("DV5_MOCK_MODE", "replay", 1);
            CSELogger::LogRTMMsg(6, u"Replaying --> send");
            CSELogger::LogRTMMsg(7, u"seven");
            const std::string log = ReadFile(kCaptureLog);
            std::exit(Texts(log, 6).size() == 1 && Texts(log, 7).size() == 1 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    dvk::DeleteFile(PathOf(kCaptureLog));
    EXPECT_EXIT(
        {
            setenv("DV5_MOCK_MODE", "capture", 1);
            std::exit(ListIsWrittenLineByLine() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    dvk::DeleteFile(PathOf(kCaptureLog));
    WriteSettings("[CLIENT]\nmocklogflag=true\n");
    EXPECT_EXIT(
        {
            setenv("DV5_MOCK_MODE", "capture", 1);
            CSELogger::LogRTMMsg(6, u"Capturing --> send");
            CSELogger::LogRTMMsg(4, u"four");
            const std::string log = ReadFile(kCaptureLog);
            std::exit(Texts(log, 6).empty() && Texts(log, 4).size() == 1 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    dvk::DeleteFile(PathOf(kCaptureLog));
    EXPECT_EXIT(
        {
            setenv("DV5_MOCK_MODE", "Replay", 1);
            CSELogger::LogRTMMsg(1, u"customer mode");
            std::exit(Exists(kCaptureLog) ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(Logger, UnwritableLogLosesTheLineQuietly)
{
    WriteSettings("[CLIENT]\ndebugflag=true\n");
    CSEClientSettings::GetInstance(0)->GetLogger()->SetLogFilename(
        CSEString((m_folder + "/missing/sub/x.log").c_str()));
    CSELogger::LogMsg(2, u"lost");
    EXPECT_FALSE(Exists("missing"));
}

TEST_F(Logger, CheckFailuresReachTheMainLog)
{
    WriteSettings("[CLIENT]\ndebugflag=true\n");
    CSELogger::LogMsg(4, u"start");
    DVKSysCheckFailure("pNode != NULL");
    EXPECT_EQ(Texts(ReadFile(kMainLog), 3), std::vector<std::string>{"ExpressionCheck:pNode != NULL"});
    EXPECT_DEATH(CSEClientSettings::GetInstance(0)->GetLogger()->SetLogFilename(u""),
                 "AssertionFailed:sLogFullFileName != CSEString\\(_T\\(\"\"\\)\\)");
    EXPECT_EQ(Texts(ReadFile(kMainLog), 3),
              (std::vector<std::string>{"ExpressionCheck:pNode != NULL",
                                        "AssertionFailed:sLogFullFileName != CSEString(_T(\"\"))"}));
}

TEST_F(Logger, EmptyLogPathsAreFatal)
{
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
    EXPECT_EQ(Texts(ReadFile(kMainLog), 3),
              (std::vector<std::string>{"after", "ExpressionCheck:still safe"}));
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
    EXPECT_EQ(Texts(ReadFile(kMainLog), 2), std::vector<std::string>{"found"})
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
    EXPECT_EQ(Texts(ReadFile("own.log"), 6), std::vector<std::string>{"mine"});
    EXPECT_EQ(Texts(ReadFile("Performace_own.log"), 2), std::vector<std::string>{"timed"});
    EXPECT_EQ(Texts(ReadFile(kMainLog), 3), std::vector<std::string>{"back"});
}
