// Behaviour of CUserExit against site libraries built for the tests (tests/support/site), installed
// as "UserExits.so" in a scratch installation folder.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "CUserExit.h"
#include "core/LogLines.h"
#include "host/DVKFiles.h"
#include "support/InstallFolderFixture.h"
#include "support/MessageRecorder.h"

namespace {

using Texts = std::vector<std::string>;

// Message 0 names a missing or failed entry point; the others name what FormatErrorMsgString gets.
class ExitMessages : public MessageRecorder
{
public:
    CSEString ReadResourceString(int id) override
    {
        return id == 0 ? CSEString(u"Entry point %s failed")
                       : CSEString(("Message " + std::to_string(id) + " about %s").c_str());
    }

    // A box may turn the host's interface loop, which may ask for the instance again.
    int ShowMessage(CSEString message, CSEString title, MessageBoxType type) override
    {
        if (m_reenter)
            m_reentered.push_back(CUserExit::GetInstance());
        return MessageRecorder::ShowMessage(message, title, type);
    }

    bool m_reenter = false;
    std::vector<CUserExit*> m_reentered;

    // The texts of the boxes shown so far, each checked for the title and box type of user exits.
    Texts Shown() const
    {
        const std::string tail = "|MSG_MSGBOXTITLE|3";
        Texts shown;
        for (const std::string& call : m_calls) {
            if (call.rfind("show:", 0) != 0)
                continue;
            EXPECT_EQ(call.substr(call.size() - tail.size()), tail) << call;
            shown.push_back(call.substr(5, call.size() - 5 - tail.size()));
        }
        return shown;
    }
};

cad_part_struct Part(const char* id, const char* type, const char* file, const char* version)
{
    cad_part_struct part{};
    std::snprintf(part.object_id, sizeof part.object_id, "%s", id);
    std::snprintf(part.server_type, sizeof part.server_type, "%s", type);
    std::snprintf(part.file_name, sizeof part.file_name, "%s", file);
    std::snprintf(part.server_version, sizeof part.server_version, "%s", version);
    return part;
}

std::string Text(const CSEString& text)
{
    return text().ToUTF8();
}

class UserExits : public InstallFolderFixture
{
protected:
    void SetUp() override
    {
        InstallFolderFixture::SetUp();
        UseClientSettings();
        m_library = PathOf("UserExits.so");
    }

    // Runs in the child process of a case: the recording message manager and the site's log.
    void StartChild()
    {
        CSEMsgMgr::SetMsgMgr(&m_messages);
        setenv("QORVI_SITE_LOG", PathOf("site.log").c_str(), 1);
    }

    void Install(const std::string& built, mode_t mode, const std::string& path)
    {
        ASSERT_TRUE(dvk::CopyFile(built, path, true));
        ASSERT_EQ(chmod(path.c_str(), mode), 0);
    }

    void Install(const char* built) { Install(built, 0755, m_library); }

    Texts SiteCalls() const
    {
        Texts lines;
        std::istringstream log(ReadFile("site.log"));
        for (std::string line; std::getline(log, line);)
            lines.push_back(line);
        return lines;
    }

    std::string LastSiteCall() const
    {
        const Texts calls = SiteCalls();
        return calls.empty() ? std::string() : calls.back();
    }

    // The instance and its library live as long as the process: each case runs in a child of its
    // own, which writes the failures of its checks to its stderr for the parent's report.
    void ExpectInChild(const std::function<void()>& body)
    {
        EXPECT_EXIT(
            {
                ::testing::TestPartResultArray failures;
                {
                    ::testing::ScopedFakeTestPartResultReporter reporter(&failures);
                    StartChild();
                    body();
                }
                for (int i = 0; i < failures.size(); ++i) {
                    const ::testing::TestPartResult& failure = failures.GetTestPartResult(i);
                    std::fprintf(stderr, "%s:%d: %s\n", failure.file_name(), failure.line_number(),
                                 failure.message());
                }
                std::exit(failures.size() == 0 ? 0 : 1);
            },
            ::testing::ExitedWithCode(0), "");
    }

