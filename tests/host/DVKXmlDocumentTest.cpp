// Behaviour of XmlDocument: parsing text and files, failed parses (writing: CSEXMLPacketTest).
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

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

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

} // namespace

TEST(XmlDocument, ParsesUtf16AndUtf8TextAlike)
{
    const std::u16string text = u"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
                                u"<r a=\"Gr\u00fc\u00dfe\"><t>\u20ac \U0001F600</t></r>";
    XmlDocument wide;
    ASSERT_TRUE(wide.LoadText(text));
    const std::string utf8 = dvk::Utf16ToUtf8(text);
    XmlDocument narrow;
    ASSERT_TRUE(narrow.LoadUtf8(utf8.data(), utf8.size()));
    for (const XmlDocument* document : {&wide, &narrow}) {
        EXPECT_EQ(document->DocumentElement().Name(), u"r");
        EXPECT_EQ(document->DocumentElement().GetAttribute(u"a"), u"Gr\u00fc\u00dfe");
        EXPECT_EQ(document->DocumentElement().FirstChild().Text(), u"\u20ac \U0001F600");
    }
}

TEST(XmlDocument, FailedParseLeavesNoPartialTree)
{
    XmlDocument document;
    for (const char16_t* text : {u"<a><b>text</b><c></a>", u"", u"   ", u"<!-- only a comment -->",
                                 u"<a/><b/>", u"<a>", u"</a>", u"<a x='1></a>", u"<1a/>",
                                 u"<a><b k='1' j='2' k='3'/></a>"}) {
        ASSERT_TRUE(document.LoadText(u"<old/>"));
        const dvk::XmlStatus status = document.LoadText(text);
        EXPECT_EQ(status.Code(), XmlStatusCode::ParseError) << dvk::Utf16ToUtf8(text);
        EXPECT_FALSE(status.Description().empty());
        EXPECT_TRUE(document.DocumentElement().IsNull());
        EXPECT_EQ(document.Root().ChildCount(), 0);
    }
}

TEST(XmlDocument, LayoutBlanksAreDroppedButBlankContentIsKept)
{
    XmlDocument document;
    ASSERT_TRUE(document.LoadText(u"<r>\n  <name> </name>\n  <v/>\n</r>"));
    const dvk::XmlNode root = document.DocumentElement();
    EXPECT_EQ(root.ChildCount(), 2);
    EXPECT_EQ(root.FirstChild().Text(), u" ");
}

TEST(XmlDocument, LoadFileReportsMissingAndOddFileNames)
{
    XmlDocument document;
    ASSERT_TRUE(document.LoadText(u"<old/>"));
    EXPECT_EQ(document.LoadFile(Wide(TempPath("missing.xml"))).Code(), XmlStatusCode::FileError);
    EXPECT_TRUE(document.DocumentElement().IsNull());
    EXPECT_EQ(document.LoadFile(u"").Code(), XmlStatusCode::FileError);

    // A zero character must not cut the name short and open another file.
    const std::string real = TempPath("real.xml");
    WriteBytes(real, "<r/>");
    EXPECT_EQ(document.LoadFile(Wide(real) + u'\0' + u"tail").Code(), XmlStatusCode::FileError);
    std::remove(real.c_str());

    // A folder or a device is no file: refused before any read (found by fuzzing: a folder was
    // taken for a file of absurd size).
    ASSERT_TRUE(document.LoadText(u"<old/>"));
    EXPECT_EQ(document.LoadFile(u"/tmp").Code(), XmlStatusCode::FileError);
    EXPECT_TRUE(document.DocumentElement().IsNull());
    EXPECT_EQ(document.LoadFile(u"/dev/null").Code(), XmlStatusCode::FileError);
}

TEST(XmlDocument, LoadFileDetectsTheEncoding)
{
    const std::string utf8Path = TempPath("u8 O'Brien.xml");
    WriteBytes(utf8Path, "\xEF\xBB\xBF<?xml version=\"1.0\"?><r>\xC3\xA9</r>");
    XmlDocument document;
    ASSERT_TRUE(document.LoadFile(Wide(utf8Path)));
    EXPECT_EQ(document.DocumentElement().Text(), u"\u00e9");

    const std::string utf16Path = TempPath("u16.xml");
    const std::u16string text = u"\uFEFF<r>\u00e9\u20ac</r>";
    WriteBytes(utf16Path, std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2));
    ASSERT_TRUE(document.LoadFile(Wide(utf16Path)));
    EXPECT_EQ(document.DocumentElement().Text(), u"\u00e9\u20ac");

    // Bytes that are not UTF-8 read as U+FFFD, as everywhere else; names that then repeat refuse.
    WriteBytes(utf8Path, "<r a\xB6='1' v='\xF1x'>\xFF</r>");
    ASSERT_TRUE(document.LoadFile(Wide(utf8Path)));
    EXPECT_EQ(document.DocumentElement().GetAttribute(u"a\uFFFD"), u"1");
    EXPECT_EQ(document.DocumentElement().GetAttribute(u"v"), u"\uFFFDx");
    EXPECT_EQ(document.DocumentElement().Text(), u"\uFFFD");
    XmlDocument reread;
    EXPECT_TRUE(reread.LoadText(document.ToText()));
    WriteBytes(utf8Path, "<r a\xB6='1' a\xF5='2'/>");
    EXPECT_EQ(document.LoadFile(Wide(utf8Path)).Code(), XmlStatusCode::ParseError);
    std::remove(utf8Path.c_str());
    std::remove(utf16Path.c_str());
}
