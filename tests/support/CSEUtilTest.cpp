// Behaviour of CSEUtil: texts, files, request envelopes, versions, limits, part record, browser.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "CSEClientSettings.h"
#include "CSEMsgMgr.h"
#include "CSEObjectInfo.h"
#include "CSEUtil.h"
#include "cad_part_struct.h"
#include "host/DVKFiles.h"
#include "support/CSEGlobalSettingsView.h"
#include "support/InstallFolderFixture.h"

namespace {

std::string U8(const CSEString& text)
{
    return text().ToUTF8();
}

std::vector<std::string> Elements(const CSEWrapperStringVector& vector)
{
    std::vector<std::string> texts;
    for (int i = 0; i < vector.Size(); ++i)
        texts.push_back(U8(vector[i]));
    return texts;
}

class RecordingMsgMgr : public CSEMsgMgr
{
public:
    int ShowMessage(CSEString message, CSEString title, MessageBoxType type) override
    {
        m_shown.push_back(U8(message) + "|" + U8(title) + "|" + std::to_string(type));
        return 0;
    }
    std::vector<std::string> m_shown;
};

// An installation folder with the main log on at debug level and a recording message manager.
class Util : public InstallFolderFixture
{
protected:
    void SetUp() override
    {
        InstallFolderFixture::SetUp();
        WriteSettings("[CLIENT]\ndebugflag=true\nclientloglevel=6\n");
        CSEMsgMgr::SetMsgMgr(&m_messages);
    }

    bool Logged(const std::string& text) const
    {
        return ReadFile("QxDravikV5.log").find(text) != std::string::npos;
    }

    // The settings with extra lines for the CLIENT section, re-read by the client settings.
    void WriteClientSettings(const std::string& lines)
    {
        WriteSettings("[CLIENT]\ndebugflag=true\nclientloglevel=6\n" + lines);
        CSEClientSettings::DeleteClientSettings(0);
    }

    RecordingMsgMgr m_messages;
};

pugi::xml_node ParsedRoot(pugi::xml_document& document, const CSEString& text)
{
    const pugi::xml_parse_result result = document.load_string(U8(text).c_str());
    EXPECT_TRUE(result) << result.description() << " in " << U8(text);
    return document.document_element();
}

} // namespace

// ---- Text ----

TEST(UtilText, MultiByteRoundTripCountsBytesAndCharacters)
{
    const CSEString text(u"Gr\u00fc\u00dfe \U0001D11E");  // 2-byte letters and a surrogate pair
    char* bytes = nullptr;
    EXPECT_EQ(CSEUtil::getMultiByteFromCSEString(text, &bytes), 12);
    ASSERT_NE(bytes, nullptr);
    EXPECT_STREQ(bytes, "Gr\xc3\xbc\xc3\x9f" "e \xf0\x9d\x84\x9e");
    CSEString back;
    EXPECT_EQ(CSEUtil::getCSEStringFromMultiByte(bytes, back), 8);
    EXPECT_EQ(back, text);
    delete[] bytes;

    back = u"old";
    EXPECT_EQ(CSEUtil::getCSEStringFromMultiByte(nullptr, back), 0);
    EXPECT_EQ(back, u"");
}

TEST(UtilText, NumbersFollowAtoiAndDoNotOverflow)
{
    EXPECT_EQ(CSEUtil::getIntFromCSEString(u"12abc"), 12);
    EXPECT_EQ(CSEUtil::getIntFromCSEString(u"  -7"), -7);
    EXPECT_EQ(CSEUtil::getIntFromCSEString(u"abc"), 0);
    EXPECT_EQ(CSEUtil::getIntFromCSEString(u"99999999999999999999"), INT_MAX);
    EXPECT_EQ(CSEUtil::getCSEStringFromInt(-42), u"-42");
    EXPECT_EQ(CSEUtil::GetPortNumberFromUrl(u"http://h/app?x=1&appletPort=8123&y=2"), 8123);
    EXPECT_EQ(CSEUtil::GetPortNumberFromUrl(u"http://h/app?appletport=8123"), -1);
    EXPECT_EQ(CSEUtil::GetPortNumberFromUrl(u"http://h/app?appletPort=x"), 0);
}