    CUserExit& Instance()
    {
        CUserExit* exits = CUserExit::GetInstance();
        if (exits == nullptr) {
            std::fputs("no user-exit instance\n", stderr);
            std::exit(1);
        }
        return *exits;
    }

    ExitMessages m_messages;
    std::string m_library;
};

struct HookCase
{
    const char* entry;
    bool answerUsed;
    bool takesMessage;
    std::string recorded;  // the line the site library writes for the call
    std::function<int(CUserExit&, const cad_part_struct&, CSEString&)> call;
};

const std::string kPartFields = "id-1|Part|bracket.prt|B.2|";

std::vector<HookCase> AllHooks()
{
    char* openText = const_cast<char*>("read-only");
    const auto part = [](const char* entry, bool used,
                         int (CUserExit::*hook)(cad_part_struct, CSEString&)) {
        return HookCase{entry, used, true, std::string(entry) + "|" + kPartFields,
                        [hook](CUserExit& e, const cad_part_struct& p, CSEString& m) {
                            return (e.*hook)(p, m);
                        }};
    };
    return {
        {"UE_ConnectPre", true, true, "UE_ConnectPre|",
         [](CUserExit& e, const cad_part_struct&, CSEString& m) { return e.ConnectPre(m); }},
        {"UE_ConnectPost", false, false, "UE_ConnectPost|",
         [](CUserExit& e, const cad_part_struct&, CSEString&) { return e.ConnectPost(); }},
        {"UE_CheckinDialogPre", true, true, "UE_CheckinDialogPre|",
         [](CUserExit& e, const cad_part_struct&, CSEString& m) { return e.CheckinDialogPre(m); }},
        part("UE_CheckinFileUploadStart", true, &CUserExit::CheckinFileUploadStart),
        part("UE_CheckinPartCreatePre", true, &CUserExit::CheckinPartCreatePre),
        part("UE_CheckinPartPost", false, &CUserExit::CheckinPartPost),
        part("UE_CheckoutPartPre", true, &CUserExit::CheckoutPartPre),
        part("UE_CheckoutPartPost", false, &CUserExit::CheckoutPartPost),
        {"UE_OpenPartPre", false, true, "UE_OpenPartPre|" + kPartFields + "read-only",
         [openText](CUserExit& e, const cad_part_struct& p, CSEString& m) {
             return e.OpenPartPre(p, openText, m);
         }},
        part("UE_OpenPartPost", false, &CUserExit::OpenPartPost),
        {"UE_ModifyLockPartPre", true, true, "UE_ModifyLockPartPre|" + kPartFields + "-5",
         [](CUserExit& e, const cad_part_struct& p, CSEString& m) {
             return e.ModifyLockPartPre(p, -5, m);
         }},
        {"UE_ModifyLockPartPost", false, true, "UE_ModifyLockPartPost|" + kPartFields + "1",
         [](CUserExit& e, const cad_part_struct& p, CSEString& m) {
             return e.ModifyLockPartPost(p, 1, m);
         }},
        part("UE_UpdateAttributesInLedgraPre", true, &CUserExit::UpdateAttributesInLedgraPre),
        part("UE_UpdateAttributesInLedgraPost", false, &CUserExit::UpdateAttributesInLedgraPost),
        part("UE_UpdateAttributesInCadPre", true, &CUserExit::UpdateAttributesInCadPre),
        part("UE_UpdateAttributesInCadPost", false, &CUserExit::UpdateAttributesInCadPost),
    };
}

} // namespace

