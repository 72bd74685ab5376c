// Behaviour of CSEClientSettings: "settings.ini" rules, look-ups, identity record and lifetime.
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "CSEClientSettings.h"
#include "CSEException.h"
#include "CSEMsgMgr.h"
#include "host/DVKExit.h"
#include "settings/CSESettingsIni.h"
#include "support/InstallFolderFixture.h"
#include "support/MessageRecorder.h"

namespace {

const std::u16string kAbsent = u"<absent>";

// The value stored for key in section, or kAbsent.
std::u16string Lookup(const CSESettingsTable& table, const std::u16string& section,
                      const std::u16string& key)
{
    const auto sectionIt = table.find(section);
    if (sectionIt == table.end() || sectionIt->second.count(key) == 0)
        return kAbsent;
    return sectionIt->second.at(key);
}

CSESettingsTable Parse(const std::string& text)
{
    CSESettingsTable table;
    cse::ParseSettingsText(text, table);
    return table;
}

std::string Text(const CSEString& text)
{
    return text().ToUTF8();
}

// A host whose message catalogue fails.
class FailingCatalogue : public CSEMsgMgr
{
public:
    CSEString ReadResourceString(CSEString) override { throw std::runtime_error("no catalogue"); }
};

} // namespace

TEST(SettingsIniParser, KeysAndValuesAreTakenVerbatimAndSectionsFollowTheBracketRules)
{
    const CSESettingsTable table = Parse("top=1\n[EMPTY]\n[A]\nkey = value\na=b=c\n\"q\"='v'\n"
                                         "[broken\ny=2\n[B]x]\nz=3\n[A]\na=4\n[]\nw=5\n");
    EXPECT_EQ(Lookup(table, u"A", u"key"), kAbsent);
    EXPECT_EQ(Lookup(table, u"A", u"key "), u" value");
    EXPECT_EQ(Lookup(table, u"A", u"\"q\""), u"'v'");
    EXPECT_EQ(Lookup(table, u"", u"top"), u"1") << "keys before any header: the empty section";
    EXPECT_TRUE(table.at(u"EMPTY").empty()) << "a header alone still enters its section";
    EXPECT_EQ(Lookup(table, u"A", u"[broken"), u"") << "an unclosed bracket is a key of the section";
    EXPECT_EQ(Lookup(table, u"A", u"y"), u"2") << "an unclosed bracket keeps the section";
    EXPECT_EQ(Lookup(table, u"B]x", u"z"), u"3") << "the name runs to the last bracket";
    EXPECT_EQ(Lookup(table, u"A", u"a"), u"4") << "a repeated section continues, later keys win";
    EXPECT_EQ(Parse("a=b=c\n").at(u"").at(u"a"), u"b=c") << "the first equals sign splits";
    EXPECT_EQ(Lookup(table, u"", u"w"), u"5");
}

TEST(SettingsIniParser, LineEndsCommentsEmptyAndLongLines)
{
    const std::string value(5000, 'v');
    const CSESettingsTable table = Parse("\xEF\xBB\xBF[S]\r\na=1\r\nb=2\rlost\n\n\r\n;c=3\n#d=4\n"
                                         "bare\nlong=" + value + "\nname=M\xC3\xBCller \xE2\x82\xAC\n"
                                         "bad=\xFF\xFE\nlast=5");
    EXPECT_EQ(Lookup(table, u"S", u"a"), u"1") << "a byte-order mark is not part of the first line";
    EXPECT_EQ(Lookup(table, u"S", u"b"), u"2") << "a line is cut at its first carriage return";
    EXPECT_EQ(Lookup(table, u"S", u";c"), u"3") << "there is no comment syntax";
    EXPECT_EQ(Lookup(table, u"S", u"#d"), u"4");
    EXPECT_EQ(Lookup(table, u"S", u"bare"), u"");
    EXPECT_EQ(Lookup(table, u"S", u"long"), std::u16string(5000, u'v')) << "long lines are read whole";
    EXPECT_EQ(Lookup(table, u"S", u"name"), u"M\u00FCller \u20AC");
    EXPECT_EQ(Lookup(table, u"S", u"bad"), u"\uFFFD\uFFFD");
    EXPECT_EQ(Lookup(table, u"S", u"last"), u"5") << "the last line needs no line feed";
    EXPECT_EQ(table.at(u"S").size(), 9u) << "no piece of a line became a key of its own";
}

using ClientSettings = InstallFolderFixture;

