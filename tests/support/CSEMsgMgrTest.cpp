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

TEST(MsgMgr, StaticOperationsForwardToTheInstalledManager)
{
    static MessageRecorder host;
    host.m_calls.clear();
    CSEMsgMgr::SetMsgMgr(&host);
    EXPECT_TRUE(CSEMsgMgr::GetMsg(CSEString(u"MSG_READREGISTRY_FAIL")) == u"text of id");
    EXPECT_TRUE(CSEMsgMgr::GetMsg(42) == u"text of int");
    CSEWrapperStringVector arguments;
    arguments.push_back(CSEString(u"a"));
    arguments.push_back(CSEString(u"b"));
    EXPECT_TRUE(CSEMsgMgr::GetMsg(CSEString(u"DV5_001"), arguments) == u"text with arguments");
    EXPECT_EQ(CSEMsgMgr::ShowMsg(u"failed", u"MSG_MSGBOXTITLE", CSEMessageBoxError), 6);
    EXPECT_EQ(CSEMsgMgr::ShowCustomMsg(u"sure?", u"T", 1, static_cast<MessageBoxType>(36)), 7);
    EXPECT_EQ(host.m_calls,
              (std::vector<std::string>{"id:MSG_READREGISTRY_FAIL", "int:42", "args:DV5_001:2:b",
                                        "show:failed|MSG_MSGBOXTITLE|3", "custom:sure?|T|1|36"}));
}

TEST(ProgressBar, ScopeOpensAndClosesTheDisplay)
{
    static MessageRecorder host;
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
    EXPECT_EQ(host.m_calls, (std::vector<std::string>{"start:4", "step:one", "end", "start:1", "end",
                                                      "start:2", "end"}));
}