TEST(UtilText, LookupsAndComparisons)
{
    CSEWrapperStringVector list;
    list.push_back(u"Part");
    list.push_back(u"ASSEMBLY");
    EXPECT_EQ(CSEUtil::CSEStringVectorLookup(list, u"ASSEMBLY", 1), 1);
    EXPECT_EQ(CSEUtil::CSEStringVectorLookup(list, u"assembly", 1), -1);
    EXPECT_EQ(CSEUtil::CSEStringVectorLookup(list, u"assembly", 0), 1);
    EXPECT_EQ(CSEUtil::CSEStringVectorLookup(list, u"drawing", 0), -1);
    EXPECT_TRUE(CSEUtil::StrCompareNoCase(u"CheckIn", u"checkin"));
    EXPECT_FALSE(CSEUtil::StrCompareNoCase(u"checkin", u"checkout"));
    EXPECT_EQ(CSEUtil::GetFileExtn(u"a.b.prt"), u"prt");
    EXPECT_EQ(CSEUtil::GetFileExtn(u"noext"), u"");
    EXPECT_EQ(CSEUtil::InsertCarriageReturn(u"a\nb\n"), u"a\r\nb\r\n");
    EXPECT_EQ(CSEUtil::CSEStringFindReplace(u"Entry %s missing", u"%s", u"UE_Init"),
              u"Entry UE_Init missing");
    EXPECT_EQ(CSEUtil::ExtractBaseNameFromFileName(u"gear.v2.prt"), DVKUnicodeString(u"gear.v2"));
    EXPECT_EQ(CSEUtil::ExtractBaseNameFromFileName(u"gear"), DVKUnicodeString(u"gear"));

    CSEString extension(u"kept");
    EXPECT_FALSE(CSEUtil::IsDerivedOutputTypeUserDefined(u"pdf", extension));
    EXPECT_EQ(extension, u"kept");
    EXPECT_TRUE(CSEUtil::IsDerivedOutputTypeUserDefined(u"userfile_pdf", extension));
    EXPECT_EQ(extension, u".pdf");
}

TEST(UtilText, UniqueIdsCountUpByOne)
{
    const int first = CSEUtil::GetUniqueId();
    EXPECT_EQ(CSEUtil::GetUniqueId(), first + 1);
    EXPECT_EQ(CSEUtil::GetUniqueId(), first + 2);
}

TEST_F(Util, TokenizerSplitsAtEverySeparatorAndSkipsEmptyTokens)
{
    CSEWrapperStringVector out;
    EXPECT_EQ(CSEUtil::GetTokenizedArray(u"a,b,c", u",", out), 3);
    EXPECT_EQ(CSEUtil::GetTokenizedArray(u"a|b,c", u",|", out), 3);
    EXPECT_EQ(Elements(out), (std::vector<std::string>{"a", "b", "c", "a", "b", "c"}));

    out.clear();
    EXPECT_EQ(CSEUtil::GetTokenizedArray(u"a,,b", u",", out), 2);
    EXPECT_EQ(CSEUtil::GetTokenizedArray(u",x,,|y|", u",|", out), 2);
    EXPECT_EQ(Elements(out), (std::vector<std::string>{"a", "b", "x", "y"}));
    EXPECT_EQ(CSEUtil::GetTokenizedArray(u",,,", u",", out), 0);
    EXPECT_TRUE(Logged("QxMstnUtils::GetTokenizedArray:: entered"));
    EXPECT_TRUE(Logged("QxMstnUtils::GetTokenizedArray:: exiting"));
}

TEST_F(Util, TokenizerRefusesEmptyInputWithItsLogLine)
{
    CSEWrapperStringVector out;
    out.push_back(u"kept");
    EXPECT_EQ(CSEUtil::GetTokenizedArray(u"", u",", out), 0);
    EXPECT_EQ(CSEUtil::GetTokenizedArray(u"a,b", u"", out), 0);
    EXPECT_EQ(Elements(out), std::vector<std::string>{"kept"});
    EXPECT_TRUE(Logged("QxMstnUtils::GetTokenizedArray:: Failed to create DVKUnicodeString from "
                       "CSEStringa,b"));
}

TEST(UtilTextLarge, TokenizerHandlesAHundredThousandTokens)
{
    std::u16string text;
    for (int i = 0; i < 100000; ++i)
        text += u"tok,";
    CSEWrapperStringVector out;
    EXPECT_EQ(CSEUtil::GetTokenizedArray(CSEString(text.c_str()), u",", out), 100000);
    EXPECT_EQ(out.Size(), 100000);
}

TEST(UtilText, XmlEscapeCoversMarkupQuotesAndLineBreaks)
{
    EXPECT_EQ(CSEUtil::XMLEscape(u"O'Neil & <Sons> \"Ltd\"\t\r\n"),
              u"O&apos;Neil &amp; &lt;Sons&gt; &quot;Ltd&quot;&#9;&#13;&#10;");
    EXPECT_EQ(CSEUtil::XMLEscape(u"plain \u00e9"), u"plain \u00e9");
}

// ---- Request texts ----

