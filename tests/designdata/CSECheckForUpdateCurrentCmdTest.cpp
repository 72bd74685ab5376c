// Behaviour of the update check of listed files: its request, its result lists and the
// response-shaped second request.
#include <gtest/gtest.h>

#include <string>

#include "CSECheckForUpdateCurrentCmd.h"
#include "common/CannedResponse.h"
#include "common/CommandProbe.h"

namespace {

CSEObjectInfo Object(const char16_t* fileName, const CSEString& dirName, const char16_t* busType = u"")
{
    CSEObjectInfo object;
    object.fileName = fileName;
    object.dirName = dirName;
    object.name = u"n";
    object.cadId = u"c";
    object.busType = busType;
    return object;
}

// Two updated objects behind a child of the list that is no object, one failed object.
const char kAnswer[] =
    "<cadobjectlist><note/>"
    "<cadobject downloadedpath='/v/gear.prt' filename=' gear.prt ' dirname=' /w ' qxtype='Part' cadid='g1' "
    "qxversion='3'/>"
    "<cadobject downloadedpath='/v/top.asm' filename='top.asm' dirname=''/></cadobjectlist>"
    "<errorfiles><cadobject downloadedpath='' filename='bad.prt' dirname='/w/'/></errorfiles>";

} // namespace

using UpdateCurrent = CannedResponse;

TEST_F(UpdateCurrent, RequestListsEachFileOnceWithTheBusFieldsItHas)
{
    Probe<CSECheckForUpdateCurrentCmd> command;
    // A list made empty beforehand is the list to fill, not a reason for a second one.
    command.Packet()->createChildNode(u"/command", u"cadobjectlist", u"", 1);
    CSEObjectInfo objects[] = {Object(u"gear.prt", CSEString(m_folder.c_str()), u"Part"),
                               Object(u"O'Brien \"2\".prt", u""), Object(u"gear.prt", u"/elsewhere"),
                               Object(u"O'Brien \"2\".prt", u"")};
    for (CSEObjectInfo& object : objects)
        command.AddCADObjectNode(object);
    // A copy shares the request, and with it the files listed.
    CSECheckForUpdateCurrentCmd copy(command);
    copy.AddCADObjectNode(objects[0]);

    CSEXMLPacket* packet = command.Packet();
    const CSEString list(u"/command/cadobjectlist/cadobject");
    ASSERT_EQ(packet->getNodeCount(u"/command/cadobjectlist"), 1);
    ASSERT_EQ(packet->getNodeCount(list), 2);
    EXPECT_EQ(Attribute(packet, list + u"[1]", u"bustype") + Attribute(packet, list + u"[2]", u"filename"),
              "PartO'Brien \"2\".prt");
    EXPECT_EQ(packet->getNodeCount(list + u"[2]/@*[starts-with(name(), 'bus')]"), 0);
    EXPECT_EQ(Attribute(packet, list + u"[1]", u"dirname"), m_folder);
}

TEST_F(UpdateCurrent, ResultListsHoldTheListedObjectsWithCleanedNames)
{
    CSECheckForUpdateCurrentCmd command;
    Answer(command, kAnswer);
    const CSEObjectInfoVector all = command.GetObjectInfoList();
    const CSEObjectInfoVector success = command.GetSuccessObjectInfoList();
    const CSEObjectInfoVector failure = command.GetFailureObjectInfoList();
    ASSERT_TRUE(all.size() == 2 && success.size() == 2 && failure.size() == 1);
    // file name|folder|downloaded path of all, success and failure objects.
    std::string records;
    for (const CSEObjectInfo& o : {all[0], all[1], success[0], success[1], failure[0]})
        records += Utf8(o.fileName + u"|" + o.dirName + u"|" + o.downloadedPath) + " ";
    EXPECT_EQ(records,
              "gear.prt|/w/|/v/gear.prt top.asm||/v/top.asm gear.prt|/w/|/v/gear.prt top.asm||/v/top.asm bad.prt|/w/| ");
    EXPECT_TRUE(all[0].busType == u"Part" && all[0].cadId == u"g1" && all[0].qxVersion == u"3");
    EXPECT_TRUE(success[0].busType == u"" && success[0].cadId == u"");
}

TEST_F(UpdateCurrent, AbsentListsGiveEmptyResults)
{
    CSECheckForUpdateCurrentCmd command;
    EXPECT_EQ(command.GetObjectInfoList().size(), 0);
    Answer(command, "<other/>");
    EXPECT_EQ(command.GetSuccessObjectInfoList().size() + command.GetFailureObjectInfoList().size(), 0);
}

TEST_F(UpdateCurrent, SecondRequestCarriesFullPathsUnderTheResponseRoot)
{
    Probe<CSECheckForUpdateCurrentCmd> command;
    CSEObjectInfo first = Object(u"gear.prt", u"/w");
    command.AddCADObjectNode(first);
    command.CreateRootResponse();
    command.AddCadObjectToSecondRequest(Object(u"gear.prt", u"/w"));
    command.AddCadObjectToSecondRequest(Object(u"top.asm", u""));
    command.AddCADObjectNode(first); // no command element to list it in

    CSEXMLPacket* packet = command.Packet();
    EXPECT_EQ(Attribute(packet, u"/response", u"cname"), "checkforupdatecurrent");
    const CSEString list(u"/response/cadobjectlist/cadobject");
    ASSERT_EQ(packet->getNodeCount(u"//cadobject"), 2);
    EXPECT_EQ(Attribute(packet, list + u"[1]", u"filename"), "/w/gear.prt");
    EXPECT_EQ(Attribute(packet, list + u"[2]", u"filename"), "top.asm");
    EXPECT_EQ(Attribute(packet, list + u"[2]", u"cadid"), "c");
}
