// CUserExit: finds and loads the site's user-exit library and calls its entry points, each inside
// the host error guard so that nothing the site library throws reaches the plug-in.
#include "CUserExit.h"

#include <cstring>
#include <memory>
#include <string>

#include "CSEClientSettings.h"
#include "CSELogger.h"
#include "CSEMsgMgr.h"
#include "CSEUtil.h"
#include "host/DVKDynamicLibrary.h"

namespace {

const char16_t kLibraryName[] = u"UserExits.so";
const char16_t kMsgBoxTitle[] = u"MSG_MSGBOXTITLE";
const char16_t kLineEnd[] = u"\r\n";
const char kInitEntry[] = "Init";
// The message whose "%s" names an entry point that is missing or failed.
const int kEntryPointFailureMsg = 0;

using InitEntry = int (*)(char**, char**, char**);
using NoArgumentEntry = int (*)();
using MessageEntry = int (*)(char**);
using PartEntry = int (*)(cad_part_struct*, char**);
using PartTextEntry = int (*)(cad_part_struct*, char*, char**);
using PartNumberEntry = int (*)(cad_part_struct*, int, char**);

void Show(const CSEString& text)
{
    CSEMsgMgr::ShowMsg(text, CSEString(kMsgBoxTitle), CSEMessageBoxError);
}

CSEString Tagged(const char16_t* operation, const char16_t* text)
{
    return CSEString(u"[CUserExit::") + operation + u"()] " + text;
}

CSEString FromUtf8(const char* text)
{
    CSEString out;
    CSEUtil::getCSEStringFromMultiByte(text, out);
    return out;
}

// A text field of the part record, read no further than the field even without its terminator.
template <std::size_t N>
CSEString FieldText(const char (&field)[N])
{
    const void* end = std::memchr(field, '\0', N);
    const std::size_t length = end != nullptr ? static_cast<const char*>(end) - field : N;
    return FromUtf8(std::string(field, length).c_str());
}

// The site library reads the fields as zero-terminated texts: a field filled to its end gets its
// last byte as terminator, so no reader runs past it.
template <std::size_t N>
void Terminate(char (&field)[N])
{
    if (std::memchr(field, '\0', N) == nullptr)
        field[N - 1] = '\0';
}

void TerminateTexts(cad_part_struct& part)
{
    Terminate(part.object_id);
    Terminate(part.server_type);
    Terminate(part.file_name);
    Terminate(part.server_version);
}

enum class Location
{
    Found,
    NoFolder,
    NoFile
};

// The path of the site library in the installation folder; tells the user what is missing.
Location LocateLibrary(CSEString& path)
{
    path = CSEUtil::GetInstallationFolder(CSEString());
    if (path.size() == 0) {
        Show(CSEString(u"MSG_READREGISTRY_FAIL"));
        return Location::NoFolder;
    }
    CSEUtil::AppendSlash(path);
    path += kLibraryName;
    if (!CSEUtil::doesFileExist(path)) {
        Show(u"Failed to locate the UserExits DLL: " + path);
        return Location::NoFile;
    }
    return Location::Found;
}

// Calls "Init" with the client's integration name, library version and compatible server version.
// The three texts are freed through the pointers kept here: "Init" may have written its own into
// the slots.
void CallInit(dvk::LibraryHandle library)
{
    const auto init = reinterpret_cast<InitEntry>(dvk::FindLibrarySymbol(library, kInitEntry));
    if (init == nullptr) {
        CSELogger::LogMsg(3, Tagged(u"Initialize", u"The user-exit library has no \"Init\" entry "
                                                   u"point; it is used without initialisation."));
        return;
    }
    const CSEInfo& info = CSEClientSettings::GetInstance(0)->GetCSEInfo();
    const CSEString* values[] = {&info.m_sIntegrationName, &info.m_sCSEVersion,
                                 &info.m_sCompatibleWKCVersion};
    std::unique_ptr<char[]> texts[3];
    char* slots[3];
    for (int i = 0; i < 3; ++i) {
        CSEUtil::getMultiByteFromCSEString(*values[i], &slots[i]);
        texts[i].reset(slots[i]);
    }
    CSELogger::LogMsg(5, Tagged(u"Initialize",
                                u"Calling the INIT User Exit function with the values ") +
                             *values[0] + *values[1] + *values[2]);
    try {
        init(&slots[0], &slots[1], &slots[2]);
    } catch (...) {
        CSELogger::LogMsg(3, Tagged(u"Initialize", u"The \"Init\" entry point of the user-exit "
                                                   u"library failed."));
    }
}

// How a hook reports a missing or failed entry point.
enum class FailureText
{
    None,      // hooks with a part record
    ToCaller,  // into the caller's message, not shown
    Shown      // shown to the user (the hook has no message)
};

struct Hook
{
    const char16_t* name;    // the operation, for the log
    const char* entryPoint;  // the site library's export
    bool answerUsed;         // a non-zero answer stops
    FailureText failureText;
};

const bool kAnswerUsed = true;
const bool kAnswerIgnored = false;

// Message 0 naming the entry point; with a line end when the entry point is missing.
CSEString EntryPointFailure(const Hook& hook, bool missing)
{
    CSEString text = CSEUtil::CSEStringFindReplace(CSEMsgMgr::GetMsg(kEntryPointFailureMsg), u"%s",
                                                   CSEString(hook.entryPoint));
    if (missing)
        text += kLineEnd;
    return text;
}

// The common road of every hook: look the entry point up, call it through call(entry, &message)
// inside the host error guard, turn the outcome into 0 or -1 and show what the site handed back.
template <typename Entry, typename Call>
int RunHook(dvk::LibraryHandle library, const Hook& hook, CSEString* message, Call call)
{
    CSELogger::LogDebugMsg(Tagged(hook.name, u"Entering"));
    int result = 0;
    char* siteMessage = nullptr;
    if (message != nullptr)
        message->clear();
    const auto entry = reinterpret_cast<Entry>(dvk::FindLibrarySymbol(library, hook.entryPoint));
    bool failed = entry == nullptr;
    if (!failed) {
        try {
            if (call(entry, &siteMessage) != 0 && hook.answerUsed)
                result = -1;
        } catch (...) {
            CSELogger::LogMsg(3, Tagged(hook.name, u"The user-exit entry point failed: ") +
                                     CSEString(hook.entryPoint));
            failed = true;
        }
    }
    if (failed) {
        result = -1;
        if (hook.failureText != FailureText::None) {
            const CSEString text = EntryPointFailure(hook, entry == nullptr);
            if (hook.failureText == FailureText::ToCaller && message != nullptr)
                *message = text;
            else if (hook.failureText == FailureText::Shown && text.size() != 0)
                Show(text);
        }
    }
    if (siteMessage != nullptr) {
        const CSEString text = FromUtf8(siteMessage);
        if (message != nullptr)
            *message = text;
        Show(text);
    }
    CSELogger::LogDebugMsg(Tagged(hook.name, u"Exiting"));
    return result;
}

int RunPartHook(dvk::LibraryHandle library, const Hook& hook, cad_part_struct& part,
                CSEString& message)
{
    TerminateTexts(part);
    return RunHook<PartEntry>(library, hook, &message,
                              [&part](PartEntry entry, char** out) { return entry(&part, out); });
}

int RunPartNumberHook(dvk::LibraryHandle library, const Hook& hook, cad_part_struct& part,
                      int value, CSEString& message)
{
    TerminateTexts(part);
    return RunHook<PartNumberEntry>(library, hook, &message,
                                    [&part, value](PartNumberEntry entry, char** out) {
                                        return entry(&part, value, out);
                                    });
}

} // namespace

