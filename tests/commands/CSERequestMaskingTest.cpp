// Tests for password masking in logged and dumped request texts.
#include <gtest/gtest.h>

#include <string>

#include "commands/CSERequestMasking.h"

namespace {

std::string Masked(const std::string& text)
{
    return CSERequestMasking::MaskPasswords(text);
}

} // namespace

TEST(RequestMasking, HidesEveryPasswordValueInEitherQuoting)
{
    EXPECT_EQ(Masked("<command cname='loginEx' username='ann' password='s3cr&apos;t' ver='1'/>"),
              "<command cname='loginEx' username='ann' password='*****' ver='1'/>");
    EXPECT_EQ(Masked("<command password=\"it's\" cname=\"loginEx\"/>"), "<command password=\"*****\" cname=\"loginEx\"/>");
    EXPECT_EQ(Masked("<command password = 'x'/>"), "<command password = '*****'/>");
    EXPECT_EQ(Masked("<command PassWord='x'/>"), "<command PassWord='*****'/>");
    EXPECT_EQ(Masked("<?xml version='1.0'?><a password=''><b x='1' password='two'/></a>"),
              "<?xml version='1.0'?><a password='*****'><b x='1' password='*****'/></a>");
    const CSEString wide = CSERequestMasking::MaskPasswords(CSEString(u"<command user='Jürgen' password='Grüße'/>"));
    EXPECT_TRUE(wide == CSEString(u"<command user='Jürgen' password='*****'/>"));
}

TEST(RequestMasking, LeavesOtherAttributesTextAndSectionsAlone)
{
    for (const std::string text : {"<command cname='login' mypassword='a' passwords='b' user='password=x'/>",
                                   "<lql>select password='x' from users</lql>", "<a><![CDATA[<b password='x'/>]]></a>",
                                   "<a><!-- <b password='x'/> --></a>", "<?pi password='x'?><a/>",
                                   "plain text password='x'", ""})
        EXPECT_EQ(Masked(text), text) << text;
}

TEST(RequestMasking, MalformedMarkupIsMaskedWithoutOverrun)
{
    EXPECT_EQ(Masked("<a password='never closed"), "<a password='*****");
    EXPECT_EQ(Masked("<a password=bare x='1'>"), "<a password=***** x='1'>");
    EXPECT_EQ(Masked("<a password=bare/>"), "<a password=*****/>");
    EXPECT_EQ(Masked("<a password="), "<a password=");
    EXPECT_EQ(Masked("<a password <b password='x'/>"), "<a password <b password='*****'/>");
    EXPECT_EQ(Masked("<a =='x' \"q\"='y' password='z'>"), "<a =='x' \"q\"='y' password='*****'>");
    EXPECT_EQ(Masked("<<<<"), "<<<<");
}

TEST(RequestMasking, LargeRequestIsMaskedInLinearTime)
{
    std::string text = "<command>";
    std::string expected = text;
    for (int i = 0; i < 100000; ++i) {
        text += "<cadobject name='p" + std::to_string(i) + "' password='x'/>";
        expected += "<cadobject name='p" + std::to_string(i) + "' password='*****'/>";
    }
    EXPECT_EQ(Masked(text + "</command>"), expected + "</command>");
}