TEST_F(UserExits, HooksHandTheSiteItsArgumentsAndHonourItsAnswerWhereItCounts)
{
    Install(QORVI_SITE_EXITS);
    ExpectInChild([&] {
        CUserExit& exits = Instance();
        const cad_part_struct part = Part("id-1", "Part", "bracket.prt", "B.2");
        const std::string siteMessage = "Not now \xC3\xBC";
        for (const HookCase& hook : AllHooks()) {
            SCOPED_TRACE(hook.entry);
            // The site refuses and says why.
            setenv("QORVI_SITE_ANSWER", "7", 1);
            setenv("QORVI_SITE_MESSAGE", siteMessage.c_str(), 1);
            m_messages.m_calls.clear();
            CSEString message(u"stale");
            EXPECT_EQ(hook.call(exits, part, message), hook.answerUsed ? -1 : 0);
            EXPECT_EQ(LastSiteCall(), hook.recorded);
            EXPECT_EQ(Text(message), hook.takesMessage ? siteMessage : "stale");
            EXPECT_EQ(m_messages.Shown(), hook.takesMessage ? Texts{siteMessage} : Texts{});
            // The site agrees and says nothing.
            setenv("QORVI_SITE_ANSWER", "0", 1);
            unsetenv("QORVI_SITE_MESSAGE");
            m_messages.m_calls.clear();
            EXPECT_EQ(hook.call(exits, part, message), 0);
            EXPECT_EQ(Text(message), hook.takesMessage ? "" : "stale");
            EXPECT_EQ(m_messages.Shown(), Texts{});
        }
    });
}

TEST_F(UserExits, InitGetsTheIdentityOnceAndMayKeepItsOwnTextsInTheSlots)
{
    Install(QORVI_SITE_EXITS);
    ExpectInChild([&] {
        setenv("QORVI_SITE_INIT_OWN_TEXTS", "1", 1);
        CUserExit* first = CUserExit::GetInstance();
        EXPECT_NE(first, nullptr);
        EXPECT_EQ(CUserExit::GetInstance(), first);
        const CSEInfo& info = CSEClientSettings::GetInstance(0)->GetCSEInfo();
        EXPECT_EQ(SiteCalls(), Texts{"Init|" + Text(info.m_sIntegrationName) + "|" +
                                     Text(info.m_sCSEVersion) + "|" +
                                     Text(info.m_sCompatibleWKCVersion)});
        EXPECT_EQ(m_messages.Shown(), Texts{});
    });
}

TEST_F(UserExits, MissingEntryPointsStopWithMessageZeroWhereTheHookHasNoPart)
{
    Install(QORVI_SITE_EXITS_SPARSE);
    ExpectInChild([&] {
        CUserExit& exits = Instance();
        EXPECT_EQ(MainLogPriorityOf("\"Init\""), 3) << "used without Init, and logged";
        const cad_part_struct part = Part("id-1", "Part", "bracket.prt", "B.2");
        CSEString message(u"stale");
        EXPECT_EQ(exits.CheckoutPartPre(part, message), 0);
        EXPECT_EQ(SiteCalls(), Texts{"UE_CheckoutPartPre|" + kPartFields});

        EXPECT_EQ(exits.CheckoutPartPost(part, message), -1);
        EXPECT_EQ(Text(message), "");
        EXPECT_EQ(exits.ModifyLockPartPre(part, 1, message), -1);
        EXPECT_EQ(m_messages.Shown(), Texts{});

        EXPECT_EQ(exits.ConnectPre(message), -1);
        EXPECT_EQ(Text(message), "Entry point UE_ConnectPre failed\r\n");
        EXPECT_EQ(exits.CheckinDialogPre(message), -1);
        EXPECT_EQ(Text(message), "Entry point UE_CheckinDialogPre failed\r\n");
        EXPECT_EQ(m_messages.Shown(), Texts{}) << "the caller shows these texts";

        EXPECT_EQ(exits.ConnectPost(), -1);
        EXPECT_EQ(m_messages.Shown(), Texts{"Entry point UE_ConnectPost failed\r\n"});
    });
}

