// Behaviour of the update check of every file: its result lists as written.
#include <gtest/gtest.h>

#include "CSECheckForUpdateAllCmd.h"
#include "common/CannedResponse.h"

using UpdateAll = CannedResponse;

TEST_F(UpdateAll, ListsHoldTheListedObjectsAsWritten)
{
    CSECheckForUpdateAllCmd command;
    Answer(command, "<cadobjectlist><cadobject downloadedpath='/v/a.prt' filename=' a.prt' dirname='/w' "
                    "name='A' qxtype='Part' qxversion='2'/><note/></cadobjectlist>"
                    "<errorfiles><cadobject filename='b.prt' dirname='/w'/></errorfiles>");
    const CSEObjectInfoVector success = command.GetSuccessObjectInfoList();
    ASSERT_EQ(success.size(), 1);
    EXPECT_TRUE(success[0].fileName == u" a.prt" && success[0].downloadedPath == u"/v/a.prt" &&
                success[0].dirName == u"" && success[0].name == u"");
    const CSEObjectInfoVector failure = command.GetFailureObjectInfoList();
    ASSERT_EQ(failure.size(), 1);
    EXPECT_TRUE(failure[0].fileName == u"b.prt" && failure[0].dirName == u"");

    // The user-exit reading appends to what the caller holds.
    CSEObjectInfoVector forExits;
    forExits.push_back(CSEObjectInfo());
    ASSERT_EQ(command.GetObjectsFromRespForUserExit(forExits), 2);
    EXPECT_TRUE(forExits[1].name == u"A" && forExits[1].busType == u"Part" && forExits[1].qxVersion == u"2" &&
                forExits[1].downloadedPath == u"");
    CSECheckForUpdateAllCmd unanswered;
    EXPECT_EQ(unanswered.GetObjectsFromRespForUserExit(forExits), 2);
}
