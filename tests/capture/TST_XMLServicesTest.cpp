// The mode switch, the numbered capture files and the argument files. Every case that needs a mode
// runs in a child process: the mode is resolved once per process.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "MOCK_ArgumentSaverAndRetriever.h"
#include "MOCK_EnvironmentServices.h"
#include "TST_SendCSEString.h"
#include "TST_XMLServices.h"
#include "capture/CaptureMode.h"
#include "support/InstallFolderFixture.h"

namespace {

class CaptureFiles : public InstallFolderFixture
{
protected:
    void SetUp() override
    {
        InstallFolderFixture::SetUp();
        WriteSettings("");
        m_data = PathOf("data");
        ASSERT_TRUE(dvk::CreateDirectories(m_data));
    }

    std::string m_data;
};

std::string Utf8(const DVKUnicodeString& text)
{
    return text.ToUTF8();
}

// Runs check in a child process and expects it to answer true there.
#define EXPECT_IN_CHILD(check) EXPECT_EXIT(std::exit((check)() ? 0 : 1), ::testing::ExitedWithCode(0), "")

} // namespace

TEST_F(CaptureFiles, ModeIsReadOnceAndOnlyExactNamesSwitchIt)
{
    const struct
    {
        const char* value;
        int mode; // 0 customer, 1 capture, 2 replay
    } cases[] = {{"capture", 1}, {"replay", 2}, {"Capture", 0}, {"REPLAY", 0}, {"", 0}, {"customer", 0}};
    for (const auto& c : cases) {
        const auto resolved = [&c] {
            EnterMode(c.value);
            const int first = MOCK_EnvironmentServices::IsCapture() ? 1 : MOCK_EnvironmentServices::IsReplay() ? 2 : 0;
            setenv("DV5_MOCK_MODE", c.mode == 1 ? "replay" : "capture", 1);
            return first == c.mode && MOCK_EnvironmentServices::IsCustomerMode() == (c.mode == 0) &&
                   MOCK_EnvironmentServices::IsCapture() == (c.mode == 1);
        };
        EXPECT_IN_CHILD(resolved) << "DV5_MOCK_MODE=" << c.value;
    }
}

TEST_F(CaptureFiles, FoldersNeedCaptureOrReplayAndAValue)
{
    EXPECT_DEATH(
        {
            EnterMode("customer", m_data);
            MOCK_EnvironmentServices::GetMockDataPath();
        },
        "AssertionFailed:MOCK_EnvironmentServices::IsCapture\\(\\) \\|\\| MOCK_EnvironmentServices::IsReplay\\(\\)");
    const struct
    {
        DVKUnicodeString (*get)();
        const char* member;
    } cases[] = {{&MOCK_EnvironmentServices::GetMockDataPath, "m_sMockDataPath"},
                 {&MOCK_EnvironmentServices::GetMockCheckoutPath, "m_sMockCheckoutPath"},
                 {&MOCK_EnvironmentServices::GetMockOutPath, "m_sMockOutPath"},
                 {&MOCK_EnvironmentServices::GetMockPrefix, "m_sMockPrefix"}};
    for (const auto& c : cases) {
        EXPECT_DEATH(
            {
                EnterMode("replay");
                unsetenv("DV5_MOCK_OUT_PATH");
                setenv("DV5_MOCK_PREFIX", "", 1);
                c.get();
            },
            std::string("AssertionFailed:") + c.member + "\\.GetLengthInChar\\(\\) > 0");
    }
    const auto keptOnceRead = [this] {
        EnterMode("capture", m_data);
        const bool read = Utf8(MOCK_EnvironmentServices::GetMockDataPath()) == m_data;
        setenv("DV5_MOCK_DATA_PATH", "/elsewhere", 1);
        return read && Utf8(MOCK_EnvironmentServices::GetMockDataPath()) == m_data;
    };
    EXPECT_IN_CHILD(keptOnceRead);
}