TEST_F(ClientSettings, IdentityRecordAndCompatibleVersion)
{
    const CSEInfo& info = CSEClientSettings::GetInstance(0)->GetCSEInfo();
    EXPECT_EQ(Text(info.m_sApplicationName), "QxDravikV5");
    EXPECT_EQ(Text(info.m_sIntegrationName), "QxDravikV5");
    EXPECT_EQ(Text(info.m_sCompatibleWKCVersion), "10.7.SP1");
    EXPECT_FALSE(info.m_sCSEVersion().IsEmpty());
    EXPECT_TRUE(info.m_sReserved().IsEmpty());
    EXPECT_STREQ(info.m_pszExtraVersion1, "");
    EXPECT_STREQ(info.m_pszExtraVersion2, "");

    for (const char* version : {"11.2", ""}) {
        CSEClientSettings::DeleteClientSettings(0);
        WriteSettings(std::string("[CLIENT]\ncompatiblewkcversion=") + version + "\n");
        EXPECT_EQ(Text(CSEClientSettings::GetInstance(0)->GetCSEInfo().m_sCompatibleWKCVersion),
                  *version ? version : "10.7.SP1");
    }
}

TEST_F(ClientSettings, LookupsAnswerFromTheFile)
{
    WriteSettings("[SERVER]\nclientname=okt.example\n[CLIENT]\nlevel=12abc\nword=abc\nempty=\n"
                  "bare\nflag=true\nshout=TRUE\nneg=  -7\nbig=99999999999999999999\n"
                  "small=-99999999999999999999\n");
    CSEClientSettings* settings = CSEClientSettings::GetInstance(0);
    CSEString value(u"old");
    EXPECT_TRUE(settings->GetSetting(u"SERVER", u"clientname", value));
    EXPECT_EQ(Text(value), "okt.example");
    EXPECT_FALSE(settings->GetSetting(u"server", u"clientname", value)) << "sections are exact";
    EXPECT_TRUE(value().IsEmpty());
    EXPECT_FALSE(settings->GetSetting(u"CLIENT", u"empty", value));
    EXPECT_FALSE(settings->GetSetting(u"CLIENT", u"bare", value));
    EXPECT_FALSE(settings->GetSetting(u"NOPE", u"x", value));

    const std::vector<std::pair<const char16_t*, int>> numbers = {
        {u"level", 12}, {u"word", 0}, {u"neg", -7}, {u"big", 2147483647}, {u"small", -2147483647 - 1}};
    for (const auto& number : numbers) {
        int read = 99;
        EXPECT_TRUE(settings->GetIntValue(u"CLIENT", number.first, read));
        EXPECT_EQ(read, number.second);
    }
    int number = 99;
    EXPECT_FALSE(settings->GetIntValue(u"CLIENT", u"empty", number));
    EXPECT_FALSE(settings->GetIntValue(u"CLIENT", u"absent", number));
    EXPECT_EQ(number, 99);

    unsigned char flag = 7;
    EXPECT_TRUE(settings->GetBoolValue(u"CLIENT", u"flag", flag));
    EXPECT_EQ(flag, 1);
    EXPECT_TRUE(settings->GetBoolValue(u"CLIENT", u"shout", flag));
    EXPECT_EQ(flag, 0);
    flag = 7;
    EXPECT_FALSE(settings->GetBoolValue(u"CLIENT", u"bare", flag));
    EXPECT_EQ(flag, 7);
}

TEST_F(ClientSettings, MissingOrUnreadableFileGivesDefaultsAndReReadsNeverRemove)
{
    setenv("QX_DRAVIK_INSTALL_DIR", (m_folder + "/").c_str(), 1);
    CSEClientSettings* settings = CSEClientSettings::GetInstance(0);
    EXPECT_EQ(Text(settings->GetIniPath()), m_folder + "/settings.ini") << "no doubled separator";
    CSEString value;
    EXPECT_FALSE(settings->GetSetting(u"SERVER", u"clientname", value));
    CSEClientSettings::DeleteClientSettings(0);
    ASSERT_TRUE(dvk::CreateDirectories(PathOf("settings.ini")));
    settings = CSEClientSettings::GetInstance(0);
    EXPECT_FALSE(settings->GetSetting(u"SERVER", u"clientname", value));
    EXPECT_EQ(Text(settings->GetCSEInfo().m_sCompatibleWKCVersion), "10.7.SP1");

    ASSERT_TRUE(dvk::DeleteFile(PathOf("settings.ini")));
    WriteSettings("[CLIENT]\nkept=1\nchanged=old\n");
    settings->ReadSettings();
    WriteSettings("[CLIENT]\nchanged=new\nadded=2\ncompatiblewkcversion=12.0\n");
    settings->ReadSettings();
    EXPECT_TRUE(settings->GetSetting(u"CLIENT", u"kept", value));
    EXPECT_TRUE(settings->GetSetting(u"CLIENT", u"changed", value));
    EXPECT_EQ(Text(value), "new");
    EXPECT_TRUE(settings->GetSetting(u"CLIENT", u"added", value));
    EXPECT_EQ(Text(settings->GetCSEInfo().m_sCompatibleWKCVersion), "12.0");
}

