// CUserExit against the site libraries of tests/support/site, installed as "UserExits.so".
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <iostream>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

#include "CUserExit.h"
#include "support/InstallFolderFixture.h"
#include "support/MessageRecorder.h"

namespace {

using Texts = std::vector<std::string>;
using Outcome = std::tuple<int, std::string, Texts>;  // result, caller's message, boxes shown

std::string Text(const CSEString& text) { return text().ToUTF8(); }

class ExitMessages : public MessageRecorder
{
public:
    CSEString ReadResourceString(int) override { return CSEString(u"Entry point %s failed"); }

    // A box may turn the host's interface loop, which may ask for the instance again.
    int ShowMessage(CSEString message, CSEString title, MessageBoxType type) override
    {
        if (m_reenter)
            m_reentered.push_back(CUserExit::GetInstance());
        EXPECT_EQ(Text(title) + std::to_string(type), "MSG_MSGBOXTITLE3");
        m_shown.push_back(Text(message));
        return 6;
    }

    Texts m_shown;
    bool m_reenter = false;
    std::vector<CUserExit*> m_reentered;
};

// A part record whose texts fill their fields without a terminating zero, and the texts that a site
// reading them up to their zero must see: each ends inside its field.
const cad_part_struct kFull = [] {
    cad_part_struct part;
    std::memset(&part, 'F', sizeof part);
    std::memcpy(part.server_type, "\xC3\xBC", 2);
    return part;
}();
const std::string kType = "\xC3\xBC" + std::string(77, 'F');
const std::string kSeen = std::string(79, 'F') + "|" + kType + "|" + std::string(132, 'F') + "|" +
                          std::string(18, 'F') + "|";

// Where a hook reports an entry point that is missing or failed.
enum class Failure { Nowhere, IntoMessage, Shown };

struct Hook
{
    const char* entry;
    bool answerUsed;
    Failure failure;
    const char* argument;  // as the site records it
    std::function<int(CUserExit&, cad_part_struct, CSEString&)> call;
};

#define HOOK(name, used, failure, argument, ...)                                                  \
    Hook{"UE_" #name, used, failure, argument,                                                    \
         [](CUserExit& e, [[maybe_unused]] cad_part_struct p, [[maybe_unused]] CSEString& m) {    \
             return e.name(__VA_ARGS__);                                                          \
         }}
#define PART_HOOK(name, used) HOOK(name, used, Failure::Nowhere, "", p, m)

const Hook kHooks[] = {
    HOOK(ConnectPre, true, Failure::IntoMessage, "", m),
    HOOK(ConnectPost, false, Failure::Shown, "", ),
    HOOK(CheckinDialogPre, true, Failure::IntoMessage, "", m),
    HOOK(OpenPartPre, false, Failure::Nowhere, "read-only", p, (char*)"read-only", m),
    HOOK(ModifyLockPartPre, true, Failure::Nowhere, "-5", p, -5, m),
    HOOK(ModifyLockPartPost, false, Failure::Nowhere, "1", p, 1, m),
    PART_HOOK(CheckinFileUploadStart, true),       PART_HOOK(CheckinPartCreatePre, true),
    PART_HOOK(CheckinPartPost, false),             PART_HOOK(CheckoutPartPre, true),
    PART_HOOK(CheckoutPartPost, false),            PART_HOOK(OpenPartPost, false),
    PART_HOOK(UpdateAttributesInLedgraPre, true),  PART_HOOK(UpdateAttributesInLedgraPost, false),
    PART_HOOK(UpdateAttributesInCadPre, true),     PART_HOOK(UpdateAttributesInCadPost, false),
};

// The site's line for a call of the hook.
std::string Recorded(const Hook& hook)
{
    const bool withPart = hook.failure == Failure::Nowhere;
    return std::string(hook.entry) + "|" + (withPart ? kSeen : "") + hook.argument + "\n";
}

// What a hook answers when its entry point is missing or throws.
Outcome Failed(const Hook& hook, const std::string& lineEnd)
{
    const std::string text = "Entry point " + std::string(hook.entry) + " failed" + lineEnd;
    if (hook.failure == Failure::Shown)
        return {-1, "stale", {text}};
    return {-1, hook.failure == Failure::IntoMessage ? text : "", {}};
}

class UserExits : public InstallFolderFixture
{
protected:
    void Install(const std::string& built, mode_t mode = 0755, const std::string& path = "")
    {
        const std::string target = path.empty() ? Library() : path;
        ASSERT_TRUE(dvk::CopyFile(built, target, true));
        ASSERT_EQ(chmod(target.c_str(), mode), 0);
    }