TEST_F(Util, CommandEnvelopeHasTheIdentityInOrder)
{
    const CSEString header = CSEUtil::CSEGetCmdHeaderString(u"checkin", false);
    const std::string expected = "<?xml version='1.0'?><command cname='checkin' iid='" +
                                 std::to_string(getpid()) +
                                 "' cse='QxDravikV5' addn='abc' ver='10.7.SP1' csever='" +
                                 U8(CSEUtil::GetCSEVersion()) +
                                 "' focusbrowser='false' loglevel='4'/>";
    EXPECT_EQ(U8(header), expected);
    EXPECT_EQ(U8(CSEUtil::CSEGetCmdHeaderString(u"ping", true)).find("username"), std::string::npos);
    EXPECT_NE(U8(CSEUtil::CSEGetCmdHeaderString(u"ping", true))
                  .find("' focusbrowser='true' loglevel='4'/>"),
              std::string::npos);
}

TEST_F(Util, LoginEnvelopesCarryTheUserNameBeforeFocusBrowser)
{
    const struct passwd* user = getpwuid(geteuid());
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(U8(CSEUtil::GetCurrentUserName()), user->pw_name);
    const std::string tail = "' username='" + std::string(user->pw_name) +
                             "' focusbrowser='false' loglevel='4'/>";
    for (const char16_t* name : {u"login", u"loginEx"}) {
        const std::string header = U8(CSEUtil::CSEGetCmdHeaderString(name, false));
        ASSERT_GE(header.size(), tail.size());
        EXPECT_EQ(header.substr(header.size() - tail.size()), tail);
    }
    EXPECT_EQ(U8(CSEUtil::CSEGetCmdHeaderString(u"Login", false)).find("username"),
              std::string::npos);
    EXPECT_TRUE(Logged("[CSEUtil::GetCurrentUserName] Entering"));
}

TEST_F(Util, EnvelopesWithMarkupInTheirValuesStayWellFormedAndReadBack)
{
    WriteClientSettings("compatiblewkcversion=QTL2011x & 'beta' <\"rc\">\n");
    const std::string ver = "QTL2011x & 'beta' <\"rc\">";
    const CSEString name(u"lql'\"&<>\ttab");

    pugi::xml_document command;
    pugi::xml_node root = ParsedRoot(command, CSEUtil::CSEGetCmdHeaderString(name, true));
    EXPECT_STREQ(root.name(), "command");
    EXPECT_EQ(root.attribute("cname").value(), U8(name));
    EXPECT_EQ(root.attribute("ver").value(), ver);
    EXPECT_EQ(root.attribute("iid").as_int(), getpid());
    EXPECT_STREQ(root.attribute("focusbrowser").value(), "true");

    pugi::xml_document response;
    root = ParsedRoot(response, CSEUtil::CSEGetResponseHeaderString(name, false));
    EXPECT_STREQ(root.name(), "response");
    EXPECT_STREQ(root.first_attribute().name(), "result");
    EXPECT_STREQ(root.attribute("result").value(), "success");
    EXPECT_EQ(root.attribute("cname").value(), U8(name));
    EXPECT_EQ(root.attribute("ver").value(), ver);
    EXPECT_TRUE(root.attribute("username").empty());
    EXPECT_STREQ(root.attribute("focusbrowser").value(), "false");
}

TEST_F(Util, ThinRequestNamesTheFileWithEscapedValues)
{
    const std::string folder = m_folder + "/Smith & O'Neil <\"work\">";
    const CSEString request =
        CSEUtil::CSEGetRequestCmdString(CSEString(folder.c_str()), u"QxRequest.xml");
    EXPECT_EQ(U8(request).rfind("<?xml version='1.0'?><request dirname='", 0), 0u);
    pugi::xml_document document;
    const pugi::xml_node root = ParsedRoot(document, request);
    EXPECT_STREQ(root.name(), "request");
    EXPECT_EQ(root.attribute("dirname").value(), folder);
    EXPECT_STREQ(root.attribute("filename").value(), "QxRequest.xml");
    EXPECT_STREQ(root.attribute("ver").value(), "10.7.SP1");
    EXPECT_EQ(root.attribute("csever").value(), U8(CSEUtil::GetCSEVersion()));
    std::vector<std::string> order;
    for (pugi::xml_attribute attribute : root.attributes())
        order.push_back(attribute.name());
    EXPECT_EQ(order, (std::vector<std::string>{"dirname", "filename", "ver", "csever"}));
}

// ---- Files and folders ----

TEST_F(Util, SaveXmlWritesUtf8IntoTheInstallationFolder)
{
    const CSEString path = CSEUtil::SaveXML(u"QxRequest.xml", u"<command cname='\u00e9'/>");
    EXPECT_EQ(U8(path), PathOf("QxRequest.xml"));
    EXPECT_EQ(ReadFile("QxRequest.xml"), "<command cname='\xc3\xa9'/>");
    CSEUtil::SaveXML(u"QxRequest.xml", u"<b/>");
    EXPECT_EQ(ReadFile("QxRequest.xml"), "<b/>");
}

