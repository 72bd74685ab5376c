// Behaviour of CSEClientSettings: "settings.ini" rules, look-ups, identity record and lifetime.
#include <gtest/gtest.h>

#include <cstdio>
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

TEST(SettingsIniParser, LinesAreTakenVerbatimAndSectionsFollowTheBracketRules)
{
    CSESettingsTable table;
    cse::ParseSettingsText("\xEF\xBB\xBFtop=1\n[EMPTY]\n[A]\nkey = value\na=1\neq=b=c\n[broken\n[B]x]\nz=3\n"
                           "[A]\na=4\n[S]\r\na=1\r\nb=2\rlost\n\n\r\n;c=3\nbare\nlong=" +
                               std::string(5000, 'v') + "\nname=M\xC3\xBCller \xE2\x82\xAC\nbad=\xFF\xFE\nlast=5",
                           table);
    const struct
    {
        std::u16string section, key, value;
    } cases[] = {
        {u"", u"top", u"1"},        // before any header; the byte-order mark is no part of the key
        {u"A", u"key ", u" value"}, // nothing is trimmed
        {u"A", u"eq", u"b=c"},      // the first equals sign splits
        {u"A", u"[broken", u""},    // an unclosed bracket is a key of the section
        {u"B]x", u"z", u"3"},       // the name runs to the last bracket
        {u"A", u"a", u"4"},         // a repeated section continues, later keys win
        {u"S", u"a", u"1"},
        {u"S", u"b", u"2"},         // a line is cut at its first carriage return
        {u"S", u";c", u"3"},        // there is no comment syntax
        {u"S", u"long", std::u16string(5000, u'v')},
        {u"S", u"name", u"M\u00FCller \u20AC"},
        {u"S", u"bad", u"\uFFFD\uFFFD"},
        {u"S", u"last", u"5"},      // the last line needs no line feed
    };
    for (const auto& c : cases) {
        const auto section = table.find(c.section);
        const bool found = section != table.end() && section->second.count(c.key) != 0;
        EXPECT_EQ(found ? section->second.at(c.key) : u"<absent>", c.value) << DVKUnicodeString(c.key).ToUTF8();
    }
    EXPECT_TRUE(table.at(u"EMPTY").empty()) << "a header alone still enters its section";
    EXPECT_EQ(table.at(u"S").size(), 8u) << "no piece of a line became a key of its own";
}

using ClientSettings = InstallFolderFixture;

TEST_F(ClientSettings, DefaultsWithoutAFileThenLookupsAndReReadsThatNeverRemove)
{
    setenv("QX_DRAVIK_INSTALL_DIR", (m_folder + "/").c_str(), 1);
    CSEClientSettings* settings = CSEClientSettings::GetInstance(0);
    EXPECT_EQ(Text(settings->GetIniPath()), m_folder + "/settings.ini") << "no doubled separator";
    const CSEInfo& info = settings->GetCSEInfo();
    EXPECT_EQ(Text(info.m_sApplicationName), "QxDravikV5");
    EXPECT_EQ(Text(info.m_sIntegrationName), "QxDravikV5");

    WriteSettings("[SERVER]\nclientname=okt.example\n[CLIENT]\nlevel=12abc\nword=abc\nempty=\nbare\nflag=true\n"
                  "shout=TRUE\nneg=  -7\nbig=99999999999999999999\nsmall=-99999999999999999999\n"
                  "compatiblewkcversion=\n");
    settings->ReadSettings();
    EXPECT_EQ(Text(info.m_sCompatibleWKCVersion), "10.7.SP1");
    CSEString value(u"old");
    EXPECT_FALSE(settings->GetSetting(u"server", u"clientname", value)) << "sections are exact";
    EXPECT_TRUE(value().IsEmpty());
    EXPECT_FALSE(settings->GetSetting(u"CLIENT", u"empty", value));
    const struct
    {
        const char16_t* key;
        int number, flag; // 99 and 7: left as they were
    } values[] = {{u"level", 12, 0}, {u"word", 0, 0}, {u"neg", -7, 0}, {u"big", 2147483647, 0},
                  {u"small", -2147483647 - 1, 0}, {u"flag", 0, 1}, {u"shout", 0, 0}, {u"empty", 99, 7},
                  {u"bare", 99, 7}, {u"absent", 99, 7}};
    for (const auto& v : values) {
        int number = 99;
        unsigned char flag = 7;
        EXPECT_EQ(settings->GetIntValue(u"CLIENT", v.key, number), v.number != 99);
        EXPECT_EQ(settings->GetBoolValue(u"CLIENT", v.key, flag), v.flag != 7);
        EXPECT_EQ(number, v.number);
        EXPECT_EQ(flag, v.flag);
    }

    WriteSettings("[CLIENT]\nword=new\ncompatiblewkcversion=11.2\n");
    settings->ReadSettings();
    EXPECT_TRUE(settings->GetSetting(u"CLIENT", u"level", value));
    EXPECT_TRUE(settings->GetSetting(u"CLIENT", u"word", value));
    EXPECT_EQ(Text(value), "new");
    EXPECT_EQ(Text(info.m_sCompatibleWKCVersion), "11.2");
}

