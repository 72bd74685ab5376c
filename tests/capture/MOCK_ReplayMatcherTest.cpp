// Matching of normalised replay documents: what must match despite a new run, what must be
// reported, and which documents are broken.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "capture/MOCK_ReplayMatcher.h"
#include "capture/MOCK_ReplayNormaliser.h"
#include "capture/ReplayDocuments.h"
#include "host/DVKUtf.h"
#include "host/DVKXmlDocument.h"

namespace {

std::string Edit(std::string text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

// Normalises the text; on a broken document returns false with the condition.
bool Normalise(const std::string& text, MOCK_MessageRoot& root, std::string& broken)
{
    dvk::XmlDocument document;
    EXPECT_TRUE(document.LoadUtf8(text.data(), text.size()).IsOk());
    return MOCK_ReplayNormaliser::Normalise(document.DocumentElement(), root, broken);
}

// Every difference line of matching replayed against captured, headings left out.
std::vector<std::string> Differences(MOCK_ReplayMatcher& matcher, const std::string& captured,
                                     const std::string& replayed)
{
    MOCK_MessageRoot capturedRoot;
    MOCK_MessageRoot replayedRoot;
    std::string broken;
    EXPECT_TRUE(Normalise(captured, capturedRoot, broken)) << broken;
    EXPECT_TRUE(Normalise(replayed, replayedRoot, broken)) << broken;
    EXPECT_TRUE(matcher.MatchMessage(capturedRoot, replayedRoot)) << matcher.BrokenCondition();
    std::vector<std::string> lines;
    for (const auto& block : matcher.Differences())
        for (std::size_t i = 1; i < block.size(); ++i)
            lines.push_back(dvk::Utf16ToUtf8(block[i]));
    return lines;
}

TEST(MOCK_ReplayMatcherTest, RunWithNewIdentifiersInAnotherOrderMatches)
{
    const std::string captured = Fill(CheckinTemplate(), CapturedIds());
    const struct
    {
        const char* what;
        std::string replayed;
        bool newIds;
    } cases[] = {
        {"the same request", captured, false},
        {"new identifiers, password given in clear", Fill(CheckinTemplate(), ReplayedIds()), true},
        {"new identifiers, roots, children and lists in another order", Fill(ReorderedCheckinTemplate(), ReplayedIds()),
         true},
        {"another csever", Edit(Fill(CheckinTemplate(), ReplayedIds()), "csever=\"5.0\"", "csever=\"5.1\""), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MOCK_ReplayMatcher matcher;
        EXPECT_TRUE(Differences(matcher, captured, c.replayed).empty());
        const RunIds& replayIds = c.newIds ? ReplayedIds() : CapturedIds();
        for (const char* id : {"TOP", "A", "B", "D"}) {
            const std::u16string* mapped = matcher.CADIDs().Find(dvk::Utf8ToUtf16(CapturedIds().at(id)));
            ASSERT_NE(mapped, nullptr) << id;
            EXPECT_EQ(dvk::Utf16ToUtf8(*mapped), replayIds.at(id));
        }
        for (const char* id : {"R1", "R2"}) {
            const std::u16string* mapped = matcher.RIDs().Find(dvk::Utf8ToUtf16(CapturedIds().at(id)));
            ASSERT_NE(mapped, nullptr) << id;
            EXPECT_EQ(dvk::Utf16ToUtf8(*mapped), replayIds.at(id));
        }
        EXPECT_EQ(dvk::Utf16ToUtf8(matcher.ReplayIID()), replayIds.at("IID"));
    }
}

TEST(MOCK_ReplayMatcherTest, ChangedRequestReportsEveryDifference)
{
    const std::string captured = Fill(CheckinTemplate(), CapturedIds());
    const std::string replayed = Fill(ReorderedCheckinTemplate(), ReplayedIds());
    const struct
    {
        const char* from;
        const char* to;
        const char* line;
    } cases[] = {
        {"cname=\"checkin\"", "cname=\"lock\"", "Command name is different: checkin != lock"},
        {"ver=\"5\"", "ver=\"6\"", "Version field is different: 5 != 6"},
        {"username=\"u\"", "username=\"u\" silent=\"1\"", "The xml node attributes are not all the same"},
        {"<lql>find all</lql>", "<lql>find some</lql>",
         "The LQL node is different: \n\t\t\t\tLQL during capture: \"find all\"\n\t\t\t\tLQL during replay : \"find some\""},
        {"<cadobject cadid=\"14\"/>\n", "", "The number of root cadobject nodes is different"},
        {"filename=\"b.prt\"", "filename=\"c.prt\"", "Filenames are different: c.prt != b.prt"},
        {"filename=\"a.prt\" type=\"part\"", "filename=\"a.prt\" type=\"sheet\"", "Types are different: sheet != part"},
        {"filename=\"a.prt\"", "filename=\"a.prt\" selected=\"true\"", "The xml node attributes are not all the same"},
        {"<value>Top</value>", "<value>Top 2</value>", "The lists of attributes are not equal"},
        {"<cadobject cadid=\"13\"><relationship rid=\"r8\"/></cadobject>", "", "The number of children is different"},
        {"<value>b.1</value>", "<value>b.2</value>", "Names are different: b.2 != b.1"},
        {"qxid=\"q1\"", "qxid=\"q2\"", "QXIDs are different: q2 != q1"},
        {"[u-fixed]", "[u-other]",
         "UUIDs are different: Replay UUID : u-other, Capture UUID : u-fixed, Transformed Capture UUID : u-fixed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        MOCK_ReplayMatcher matcher;
        const std::vector<std::string> lines = Differences(matcher, captured, Edit(replayed, c.from, c.to));
        EXPECT_NE(std::find(lines.begin(), lines.end(), c.line), lines.end());
    }
}

TEST(MOCK_ReplayMatcherTest, CheckoutObjectsWithoutIdsAreComparedAsTheyStand)
{
    // A checkout names its designs by name and folder; a run of it must replay, in any order.
    const std::string captured = R"(<command cname="checkout"><cadobjectlist>
 <cadobject name="A" dirname="/co" lock="true"/><cadobject name="B" dirname="/co" lock="true"/></cadobjectlist></command>)";
    const std::string reordered = R"(<command cname="checkout"><cadobjectlist>
 <cadobject name="B" dirname="/co" lock="true"/><cadobject name="A" dirname="/co" lock="true"/></cadobjectlist></command>)";
    MOCK_ReplayMatcher matcher;
    EXPECT_EQ(Differences(matcher, captured, reordered), std::vector<std::string>{});
    EXPECT_EQ(matcher.CADIDs().Size(), 0);
    EXPECT_EQ(Differences(matcher, captured, Edit(reordered, "name=\"A\" dirname=\"/co\" lock=\"true\"",
                                                  "name=\"A\" dirname=\"/co\" lock=\"false\"")),
              std::vector<std::string>{"The xml node attributes are not all the same"});
    MOCK_ReplayMatcher another;
    EXPECT_EQ(Differences(another, captured, Edit(reordered, "name=\"A\"", "cadid=\"7\" name=\"A\"")),
              std::vector<std::string>{"Only one of the objects has a cadid"});
}

TEST(MOCK_ReplayMatcherTest, BlocksNameTheRecordsThatDiffer)
{
    MOCK_ReplayMatcher matcher;
    const std::string captured = Fill(CheckinTemplate(), CapturedIds());
    Differences(matcher, captured, Edit(Fill(CheckinTemplate(), ReplayedIds()), "<value>a.1</value>", "<value>x</value>"));
    ASSERT_EQ(matcher.Differences().size(), 1u);
    EXPECT_EQ(dvk::Utf16ToUtf8(matcher.Differences()[0][0]),
              "Error spotted while matching replay relationship r7 with captured relationship r1");
}

TEST(MOCK_ReplayMatcherTest, SharedObjectSubtreeIsWalkedOnce)
{
    // "sub.asm" sits under both roots; its child differs, which must be reported once.
    const std::string text = R"(<command cname="checkin"><relationshiplist>
 <relationship rid="r1"/><relationship rid="r2"/><relationship rid="r3"/></relationshiplist>
 <cadobjectlist><cadobject cadid="1" filename="a.asm"/><cadobject cadid="2" filename="b.asm"/>
 <cadobject cadid="3" filename="sub.asm"/><cadobject cadid="4" filename="leaf.prt"><attribute><name>m</name><value>{T}</value></attribute></cadobject></cadobjectlist>
 <structure><active>
  <cadobject cadid="1"><cadobject cadid="3"><relationship rid="r1"/><cadobject cadid="4"><relationship rid="r3"/></cadobject></cadobject></cadobject>
  <cadobject cadid="2"><cadobject cadid="3"><relationship rid="r2"/></cadobject></cadobject>
 </active></structure></command>)";
    MOCK_ReplayMatcher matcher;
    const std::vector<std::string> lines =
        Differences(matcher, Fill(text, {{"T", "part"}}), Fill(text, {{"T", "sheet"}}));
    EXPECT_EQ(lines, std::vector<std::string>{"The lists of attributes are not equal"});
}

TEST(MOCK_ReplayMatcherTest, BrokenDocumentsNameTheirCondition)
{
    const struct
    {
        const char* body;
        const char* condition;
    } cases[] = {
        {"<cadobjectlist><cadobject cadid=\"1\"/><cadobject cadid=\"1\"/></cadobjectlist>",
         "!oCADObjectMap.Locate(cadobject->CADID)"},
        {"<relationshiplist><relationship rid=\"r\"/><relationship rid=\"r\"/></relationshiplist>",
         "!oRelationshipMap.Locate(relationship->RID)"},
        {"<structure/><structure/>", "SUCCEEDED(hr) && structure_length <= 1"},
        {"<structure><active><cadobject cadid=\"9\"/></active></structure>", "obj"},
        {"<cadobjectlist><cadobject cadid=\"1\"/><cadobject cadid=\"2\"/></cadobjectlist>"
         "<structure><active><cadobject cadid=\"1\"><cadobject cadid=\"2\"/></cadobject></active></structure>",
         "SUCCEEDED(hr) && rel_count >= 1"},
        {"<cadobjectlist><cadobject cadid=\"1\"/><cadobject cadid=\"2\"/></cadobjectlist>"
         "<structure><active><cadobject cadid=\"1\"><cadobject cadid=\"2\"><relationship rid=\"r\"/></cadobject>"
         "</cadobject></active></structure>",
         "rel"},
        {"<cadobjectlist><cadobject cadid=\"1\"/></cadobjectlist>"
         "<structure><active><cadobject cadid=\"1\"><part/></cadobject></active></structure>",
         "TagName == \"relationship\""},
        // An object placed inside itself, directly or through another placement.
        {"<relationshiplist><relationship rid=\"r\"/></relationshiplist><cadobjectlist><cadobject cadid=\"1\"/>"
         "</cadobjectlist><structure><active><cadobject cadid=\"1\"><cadobject cadid=\"1\"><relationship rid=\"r\"/>"
         "</cadobject></cadobject></active></structure>",
         "!CADObjectContainsItself"},
        {"<relationshiplist><relationship rid=\"r\"/></relationshiplist><cadobjectlist><cadobject cadid=\"1\"/>"
         "<cadobject cadid=\"2\"/></cadobjectlist><structure><active>"
         "<cadobject cadid=\"1\"><cadobject cadid=\"2\"><relationship rid=\"r\"/></cadobject></cadobject>"
         "<cadobject cadid=\"2\"><cadobject cadid=\"1\"><relationship rid=\"r\"/></cadobject></cadobject>"
         "</active></structure>",
         "!CADObjectContainsItself"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        MOCK_MessageRoot root;
        std::string broken;
        EXPECT_FALSE(Normalise(std::string("<command>") + c.body + "</command>", root, broken));
        EXPECT_EQ(broken, c.condition);
    }
}

TEST(MOCK_ReplayMatcherTest, IdentifierMappedTwiceStopsMatching)
{
    // The capture places object 1 twice; the replay places two different objects there.
    const std::string text = R"(<command><relationshiplist><relationship rid="r1"/><relationship rid="r2"/></relationshiplist>
 <cadobjectlist><cadobject cadid="0" filename="top"/><cadobject cadid="{X}" filename="p"/>{MORE}</cadobjectlist>
 <structure><active><cadobject cadid="0"><cadobject cadid="{X}"><relationship rid="r1"/></cadobject>
 <cadobject cadid="{Y}"><relationship rid="r2"/></cadobject></cadobject></active></structure></command>)";
    MOCK_MessageRoot captured;
    MOCK_MessageRoot replayed;
    std::string broken;
    ASSERT_TRUE(Normalise(Fill(text, {{"X", "1"}, {"Y", "1"}, {"MORE", ""}}), captured, broken)) << broken;
    ASSERT_TRUE(Normalise(Fill(text, {{"X", "5"}, {"Y", "6"}, {"MORE", "<cadobject cadid=\"6\" filename=\"p\"/>"}}),
                          replayed, broken)) << broken;
    MOCK_ReplayMatcher matcher;
    EXPECT_FALSE(matcher.MatchMessage(captured, replayed));
    EXPECT_EQ(matcher.BrokenCondition(), "*pAlreadyMappedCADID == iCADObjectAtReplay.CADID");
}

} // namespace
