// Behaviour of CSEString: positions, whole-text searches, stripping, replacing and lowering.
#include <gtest/gtest.h>

#include "CSEString.h"

TEST(CSEString, PositionsAndSearchesOfTheWholeText)
{
    const CSEString text(u"abcabc");
    EXPECT_TRUE(text.substr(3) == u"abc");
    EXPECT_TRUE(text.substr(2, 100) == u"cabc");
    EXPECT_TRUE(text.substr(2, -1) == u"cabc");
    EXPECT_TRUE(text.substr(1, 2) == u"bc");
    EXPECT_TRUE(text.substr(6) == u"" && text.substr(60, 2) == u"");
    EXPECT_EQ(text.find_first_of(u"bc"), 1);
    EXPECT_EQ(text.find_last_of(u"bc"), 4);
    EXPECT_EQ(text.find_first_of(u"cb"), -1) << "the whole text is sought, not any of its characters";
    EXPECT_EQ(text.find_last_of(u"xyz"), -1);
    CSEString number(u"x");
    EXPECT_TRUE(number.getCSEStringFromInt(-42) == u"-42" && number == u"-42") << "the text is also stored";
}

TEST(CSEString, StripAndReplace)
{
    const CSEString padded(u" \t a b \r\n");
    EXPECT_TRUE(padded.Strip(CSEStripBoth) == u"a b");
    EXPECT_TRUE(padded.Strip(CSEStripLeading) == u"a b \r\n");
    EXPECT_TRUE(padded.Strip(CSEStripTrailing) == u" \t a b");
    EXPECT_TRUE(padded.Strip(CSEStripAll) == u"ab");

    CSEString text(u"a;b;c");
    EXPECT_EQ(text.ReplaceSubString(u";", u"/"), 2);
    EXPECT_EQ(text.ReplaceSubString(u"", u"x"), 0);
    EXPECT_TRUE(text == u"a/b/c");
}

TEST(CSEString, ToLowerMapsCapitalsOfEveryScript)
{
    const std::u16string loneHigh(1, char16_t(0xD801));
    const struct
    {
        std::u16string upper;
        std::u16string lower;
    } cases[] = {
        {u"\u0141\u00D3D\u0179.PRT", u"\u0142\u00F3d\u017A.prt"}, // Latin Extended-A
        {u"\u017D\u0218\u01C5\u00C4", u"\u017E\u0219\u01C6\u00E4"}, // Ž, Ș, titlecase ǅ, Latin-1
        {u"\u0386\u038F\u03A3", u"\u03AC\u03CE\u03C3"},           // Greek with tonos
        {u"\u0401\u0416\u0462", u"\u0451\u0436\u0463"},           // Cyrillic, old Cyrillic
        {u"\u0531\u0556", u"\u0561\u0586"},                       // Armenian
        {u"\u10A0\u1C90", u"\u2D00\u10D0"},                       // Georgian capitals
        {u"\u13A0\uFF21\u212A", u"\uAB70\uFF41k"},                // Cherokee, full-width A, Kelvin
        {u"\u0130STANBUL", u"istanbul"},                          // İ lowers to plain i
        {u"\U00010400\U0001E900", u"\U00010428\U0001E922"},       // Deseret, Adlam
        {u"\u00DF\u00D7\u4E2D7\u0142", u"\u00DF\u00D7\u4E2D7\u0142"}, // no lowercase
        {loneHigh + u"A", loneHigh + u"a"},
    };
    for (const auto& c : cases) {
        CSEString text(DVKUnicodeString(c.upper));
        text.ToLower();
        EXPECT_EQ(text().Text(), c.lower) << DVKUnicodeString(c.upper).ToUTF8();
    }
}
