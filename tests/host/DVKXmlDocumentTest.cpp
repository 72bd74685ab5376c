// Behaviour of XmlDocument: parsing text and files, failed parses, values that XML 1.0 cannot
// carry as they stand (the rest of writing: CSEXMLPacketTest).
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include <unistd.h>

#include "common/StrictXml.h"
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

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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
        {u"lone \xD800 high, lone \xDC00 low, swapped \xDC00\xD800", u"lone \uFFFD high, lone \uFFFD low, swapped \uFFFD\uFFFD"},
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

    const std::string path = TempPath("values.xml");
    ASSERT_TRUE(document.SaveFile(Wide(path)));
    const std::string writings[] = {dvk::Utf16ToUtf8(document.ToText()), ReadBytes(path),
                                    dvk::Utf16ToUtf8(root.ToText())};
    std::remove(path.c_str());
    EXPECT_EQ(StrictXmlErrors({std::begin(writings), std::end(writings)}), std::vector<std::string>(3))
        << writings[0];
    for (const std::string& written : writings) {
        XmlDocument reread;
        ASSERT_TRUE(reread.LoadUtf8(written.data(), written.size()));
        const std::vector<dvk::XmlNode> items = reread.DocumentElement().Children();
        ASSERT_EQ(items.size(), std::size(cases));
        for (std::size_t i = 0; i < items.size(); ++i) {
            const std::string expected = dvk::Utf16ToUtf8(cases[i].read);
            EXPECT_EQ(dvk::Utf16ToUtf8(items[i].GetAttribute(u"a")), expected) << "attribute, case " << i;
            EXPECT_EQ(dvk::Utf16ToUtf8(items[i].FirstElementByTagName(u"t").Text()), expected) << "text, case " << i;
            EXPECT_EQ(dvk::Utf16ToUtf8(items[i].FirstElementByTagName(u"c").Text()), expected) << "CDATA, case " << i;
        }
    }
}

// The parser itself takes such characters, raw or as references; they must not reach the output.
TEST(XmlDocument, ParsedCharactersThatXmlCannotCarryReadAsReplacement)
{
    const std::string text = "<r a='\x01&#2;&#xFFFE;'>\x1F&#x1;&#xFFFF;<![CDATA[\x02\xEF\xBF\xBE]]></r>";
    XmlDocument document;
    ASSERT_TRUE(document.LoadUtf8(text.data(), text.size()));
    EXPECT_EQ(document.DocumentElement().GetAttribute(u"a"), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(document.DocumentElement().Text(), u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
    const std::string written = dvk::Utf16ToUtf8(document.ToText());
    EXPECT_EQ(StrictXmlError(written), "") << written;
}