TEST_F(Util, SaveXmlThatCannotWriteLogsAndLeavesNoStaleRequest)
{
    // An empty folder in the file's place: the write fails, the stale entry is removed.
    ASSERT_EQ(mkdir(PathOf("QxRequest.xml").c_str(), 0755), 0);
    CSEUtil::SaveXML(u"QxRequest.xml", u"<command/>");
    EXPECT_FALSE(Exists("QxRequest.xml"));
    EXPECT_TRUE(Logged("[CSEUtil::SaveXML] Failed to write the file " + PathOf("QxRequest.xml")));
}

TEST_F(Util, PathPartsAndDetails)
{
    CSEString dir;
    CSEString file;
    CSEUtil::GetFileNameNDir(u"/work/a.b/gear.v2.prt", dir, file);
    EXPECT_EQ(dir, u"/work/a.b");
    EXPECT_EQ(file, u"gear.v2.prt");
    const CSEString path(u"/work/a.b/gear.v2.prt");
    EXPECT_EQ(CSEUtil::GetFileDetail(path, 0), path);
    EXPECT_EQ(CSEUtil::GetFileDetail(path, 1), u"/work/a.b");
    EXPECT_EQ(CSEUtil::GetFileDetail(path, 2), u"gear.v2.prt");
    EXPECT_EQ(CSEUtil::GetFileDetail(path, 3), u"gear.v2");
    EXPECT_EQ(CSEUtil::GetFileDetail(path, 4), u"prt");
    EXPECT_EQ(CSEUtil::GetFileDetail(u"/work/a.b/gear", 4), u"");
    EXPECT_EQ(CSEUtil::GetFileDetail(path, 5), u"");
    EXPECT_EQ(CSEUtil::GetFileDetail(u"", 2), u"");

    CSEString slashed(u"/work");
    CSEUtil::AppendSlash(slashed);
    CSEUtil::AppendSlash(slashed);
    EXPECT_EQ(slashed, u"/work/");
    EXPECT_EQ(CSEUtil::RemoveTrailingSlashes(u"/work/dir///"), u"/work/dir");
    EXPECT_EQ(CSEUtil::RemoveTrailingSlashes(u"/"), u"/");
    EXPECT_EQ(CSEUtil::RemoveTrailingSlashes(u""), u"");
    EXPECT_EQ(U8(CSEUtil::GetInstallationFolder(u"ignored")), m_folder);
    EXPECT_EQ(U8(CSEUtil::GetEnvVariableValue(u"QX_DRAVIK_INSTALL_DIR")), m_folder);
}

TEST_F(Util, RealPathsNormaliseAndResolveLinks)
{
    ASSERT_TRUE(dvk::CreateDirectories(PathOf("real/sub")));
    ASSERT_EQ(symlink(PathOf("real").c_str(), PathOf("link").c_str()), 0);
    CSEString out(u"stale");
    EXPECT_EQ(CSEUtil::GetRealPath(CSEString(PathOf("link/sub/../sub/").c_str()), out), 0);
    std::string expected;
    ASSERT_TRUE(dvk::GetRealPath(PathOf("real/sub"), expected));
    EXPECT_EQ(CSEUtil::RemoveTrailingSlashes(out), CSEString(expected.c_str()));
    EXPECT_EQ(CSEUtil::GetRealPath(u"", out), 1);
    EXPECT_EQ(out, u"");

    CSEObjectInfo object;
    object.dirName = CSEString(PathOf("link").c_str());
    EXPECT_EQ(CSEUtil::FormatDirNameForWKC(object, out), 0);
    EXPECT_EQ(U8(out).find("/link"), std::string::npos);
    object.dirName.clear();
    EXPECT_EQ(CSEUtil::FormatDirNameForWKC(object, out), 1);
    EXPECT_EQ(out, u"");
}

