// Behaviour of XmlDocument: parsing text and files, failed parses (writing, also of values that XML
// 1.0 cannot carry as they stand: CSEXMLPacketTest).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

#include "host/DVKFiles.h"
#include "host/DVKUtf.h"
#include "host/DVKXmlDocument.h"

using dvk::XmlDocument;
using dvk::XmlStatusCode;

namespace {

std::string TempPath(const char* name)
{
    return std::string(::testing::TempDir()) + "dvkxml_" + std::to_string(::getpid()) + "_" + name;
}

std::u16string Wide(const std::string& text)
{
    return dvk::Utf8ToUtf16(text);
}

} // namespace

TEST(XmlDocument, TextIgnoresItsDeclaredEncodingAndKeepsBlankContentOnly)
{
    XmlDocument document;
    ASSERT_TRUE(document.LoadText(u"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
                                  u"<r a=\"Gr\u00fc\u00dfe\">\n  <t>\u20ac \U0001F600</t>\n  <b> </b>\n</r>"));
    const dvk::XmlNode root = document.DocumentElement();
    EXPECT_EQ(root.GetAttribute(u"a"), u"Gr\u00fc\u00dfe");
    EXPECT_EQ(root.ChildCount(), 2) << "layout blanks are dropped";
    EXPECT_EQ(root.FirstChild().Text(), u"\u20ac \U0001F600");
    EXPECT_EQ(root.FirstElementByTagName(u"b").Text(), u" ");
}

// A folder or a device is no file; bytes that are not UTF-8 read as U+FFFD, as everywhere else, and
// names that then repeat refuse (all found by fuzzing).
TEST(XmlDocument, LoadFileTakesOnlyFilesAndReadsEveryByte)
{
    XmlDocument document;
    for (const std::string& name :
         {TempPath("missing.xml"), std::string(), std::string("/tmp"), std::string("/dev/null")}) {
        ASSERT_TRUE(document.LoadText(u"<old/>"));
        EXPECT_EQ(document.LoadFile(Wide(name)).Code(), XmlStatusCode::FileError) << name;
        EXPECT_TRUE(document.DocumentElement().IsNull()) << name;
    }
    const std::string path = TempPath("u8 O'Brien.xml");
    ASSERT_TRUE(dvk::WriteWholeFile(path, "<r a\xB6='1' v='\xF1x'>\xFF</r>"));
    EXPECT_EQ(document.LoadFile(Wide(path) + u'\0' + u"x").Code(), XmlStatusCode::FileError)
        << "a zero character must not cut the name short and open another file";
    ASSERT_TRUE(document.LoadFile(Wide(path)));
    EXPECT_EQ(document.DocumentElement().GetAttribute(u"a\uFFFD"), u"1");
    EXPECT_EQ(document.DocumentElement().GetAttribute(u"v"), u"\uFFFDx");
    EXPECT_EQ(document.DocumentElement().Text(), u"\uFFFD");
    XmlDocument reread;
    EXPECT_TRUE(reread.LoadText(document.ToText()));
    ASSERT_TRUE(dvk::WriteWholeFile(path, "<r a\xB6='1' a\xF5='2'/>"));
    EXPECT_EQ(document.LoadFile(Wide(path)).Code(), XmlStatusCode::ParseError);
    std::remove(path.c_str());
}