    std::string Library() const { return PathOf("UserExits.so"); }

    // The instance and its library live as long as the process, so each case runs in a child of
    // its own, which reports the failures of its checks on its stderr.
    void ExpectInChild(const std::function<void(CUserExit*)>& body)
    {
        EXPECT_EXIT(
            {
                ::testing::TestPartResultArray failed;
                {
                    ::testing::ScopedFakeTestPartResultReporter reporter(&failed);
                    CSEMsgMgr::SetMsgMgr(&m_messages);
                    setenv("QORVI_SITE_LOG", PathOf("site.log").c_str(), 1);
                    body(CUserExit::GetInstance());
                }
                for (int i = 0; i < failed.size(); ++i)
                    std::cerr << failed.GetTestPartResult(i) << '\n';
                std::exit(failed.size() == 0 ? 0 : 1);
            },
            ::testing::ExitedWithCode(0), "");
    }

    Outcome Run(CUserExit& exits, const Hook& hook)
    {
        unlink(PathOf("site.log").c_str());
        CSEString message(u"stale");
        const int result = hook.call(exits, kFull, message);
        return {result, Text(message), std::exchange(m_messages.m_shown, {})};
    }

    ExitMessages m_messages;
};

} // namespace

TEST_F(UserExits, EachHookCallsItsEntryPointAndAnswersAsTheSiteDid)
{
    Install(QORVI_SITE_EXITS);
    setenv("QORVI_SITE_THROW", "Init", 1);  // after leaving texts of its own in its slots
    ExpectInChild([&](CUserExit* exits) {
        ASSERT_NE(exits, nullptr);
        EXPECT_EQ(CUserExit::GetInstance(), exits);
        const CSEInfo& info = CSEClientSettings::GetInstance(0)->GetCSEInfo();
        EXPECT_EQ(ReadFile("site.log"), "Init|" + Text(info.m_sIntegrationName) + "|" +
                                            Text(info.m_sCSEVersion) + "|" +
                                            Text(info.m_sCompatibleWKCVersion) + "\n");
        const std::string said = "Not now \xC3\xBC";
        for (const Hook& hook : kHooks) {
            SCOPED_TRACE(hook.entry);
            const bool hasMessage = hook.failure != Failure::Shown;
            setenv("QORVI_SITE_ANSWER", "7", 1);
            setenv("QORVI_SITE_MESSAGE", said.c_str(), 1);
            const Outcome refused(hook.answerUsed ? -1 : 0, hasMessage ? said : "stale",
                                  hasMessage ? Texts{said} : Texts{});
            EXPECT_EQ(Run(*exits, hook), refused);
            EXPECT_EQ(ReadFile("site.log"), Recorded(hook));
            setenv("QORVI_SITE_ANSWER", "0", 1);
            unsetenv("QORVI_SITE_MESSAGE");
            EXPECT_EQ(Run(*exits, hook), Outcome(0, hasMessage ? "" : "stale", {}));
            setenv("QORVI_SITE_THROW", hook.entry, 1);
            EXPECT_EQ(Run(*exits, hook), Failed(hook, ""));
        }
        CSEString out(u"Refused:");  // the part's line for a refusal reads the same texts
        exits->FormatErrorMsgStringForPartInfo(kFull, out);
        EXPECT_EQ(Text(out), "Refused:\r\n\t" + kType + "F\t" + std::string(133, 'F') + "\t" +
                                 std::string(19, 'F') + "\r\n");
    });
    unsetenv("QORVI_SITE_THROW");
}