CUserExit* CUserExit::GetInstance()
{
    CSELogger::LogDebugMsg(Tagged(u"GetInstance", u"Entering"));
    CSEString path;
    const Location location = LocateLibrary(path);
    if (location == Location::NoFolder)
        return nullptr;
    if (location == Location::NoFile) {
        CSELogger::LogDebugMsg(Tagged(u"GetInstance", u"Exiting"));
        return nullptr;
    }
    // Created once, even when loading fails: its hooks then answer -1. Built first and loaded
    // afterwards, so that a host re-entering here while the library loads (its message box turning
    // the interface loop) gets the instance instead of a recursive initialisation.
    static CUserExit instance;
    static bool loadTried = false;
    if (!loadTried) {
        loadTried = true;
        CSELogger::LogDebugMsg(Tagged(u"CUserExit", u"Entering"));
        instance.Initialize();
        CSELogger::LogDebugMsg(Tagged(u"CUserExit", u"Exiting"));
    }
    CSELogger::LogDebugMsg(Tagged(u"GetInstance", u"Exiting"));
    return &instance;
}

CUserExit::CUserExit() : m_hUserExitLib(nullptr)
{
}

// The site library stays loaded until the process ends.
CUserExit::~CUserExit() = default;

unsigned char CUserExit::Initialize()
{
    CSELogger::LogDebugMsg(Tagged(u"Initialize", u"Entering"));
    CSEString path;
    const Location location = LocateLibrary(path);
    if (location == Location::NoFolder)
        return 0;
    unsigned char loaded = 0;
    if (location == Location::Found) {
        std::string error;
        m_hUserExitLib = dvk::OpenTrustedLibrary(path().ToUTF8(), error);
        if (m_hUserExitLib == nullptr) {
            CSELogger::LogMsg(3, Tagged(u"Initialize", u"The user-exit library is not loaded: ") +
                                     CSEString(error.c_str()));
            Show(u"Failed to load the userExit DLL: " + path);
        } else {
            CallInit(m_hUserExitLib);
            loaded = 1;
        }
    }
    CSELogger::LogDebugMsg(Tagged(u"Initialize", u"Exiting"));
    return loaded;
}