TEST_F(Util, FileOperations)
{
    const CSEString source(PathOf("source.xml").c_str());
    const CSEString target(PathOf("target.xml").c_str());
    std::ofstream(PathOf("source.xml")) << "new";
    std::ofstream(PathOf("target.xml")) << "old";

    EXPECT_FALSE(CSEUtil::CopyFileW(source, target, 1));
    EXPECT_EQ(ReadFile("target.xml"), "old");
    EXPECT_TRUE(CSEUtil::CopyFileW(source, target, 0));
    EXPECT_EQ(ReadFile("target.xml"), "new");
    EXPECT_FALSE(CSEUtil::CopyFileW(CSEString(PathOf("missing").c_str()), target, 0));

    EXPECT_TRUE(CSEUtil::CreateDirectoryW(CSEString(PathOf("XmlDump").c_str())));
    EXPECT_TRUE(CSEUtil::doesFileExist(CSEString(PathOf("XmlDump").c_str())));

    EXPECT_TRUE(CSEUtil::CreateNewFile(target));
    EXPECT_EQ(ReadFile("target.xml"), "new");
    EXPECT_TRUE(CSEUtil::CreateNewFile(CSEString(PathOf("fresh.html").c_str())));
    EXPECT_TRUE(Exists("fresh.html"));
    EXPECT_FALSE(CSEUtil::CreateNewFile(CSEString(PathOf("no/such/dir/f").c_str())));

    EXPECT_EQ(CSEUtil::DeleteFileFromDisk(target), 0);
    EXPECT_FALSE(CSEUtil::doesFileExist(target));
    EXPECT_EQ(CSEUtil::DeleteFileFromDisk(target), 1);
}

TEST_F(Util, FolderContentIsCopiedWithSubFolders)
{
    ASSERT_TRUE(dvk::CreateDirectories(PathOf("from/sub")));
    std::ofstream(PathOf("from/a.prt")) << "a";
    std::ofstream(PathOf("from/sub/b.prt")) << "b";
    std::ofstream(PathOf("to.prt")) << "x";
    ASSERT_TRUE(dvk::CreateDirectories(PathOf("to")));
    std::ofstream(PathOf("to/a.prt")) << "old";

    EXPECT_TRUE(CSEUtil::CopyDirectoryContent(CSEString(PathOf("from").c_str()),
                                              CSEString(PathOf("to").c_str())));
    EXPECT_EQ(ReadFile("to/a.prt"), "a");
    EXPECT_EQ(ReadFile("to/sub/b.prt"), "b");
    EXPECT_FALSE(CSEUtil::CopyDirectoryContent(CSEString(PathOf("from").c_str()),
                                               CSEString(PathOf("from/sub/copy").c_str())));
    EXPECT_FALSE(Exists("from/sub/copy"));
    EXPECT_FALSE(CSEUtil::CopyDirectoryContent(CSEString(PathOf("missing").c_str()),
                                               CSEString(PathOf("to").c_str())));
}

// ---- Name limits ----

TEST(UtilLimits, PathPartsAreMeasuredInUtf8Bytes)
{
    const std::u16string folder = u"/" + std::u16string(100, u'd');  // 101 bytes
    const std::u16string exact = folder + u"/" + std::u16string(154, u'f');  // 256 bytes
    EXPECT_TRUE(CSEUtil::CheckFileNameForMaxLength(CSEString(exact.c_str())));
    EXPECT_FALSE(CSEUtil::CheckFileNameForMaxLength(CSEString((exact + u"f").c_str())));
    // 128 two-byte letters are 256 bytes; one more is too long.
    const std::u16string name(128, u'\u00fc');
    EXPECT_TRUE(CSEUtil::CheckFileNameForMaxLength(CSEString(name.c_str())));
    EXPECT_FALSE(CSEUtil::CheckFileNameForMaxLength(CSEString((name + u"x").c_str())));
    EXPECT_FALSE(
        CSEUtil::CheckFileNameForMaxLength(CSEString((u"/" + std::u16string(257, u'd') + u"/f").c_str())));
    EXPECT_FALSE(CSEUtil::CheckFileNameForMaxLength(u""));
}

TEST(UtilLimits, ObjectBaseNameMustBeShorterThan128Bytes)
{
    EXPECT_TRUE(CSEUtil::CheckObjNameForRLXLength(CSEString((std::u16string(127, u'b') + u".prt").c_str())));
    EXPECT_FALSE(CSEUtil::CheckObjNameForRLXLength(CSEString((std::u16string(128, u'b') + u".prt").c_str())));
    EXPECT_FALSE(CSEUtil::CheckObjNameForRLXLength(CSEString((std::u16string(64, u'\u00fc') + u".prt").c_str())));
    EXPECT_FALSE(CSEUtil::CheckObjNameForRLXLength(u".prt"));
    EXPECT_FALSE(CSEUtil::CheckObjNameForRLXLength(u""));
}

// ---- Versions ----