TEST_F(ClientSettings, FirstCallerDecidesTheSilentFlagUntilTheExitCallbackDeletesIt)
{
    CSEClientSettings* settings = CSEClientSettings::GetInstance(1);
    EXPECT_EQ(CSEClientSettings::GetInstance(0), settings);
    EXPECT_EQ(settings->IsSilentMode(), 1);
    dvk::RunExitCallbacks();
    EXPECT_EQ(CSEClientSettings::GetInstance(0)->IsSilentMode(), 0) << "a new instance was built";
    EXPECT_EQ(CSEClientSettings::DeleteClientSettings(0), 0);
    EXPECT_EQ(CSEClientSettings::DeleteClientSettings(0), 0) << "deleting twice is harmless";
}

TEST_F(ClientSettings, OnlyARegularFileOfBoundedSizeIsTakenAndNeverWaitedFor)
{
    const std::string ini = PathOf("settings.ini"), pipe = PathOf("pipe");
    const std::vector<std::pair<const char*, std::function<bool()>>> cases = {
        {"a FIFO", [&] { return mkfifo(ini.c_str(), 0600) == 0; }},
        {"a link to a FIFO",
         [&] { return mkfifo(pipe.c_str(), 0600) == 0 && symlink(pipe.c_str(), ini.c_str()) == 0; }},
        {"a file larger than any settings",
         [&] {
             return dvk::WriteWholeFile(ini, "[SERVER]\nclientname=x\n") && truncate(ini.c_str(), 2 << 20) == 0;
         }},
    };
    for (const auto& c : cases) {
        dvk::DeleteFile(ini);
        dvk::DeleteFile(pipe);
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
}

// In a fresh process: first before any message manager is installed, then with three kinds of host.
TEST_F(ClientSettings, MissingInstallFolderThrowsTheHostsTextAndLeavesNoInstance)
{
    WriteSettings("[SERVER]\nclientname=host\n");
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
            MessageRecorder host;     // answers "text of id"
            CSEMsgMgr silent;         // no text: the identifier
            FailingCatalogue failing; // a catalogue that throws: the identifier
            for (CSEMsgMgr* manager : std::initializer_list<CSEMsgMgr*>{nullptr, &host, &silent, &failing}) {
                if (manager != nullptr)
                    CSEMsgMgr::SetMsgMgr(manager);
                manager == &silent ? setenv("QX_DRAVIK_INSTALL_DIR", "", 1) : unsetenv("QX_DRAVIK_INSTALL_DIR");
                try {
                    CSEClientSettings::GetInstance(0);
                } catch (const CSEException& error) {
                    std::fprintf(stderr, "%s;", Text(error.GetMsg()).c_str());
                }
            }
            setenv("QX_DRAVIK_INSTALL_DIR", m_folder.c_str(), 1);
            CSEString value;
            const bool found = CSEClientSettings::GetInstance(0)->GetSetting(u"SERVER", u"clientname", value);
            std::fprintf(stderr, "%d", found);
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0),
        "MSG_READREGISTRY_FAIL;text of id;MSG_READREGISTRY_FAIL;MSG_READREGISTRY_FAIL;1");
}