int CUserExit::ConnectPre(CSEString& message)
{
    const Hook hook{u"ConnectPre", "UE_ConnectPre", kAnswerUsed, FailureText::ToCaller};
    return RunHook<MessageEntry>(m_hUserExitLib, hook, &message,
                                 [](MessageEntry entry, char** out) { return entry(out); });
}

int CUserExit::ConnectPost()
{
    const Hook hook{u"ConnectPost", "UE_ConnectPost", kAnswerIgnored, FailureText::Shown};
    return RunHook<NoArgumentEntry>(m_hUserExitLib, hook, nullptr,
                                    [](NoArgumentEntry entry, char**) { return entry(); });
}

int CUserExit::CheckinDialogPre(CSEString& message)
{
    const Hook hook{u"CheckinDialogPre", "UE_CheckinDialogPre", kAnswerUsed, FailureText::ToCaller};
    return RunHook<MessageEntry>(m_hUserExitLib, hook, &message,
                                 [](MessageEntry entry, char** out) { return entry(out); });
}

int CUserExit::CheckinFileUploadStart(cad_part_struct part, CSEString& message)
{
    const Hook hook{u"CheckinFileUploadStart", "UE_CheckinFileUploadStart", kAnswerUsed,
                    FailureText::None};
    return RunPartHook(m_hUserExitLib, hook, part, message);
}

int CUserExit::CheckinPartCreatePre(cad_part_struct part, CSEString& message)
{
    const Hook hook{u"CheckinPartCreatePre", "UE_CheckinPartCreatePre", kAnswerUsed,
                    FailureText::None};
    return RunPartHook(m_hUserExitLib, hook, part, message);
}

int CUserExit::CheckinPartPost(cad_part_struct part, CSEString& message)
{
    const Hook hook{u"CheckinPartPost", "UE_CheckinPartPost", kAnswerIgnored, FailureText::None};
    return RunPartHook(m_hUserExitLib, hook, part, message);
}

int CUserExit::CheckoutPartPre(cad_part_struct part, CSEString& message)
{
    const Hook hook{u"CheckoutPartPre", "UE_CheckoutPartPre", kAnswerUsed, FailureText::None};
    return RunPartHook(m_hUserExitLib, hook, part, message);
}