TEST(UtilVersions, ReleaseYearsAndSecondReleases)
{
    EXPECT_FALSE(CSEUtil::IsVersionEqualOrLater(u"10.7.SP1", u"2010", -1));
    EXPECT_FALSE(CSEUtil::IsVersionEqualOrLater(u"10-8", u"2008", 2));
    EXPECT_TRUE(CSEUtil::IsVersionEqualOrLater(u"QTL2010", u"2010", -1));
    EXPECT_TRUE(CSEUtil::IsVersionEqualOrLater(u"qtl2012", u"2011", -1));
    EXPECT_FALSE(CSEUtil::IsVersionEqualOrLater(u"QTL2009x", u"2010", -1));
    EXPECT_FALSE(CSEUtil::IsVersionEqualOrLater(u"QTL2010", u"2010x", -1));
    EXPECT_TRUE(CSEUtil::IsVersionEqualOrLater(u"QTL2010x", u"2010x", -1));
    EXPECT_TRUE(CSEUtil::IsVersionEqualOrLater(u"QTL2010x", u"2010", -1));
    EXPECT_FALSE(CSEUtil::IsVersionEqualOrLater(u"QTL20", u"2010", -1));
    EXPECT_FALSE(CSEUtil::IsVersionEqualOrLater(u"", u"2010", -1));
    EXPECT_FALSE(CSEUtil::IsVersionEqualOrLater(u"unknown", u"2010", -1));
}

TEST(UtilVersions, MinorNumbersOfTheSameYear)
{
    EXPECT_TRUE(CSEUtil::IsVersionEqualOrLater(u"QTL2008-2", u"2008", 2));
    EXPECT_TRUE(CSEUtil::IsVersionEqualOrLater(u"QTL2008-3.1", u"2008", 2));
    EXPECT_FALSE(CSEUtil::IsVersionEqualOrLater(u"QTL2008-1.9", u"2008", 2));
    EXPECT_FALSE(CSEUtil::IsVersionEqualOrLater(u"QTL2008", u"2008", 2));
    EXPECT_TRUE(CSEUtil::IsVersionEqualOrLater(u"QTL2009", u"2008", 2));
}

TEST(UtilVersions, ReleaseNumbersInYearForm)
{
    CSEString year;
    EXPECT_FALSE(CSEUtil::GetVersioninYearFormat(u"R206", year));
    EXPECT_FALSE(CSEUtil::GetVersioninYearFormat(u"R2x", year));
    const std::vector<std::pair<const char16_t*, const char16_t*>> cases = {
        {u"R207", u"2010"}, {u"r208", u"2010x"}, {u"R209", u"2011"}, {u"V6R210", u"2011x"},
        {u"R215", u"2014"}};
    for (const auto& c : cases) {
        EXPECT_TRUE(CSEUtil::GetVersioninYearFormat(c.first, year)) << U8(c.first);
        EXPECT_EQ(year, c.second) << U8(c.first);
    }
    EXPECT_TRUE(CSEUtil::IsVersionEqualOrLater(u"R207", u"2010", -1));
    EXPECT_FALSE(CSEUtil::IsVersionEqualOrLater(u"R207", u"2010x", -1));
    // The release number need not stand at the start of the text.
    EXPECT_TRUE(CSEUtil::IsVersionEqualOrLater(u"V6R208", u"2010x", -1));
    EXPECT_FALSE(CSEUtil::IsVersionEqualOrLater(u"V6R206", u"2010", -1));
}

TEST(UtilVersionsDeathTest, CallerErrorsAreFatal)
{
    EXPECT_DEATH(CSEUtil::IsVersionEqualOrLater(u"QTL2010", u"year", -1),
                 "AssertionFailed:iConvertYear != -1");
    EXPECT_DEATH(CSEUtil::IsVersionEqualOrLater(u"QTL2010", u"2010", 1),
                 "AssertionFailed:iMinorVersion == -1");
}

// ---- Global settings ----

namespace {

class FakeSettings : public CSEGlobalSettingsView
{
public:
    CSEWrapperStringVector GetCSEDisabledCommandsList() const override { return m_disabled; }
    CSEWrapperStringVector GetDvkPreventTypeCheckinOptions() const override { return m_prevented; }
    CSEWrapperStringVector GetDvkExcludeTypesListOptions() const override { return m_excluded; }
    CSEWrapperStringVector GetBusTypes(const CSEString& cadType) const override
    {
        CSEWrapperStringVector types;
        if (cadType == u"Part") {
            types.push_back(u"CAD Model");
            types.push_back(u"Component");
        }
        return types;
    }
    CSEWrapperStringVector GetTypeDerivedOutputMapping(const CSEString& name) const override
    {
        CSEWrapperStringVector types;
        if (name == u"TYPE_DERIVEDOUTPUT_LIKE")
            types.push_back(u"pdf");
        return types;
    }
    CSEString GetDvkDerivedOutputOption(const CSEString& type) const override
    {
        return type == u"pdf" ? u"yes" : type == u"step" ? u"Yes" : u"";
    }
    CSEString GetCSETypetoCADAttributeMapping(const CSEString& type) const override
    {
        return type == u"Part" ? u"PART_NUMBER" : u"";
    }
    CSEString GetServerComponentVersion(const CSEString& component) const override
    {
        return component == u"framework" ? u"qtl2008-2" : u"";
    }
    bool IsFilenameValid(const CSEString& name) const override { return name.find(u"#") < 0; }

