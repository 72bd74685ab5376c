// Behaviour of CSEUtil: texts, files, request envelopes, versions, limits and part record (the
// look-ups in the global settings are tested after a real login, in the integration tests).
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <climits>
#include <cstring>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "CSEClientSettings.h"
#include "CSEObjectInfo.h"
#include "CSEUtil.h"
#include "cad_part_struct.h"
#include "common/StrictXml.h"
#include "support/InstallFolderFixture.h"

namespace {

std::string U8(const CSEString& text)
{
    return text().ToUTF8();
}

CSEString Repeated(int count, char16_t unit, const std::u16string& tail = u"")
{
    return CSEString((std::u16string(count, unit) + tail).c_str());
}

pugi::xml_node ParsedRoot(pugi::xml_document& document, const CSEString& text)
{
    const pugi::xml_parse_result result = document.load_string(U8(text).c_str());
    EXPECT_TRUE(result) << result.description() << " in " << U8(text);
    return document.document_element();
}

// An installation folder with the main log on at debug level.
class Util : public InstallFolderFixture
{
protected:
    void SetUp() override
    {
        InstallFolderFixture::SetUp();
        UseClientSettings();
    }
    CSEString In(const std::string& name) const { return CSEString(PathOf(name).c_str()); }
};

} // namespace

// ---- Text ----

TEST(UtilText, ConversionsNumbersAndEscapes)
{
    const CSEString text(u"Gr\u00fc\u00dfe \U0001D11E");  // 2-byte letters and a surrogate pair
    char* bytes = nullptr;
    EXPECT_EQ(CSEUtil::getMultiByteFromCSEString(text, &bytes), 12);
    ASSERT_NE(bytes, nullptr);
    EXPECT_STREQ(bytes, "Gr\xc3\xbc\xc3\x9f" "e \xf0\x9d\x84\x9e");
    CSEString back(u"old");
    EXPECT_EQ(CSEUtil::getCSEStringFromMultiByte(bytes, back), 8);
    EXPECT_EQ(back, text);
    delete[] bytes;
    EXPECT_EQ(CSEUtil::getCSEStringFromMultiByte(nullptr, back), 0);
    EXPECT_EQ(back, u"");

    EXPECT_EQ(CSEUtil::getIntFromCSEString(u"  -7abc"), -7);
    EXPECT_EQ(CSEUtil::getIntFromCSEString(u"abc"), 0);
    EXPECT_EQ(CSEUtil::getIntFromCSEString(u"99999999999999999999"), INT_MAX);
    EXPECT_EQ(CSEUtil::GetPortNumberFromUrl(u"http://h/app?x=1&appletPort=8123&y=2"), 8123);
    EXPECT_EQ(CSEUtil::GetPortNumberFromUrl(u"http://h/app?appletport=8123"), -1);
    EXPECT_EQ(CSEUtil::GetPortNumberFromUrl(u"http://h/app?appletPort=x"), 0);
    EXPECT_EQ(CSEUtil::XMLEscape(u"\r\n"), u"&#13;&#10;") << "line ends survive attribute normalisation";
    CSEString extension(u"kept");
    EXPECT_FALSE(CSEUtil::IsDerivedOutputTypeUserDefined(u"pdf", extension));
    EXPECT_EQ(extension, u"kept");
    EXPECT_TRUE(CSEUtil::IsDerivedOutputTypeUserDefined(u"userfile_pdf", extension));
    EXPECT_EQ(extension, u".pdf");
}

TEST(UtilText, NamesCompareWithoutCaseInEveryScript)
{
    const std::u16string loneHigh(1, char16_t(0xD801));
    const struct
    {
        std::u16string first;
        std::u16string second;
        bool same;
    } cases[] = {
        {u"CheckIn", u"checkin", true},
        {u"\u0141\u00F3d\u017A.prt", u"\u0142\u00F3d\u017A.PRT", true},
        {u"\u0130zm\u0130r", u"izmir", true},
        {u"\U00010400.prt", u"\U00010428.PRT", true},
        {u"\U00010400", u"\U00010401", false},
        {loneHigh + u"A", loneHigh + u"a", true},
        {loneHigh + u"x", u"\U00010428", false}, // a lone surrogate is not half of a pair
        {u"gear", u"gears", false},
    };
    for (const auto& c : cases) {
        const CSEString first{DVKUnicodeString(c.first)};
        const CSEString second{DVKUnicodeString(c.second)};
        EXPECT_EQ(CSEUtil::StrCompareNoCase(first, second), c.same ? 1 : 0) << U8(first) << " " << U8(second);
    }
    CSEWrapperStringVector list;
    list.push_back(u"Gear.prt");
    list.push_back(u"\u0141\u00D3D\u0179.PRT");
    EXPECT_EQ(CSEUtil::CSEStringVectorLookup(list, u"\u0142\u00F3d\u017A.prt", 0), 1);
    EXPECT_EQ(CSEUtil::CSEStringVectorLookup(list, u"\u0142\u00F3d\u017A.prt", 1), -1);
    EXPECT_EQ(CSEUtil::CSEStringVectorLookup(list, u"Gear.prt", 1), 0);
    EXPECT_EQ(CSEUtil::CSEStringVectorLookup(list, u"drawing", 0), -1);
}