TEST_F(UserExits, AnExceptionOfTheSiteLibraryStaysInsideAndStops)
{
    Install(QORVI_SITE_EXITS);
    ExpectInChild([&] {
        setenv("QORVI_SITE_THROW", "Init", 1);
        CUserExit& exits = Instance();
        EXPECT_EQ(SiteCalls().size(), 1u);
        const struct
        {
            const char* entry;
            std::string message;  // the caller's message afterwards
            Texts shown;
        } cases[] = {
            {"UE_ConnectPre", "Entry point UE_ConnectPre failed", {}},
            {"UE_CheckinDialogPre", "Entry point UE_CheckinDialogPre failed", {}},
            {"UE_ConnectPost", "stale", {"Entry point UE_ConnectPost failed"}},
            {"UE_CheckoutPartPost", "", {}},
            {"UE_OpenPartPre", "", {}},
        };
        const cad_part_struct part = Part("id-1", "Part", "bracket.prt", "B.2");
        for (const auto& failing : cases) {
            SCOPED_TRACE(failing.entry);
            setenv("QORVI_SITE_THROW", failing.entry, 1);
            for (const HookCase& hook : AllHooks()) {
                if (std::strcmp(hook.entry, failing.entry) != 0)
                    continue;
                m_messages.m_calls.clear();
                CSEString message(u"stale");
                EXPECT_EQ(hook.call(exits, part, message), -1);
                EXPECT_EQ(Text(message), failing.message);
                EXPECT_EQ(m_messages.Shown(), failing.shown);
            }
        }
    });
}

TEST_F(UserExits, PartTextsAreReadNoFurtherThanTheirFields)
{
    Install(QORVI_SITE_EXITS);
    ExpectInChild([&] {
        CUserExit& exits = Instance();
        // Every field filled to its end, without a terminating zero.
        cad_part_struct full{};
        std::memset(full.object_id, 'I', sizeof full.object_id);
        std::memset(full.server_type, 'T', sizeof full.server_type);
        std::memset(full.file_name, 'F', sizeof full.file_name);
        std::memset(full.server_version, 'V', sizeof full.server_version);
        CSEString out(u"Refused:");
        exits.FormatErrorMsgStringForPartInfo(full, out);
        EXPECT_EQ(Text(out), "Refused:\r\n\t" + std::string(80, 'T') + "\t" +
                                 std::string(133, 'F') + "\t" + std::string(19, 'V') + "\r\n");
        exits.FormatErrorMsgStringForPartInfo(Part("id-1", "Part", "br\xC3\xBC.prt", "B.2"), out);
        const std::string appended = Text(out).substr(Text(out).rfind("\r\n\t"));
        EXPECT_EQ(appended, "\r\n\tPart\tbr\xC3\xBC.prt\tB.2\r\n");

        // The site library reads its copy as zero-terminated texts: each ends inside its field.
        CSEString message;
        EXPECT_EQ(exits.CheckoutPartPre(full, message), 0);
        EXPECT_EQ(LastSiteCall(), "UE_CheckoutPartPre|" + std::string(79, 'I') + "|" +
                                      std::string(79, 'T') + "|" + std::string(132, 'F') + "|" +
                                      std::string(18, 'V') + "|");

        exits.FormatErrorMsgString(full, 12, u"bracket.prt", out);
        EXPECT_EQ(Text(out), "Message 12 about bracket.prt\r\n");
        EXPECT_EQ(m_messages.Shown(), Texts{"Message 12 about bracket.prt\r\n"});
    });
}

