// Behaviour of CSEString: positions, whole-text searches, conversions and buffers.
#include <gtest/gtest.h>

#include <memory>

#include "CSEString.h"

TEST(CSEString, SubstrTakesTheRestWhenLengthIsOpenOrTooLong)
{
    const CSEString text(u"abcdef");
    EXPECT_TRUE(text.substr(3) == u"def");
    EXPECT_TRUE(text.substr(2, 100) == u"cdef");
    EXPECT_TRUE(text.substr(2, -1) == u"cdef");
    EXPECT_TRUE(text.substr(1, 2) == u"bc");
    EXPECT_TRUE(text.substr(6) == u"");
    EXPECT_TRUE(text.substr(60, 2) == u"");
}

TEST(CSEString, SearchesMatchTheWholeText)
{
    const CSEString text(u"abcabc");
    EXPECT_EQ(text.find_first_of(u"bc"), 1);
    EXPECT_EQ(text.find(u"bc"), 1);
    EXPECT_EQ(text.find_last_of(u"bc"), 4);
    EXPECT_EQ(text.find_first_of(u"cb"), -1);
    EXPECT_EQ(text.find_last_of(u"xyz"), -1);
}

TEST(CSEString, IntegerTextIsStoredAndReturned)
{
    CSEString text(u"x");
    const CSEString result = text.getCSEStringFromInt(42);
    EXPECT_TRUE(result == u"42");
    EXPECT_TRUE(text == u"42");
    EXPECT_TRUE(text.getCSEStringFromInt(-7) == u"-7");
}

TEST(CSEString, CStrOfEmptyTextIsOneTerminator)
{
    std::unique_ptr<char16_t[]> buffer(CSEString().c_str());
    EXPECT_EQ(buffer[0], u'\0');
    std::unique_ptr<char16_t[]> copy(CSEString(u"ab").c_str());
    EXPECT_EQ(std::u16string(copy.get()), u"ab");
}

TEST(CSEString, Utf8TextConvertsBothWays)
{
    const CSEString text("Gr\xC3\xBC\xC3\x9F" "e \xF0\x9F\x94\xA9");
    EXPECT_EQ(text.size(), 8); // the bolt is a surrogate pair
    EXPECT_EQ(text().ToUTF8(), "Gr\xC3\xBC\xC3\x9F" "e \xF0\x9F\x94\xA9");
    EXPECT_TRUE(CSEString("\xFF" "a") == u"\uFFFD" "a");
}

TEST(CSEString, ConcatenationAndAppendKeepOrder)
{
    CSEString left(u"ab");
    EXPECT_TRUE(left + u"cd" == u"abcd");
    EXPECT_TRUE(u"zz" + left == u"zzab");
    EXPECT_TRUE(left + CSEString(u"!") == u"ab!");
    left.append(u"c").append(CSEString(u"d"));
    left += CSEString(u'e');
    EXPECT_TRUE(left == u"abcde");
}

TEST(CSEString, StripBothEndsLeavesReceiverAlone)
{
    const CSEString padded(u" \t a b \r\n");
    EXPECT_TRUE(padded.Strip(CSEStripBoth) == u"a b");
    EXPECT_TRUE(padded.Strip(CSEStripLeading) == u"a b \r\n");
    EXPECT_TRUE(padded.Strip(CSEStripTrailing) == u" \t a b");
    EXPECT_TRUE(padded.Strip(CSEStripAll) == u"ab");
    EXPECT_TRUE(padded == u" \t a b \r\n");
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
        {u"\u017D\u0218\u01C5", u"\u017E\u0219\u01C6"},           // Ž, Ș, titlecase ǅ
        {u"\u0386\u038F\u03A3", u"\u03AC\u03CE\u03C3"},           // Greek with tonos
        {u"\u0401\u0416\u0462", u"\u0451\u0436\u0463"},           // Cyrillic, old Cyrillic
        {u"\u0531\u0556", u"\u0561\u0586"},                         // Armenian
        {u"\u10A0\u1C90", u"\u2D00\u10D0"},                         // Georgian capitals
        {u"\u13A0\uFF21\u212A", u"\uAB70\uFF41k"},                 // Cherokee, full-width A, Kelvin
        {u"\u0130STANBUL", u"istanbul"},                              // İ lowers to plain i
        {u"\U00010400\U0001E900", u"\U00010428\U0001E922"},         // Deseret, Adlam
        {u"\u00DF\u00D7\u4E2D7\u0142", u"\u00DF\u00D7\u4E2D7\u0142"}, // no lowercase
        {loneHigh + u"A", loneHigh + u"a"},
    };
    for (const auto& c : cases) {
        CSEString text(DVKUnicodeString(c.upper));
        text.ToLower();
        EXPECT_EQ(text().Text(), c.lower) << DVKUnicodeString(c.upper).ToUTF8();
    }
}

TEST(CSEString, ReplaceAndLowerWorkInPlace)
{
    CSEString text(u"A.prt;B.PRT;\u00C4");
    EXPECT_EQ(text.ReplaceSubString(u";", u"/"), 2);
    text.ToLower();
    EXPECT_TRUE(text == u"a.prt/b.prt/\u00E4");
    EXPECT_EQ(text.ReplaceSubString(u"", u"x"), 0);
}