TEST(UtilText, TokenizerSplitsAtEverySeparatorAndSkipsEmptyTokens)
{
    CSEWrapperStringVector out;
    EXPECT_EQ(CSEUtil::GetTokenizedArray(u"a|b,c", u",|", out), 3);
    EXPECT_EQ(CSEUtil::GetTokenizedArray(u",x,,|y|", u",|", out), 2);
    EXPECT_EQ(CSEUtil::GetTokenizedArray(u",,,", u",", out), 0);
    EXPECT_EQ(CSEUtil::GetTokenizedArray(u"", u",", out), 0);
    EXPECT_EQ(CSEUtil::GetTokenizedArray(u"a,b", u"", out), 0);
    std::vector<std::string> tokens;
    for (int i = 0; i < out.Size(); ++i)
        tokens.push_back(U8(out[i]));
    EXPECT_EQ(tokens, (std::vector<std::string>{"a", "b", "c", "x", "y"})) << "appended to what was there";

    std::u16string many;
    for (int i = 0; i < 100000; ++i)
        many += u"tok,";
    out.clear();
    EXPECT_EQ(CSEUtil::GetTokenizedArray(CSEString(many.c_str()), u",", out), 100000);
    EXPECT_EQ(out.Size(), 100000);
}

// ---- Request texts ----

TEST_F(Util, CommandEnvelopeHasTheIdentityInOrderAndTheUserNameForLogin)
{
    const std::string identity = "<?xml version='1.0'?><command cname='checkin' iid='" +
                                 std::to_string(getpid()) +
                                 "' cse='QxDravikV5' addn='abc' ver='10.7.SP1' csever='" +
                                 U8(CSEUtil::GetCSEVersion()) + "'";
    EXPECT_EQ(U8(CSEUtil::CSEGetCmdHeaderString(u"checkin", false)),
              identity + " focusbrowser='false' loglevel='4'/>");
    const struct passwd* user = getpwuid(geteuid());
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(U8(CSEUtil::GetCurrentUserName()), user->pw_name);
    const std::string tail = "' username='" + std::string(user->pw_name) + "' focusbrowser='true' loglevel='4'/>";
    for (const char16_t* name : {u"login", u"loginEx"}) {
        const std::string header = U8(CSEUtil::CSEGetCmdHeaderString(name, true));
        ASSERT_GE(header.size(), tail.size());
        EXPECT_EQ(header.substr(header.size() - tail.size()), tail);
    }
    EXPECT_EQ(U8(CSEUtil::CSEGetCmdHeaderString(u"Login", false)).find("username"), std::string::npos);
}

TEST_F(Util, EnvelopesWithMarkupInTheirValuesStayWellFormedAndReadBack)
{
    UseClientSettings("compatiblewkcversion=QTL2011x & 'beta' <\"rc\">\n");
    const std::string ver = "QTL2011x & 'beta' <\"rc\">";
    const CSEString name(DVKUnicodeString(std::u16string(u"lql'\"&<>\ttab\x01\uFFFF\0\xD800", 16)));
    const std::string nameRead = U8(u"lql'\"&<>\ttab\uFFFD\uFFFD\uFFFD\uFFFD");
    const CSEString commandText = CSEUtil::CSEGetCmdHeaderString(name, true);
    const CSEString responseText = CSEUtil::CSEGetResponseHeaderString(name, false);
    pugi::xml_document command;
    pugi::xml_node root = ParsedRoot(command, commandText);
    EXPECT_EQ(root.attribute("cname").value(), nameRead);
    EXPECT_EQ(root.attribute("ver").value(), ver);
    pugi::xml_document response;
    root = ParsedRoot(response, responseText);
    EXPECT_STREQ(root.attribute("result").value(), "success");
    EXPECT_EQ(root.attribute("cname").value(), nameRead);
    EXPECT_TRUE(root.attribute("username").empty());

    const std::string folder = m_folder + "/Smith & O'Neil <\"work\">";
    const CSEString request =
        CSEUtil::CSEGetRequestCmdString(CSEString((folder + "\x1F").c_str()), u"QxRequest.xml");
    pugi::xml_document thin;
    root = ParsedRoot(thin, request);
    std::vector<std::string> attributes;
    for (pugi::xml_attribute attribute : root.attributes())
        attributes.push_back(std::string(attribute.name()) + "=" + attribute.value());
    EXPECT_EQ(attributes, (std::vector<std::string>{"dirname=" + folder + "\uFFFD", "filename=QxRequest.xml",
                                                    "ver=" + ver, "csever=" + U8(CSEUtil::GetCSEVersion())}));
    // The service reads them with a strict parser.
    EXPECT_EQ(StrictXmlErrors({U8(commandText), U8(responseText), U8(request)}), std::vector<std::string>(3));
}

