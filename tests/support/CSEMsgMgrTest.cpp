// Behaviour of CSEMsgMgr without a manager, and of CSEProgressBar's scope over the host's display.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "CSEMsgMgr.h"
#include "CSEProgressBar.h"
#include "support/MessageRecorder.h"

TEST(MsgMgr, StaticOperationsWithoutManagerAreFatal)
{
    // A fresh process, so no manager that another test installed is present.
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_DEATH(CSEMsgMgr::GetMsg(CSEString(u"DV5_001")), "AssertionFailed:m_pMsgMgr != NULL");
    EXPECT_DEATH(CSEMsgMgr::ProgressEnd(), "AssertionFailed:m_pMsgMgr != NULL");
    EXPECT_DEATH(CSEMsgMgr::SetMsgMgr(nullptr), "AssertionFailed:pMsgMgr != NULL");
}

TEST(ProgressBar, ScopeOpensAndClosesTheDisplayAlsoWhenLeftByAnException)
{
    static MessageRecorder host; // installed for the rest of the process
    host.m_calls.clear();
    CSEMsgMgr::SetMsgMgr(&host);
    {
        CSEProgressBar bar(4);
        bar.ProgressShowNextStep(u"one");
    }
    { CSEProgressBar bar; }
    try {
        CSEProgressBar bar(2);
        throw std::runtime_error("cancelled");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(host.m_calls, (std::vector<std::string>{"start:4", "step:one", "end", "start:1", "end", "start:2",
                                                      "end"}));
}

TEST(MsgMgr, AThrowingHostIsContainedAndAnswersAsTheSilentManager)
{
    struct ThrowingHost : CSEMsgMgr {
        CSEString ReadResourceString(CSEString) override { throw std::runtime_error("catalogue"); }
        int ShowMessage(CSEString, CSEString, MessageBoxType) override { throw 7; }
        unsigned char ProgressStartA(int) override { throw std::runtime_error("start"); }
        void ProgressShowNextStepA(CSEString) override { throw std::runtime_error("step"); }
        unsigned char ProgressEndA() override { throw std::runtime_error("end"); }
    };
    static ThrowingHost host; // installed for the rest of the process
    CSEMsgMgr::SetMsgMgr(&host);
    EXPECT_EQ(CSEMsgMgr::ShowMsg(u"m", u"t", MessageBoxType()), 0);
    EXPECT_TRUE(CSEMsgMgr::GetMsg(CSEString(u"DV5_001"))().IsEmpty());
    EXPECT_EQ(CSEMsgMgr::GetMsgOrId(CSEString(u"DV5_001")), CSEString(u"DV5_001"));
    {
        // Ending the display runs in the destructor: a throw there would end the process.
        CSEProgressBar bar(2);
        bar.ProgressShowNextStep(u"one");
    } // reaching the end of the test is the check
}