    CSEWrapperStringVector m_disabled;
    CSEWrapperStringVector m_prevented;
    CSEWrapperStringVector m_excluded;
};

FakeSettings* g_pFakeSettings = nullptr;

const CSEGlobalSettingsView* FakeProvider()
{
    return g_pFakeSettings;
}

class UtilSettings : public Util
{
protected:
    void SetUp() override
    {
        Util::SetUp();
        g_pFakeSettings = &m_settings;
        CSESetGlobalSettingsProvider(&FakeProvider);
    }
    void TearDown() override
    {
        CSESetGlobalSettingsProvider(nullptr);
        g_pFakeSettings = nullptr;
        Util::TearDown();
    }
    FakeSettings m_settings;
};

} // namespace

TEST_F(Util, WithoutGlobalSettingsEveryLookupAnswersNobodyLoggedIn)
{
    CSESetGlobalSettingsProvider(nullptr);
    CSEString attribute(u"kept");
    EXPECT_TRUE(CSEUtil::IsCommandEnabled(u"checkin"));
    EXPECT_FALSE(CSEUtil::IsCadTypePreventedFromCheckin(u"Part"));
    EXPECT_FALSE(CSEUtil::IsCadTypeExcludedFromCheckin(u"Part"));
    EXPECT_FALSE(CSEUtil::IsCadObjTypeDerivedOutput(u"pdf"));
    EXPECT_FALSE(CSEUtil::IsDerivedOutputDeleteOnCheckin(u"pdf"));
    EXPECT_EQ(CSEUtil::GetServerVersionsString(u"framework"), u"");
    EXPECT_FALSE(CSEUtil::IsPNGViewableSupported());
    EXPECT_FALSE(CSEUtil::ValidateFilename(u"gear.prt"));
    EXPECT_FALSE(CSEUtil::IsQxTypeValid(u"Part", u"CAD Model"));
    EXPECT_FALSE(CSEUtil::GetCADAttributeMappedToCSEType(u"Part", attribute));
    EXPECT_EQ(attribute, u"kept");
}

TEST_F(UtilSettings, DisabledCommandsCompareWithoutCase)
{
    m_settings.m_disabled.push_back(u"CHECKIN");
    EXPECT_FALSE(CSEUtil::IsCommandEnabled(u"checkin"));
    EXPECT_FALSE(CSEUtil::IsCommandEnabled(u"CheckIn"));
    EXPECT_TRUE(CSEUtil::IsCommandEnabled(u"checkout"));
}

TEST_F(UtilSettings, TypeListsCompareExactlyAndLogHits)
{
    m_settings.m_prevented.push_back(u"Drawing");
    m_settings.m_excluded.push_back(u"Sketch");
    EXPECT_TRUE(CSEUtil::IsCadTypePreventedFromCheckin(u"Drawing"));
    EXPECT_FALSE(CSEUtil::IsCadTypePreventedFromCheckin(u"drawing"));
    EXPECT_TRUE(CSEUtil::IsCadTypeExcludedFromCheckin(u"Sketch"));
    EXPECT_FALSE(CSEUtil::IsCadTypeExcludedFromCheckin(u"Drawing"));
    EXPECT_TRUE(Logged("<5>"));
    EXPECT_TRUE(Logged(
        "[CSEUtil::IsCadTypePreventedFromCheckin] The TypeDrawingexists in the prevented types list"));
    EXPECT_TRUE(Logged(
        "[CSEUtil::IsCadTypeExcludedFromCheckin] The TypeSketchexists in the excluded types list"));
    EXPECT_TRUE(CSEUtil::IsCadObjTypeDerivedOutput(u"pdf"));
    EXPECT_FALSE(CSEUtil::IsCadObjTypeDerivedOutput(u"PDF"));
    EXPECT_TRUE(CSEUtil::IsDerivedOutputDeleteOnCheckin(u"pdf"));
    EXPECT_FALSE(CSEUtil::IsDerivedOutputDeleteOnCheckin(u"step"));
    EXPECT_TRUE(CSEUtil::IsQxTypeValid(u"Part", u"Component"));
    EXPECT_FALSE(CSEUtil::IsQxTypeValid(u"Part", u"component"));
    CSEString attribute;
    EXPECT_TRUE(CSEUtil::GetCADAttributeMappedToCSEType(u"Part", attribute));
    EXPECT_EQ(attribute, u"PART_NUMBER");
    EXPECT_FALSE(CSEUtil::GetCADAttributeMappedToCSEType(u"Drawing", attribute));
}