// ---- Files and folders ----

TEST_F(Util, SaveXmlWritesAnOwnerOnlyUtf8FileAndLeavesNoStaleOneOnFailure)
{
    CSEUtil::SaveXML(u"QxRequest.xml", u"<a/>");
    EXPECT_EQ(U8(CSEUtil::SaveXML(u"QxRequest.xml", u"<command cname='\u00e9'/>")), PathOf("QxRequest.xml"));
    EXPECT_EQ(ReadFile("QxRequest.xml"), "<command cname='\xc3\xa9'/>");
    struct stat info;
    ASSERT_EQ(stat(PathOf("QxRequest.xml").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u) << "a request may carry a password";

    // An empty folder in the file's place: the write fails, the stale entry is removed.
    ASSERT_EQ(mkdir(PathOf("sent.xml").c_str(), 0755), 0);
    CSEUtil::SaveXML(u"sent.xml", u"<command/>");
    EXPECT_FALSE(Exists("sent.xml"));
}

TEST_F(Util, SaveXmlNeverWritesOutsideTheInstallationFolder)
{
    // The folder's parent is the temporary folder; a write that escapes lands there (or in "/").
    const std::string escaped = "qorvi-escaped-" + std::to_string(getpid()) + ".xml";
    const std::string parent = m_folder.substr(0, m_folder.rfind('/'));
    for (const std::string& name : {"../" + escaped, "sub/../../" + escaped, std::string(".."), std::string()}) {
        EXPECT_TRUE(CSEUtil::SaveXML(CSEString(name.c_str()), u"<r/>")().IsEmpty()) << name;
        EXPECT_FALSE(dvk::PathExists(parent + "/" + escaped)) << name;
        dvk::DeleteFile(parent + "/" + escaped);
    }
    EXPECT_EQ(MainLogPriorityOf(escaped), 3);
    EXPECT_EQ(U8(CSEUtil::SaveXML(u"a..b.xml", u"<r/>")), PathOf("a..b.xml")) << "a mere double dot";

    unsetenv("QX_DRAVIK_INSTALL_DIR");
    EXPECT_TRUE(CSEUtil::SaveXML(CSEString(escaped.c_str()), u"<r/>")().IsEmpty());
    EXPECT_FALSE(dvk::PathExists("/" + escaped)) << "no folder is no reason to write to the root";
    dvk::DeleteFile("/" + escaped);
}

TEST_F(Util, PathPartsAndRealFolderNames)
{
    CSEString dir;
    CSEString file;
    CSEUtil::GetFileNameNDir(u"/work/a.b/gear.v2.prt", dir, file);
    EXPECT_EQ(dir, u"/work/a.b");
    EXPECT_EQ(file, u"gear.v2.prt");
    const CSEString path(u"/work/a.b/gear.v2.prt");
    const std::vector<const char16_t*> details = {path().Data(), u"/work/a.b", u"gear.v2.prt", u"gear.v2", u"prt", u""};
    for (int detail = 0; detail < 6; ++detail)
        EXPECT_EQ(CSEUtil::GetFileDetail(path, detail), details[detail]) << detail;
    EXPECT_EQ(CSEUtil::GetFileDetail(u"/work/a.b/gear", 4), u"");
    EXPECT_EQ(CSEUtil::GetFileDetail(u"", 2), u"");
    EXPECT_EQ(CSEUtil::ExtractBaseNameFromFileName(u"gear.v2.prt"), DVKUnicodeString(u"gear.v2"));

    CSEString slashed(u"/work");
    CSEUtil::AppendSlash(slashed);
    CSEUtil::AppendSlash(slashed);
    EXPECT_EQ(slashed, u"/work/");
    EXPECT_EQ(CSEUtil::RemoveTrailingSlashes(u"/work/dir///"), u"/work/dir");
    EXPECT_EQ(CSEUtil::RemoveTrailingSlashes(u"/"), u"/");

    // Requests name the real folder, not a link to it.
    ASSERT_TRUE(dvk::CreateDirectories(PathOf("real/sub")));
    ASSERT_EQ(symlink(PathOf("real").c_str(), PathOf("link").c_str()), 0);
    std::string expected;
    ASSERT_TRUE(dvk::GetRealPath(PathOf("real/sub"), expected));
    CSEObjectInfo object;
    object.dirName = In("link/sub/../sub");
    CSEString out(u"stale");
    EXPECT_EQ(CSEUtil::FormatDirNameForWKC(object, out), 0);
    EXPECT_EQ(out, CSEString(expected.c_str()));
    object.dirName.clear();
    EXPECT_EQ(CSEUtil::FormatDirNameForWKC(object, out), 1);
    EXPECT_EQ(out, u"");
}

TEST_F(Util, FileAndFolderOperations)
{
    std::ofstream(PathOf("source.xml")) << "new";
    std::ofstream(PathOf("target.xml")) << "old";
    EXPECT_FALSE(CSEUtil::CopyFileW(In("source.xml"), In("target.xml"), 1));
    EXPECT_EQ(ReadFile("target.xml"), "old");
    EXPECT_TRUE(CSEUtil::CopyFileW(In("source.xml"), In("target.xml"), 0));
    EXPECT_EQ(ReadFile("target.xml"), "new");
    EXPECT_FALSE(CSEUtil::CopyFileW(In("missing"), In("target.xml"), 0));

    EXPECT_TRUE(CSEUtil::CreateNewFile(In("target.xml")));
    EXPECT_EQ(ReadFile("target.xml"), "new") << "an existing file is kept";

    ASSERT_TRUE(dvk::CreateDirectories(PathOf("from/sub")));
    std::ofstream(PathOf("from/a.prt")) << "a";
    std::ofstream(PathOf("from/sub/b.prt")) << "b";
    ASSERT_TRUE(CSEUtil::CreateDirectoryW(In("to")));
    std::ofstream(PathOf("to/a.prt")) << "old";
    EXPECT_TRUE(CSEUtil::CopyDirectoryContent(In("from"), In("to")));
    EXPECT_EQ(ReadFile("to/a.prt"), "a");
    EXPECT_EQ(ReadFile("to/sub/b.prt"), "b");
    EXPECT_FALSE(CSEUtil::CopyDirectoryContent(In("from"), In("from/sub/copy")));
    EXPECT_FALSE(Exists("from/sub/copy"));
    EXPECT_FALSE(CSEUtil::CopyDirectoryContent(In("missing"), In("to")));
}

// ---- Name limits ----

TEST(UtilLimits, PathPartsAndBaseNamesAreMeasuredInUtf8Bytes)
{
    const CSEString exact = Repeated(100, u'd', u"/" + std::u16string(154, u'f'));  // 256 bytes
    EXPECT_TRUE(CSEUtil::CheckFileNameForMaxLength(CSEString(u"/") + exact));
    EXPECT_FALSE(CSEUtil::CheckFileNameForMaxLength(CSEString(u"/") + exact + u"f"));
    // 128 two-byte letters are 256 bytes; one more is too long.
    EXPECT_TRUE(CSEUtil::CheckFileNameForMaxLength(Repeated(128, u'\u00fc')));
    EXPECT_FALSE(CSEUtil::CheckFileNameForMaxLength(Repeated(128, u'\u00fc', u"x")));
    EXPECT_FALSE(CSEUtil::CheckFileNameForMaxLength(Repeated(257, u'd', u"/f")));
    EXPECT_FALSE(CSEUtil::CheckFileNameForMaxLength(u""));

    EXPECT_TRUE(CSEUtil::CheckObjNameForRLXLength(Repeated(127, u'b', u".prt")));
    EXPECT_FALSE(CSEUtil::CheckObjNameForRLXLength(Repeated(128, u'b', u".prt")));
    EXPECT_FALSE(CSEUtil::CheckObjNameForRLXLength(Repeated(64, u'\u00fc', u".prt")));
    EXPECT_FALSE(CSEUtil::CheckObjNameForRLXLength(u".prt"));
}

// ---- Versions ----

TEST(UtilVersions, ReleaseYearsSecondReleasesAndMinors)
{
    const struct
    {
        const char16_t* version;
        const char16_t* year;
        int minor;
        bool later;
    } cases[] = {
        {u"10.7.SP1", u"2010", -1, false}, {u"10-8", u"2008", 2, false},
        {u"QTL2010", u"2010", -1, true},   {u"qtl2012", u"2011", -1, true},
        {u"QTL2009x", u"2010", -1, false}, {u"QTL2010", u"2010x", -1, false},
        {u"QTL2010x", u"2010x", -1, true}, {u"QTL2010x", u"2010", -1, true},
        {u"QTL20", u"2010", -1, false},    {u"", u"2010", -1, false},
        {u"unknown", u"2010", -1, false},  {u"QTL2008-2", u"2008", 2, true},
        {u"QTL2008-3.1", u"2008", 2, true}, {u"QTL2008-1.9", u"2008", 2, false},
        {u"QTL2008", u"2008", 2, false},   {u"QTL2009", u"2008", 2, true},
        {u"R207", u"2010", -1, true},      {u"R207", u"2010x", -1, false},
        // The release number need not stand at the start of the text.
        {u"V6R208", u"2010x", -1, true},   {u"V6R206", u"2010", -1, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CSEUtil::IsVersionEqualOrLater(c.version, c.year, c.minor) != 0, c.later)
            << U8(c.version) << " against " << U8(c.year) << " minor " << c.minor;
    }
    const std::vector<std::pair<const char16_t*, const char16_t*>> forms = {
        {u"R207", u"2010"}, {u"r208", u"2010x"}, {u"V6R210", u"2011x"}, {u"R215", u"2014"}, {u"R206", nullptr},
        {u"R2x", nullptr}};
    for (const auto& form : forms) {
        CSEString year(u"kept");
        EXPECT_EQ(CSEUtil::GetVersioninYearFormat(form.first, year) != 0, form.second != nullptr) << U8(form.first);
        EXPECT_EQ(year, form.second ? form.second : u"kept") << U8(form.first);
    }
}

TEST(UtilVersionsDeathTest, CallerErrorsAreFatal)
{
    EXPECT_DEATH(CSEUtil::IsVersionEqualOrLater(u"QTL2010", u"year", -1), "AssertionFailed:iConvertYear != -1");
    EXPECT_DEATH(CSEUtil::IsVersionEqualOrLater(u"QTL2010", u"2010", 1), "AssertionFailed:iMinorVersion == -1");
}

// ---- User-exit part record ----

// A record is filled whole or, for an empty or backslash file name or a text too long for its
// field (measured in UTF-8 bytes), not at all.
TEST_F(Util, PartRecordIsFilledWholeOrNotAtAll)
{
    const auto object = [](CSEString CSEObjectInfo::*field, const CSEString& value) {
        CSEObjectInfo o;
        o.dirName = u"/work";
        o.fileName = u"gear.prt";
        o.cadId = u"id-1";
        o.busType = u"CAD Model";
        o.qxVersion = u"A.1";
        o.*field = value;
        return o;
    };
    cad_part_struct before;
    std::memset(&before, 'z', sizeof before);
    cad_part_struct part = before;
    ASSERT_TRUE(CSEUtil::GetCAD_PARTfromObjectInfo(part, object(&CSEObjectInfo::fileName, Repeated(132, u'f'))));
    EXPECT_EQ(U8(Repeated(132, u'f')), part.file_name);
    EXPECT_STREQ(part.object_id, "id-1");
    EXPECT_STREQ(part.server_type, "CAD Model");
    EXPECT_STREQ(part.server_version, "A.1");
    EXPECT_EQ(std::memcmp(&part.reserved, "zzzz", 4), 0);

    for (const CSEObjectInfo& refused :
         {object(&CSEObjectInfo::fileName, u""), object(&CSEObjectInfo::fileName, u"\\"),
          object(&CSEObjectInfo::fileName, Repeated(67, u'\u00e9')), object(&CSEObjectInfo::qxVersion, Repeated(10, u'\u00e9')),
          object(&CSEObjectInfo::cadId, Repeated(40, u'\u00e9')), object(&CSEObjectInfo::busType, Repeated(40, u'\u00e9'))}) {
        part = before;
        EXPECT_FALSE(CSEUtil::GetCAD_PARTfromObjectInfo(part, refused)) << U8(refused.fileName);
        EXPECT_EQ(part.object_id[0], 'z') << U8(refused.fileName);
        EXPECT_EQ(part.server_version[0], 'z') << U8(refused.fileName);
    }
}
