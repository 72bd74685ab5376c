// The replay engine over recorded files: a passing request, rewritten responses, the lifetimes of
// the identifier maps, their listing, and the stop on a changed or broken request.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "DVKListValDVKUnicodeString.h"
#include "MOCK_FakeRLXEngine.h"
#include "capture/ReplayDocuments.h"
#include "host/DVKFiles.h"
#include "host/DVKUtf.h"
#include "host/DVKXmlDocument.h"

namespace {

class MOCK_FakeRLXEngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::testing::FLAGS_gtest_death_test_style = "threadsafe";
        char pattern[] = "/tmp/qorvi-replay-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_folder = pattern;
        m_engine.reset(new MOCK_FakeRLXEngine(CSEString(), [this](const CSEString&, CSEString& file) {
            if (m_recorded.empty())
                return false;
            file = CSEString(m_recorded.front().c_str());
            m_recorded.pop_front();
            return true;
        }));
    }
    void TearDown() override
    {
        m_engine.reset();
        dvk::DeleteTree(m_folder);
    }

    std::string Write(const std::string& name, const std::string& text)
    {
        const std::string path = m_folder + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    // Queues the recorded document that the engine asks for next.
    void Record(const std::string& text) { m_recorded.push_back(Write("capture" + std::to_string(++m_count) + ".xml", text)); }
    void Replay(const std::string& text) { m_engine->SendToRLX(DVKUnicodeString(dvk::Utf8ToUtf16(Write("QxRequest.xml", text)))); }

    // The recorded response as the engine hands it back, written out the way the expected text is.
    std::string Respond(const std::string& recorded)
    {
        Record(recorded);
        const std::string target = m_folder + "/Response.xml";
        m_engine->PrepareRLXResponse(CSEString(target.c_str()));
        dvk::XmlDocument document;
        EXPECT_TRUE(document.LoadFile(dvk::Utf8ToUtf16(target)).IsOk());
        return dvk::Utf16ToUtf8(document.ToText());
    }
    static std::string Normalised(const std::string& text)
    {
        dvk::XmlDocument document;
        EXPECT_TRUE(document.LoadUtf8(text.data(), text.size()).IsOk());
        return dvk::Utf16ToUtf8(document.ToText());
    }
    std::vector<std::string> Mappings() const
    {
        DVKListValDVKUnicodeString lines;
        m_engine->DumpMappings(lines);
        std::vector<std::string> texts;
        for (int i = 1; i <= lines.Size(); ++i)
            texts.push_back(lines[i].ToUTF8());
        return texts;
    }
    void ReplayCheckin()
    {
        Record(Fill(CheckinTemplate(), CapturedIds()));
        Replay(Fill(ReorderedCheckinTemplate(), ReplayedIds()));
    }

    std::string m_folder;
    std::deque<std::string> m_recorded;
    int m_count = 0;
    std::unique_ptr<MOCK_FakeRLXEngine> m_engine;
};

TEST_F(MOCK_FakeRLXEngineTest, RecordedResponseComesBackWithTheIdsOfThisRun)
{
    ReplayCheckin();
    // Known ids take this run's values; "99" and "r-unknown" were never sent and stay.
    EXPECT_EQ(Respond(Fill(CheckinResponseTemplate(), CapturedIds())),
              Normalised(Fill(CheckinResponseTemplate(), ReplayedIds())));
    // A response to another request keeps its iid.
    RunIds otherIid = ReplayedIds();
    otherIid["IID"] = "iid-other";
    RunIds recordedOther = CapturedIds();
    recordedOther["IID"] = "iid-other";
    EXPECT_EQ(Respond(Fill(CheckinResponseTemplate(), recordedOther)), Normalised(Fill(CheckinResponseTemplate(), otherIid)));
}

TEST_F(MOCK_FakeRLXEngineTest, UUIDsOutliveTheCommandObjectIdsDoNot)
{
    ReplayCheckin();
    const std::string lock = R"(<command cname="lock"><cadobjectlist><cadobject cadid="{E}" filename="e.prt"/></cadobjectlist></command>)";
    Record(Fill(lock, {{"E", "50"}}));
    Replay(Fill(lock, {{"E", "60"}}));
    EXPECT_EQ(Mappings(), (std::vector<std::string>{"Captured CADID => Replay CADID", "       50               60",
                                                    "Mock RID to replay RID map is empty."}));
    // A follow-up message of the same command keeps the maps.
    const std::string followUp = R"(<response><cadobjectlist><cadobject cadid="{E}" filename="e.prt"/></cadobjectlist></response>)";
    Record(Fill(followUp, {{"E", "50"}}));
    Replay(Fill(followUp, {{"E", "60"}}));
    EXPECT_EQ(Mappings().size(), 3u);

    const std::string uuidResponse =
        R"(<response><cadobject cadid="{TOP}"/><attribute><name>UUID</name><value>{U2}</value></attribute></response>)";
    // The check-in's UUID is still known; its object ids are not.
    RunIds expected = CapturedIds();
    expected["U2"] = "u-8";
    EXPECT_EQ(Respond(Fill(uuidResponse, CapturedIds())), Normalised(Fill(uuidResponse, expected)));
    m_engine->FullReset();
    EXPECT_EQ(Respond(Fill(uuidResponse, CapturedIds())), Normalised(Fill(uuidResponse, CapturedIds())));
    EXPECT_EQ(Mappings(), (std::vector<std::string>{"Mock CADID to replay CADID map is empty.",
                                                    "Mock RID to replay RID map is empty."}));
}

TEST_F(MOCK_FakeRLXEngineTest, MappingListingShowsChangedIdsOnly)
{
    const std::string request =
        R"(<command><relationshiplist><relationship rid="{R}"/></relationshiplist><cadobjectlist><cadobject cadid="{P}" filename="p"/><cadobject cadid="{C}" filename="c"/></cadobjectlist>
<structure><active><cadobject cadid="{P}"><cadobject cadid="{C}"><relationship rid="{R}"/></cadobject></cadobject></active></structure></command>)";
    Record(Fill(request, {{"P", "12"}, {"C", "7"}, {"R", "5"}}));
    Replay(Fill(request, {{"P", "340"}, {"C", "7"}, {"R", "5"}}));
    EXPECT_EQ(Mappings(), (std::vector<std::string>{"Captured CADID => Replay CADID", "       12              340",
                                                    "Captured RID   => Replay RID", "No RID Changes"}));
}

TEST_F(MOCK_FakeRLXEngineTest, ChangedOrBrokenRequestStopsTheRun)
{
    const std::string captured = Fill(CheckinTemplate(), CapturedIds());
    const std::string changed = Fill(CheckinTemplate(), ReplayedIds());
    const struct
    {
        std::string replayed;
        const char* assertion;
    } cases[] = {
        {changed.substr(0, changed.find("<lql>")) + "<lql>other</lql></command>", "AssertionFailed:FALSE"},
        {"<command><cadobjectlist><cadobject cadid=\"1\"/><cadobject cadid=\"1\"/></cadobjectlist></command>",
         "AssertionFailed:!oCADObjectMap.Locate\\(cadobject->CADID\\)"},
        {"<response/>", "AssertionFailed:RootTagName == CapturedRootTagName"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.assertion);
        m_recorded.clear();
        Record(captured);
        EXPECT_DEATH(Replay(c.replayed), c.assertion);
    }
    m_recorded.clear();
    EXPECT_DEATH(Replay(captured), "AssertionFailed:SUCCEEDED\\(TST_XMLServices::GetCaptureXMLFileName");
}

} // namespace