TEST_F(UtilSettings, VersionsAndFileNames)
{
    EXPECT_EQ(CSEUtil::GetServerVersionsString(u"FrameWork"), u"qtl2008-2");
    EXPECT_TRUE(CSEUtil::IsPNGViewableSupported());
    EXPECT_TRUE(CSEUtil::ValidateFilename(u"gear.prt"));
    EXPECT_FALSE(CSEUtil::ValidateFilename(u"gear#1.prt"));
    EXPECT_TRUE(Logged("<3>"));
    EXPECT_TRUE(Logged("[CSEUtil::ValidateFilename]:UnSupported characters found in the filename. "
                       "Throwing exception"));
}

// ---- User-exit part record ----

namespace {

cad_part_struct FilledRecord()
{
    cad_part_struct part;
    std::memset(&part, 'z', sizeof part);
    return part;
}

CSEObjectInfo PartObject()
{
    CSEObjectInfo object;
    object.dirName = u"/work";
    object.fileName = u"gear.prt";
    object.cadId = u"id-1";
    object.busType = u"CAD Model";
    object.qxVersion = u"A.1";
    return object;
}

} // namespace

TEST_F(Util, PartRecordTakesTheObjectTexts)
{
    cad_part_struct part = FilledRecord();
    ASSERT_TRUE(CSEUtil::GetCAD_PARTfromObjectInfo(part, PartObject()));
    EXPECT_STREQ(part.file_name, "gear.prt");
    EXPECT_STREQ(part.object_id, "id-1");
    EXPECT_STREQ(part.server_type, "CAD Model");
    EXPECT_STREQ(part.server_version, "A.1");
    EXPECT_EQ(std::memcmp(&part.reserved, "zzzz", 4), 0);
    EXPECT_TRUE(Logged("CSEUtil::GetCAD_PARTfromObjectInfo:: exiting"));
}

TEST_F(Util, PartRecordRefusesAnEmptyOrBackslashFileName)
{
    for (const char16_t* name : {u"", u"\\"}) {
        CSEObjectInfo object = PartObject();
        object.fileName = name;
        cad_part_struct part = FilledRecord();
        EXPECT_FALSE(CSEUtil::GetCAD_PARTfromObjectInfo(part, object));
        EXPECT_EQ(part.file_name, U8(CSEString(name)));
        EXPECT_EQ(part.object_id[0], 'z');
        EXPECT_EQ(part.server_type[0], 'z');
        EXPECT_EQ(part.server_version[0], 'z');
    }
    EXPECT_TRUE(Logged("CSEUtil::GetCAD_PARTfromObjectInfo::Error :Either the filename or the "
                       "dirname is blank"));
}

TEST_F(Util, PartRecordRefusesATextThatDoesNotFitItsField)
{
    CSEObjectInfo longest = PartObject();
    longest.fileName = CSEString(std::u16string(132, u'f').c_str());
    longest.qxVersion = CSEString(std::u16string(18, u'v').c_str());
    cad_part_struct part = FilledRecord();
    EXPECT_TRUE(CSEUtil::GetCAD_PARTfromObjectInfo(part, longest));
    EXPECT_EQ(std::strlen(part.file_name), 132u);

    const auto tooLong = [](CSEString CSEObjectInfo::*field, int units) {
        CSEObjectInfo object = PartObject();
        object.*field = CSEString(std::u16string(units, u'\u00e9').c_str());  // 2 bytes each
        return object;
    };
    const std::vector<CSEObjectInfo> refused = {
        tooLong(&CSEObjectInfo::fileName, 67), tooLong(&CSEObjectInfo::qxVersion, 10),
        tooLong(&CSEObjectInfo::cadId, 40), tooLong(&CSEObjectInfo::busType, 40)};
    for (const CSEObjectInfo& object : refused) {
        cad_part_struct before = FilledRecord();
        cad_part_struct after = before;
        EXPECT_FALSE(CSEUtil::GetCAD_PARTfromObjectInfo(after, object));
        EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
    }
    EXPECT_TRUE(Logged("<3>"));
    EXPECT_TRUE(Logged("CSEUtil::GetCAD_PARTfromObjectInfo::Error :The bustype does not fit"));
}

// ---- Registry ----

TEST(UtilRegistry, EveryKeyReadsAsNotFound)
{
    CSEString value(u"stale");
    EXPECT_FALSE(CSEUtil::GetRegistryKeyValue(u"SOFTWARE\\Vendor", u"InstallDir", value));
    EXPECT_EQ(value, u"");
    EXPECT_FALSE(CSEUtil::SetRegistryKeyValue(u"SOFTWARE\\Vendor", u"InstallDir", u"x"));
}