TEST_F(UserExits, ALibraryWithoutInitIsUsedAndItsMissingEntryPointsStop)
{
    Install(QORVI_SITE_EXITS_SPARSE);
    ExpectInChild([&](CUserExit* exits) {
        ASSERT_NE(exits, nullptr);
        for (const Hook& hook : kHooks) {
            SCOPED_TRACE(hook.entry);
            const bool exported = std::strcmp(hook.entry, "UE_CheckoutPartPre") == 0;
            EXPECT_EQ(Run(*exits, hook), exported ? Outcome(0, "", {}) : Failed(hook, "\r\n"));
            EXPECT_EQ(ReadFile("site.log"), exported ? Recorded(hook) : "");
        }
    });
}

TEST_F(UserExits, GetInstanceLooksForTheLibraryOnEveryCall)
{
    const Texts missing{"Failed to locate the UserExits DLL: " + Library()};
    ExpectInChild([&](CUserExit* none) {
        EXPECT_EQ(none, nullptr);
        Install(QORVI_SITE_EXITS);
        CUserExit* exits = CUserExit::GetInstance();
        ASSERT_NE(exits, nullptr);
        ASSERT_EQ(unlink(Library().c_str()), 0);
        EXPECT_EQ(CUserExit::GetInstance(), nullptr);
        EXPECT_EQ(m_messages.m_shown, Texts(2, missing[0]));
        EXPECT_EQ(exits->ConnectPost(), 0) << "what is loaded stays usable";
        unsetenv("QX_DRAVIK_INSTALL_DIR");
        EXPECT_EQ(CUserExit::GetInstance(), nullptr);
        EXPECT_EQ(m_messages.m_shown.back(), "MSG_READREGISTRY_FAIL");
    });
}

// The library is a link to a file in a folder of its own, which another user may be able to change
// (the modes that allow it: DVKDynamicLibraryTest).
TEST_F(UserExits, ALibraryThatOthersCouldReplaceIsNotLoaded)
{
    char folder[] = "/tmp/qorvi-site-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string file = std::string(folder) + "/site.so";
    ASSERT_EQ(symlink(file.c_str(), Library().c_str()), 0);
    const struct
    {
        mode_t fileMode, folderMode;
        bool loads;
    } cases[] = {{0757, 0700, false}, {0755, 0770, false}, {0755, 0700, true}};
    for (const auto& library : cases) {
        SCOPED_TRACE(::testing::Message() << std::oct << library.fileMode << " in "
                                          << library.folderMode);
        Install(QORVI_SITE_EXITS, library.fileMode, file);
        ASSERT_EQ(chmod(folder, library.folderMode), 0);
        ExpectInChild([&](CUserExit* exits) {
            EXPECT_NE(exits, nullptr);
            EXPECT_EQ(Exists("site.log"), library.loads) << "Init ran";
            EXPECT_EQ(m_messages.m_shown.size(), library.loads ? 0u : 1u) << "the load failure box";
        });
        chmod(folder, 0700);
    }
    dvk::DeleteTree(folder);
}

TEST_F(UserExits, ALibraryThatDoesNotLoadStopsEveryHookAndTheHostMayReenterFromItsBox)
{
    std::ofstream(Library()) << "not a library";
    m_messages.m_reenter = true;
    ExpectInChild([&](CUserExit* exits) {
        ASSERT_NE(exits, nullptr);
        EXPECT_EQ(m_messages.m_reentered, std::vector<CUserExit*>{exits});
        EXPECT_EQ(m_messages.m_shown, Texts{"Failed to load the userExit DLL: " + Library()});
        CSEString message;
        EXPECT_EQ(exits->CheckoutPartPre(kFull, message), -1);
    });
}