int CUserExit::CheckoutPartPost(cad_part_struct part, CSEString& message)
{
    const Hook hook{u"CheckoutPartPost", "UE_CheckoutPartPost", kAnswerIgnored, FailureText::None};
    return RunPartHook(m_hUserExitLib, hook, part, message);
}

int CUserExit::OpenPartPre(cad_part_struct part, char* text, CSEString& message)
{
    const Hook hook{u"OpenPartPre", "UE_OpenPartPre", kAnswerIgnored, FailureText::None};
    TerminateTexts(part);
    return RunHook<PartTextEntry>(m_hUserExitLib, hook, &message,
                                  [&part, text](PartTextEntry entry, char** out) {
                                      return entry(&part, text, out);
                                  });
}

int CUserExit::OpenPartPost(cad_part_struct part, CSEString& message)
{
    const Hook hook{u"OpenPartPost", "UE_OpenPartPost", kAnswerIgnored, FailureText::None};
    return RunPartHook(m_hUserExitLib, hook, part, message);
}

int CUserExit::ModifyLockPartPre(cad_part_struct part, int value, CSEString& message)
{
    const Hook hook{u"ModifyLockPartPre", "UE_ModifyLockPartPre", kAnswerUsed, FailureText::None};
    return RunPartNumberHook(m_hUserExitLib, hook, part, value, message);
}

int CUserExit::ModifyLockPartPost(cad_part_struct part, int value, CSEString& message)
{
    const Hook hook{u"ModifyLockPartPost", "UE_ModifyLockPartPost", kAnswerIgnored,
                    FailureText::None};
    return RunPartNumberHook(m_hUserExitLib, hook, part, value, message);
}

int CUserExit::UpdateAttributesInLedgraPre(cad_part_struct part, CSEString& message)
{
    const Hook hook{u"UpdateAttributesInLedgraPre", "UE_UpdateAttributesInLedgraPre", kAnswerUsed,
                    FailureText::None};
    return RunPartHook(m_hUserExitLib, hook, part, message);
}

int CUserExit::UpdateAttributesInLedgraPost(cad_part_struct part, CSEString& message)
{
    const Hook hook{u"UpdateAttributesInLedgraPost", "UE_UpdateAttributesInLedgraPost",
                    kAnswerIgnored, FailureText::None};
    return RunPartHook(m_hUserExitLib, hook, part, message);
}

int CUserExit::UpdateAttributesInCadPre(cad_part_struct part, CSEString& message)
{
    const Hook hook{u"UpdateAttributesInCadPre", "UE_UpdateAttributesInCadPre", kAnswerUsed,
                    FailureText::None};
    return RunPartHook(m_hUserExitLib, hook, part, message);
}

int CUserExit::UpdateAttributesInCadPost(cad_part_struct part, CSEString& message)
{
    const Hook hook{u"UpdateAttributesInCadPost", "UE_UpdateAttributesInCadPost", kAnswerIgnored,
                    FailureText::None};
    return RunPartHook(m_hUserExitLib, hook, part, message);
}

void CUserExit::FormatErrorMsgString(cad_part_struct, unsigned int number, const CSEString& text,
                                     CSEString& out)
{
    CSELogger::LogDebugMsg(u"[CUserExit::FormatErrorMsgString()] Function");
    out = CSEUtil::CSEStringFindReplace(CSEMsgMgr::GetMsg(static_cast<int>(number)), u"%s", text) +
          kLineEnd;
    Show(out);
    CSELogger::LogDebugMsg(u"Exiting [CUserExit::FormatErrorMsgString()] Function");
}

void CUserExit::FormatErrorMsgStringForPartInfo(cad_part_struct part, CSEString& out)
{
    CSELogger::LogDebugMsg(u"Entering [CUserExit::FormatErrorMsgStringForPartInfo()] Function");
    out += u"\r\n\t";
    out += FieldText(part.server_type);
    out += u"\t";
    out += FieldText(part.file_name);
    out += u"\t";
    out += FieldText(part.server_version);
    out += kLineEnd;
    CSELogger::LogDebugMsg(u"Exiting [CUserExit::FormatErrorMsgStringForPartInfo()] Function");
}
