// Behaviour of XmlDocument: parsing text and files, failed parses, values that XML 1.0 cannot
// carry as they stand (the rest of writing: CSEXMLPacketTest).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>
#include <unistd.h>

#include "common/StrictXml.h"
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

// A strict reader refuses a whole document for one such character, so each is written as U+FFFD;
// a carriage return in text must come back as it went (a reader turns a literal one into a line end).
TEST(XmlDocument, EveryValueIsWrittenAsWellFormedXmlAndReadsBack)
{
    const struct
    {
        std::u16string value;
        std::u16string read;
    } cases[] = {
        {u"a\x01" u"b\x08\x0B\x0C\x0E\x1F" u"c", u"a\uFFFDb\uFFFD\uFFFD\uFFFD\uFFFD\uFFFDc"},
        {u"x\uFFFEy\uFFFF", u"x\uFFFDy\uFFFD"},
        {std::u16string(u"ab\0cd", 5), u"ab\uFFFDcd"},
        {u"one\r\ntwo\rthree\t\n", u"one\r\ntwo\rthree\t\n"},
        {u"]]>\r]]]>\r", u"]]>\r]]]>\r"},
        {u"\r", u"\r"},
        {u"lone \xD800 high, lone \xDC00 low, swapped \xDC00\xD800",
         u"lone \uFFFD high, lone \uFFFD low, swapped \uFFFD\uFFFD"},
        {u"pair \U0001F600 and \u00e9", u"pair \U0001F600 and \u00e9"},
    };
    XmlDocument document;
    ASSERT_TRUE(document.LoadText(u"<r/>"));
    dvk::XmlNode root = document.DocumentElement();
    for (const auto& c : cases) {
        dvk::XmlNode item = root.AppendElement(u"item");
        ASSERT_TRUE(item.SetAttribute(u"a", c.value));
        ASSERT_FALSE(item.AppendElement(u"t").AppendText(c.value).IsNull());
        ASSERT_FALSE(item.AppendElement(u"c").AppendCData(c.value).IsNull());
    }

    // The parser itself takes such characters, raw or as references; they must not reach the output.
    const std::string parsed = "<r a='\x01&#2;&#xFFFE;'>\x1F&#x1;&#xFFFF;<![CDATA[\x02\xEF\xBF\xBE]]></r>";
    XmlDocument source;
    ASSERT_TRUE(source.LoadUtf8(parsed.data(), parsed.size()));
    EXPECT_EQ(source.DocumentElement().GetAttribute(u"a"), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(source.DocumentElement().Text(), u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");

    const std::vector<std::string> writings = {dvk::Utf16ToUtf8(document.ToText()), dvk::Utf16ToUtf8(root.ToText()),
                                               dvk::Utf16ToUtf8(source.ToText())};
    EXPECT_EQ(StrictXmlErrors(writings), std::vector<std::string>(writings.size())) << writings[0];
    for (std::size_t w = 0; w < 2; ++w) {
        XmlDocument reread;
        ASSERT_TRUE(reread.LoadUtf8(writings[w].data(), writings[w].size()));
        const std::vector<dvk::XmlNode> items = reread.DocumentElement().Children();
        ASSERT_EQ(items.size(), std::size(cases));
        for (std::size_t i = 0; i < items.size(); ++i) {
            const std::string expected = dvk::Utf16ToUtf8(cases[i].read);
            const dvk::XmlNode& item = items[i];
            for (const std::u16string& read : {item.GetAttribute(u"a"), item.FirstElementByTagName(u"t").Text(),
                                               item.FirstElementByTagName(u"c").Text()})
                EXPECT_EQ(dvk::Utf16ToUtf8(read), expected) << "writing " << w << ", case " << i;
        }
    }
}