// One counter numbers every kind of file; capture refuses a file that is there, replay one that is not.
TEST_F(CaptureFiles, OneCounterNumbersEveryFileAndEachModeChecksItsFiles)
{
    const auto capture = [this] {
        EnterMode("capture", m_data);
        DVKUnicodeString input;
        DVKUnicodeString output;
        DVKUnicodeString copy;
        DVKUnicodeString folder;
        const bool named = TST_XMLServices::GetCaptureArgumentsFileNames(u"SendCSEString", input, output) == 0 &&
                           TST_XMLServices::GetCaptureXMLFileName(u"RequestFileXML", copy) == 0 &&
                           TST_XMLServices::GetCaptureCheckoutDirectory(u"ReceiveCSEString", folder) == 0;
        const bool right = Utf8(input) == m_data + "/000001SendCSEString_InputArgument.xml" &&
                           Utf8(output) == m_data + "/000001SendCSEString_OutputArgument.xml" &&
                           Utf8(copy) == m_data + "/000002RequestFileXML_Capture.xml" &&
                           Utf8(folder) == m_data + "/000003ReceiveCSEString_Checkout_Directory";
        // A second run into the same folder stops at its first file.
        dvk::WriteWholeFile(m_data + "/000004Next_OutputArgument.xml", "<a/>");
        return named && right &&
               TST_XMLServices::GetCaptureArgumentsFileNames(u"Next", input, output) == TST_XMLServices::E_FAIL;
    };
    const auto replay = [this] {
        EnterMode("replay", m_data);
        dvk::WriteWholeFile(m_data + "/000001RequestFileXML_Capture.xml", "<a/>");
        DVKUnicodeString file;
        const bool found = TST_XMLServices::GetCaptureXMLFileName(u"RequestFileXML", file) == 0;
        return found && TST_XMLServices::GetCaptureXMLFileName(u"RequestFileXML", file) == TST_XMLServices::E_FAIL;
    };
    const auto customer = [this] {
        EnterMode("customer", m_data);
        DVKUnicodeString file;
        return TST_XMLServices::GetCaptureXMLFileName(u"RequestFileXML", file) == TST_XMLServices::E_FAIL;
    };
    const auto captureIntoNewFolder = [this] {
        EnterMode("capture", m_data + "/new/run");
        DVKUnicodeString input;
        DVKUnicodeString output;
        MOCK_ArgumentSaverAndRetriever saver(MOCK_ArgumentSaverAndRetriever::Save);
        return TST_XMLServices::GetCaptureArgumentsFileNames(u"SendCSEString", input, output) == 0 &&
               saver.Open(input, u"Arguments") == 0 && saver.SaveStringArgument(u"Cmd", u"x") == 0 &&
               saver.Close() == 0;
    };
    EXPECT_IN_CHILD(capture);
    EXPECT_IN_CHILD(captureIntoNewFolder);
    EXPECT_IN_CHILD(replay);
    EXPECT_IN_CHILD(customer);
    const std::string log = ReadFile("QxDravikV5MOCK.log");
    EXPECT_NE(log.find("000004Next_OutputArgument.xml already exist -> Error !!! "), std::string::npos) << log;
    EXPECT_NE(log.find("000002RequestFileXML_Capture.xml not found -> Error !!! "), std::string::npos) << log;
}
TEST_F(CaptureFiles, ArgumentFilesGiveBackWhatWasSavedAndRefuseDamage)
{
    const DVKUnicodeString file((m_data + "/arguments.xml").c_str());
    MOCK_ArgumentSaverAndRetriever saver(MOCK_ArgumentSaverAndRetriever::Save);
    ASSERT_EQ(saver.Open(file, u"Root"), 0);
    EXPECT_EQ(saver.SaveIntegerArgument(u"NumPort", -1), 0);
    EXPECT_EQ(saver.SaveStringArgument(u"CSEString", u"<response a='1'>&amp; \u00e9</response>"), 0);
    EXPECT_EQ(saver.SaveStringArgument(u"Empty", u""), 0);
    EXPECT_EQ(saver.SaveStringArgument(u"Word", u"12ab"), 0);
    EXPECT_EQ(saver.Close(), 0);

    MOCK_ArgumentSaverAndRetriever retriever(MOCK_ArgumentSaverAndRetriever::Retrieve);
    ASSERT_EQ(retriever.Open(file, u""), 0);
    int number = 0;
    DVKUnicodeString text;
    EXPECT_EQ(retriever.RetrieveIntegerArgument(u"NumPort", number), 0);
    EXPECT_EQ(number, -1);
    EXPECT_EQ(retriever.RetrieveStringArgument(u"CSEString", text), 0);
    EXPECT_EQ(Utf8(text), "<response a='1'>&amp; \xc3\xa9</response>");
    EXPECT_EQ(retriever.RetrieveStringArgument(u"Empty", text), 0);
    EXPECT_TRUE(text.IsEmpty());
    for (const char16_t* damaged : {u"Word", u"Empty", u"Missing"})
        EXPECT_EQ(retriever.RetrieveIntegerArgument(damaged, number), TST_XMLServices::E_FAIL);
    EXPECT_EQ(retriever.RetrieveStringArgument(u"Missing", text), TST_XMLServices::E_FAIL);

    MOCK_ArgumentSaverAndRetriever absent(MOCK_ArgumentSaverAndRetriever::Retrieve);
    EXPECT_EQ(absent.Open(DVKUnicodeString((m_data + "/none.xml").c_str()), u""), TST_XMLServices::E_FAIL);
    EXPECT_DEATH(absent.RetrieveStringArgument(u"Cmd", text),
                 "AssertionFailed:\\(NULL_var != m_hDocument\\)&&\\(NULL_var != m_hBuilder\\)");

    dvk::WriteWholeFile(Utf8(file), "<SendCSEStringResponse><Cmd>maybe</Cmd></SendCSEStringResponse>");
    bool sent = true;
    EXPECT_DEATH(TST_SendCSEString::RetrieveOutputArgument(file, sent),
                 "AssertionFailed:\\(sCmd == \"TRUE\"\\) \\|\\| \\(sCmd == \"FALSE\"\\)");
}
