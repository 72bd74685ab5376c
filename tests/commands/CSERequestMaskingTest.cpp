// Tests for password masking in logged and dumped request texts.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "commands/CSERequestMasking.h"

TEST(RequestMasking, HidesEveryPasswordValueAndNothingElse)
{
    const std::pair<std::string, std::string> cases[] = {
        {"<command cname='loginEx' username='ann' password='s3cr&apos;t' ver='1'/>",
         "<command cname='loginEx' username='ann' password='*****' ver='1'/>"},
        {"<command password=\"it's\" cname=\"loginEx\"/>", "<command password=\"*****\" cname=\"loginEx\"/>"},
        {"<command password = 'x'/>", "<command password = '*****'/>"},
        {"<command PassWord='x'/>", "<command PassWord='*****'/>"},
        {"<?xml version='1.0'?><a password=''><b x='1' password='two'/></a>",
         "<?xml version='1.0'?><a password='*****'><b x='1' password='*****'/></a>"},
        // Malformed markup: masked as far as it goes, never read past its end.
        {"<a password='never closed", "<a password='*****"},
        {"<a password=bare x='1'>", "<a password=***** x='1'>"},
        {"<a password=bare/>", "<a password=*****/>"},
        {"<a password <b password='x'/>", "<a password <b password='*****'/>"},
        {"<a =='x' \"q\"='y' password='z'>", "<a =='x' \"q\"='y' password='*****'>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CSERequestMasking::MaskPasswords(c.first), c.second) << c.first;
    // Other attributes, texts, sections, comments and instructions stay as they are.
    for (const std::string text : {"<command cname='login' mypassword='a' passwords='b' user='password=x'/>",
                                   "<lql>select password='x' from users</lql>", "<a><![CDATA[<b password='x'/>]]></a>",
                                   "<a><!-- <b password='x'/> --></a>", "<?pi password='x'?><a/>",
                                   "plain text password='x'", "", "<a password=", "<<<<"})
        EXPECT_EQ(CSERequestMasking::MaskPasswords(text), text) << text;
    const CSEString wide = CSERequestMasking::MaskPasswords(CSEString(u"<command user='Jürgen' password='Grüße'/>"));
    EXPECT_TRUE(wide == CSEString(u"<command user='Jürgen' password='*****'/>"));
}

// Runs long only when the masking turns quadratic.
TEST(RequestMasking, LargeRequestIsMaskedWhole)
{
    std::string text;
    std::string expected;
    for (int i = 0; i < 100000; ++i) {
        text += "<cadobject name='p" + std::to_string(i) + "' password='x'/>";
        expected += "<cadobject name='p" + std::to_string(i) + "' password='*****'/>";
    }
    EXPECT_EQ(CSERequestMasking::MaskPasswords("<command>" + text + "</command>"),
              "<command>" + expected + "</command>");
}