TEST_F(UserExits, GetInstanceLooksForTheLibraryOnEveryCall)
{
    // No installation folder.
    ExpectInChild([&] {
        unsetenv("QX_DRAVIK_INSTALL_DIR");
        EXPECT_EQ(CUserExit::GetInstance(), nullptr);
        EXPECT_EQ(m_messages.Shown(), Texts{"MSG_READREGISTRY_FAIL"});
    });
    // No library in it.
    ExpectInChild([&] {
        EXPECT_EQ(CUserExit::GetInstance(), nullptr);
        EXPECT_EQ(m_messages.Shown(), Texts{"Failed to locate the UserExits DLL: " + m_library});
    });
    // Removed after loading: no instance any more, but what is loaded stays usable.
    Install(QORVI_SITE_EXITS);
    ExpectInChild([&] {
        CUserExit& exits = Instance();
        EXPECT_EQ(unlink(m_library.c_str()), 0);
        EXPECT_EQ(CUserExit::GetInstance(), nullptr);
        EXPECT_EQ(m_messages.Shown(), Texts{"Failed to locate the UserExits DLL: " + m_library});
        EXPECT_EQ(exits.ConnectPost(), 0);
    });
}

TEST_F(UserExits, ALibraryThatDoesNotLoadOrThatOthersCouldReplaceStopsEveryHook)
{
    char pattern[] = "/tmp/qorvi-site-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string elsewhere = pattern;
    const std::string text = elsewhere + "/text.so";
    std::ofstream(text) << "not a library";
    const struct
    {
        const char* name;
        std::string source;
        bool linkedFromElsewhere;  // else a file in the installation folder
        mode_t fileMode;
        mode_t folderMode;  // of the folder that holds the file
        bool loads;
    } cases[] = {
        {"not a library", text, false, 0644, 0700, false},
        {"writable by its group", QORVI_SITE_EXITS, false, 0775, 0700, false},
        {"writable by others", QORVI_SITE_EXITS, false, 0757, 0700, false},
        {"in a folder writable by its group", QORVI_SITE_EXITS, false, 0755, 0770, false},
        {"linked to a file writable by others", QORVI_SITE_EXITS, true, 0666, 0700, false},
        {"linked into a folder writable by others", QORVI_SITE_EXITS, true, 0755, 0777, false},
        {"linked to a file only its owner can change", QORVI_SITE_EXITS, true, 0755, 0700, true},
    };
    for (const auto& library : cases) {
        SCOPED_TRACE(library.name);
        const std::string folder = library.linkedFromElsewhere ? elsewhere : m_folder;
        const std::string file = library.linkedFromElsewhere ? elsewhere + "/site.so" : m_library;
        Install(library.source, library.fileMode, file);
        if (library.linkedFromElsewhere) {
            ASSERT_EQ(symlink(file.c_str(), m_library.c_str()), 0);
        }
        ASSERT_EQ(chmod(folder.c_str(), library.folderMode), 0);
        ExpectInChild([&] {
            CUserExit& exits = Instance();
            EXPECT_EQ(SiteCalls().size(), library.loads ? 1u : 0u) << "Init ran";
            const Texts refused{"Failed to load the userExit DLL: " + m_library};
            EXPECT_EQ(m_messages.Shown(), library.loads ? Texts{} : refused);
            EXPECT_NE(LogTextsAt(ReadFile("QxDravikV5.log"), 3).empty(), !library.loads)
                << "the reason is logged";
            CSEString message;
            EXPECT_EQ(exits.CheckoutPartPre(Part("id-1", "Part", "bracket.prt", "B.2"), message),
                      library.loads ? 0 : -1);
        });
        chmod(folder.c_str(), 0700);
        for (const std::string& used :
             {m_library, file, PathOf("site.log"), PathOf("QxDravikV5.log")})
            unlink(used.c_str());
    }
    dvk::DeleteTree(elsewhere);
}

TEST_F(UserExits, AHostReenteringWhileTheLibraryLoadsGetsTheInstance)
{
    std::ofstream(m_library) << "not a library";
    ASSERT_EQ(chmod(m_library.c_str(), 0644), 0);
    ExpectInChild([&] {
        m_messages.m_reenter = true;
        CUserExit* exits = CUserExit::GetInstance();
        EXPECT_NE(exits, nullptr);
        EXPECT_EQ(m_messages.m_reentered, std::vector<CUserExit*>{exits}) << "from the failure box";
    });
}