TEST_F(ClientSettings, FirstCallerDecidesTheSilentFlagUntilTheExitCallbackDeletesIt)
{
    CSEClientSettings* settings = CSEClientSettings::GetInstance(1);
    EXPECT_EQ(CSEClientSettings::GetInstance(0), settings);
    EXPECT_EQ(settings->IsSilentMode(), 1);
    EXPECT_EQ(settings->IsBulkLoadingMode(), 0);
    settings->SetBulkLoadingMode();
    EXPECT_EQ(settings->IsBulkLoadingMode(), 1);
    dvk::RunExitCallbacks();
    EXPECT_EQ(CSEClientSettings::GetInstance(0)->IsSilentMode(), 0) << "a new instance was built";
    EXPECT_EQ(CSEClientSettings::DeleteClientSettings(0), 0);
    EXPECT_EQ(CSEClientSettings::DeleteClientSettings(0), 0) << "deleting twice is harmless";
}

TEST_F(ClientSettings, OnlyARegularFileOfBoundedSizeIsTakenAndNeverWaitedFor)
{
    const std::string ini = PathOf("settings.ini");
    const std::string valid = "[SERVER]\nclientname=host\n";
    const std::vector<std::pair<const char*, std::function<bool()>>> cases = {
        {"a FIFO", [&] { return mkfifo(ini.c_str(), 0600) == 0; }},
        {"a link to a FIFO",
         [&] {
             return mkfifo(PathOf("pipe").c_str(), 0600) == 0 &&
                    symlink(PathOf("pipe").c_str(), ini.c_str()) == 0;
         }},
        {"a file larger than any settings",
         [&] {
             WriteSettings(valid);
             return truncate(ini.c_str(), 2 << 20) == 0;
         }},
    };
    for (const auto& c : cases) {
        dvk::DeleteFile(ini);
        dvk::DeleteFile(PathOf("pipe"));
        ASSERT_TRUE(c.second()) << c.first;
        // In a child with an alarm, so that a read that waits fails the test instead of hanging it.
        EXPECT_EXIT(
            {
                alarm(20);
                CSEClientSettings* settings = CSEClientSettings::GetInstance(0);
                CSEString value;
                const bool empty = !settings->GetSetting(u"SERVER", u"clientname", value);
                std::_Exit(empty && CSEClientSettings::GetInstance(0) == settings ? 0 : 1);
            },
            ::testing::ExitedWithCode(0), "")
            << c.first;
    }
    dvk::DeleteFile(ini);
    WriteSettings(valid);
    CSEString value;
    EXPECT_TRUE(CSEClientSettings::GetInstance(0)->GetSetting(u"SERVER", u"clientname", value));
}

TEST_F(ClientSettings, MissingInstallFolderThrowsTheHostsTextAndLeavesNoInstance)
{
    // Before any manager is installed (the child is a fresh process): the identifier, no fatal error.
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
            unsetenv("QX_DRAVIK_INSTALL_DIR");
            try {
                CSEClientSettings::GetInstance(0);
            } catch (const CSEException& error) {
                std::_Exit(Text(error.GetMsg()) == "MSG_READREGISTRY_FAIL" ? 0 : 1);
            }
            std::_Exit(2);
        },
        ::testing::ExitedWithCode(0), "");

    // Installed for the rest of the process: each outlives the test.
    static CSEMsgMgr silent;
    static MessageRecorder host;
    static FailingCatalogue failing;
    const std::vector<std::pair<CSEMsgMgr*, std::string>> managers = {
        {&host, "text of id"},
        {&silent, "MSG_READREGISTRY_FAIL"},   // no text: the identifier
        {&failing, "MSG_READREGISTRY_FAIL"},  // a catalogue that throws: the identifier
    };
    for (const auto& manager : managers) {
        CSEMsgMgr::SetMsgMgr(manager.first);
        for (const char* value : {static_cast<const char*>(nullptr), ""}) {
            if (value == nullptr)
                unsetenv("QX_DRAVIK_INSTALL_DIR");
            else
                setenv("QX_DRAVIK_INSTALL_DIR", value, 1);
            try {
                CSEClientSettings::GetInstance(0);
                ADD_FAILURE() << "no exception";
            } catch (const CSEException& error) {
                EXPECT_EQ(Text(error.GetMsg()), manager.second);
                EXPECT_EQ(error.GetType(), CSEExceptionError);
            }
        }
    }
    setenv("QX_DRAVIK_INSTALL_DIR", m_folder.c_str(), 1);
    WriteSettings("[SERVER]\nclientname=host\n");
    CSEString value;
    EXPECT_TRUE(CSEClientSettings::GetInstance(0)->GetSetting(u"SERVER", u"clientname", value));
}
