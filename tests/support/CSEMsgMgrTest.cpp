// Behaviour of CSEMsgMgr and CSEProgressBar: forwarding to the host's manager, and no manager at all.
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

// The operations the library itself never calls (the rest are met by every caller's tests).
TEST(MsgMgr, HostOperationsForwardAndTheProgressBarsScopeOpensAndClosesTheDisplay)
{
    static MessageRecorder host;
    host.m_calls.clear();
    CSEMsgMgr::SetMsgMgr(&host);
    CSEWrapperStringVector arguments;
    arguments.push_back(CSEString(u"a"));
    arguments.push_back(CSEString(u"b"));
    EXPECT_TRUE(CSEMsgMgr::GetMsg(CSEString(u"DV5_001"), arguments) == u"text with arguments");
    EXPECT_EQ(CSEMsgMgr::ShowCustomMsg(u"sure?", u"T", 1, static_cast<MessageBoxType>(36)), 7);
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
    EXPECT_EQ(host.m_calls, (std::vector<std::string>{"args:DV5_001:2:b", "custom:sure?|T|1|36", "start:4",
                                                      "step:one", "end", "start:1", "end", "start:2", "end"}));
}
