// CSEUtil: shared static helpers of the library.
#include "CSEUtil.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "CSEClientSettings.h"
#include "CSEIntegrationAgent.h"
#include "CSELogger.h"
#include "CSEObjectInfo.h"
#include "CSEServerSettings.h"
#include "cad_part_struct.h"
#include "CSEMsgMgr.h"
#include "capture/MOCK_CallHooks.h"
#include "host/DVKCaseMap.h"
#include "host/DVKEnv.h"
#include "host/DVKFatal.h"
#include "host/DVKFileTree.h"
#include "host/DVKFiles.h"
#include "host/DVKProcess.h"
#include "host/DVKUtf.h"
#include "host/DVKXmlChars.h"

#ifndef QORVI_LIBRARY_VERSION
#define QORVI_LIBRARY_VERSION "5.0.0"
#endif

int CSEUtil::m_iUniqueId = 0;

namespace {

const char kInstallFolderVariable[] = "QX_DRAVIK_INSTALL_DIR";
const char kCustomBrowserVariable[] = "DEFAULT_BROWSER_PATH";
const char kBrowserVariable[] = "BROWSER";
const char kDefaultBrowserProgram[] = "xdg-open";
const char kWindowRaiseProgram[] = "wmctrl";
const char16_t kMsgBoxTitle[] = u"MSG_MSGBOXTITLE";
const char16_t kXmlDeclaration[] = u"<?xml version='1.0'?>";
const char16_t kLaunchBrowserLog[] = u"[CSEIntegrationAgent::LaunchBrowser] ";
const int kMaxPathBytes = 256;
const int kMaxObjectNameBytes = 128;

// True for an empty name and for one with a ".." step: it names no file inside its folder.
bool NamesNoFileInside(const std::u16string& name)
{
    if (name.empty())
        return true;
    std::u16string::size_type start = 0;
    while (start <= name.size()) {
        std::u16string::size_type end = name.find(u'/', start);
        if (end == std::u16string::npos)
            end = name.size();
        if (name.compare(start, end - start, u"..") == 0)
            return true;
        start = end + 1;
    }
    return false;
}

const std::u16string& Units(const CSEString& text)
{
    return text().Text();
}

std::string Utf8(const CSEString& text)
{
    return dvk::Utf16ToUtf8(Units(text));
}

CSEString FromUtf8(const std::string& text)
{
    return CSEString(DVKUnicodeString(dvk::Utf8ToUtf16(text)));
}

CSEString FromUnits(std::u16string units)
{
    return CSEString(DVKUnicodeString(std::move(units)));
}

int Utf8Length(const CSEString& text)
{
    return static_cast<int>(Utf8(text).size());
}

// atoi rules (blanks, sign, digits, stop at the first other character), clamped to the int range.
int LeadingInteger(const std::string& text)
{
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

// The number written by exactly the count characters at start; -1 when they are not all digits.
int DigitsAt(const std::u16string& text, std::size_t start, std::size_t count)
{
    if (start > text.size() || text.size() - start < count)
        return -1;
    int value = 0;
    for (std::size_t i = start; i < start + count; ++i) {
        const char16_t c = text[i];
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

void RemoveAll(std::u16string& text, char16_t unit)
{
    std::u16string kept;
    kept.reserve(text.size());
    for (char16_t c : text) {
        if (c != unit)
            kept += c;
    }
    text.swap(kept);
}

CSEString Quoted(const char16_t* name, const CSEString& value)
{
    return CSEString(u" ") + name + u"='" + CSEUtil::XMLEscape(value) + u"'";
}

// A client setting, empty when absent or when the client settings cannot be had.
CSEString ClientSetting(const char16_t* section, const char16_t* key)
{
    CSEString value;
    try {
        CSEClientSettings::GetInstance(0)->GetSetting(section, key, value);
    } catch (...) {
        value.clear();
    }
    return value;
}

// The identity attributes shared by the two envelopes: cname to csever.
CSEString IdentityAttributes(const CSEString& cmdName)
{
    // The process id is taken once and reused for every envelope of the process.
    static const int processId = dvk::GetProcessId();
    const CSEInfo& info = CSEClientSettings::GetInstance(0)->GetCSEInfo();
    return Quoted(u"cname", cmdName) + Quoted(u"iid", CSEUtil::getCSEStringFromInt(processId)) +
           Quoted(u"cse", info.m_sIntegrationName) + Quoted(u"addn", u"abc") +
           Quoted(u"ver", info.m_sCompatibleWKCVersion) + Quoted(u"csever", info.m_sCSEVersion);
}

CSEString EnvelopeTail(bool focusBrowser)
{
    return Quoted(u"focusbrowser", focusBrowser ? u"true" : u"false") + Quoted(u"loglevel", u"4") +
           u"/>";
}

bool ListHoldsExactly(const CSEWrapperStringVector& list, const CSEString& text)
{
    return CSEUtil::CSEStringVectorLookup(list, text, 1) >= 0;
}

// The program that opens a URL with the desktop's associated browser.
std::string DesktopBrowserProgram()
{
    const std::string browser = dvk::GetEnvOrEmpty(kBrowserVariable);
    return browser.empty() ? std::string(kDefaultBrowserProgram) : browser;
}

void ShowLaunchFailure(const char16_t* message)
{
    CSEMsgMgr::ShowMsg(CSEString(message), CSEString(kMsgBoxTitle), CSEMessageBoxError);
}

// Starts program on url, showing failureMessage when no process could be created.
int LaunchBrowserProgram(const CSEString& program, const CSEString& url,
                         const char16_t* failureMessage)
{
    CSELogger::LogMsg(5, CSEString(kLaunchBrowserLog) +
                             u"Creating a process by issuing the command : " + program + u" " +
                             url);
    const int started = CSEUtil::CreateWindowsBrowserProcess(program, url);
    if (started == 0)
        ShowLaunchFailure(failureMessage);
    return started;
}

// The global settings of the current login; null when nobody is logged in.
CSEServerSettings* CurrentSettings()
{
    return CSEIntegrationAgent::GetIntegrationAgent().GetServerSettingsPtr();
}

} // namespace

// ---- Text ----

int CSEUtil::getMultiByteFromCSEString(const CSEString& text, char** out)
{
    const std::string bytes = Utf8(text);
    char* buffer = new char[Units(text).size() * 4 + 1];
    bytes.copy(buffer, bytes.size());
    buffer[bytes.size()] = '\0';
    *out = buffer;
    return static_cast<int>(bytes.size());
}

int CSEUtil::getCSEStringFromMultiByte(const char* text, CSEString& out)
{
    out.clear();
    if (text == nullptr)
        return 0;
    try {
        out = FromUtf8(std::string(text));
    } catch (const std::bad_alloc&) {
        CSELogger::LogMsg(3, u"[CSEUtil::getCSEStringFromMultiByte] Exception occured");
        out.clear();
        return -1;
    }
    return out.length();
}

int CSEUtil::getIntFromCSEString(const CSEString& text)
{
    return LeadingInteger(Utf8(text));
}

CSEString CSEUtil::getCSEStringFromInt(int number)
{
    return FromUtf8(std::to_string(number));
}

CSEString CSEUtil::getCSEStringFromLong(int number)
{
    return getCSEStringFromInt(number);
}

CSEString CSEUtil::ToLower(const CSEString& text)
{
    CSEString lower(text);
    lower.ToLower();
    return lower;
}

int CSEUtil::CSEStringVectorLookup(const CSEWrapperStringVector& vector, const CSEString& text,
                                   unsigned char flag)
{
    const int count = vector.Size();
    for (int i = 0; i < count; ++i) {
        const CSEString* element = static_cast<const DVKListPtrCSEString&>(vector)[i + 1];
        if (element == nullptr)
            continue;
        if (flag == 1 ? *element == text : dvk::EqualIgnoringCase(Units(*element), Units(text)))
            return i;
    }
    return -1;
}

CSEString CSEUtil::GetFileExtn(const CSEString& name)
{
    const int dot = name.find_last_of(u".");
    if (dot < 0)
        return CSEString();
    return name.substr(dot + 1);
}

unsigned char CSEUtil::StrCompareNoCase(const CSEString& first, const CSEString& second)
{
    return dvk::EqualIgnoringCase(Units(first), Units(second)) ? 1 : 0;
}

int CSEUtil::GetTokenizedArray(const CSEString& text, const CSEString& separators,
                               CSEWrapperStringVector& out)
{
    CSELogger::LogDebugMsg(u"QxMstnUtils::GetTokenizedArray:: entered");
    if (text.size() == 0 || separators.size() == 0) {
        CSELogger::LogMsg(5, CSEString(u"QxMstnUtils::GetTokenizedArray:: Failed to create "
                                       u"DVKUnicodeString from CSEString") +
                                 text);
        return 0;
    }
    const std::u16string& units = Units(text);
    const std::u16string& separatorSet = Units(separators);
    int appended = 0;
    std::size_t start = 0;
    while (start <= units.size()) {
        std::size_t end = units.find_first_of(separatorSet, start);
        if (end == std::u16string::npos)
            end = units.size();
        // Two separators in a row (or one at either end) hold no token: it is skipped.
        if (end > start) {
            out.push_back(FromUnits(units.substr(start, end - start)));
            ++appended;
        }
        start = end + 1;
    }
    CSELogger::LogDebugMsg(u"QxMstnUtils::GetTokenizedArray:: exiting");
    return appended;
}

CSEString CSEUtil::GetCSEStringFromDVKUnicodeString(const DVKUnicodeString& text)
{
    return CSEString(text);
}

DVKUnicodeString CSEUtil::GetDVKUnicodeStringFromCSEString(const CSEString& text)
{
    return text();
}

CSEString CSEUtil::XMLEscape(const CSEString& text)
{
    std::u16string units = Units(text);
    dvk::ReplaceNonXmlChars(units);
    std::u16string escaped;
    escaped.reserve(units.size());
    for (char16_t c : units) {
        switch (c) {
        case u'&': escaped += u"&amp;"; break;
        case u'<': escaped += u"&lt;"; break;
        case u'>': escaped += u"&gt;"; break;
        case u'\'': escaped += u"&apos;"; break;
        case u'"': escaped += u"&quot;"; break;
        // A parser normalises these to blanks inside attribute values unless they are references.
        case u'\t': escaped += u"&#9;"; break;
        case u'\n': escaped += u"&#10;"; break;
        case u'\r': escaped += u"&#13;"; break;
        default: escaped += c; break;
        }
    }
    return FromUnits(std::move(escaped));
}

// ---- Files and folders ----

CSEString CSEUtil::GetInstallationFolder(CSEString)
{
    return FromUtf8(dvk::GetEnvOrEmpty(kInstallFolderVariable));
}

CSEString CSEUtil::SaveXML(CSEString fileName, const CSEString& content)
{
    CSEString path = GetInstallationFolder(CSEString());
    if (path().IsEmpty() || NamesNoFileInside(Units(fileName))) {
        CSELogger::LogMsg(3, CSEString(u"[CSEUtil::SaveXML] Not written: the installation "
                                       u"folder is not set or the name leaves it: ") +
                                 fileName);
        return CSEString();
    }
    AppendSlash(path);
    path += fileName;
    const std::string target = Utf8(path);
    // A request may carry a password: only its owner may read it.
    if (dvk::WriteWholeFile(target, Utf8(content), dvk::kOwnerOnlyFile))
        return path;
    // The service must not find the previous request under the name it is handed.
    dvk::DeleteFile(target);
    CSELogger::LogMsg(3, CSEString(u"[CSEUtil::SaveXML] Failed to write the file ") + path);
    return path;
}

void CSEUtil::AppendSlash(CSEString& path)
{
    const std::u16string& units = Units(path);
    if (units.empty() || units.back() != u'/')
        path += u"/";
}

void CSEUtil::GetFileNameNDir(const CSEString& path, CSEString& dir, CSEString& file)
{
    std::string folder;
    std::string name;
    dvk::SplitPath(Utf8(path), folder, name);
    dir = FromUtf8(folder);
    file = FromUtf8(name);
}

unsigned char CSEUtil::doesFileExist(const CSEString& path)
{
    return dvk::PathExists(Utf8(path)) ? 1 : 0;
}

CSEString CSEUtil::GetEnvVariableValue(const CSEString& name)
{
    return FromUtf8(dvk::GetEnvOrEmpty(Utf8(name).c_str()));
}

unsigned char CSEUtil::CopyDirectoryContent(const CSEString& from, const CSEString& to)
{
    return dvk::CopyFolderContent(Utf8(from), Utf8(to)) ? 1 : 0;
}

CSEString CSEUtil::GetFileDetail(const CSEString& path, int detail)
{
    if (path.size() == 0)
        return path;
    CSEString folder;
    CSEString name;
    GetFileNameNDir(path, folder, name);
    switch (detail) {
    case 0: return path;
    case 1: return folder;
    case 2: return name;
    case 3: return CSEString(ExtractBaseNameFromFileName(name()));
    case 4: return GetFileExtn(name);
    default: return CSEString();
    }
}

// ---- Paths and names used in requests ----

int CSEUtil::FormatDirNameForWKC(const CSEObjectInfo& object, CSEString& out)
{
    return GetRealPath(object.dirName, out);
}

int CSEUtil::GetPrintablePath(const CSEString& path, CSEString& out)
{
    out = path;
    return 0;
}

int CSEUtil::GetRealPath(const CSEString& path, CSEString& out)
{
    out.clear();
    std::string realPath;
    if (!dvk::GetRealPath(Utf8(path), realPath))
        return 1;
    out = FromUtf8(realPath);
    return 0;
}

CSEString CSEUtil::RemoveTrailingSlashes(const CSEString& path)
{
    if (path.size() == 0)
        return CSEString();
    std::u16string units = Units(path);
    while (units.size() > 1 && units.back() == u'/')
        units.pop_back();
    return FromUnits(std::move(units));
}

CSEString CSEUtil::GetCurrentUserName()
{
    CSELogger::LogDebugMsg(u"[CSEUtil::GetCurrentUserName] Entering");
    std::string name = dvk::GetEffectiveUserName();
    if (name.empty())
        name = dvk::GetEnvOrEmpty("USER");
    const CSEString userName = FromUtf8(name);
    CSELogger::LogDebugMsg(CSEString(u"[CSEUtil::GetCurrentUserName] User name : ") + userName);
    CSELogger::LogDebugMsg(u"[CSEUtil::GetCurrentUserName] Exiting");
    return userName;
}

unsigned char CSEUtil::IsDerivedOutputTypeUserDefined(const CSEString& type, CSEString& extension)
{
    if (type.size() == 0 || type.find(u"userfile_") < 0)
        return 0;
    extension = CSEString(u".") + type.substr(type.find(u"_") + 1);
    return 1;
}

int CSEUtil::GetPortNumberFromUrl(const CSEString& url)
{
    const CSEString marker(u"appletPort=");
    const int at = url.find(marker);
    if (at < 0)
        return -1;
    return getIntFromCSEString(url.substr(at + marker.size()));
}

// ---- Request texts ----

CSEString CSEUtil::CSEGetCmdHeaderString(const CSEString& cmdName, bool focusBrowser)
{
    CSEString header = CSEString(kXmlDeclaration) + u"<command" + IdentityAttributes(cmdName);
    if (cmdName == u"login" || cmdName == u"loginEx")
        header += Quoted(u"username", GetCurrentUserName());
    return header + EnvelopeTail(focusBrowser);
}

CSEString CSEUtil::CSEGetResponseHeaderString(const CSEString& cmdName, bool focusBrowser)
{
    return CSEString(kXmlDeclaration) + u"<response" + Quoted(u"result", u"success") +
           IdentityAttributes(cmdName) + EnvelopeTail(focusBrowser);
}

CSEString CSEUtil::CSEGetRequestCmdString(const CSEString& dirName, const CSEString& fileName)
{
    const CSEInfo& info = CSEClientSettings::GetInstance(0)->GetCSEInfo();
    return CSEString(kXmlDeclaration) + u"<request" + Quoted(u"dirname", dirName) +
           Quoted(u"filename", fileName) + Quoted(u"ver", info.m_sCompatibleWKCVersion) +
           Quoted(u"csever", info.m_sCSEVersion) + u"/>";
}

// ---- Further text and file operations ----

CSEString CSEUtil::CSEStringFindReplace(const CSEString& text, const CSEString& find,
                                        const CSEString& replace)
{
    CSEString copy(text);
    copy.ReplaceSubString(find, replace);
    return copy;
}

CSEString CSEUtil::InsertCarriageReturn(const CSEString& text)
{
    return CSEStringFindReplace(text, u"\n", u"\r\n");
}

DVKUnicodeString CSEUtil::ExtractBaseNameFromFileName(const DVKUnicodeString& name)
{
    const int dot = name.ReverseFind(DVKUnicodeString(u"."));
    if (dot < 0)
        return name;
    return name.SubString(0, dot);
}

unsigned char CSEUtil::CopyFileW(const CSEString& source, const CSEString& target,
                                 unsigned char failIfExists)
{
    const std::string targetPath = Utf8(target);
    if (failIfExists == 1 && dvk::PathExists(targetPath) && !dvk::IsDirectory(targetPath))
        return 0;
    return dvk::CopyFile(Utf8(source), targetPath, failIfExists == 0) ? 1 : 0;
}

unsigned char CSEUtil::CreateDirectoryW(const CSEString& path)
{
    CSELogger::LogDebugMsg(CSEString(u"[CSEUtil::CreateDirectoryW] ") + path);
    return dvk::CreateDirectories(Utf8(path)) ? 1 : 0;
}

unsigned char CSEUtil::CreateNewFile(const CSEString& path)
{
    const std::string file = Utf8(path);
    if (file.empty())
        return 0;
    std::FILE* stream = std::fopen(file.c_str(), "rb");
    // Appending creates a missing file and never truncates one that only could not be read.
    if (stream == nullptr)
        stream = std::fopen(file.c_str(), "ab");
    if (stream == nullptr)
        return 0;
    return std::fclose(stream) == 0 ? 1 : 0;
}

int CSEUtil::DeleteFileFromDisk(const CSEString& path)
{
    return dvk::DeleteFile(Utf8(path)) ? 0 : 1;
}

// ---- Look-ups in the global settings ----

unsigned char CSEUtil::IsQxTypeValid(const CSEString& cadType, const CSEString& qxType)
{
    const CSEServerSettings* settings = CurrentSettings();
    if (settings == nullptr)
        return 0;
    return ListHoldsExactly(settings->GetBusTypes(cadType), qxType) ? 1 : 0;
}

unsigned char CSEUtil::GetCADAttributeMappedToCSEType(const CSEString& type, CSEString& attribute)
{
    const CSEServerSettings* settings = CurrentSettings();
    if (settings == nullptr)
        return 0;
    attribute = settings->GetCSETypetoCADAttributeMapping(type);
    return attribute.size() > 0 ? 1 : 0;
}

unsigned char CSEUtil::IsCommandEnabled(const CSEString& command)
{
    const CSEServerSettings* settings = CurrentSettings();
    if (settings == nullptr)
        return 1;
    return CSEStringVectorLookup(settings->GetCSEDisabledCommandsList(), command, 0) >= 0 ? 0 : 1;
}

unsigned char CSEUtil::IsCadTypePreventedFromCheckin(const CSEString& type)
{
    const CSEServerSettings* settings = CurrentSettings();
    if (settings == nullptr || !ListHoldsExactly(settings->GetDvkPreventTypeCheckinOptions(), type))
        return 0;
    CSELogger::LogMsg(5, CSEString(u"[CSEUtil::IsCadTypePreventedFromCheckin] The Type") + type +
                             u"exists in the prevented types list");
    return 1;
}

unsigned char CSEUtil::IsCadTypeExcludedFromCheckin(const CSEString& type)
{
    const CSEServerSettings* settings = CurrentSettings();
    if (settings == nullptr || !ListHoldsExactly(settings->GetDvkExcludeTypesListOptions(), type))
        return 0;
    CSELogger::LogMsg(5, CSEString(u"[CSEUtil::IsCadTypeExcludedFromCheckin] The Type") + type +
                             u"exists in the excluded types list");
    return 1;
}

unsigned char CSEUtil::IsCadObjTypeDerivedOutput(const CSEString& type)
{
    const CSEServerSettings* settings = CurrentSettings();
    if (settings == nullptr)
        return 0;
    return ListHoldsExactly(settings->GetTypeDerivedOutputMapping(u"TYPE_DERIVEDOUTPUT_LIKE"), type)
               ? 1
               : 0;
}

unsigned char CSEUtil::IsDerivedOutputDeleteOnCheckin(const CSEString& type)
{
    CSEServerSettings* settings = CurrentSettings();
    if (settings == nullptr)
        return 0;
    CSEStringCSEStringMap& options = settings->GetDvkDerivedOutputOptions();
    const CSEStringCSEStringMapIterator option = options.find(type);
    return option != options.end() && (*option).value == u"yes" ? 1 : 0;
}

CSEString CSEUtil::GetServerVersionsString(const CSEString& component)
{
    CSEServerSettings* settings = CurrentSettings();
    if (settings == nullptr)
        return CSEString();
    CSEStringCSEStringMap& versions = settings->GetServerComponentVersions();
    const CSEStringCSEStringMapIterator version = versions.find(ToLower(component));
    return version != versions.end() ? (*version).value : CSEString();
}

unsigned char CSEUtil::IsPNGViewableSupported()
{
    return IsVersionEqualOrLater(GetServerVersionsString(u"framework"), u"2008", 2);
}

unsigned char CSEUtil::ValidateFilename(const CSEString& name)
{
    const CSEServerSettings* settings = CurrentSettings();
    if (settings == nullptr)
        return 0;
    if (settings->IsFilenameValid(name))
        return 1;
    CSELogger::LogMsg(3, u"[CSEUtil::ValidateFilename]:UnSupported characters found in the "
                         u"filename. Throwing exception");
    return 0;
}

// ---- Versions ----

unsigned char CSEUtil::IsVersionEqualOrLater(const CSEString& version, const CSEString& year,
                                             int minor)
{
    std::u16string text = Units(ToLower(version));
    if (text.rfind(u"10-", 0) == 0 || text.rfind(u"10.", 0) == 0)
        return 0;

    std::u16string yearText = Units(year);
    const bool yearHasX = yearText.find(u'x') != std::u16string::npos;
    if (yearText.empty() || yearText[0] < u'0' || yearText[0] > u'9')
        DVKFatalError("iConvertYear != -1");
    const int wantedYear = getIntFromCSEString(year);
    RemoveAll(yearText, u'x');
    if (minor != -1 && wantedYear > 2008)
        DVKFatalError("iMinorVersion == -1");

    std::size_t marker = text.find(u"qtl");
    if (marker == std::u16string::npos) {
        CSEString yearForm;
        if (!GetVersioninYearFormat(version, yearForm))
            return 0;
        // The rewritten text starts with its marker.
        text = u"qtl" + Units(yearForm);
        marker = 0;
    }
    const bool versionHasX = text.find(u'x') != std::u16string::npos;
    RemoveAll(text, u'x');

    const int releaseYear = DigitsAt(text, marker + 3, 4);
    if (releaseYear < 0 || releaseYear < wantedYear)
        return 0;
    if (releaseYear > wantedYear)
        return 1;
    if (minor == -1)
        return yearHasX && !versionHasX ? 0 : 1;
    // The minor number of a release stands between its first "-" and the next "." (or the end).
    const std::size_t dash = text.find(u'-');
    if (dash == std::u16string::npos)
        return minor <= 0 ? 1 : 0;
    const std::size_t dot = text.find(u'.', dash + 1);
    const std::u16string minorText =
        text.substr(dash + 1, dot == std::u16string::npos ? std::u16string::npos : dot - dash - 1);
    return getIntFromCSEString(FromUnits(minorText)) >= minor ? 1 : 0;
}

unsigned char CSEUtil::GetVersioninYearFormat(const CSEString& version, CSEString& out)
{
    const std::u16string text = Units(ToLower(version));
    const std::size_t r = text.find(u'r');
    if (r == std::u16string::npos)
        return 0;
    const int release = DigitsAt(text, r + 1, 3);
    if (release < 207)
        return 0;
    // Two release numbers per year from r207 (2010); the second of a year carries an "x".
    const int steps = release - 207;
    out = getCSEStringFromInt(2010 + steps / 2);
    if (steps % 2 == 1)
        out += u"x";
    return 1;
}

CSEString CSEUtil::GetCSEVersion()
{
    return CSEString(QORVI_LIBRARY_VERSION);
}

unsigned char CSEUtil::GetMajorAndMinorVersion(int& major, int& minor)
{
    const std::string version = QORVI_LIBRARY_VERSION;
    const std::string::size_type dot = version.find('.');
    if (version.empty() || version[0] < '0' || version[0] > '9' || dot == std::string::npos)
        return 0;
    major = LeadingInteger(version);
    minor = LeadingInteger(version.substr(dot + 1));
    return 1;
}

// ---- Name limits ----

unsigned char CSEUtil::CheckFileNameForMaxLength(const CSEString& path)
{
    if (path.size() == 0)
        return 0;
    CSEString folder;
    CSEString name;
    GetFileNameNDir(path, folder, name);
    return Utf8Length(path) <= kMaxPathBytes && Utf8Length(folder) <= kMaxPathBytes &&
                   Utf8Length(name) <= kMaxPathBytes
               ? 1
               : 0;
}

unsigned char CSEUtil::CheckObjNameForRLXLength(const CSEString& name)
{
    const CSEString baseName = GetFileDetail(name, 3);
    if (baseName.size() == 0)
        return 0;
    return Utf8Length(baseName) < kMaxObjectNameBytes ? 1 : 0;
}

// ---- User-exit part record ----

unsigned char CSEUtil::GetCAD_PARTfromObjectInfo(cad_part_struct& part, const CSEObjectInfo& obj)
{
    CSELogger::LogDebugMsg(u"CSEUtil::GetCAD_PARTfromObjectInfo:: entering");
    if (obj.dirName.size() == 0 || obj.fileName.size() == 0)
        CSELogger::LogMsg(5, u"CSEUtil::GetCAD_PARTfromObjectInfo::Error :Either the filename or "
                             u"the dirname is blank");
    struct Field
    {
        const char16_t* name;
        const CSEString& text;
        char* target;
        std::size_t size;
        std::string bytes;
    };
    Field fields[] = {
        {u"filename", obj.fileName, part.file_name, sizeof part.file_name, Utf8(obj.fileName)},
        {u"qxversion", obj.qxVersion, part.server_version, sizeof part.server_version,
         Utf8(obj.qxVersion)},
        {u"cadid", obj.cadId, part.object_id, sizeof part.object_id, Utf8(obj.cadId)},
        {u"bustype", obj.busType, part.server_type, sizeof part.server_type, Utf8(obj.busType)},
    };
    // Every text is checked before any is written, so a refused object leaves the record as it was.
    for (const Field& field : fields) {
        if (field.bytes.size() < field.size)
            continue;
        CSELogger::LogMsg(3, CSEString(u"CSEUtil::GetCAD_PARTfromObjectInfo::Error :The ") +
                                 field.name + u" does not fit in the part record (at most " +
                                 getCSEStringFromInt(static_cast<int>(field.size) - 1) +
                                 u" bytes): " + field.text);
        return 0;
    }
    const auto write = [](const Field& field) {
        std::memset(field.target, 0, field.size);
        std::memcpy(field.target, field.bytes.data(), field.bytes.size());
    };
    write(fields[0]);
    if (obj.fileName.size() == 0 || obj.fileName == u"\\")
        return 0;
    for (std::size_t i = 1; i < sizeof fields / sizeof fields[0]; ++i)
        write(fields[i]);
    CSELogger::LogDebugMsg(u"CSEUtil::GetCAD_PARTfromObjectInfo:: exiting");
    return 1;
}

// ---- Browser ----

int CSEUtil::StartBrowser(const CSEString& url)
{
    // Recorded in capture mode; in replay mode no browser is started and the recorded result stands.
    return MOCK_CallHooks::StartBrowser(url, [&url]() {
        const CSEString mode = ClientSetting(CSE_SECTION_CLIENT, CSE_KEY_WINDOWSBROWSERMODE);
        if (mode == u"DefaultBrowser")
            return LaunchDefaultBrowser(url);
        if (mode == u"HTMLApplication")
            return LaunchAppAssocWithHTMLBrowser(url);
        if (!dvk::GetEnvOrEmpty(kCustomBrowserVariable).empty())
            return LaunchCustomAppBrowser(url);
        return LaunchAppAssocWithHTMLBrowser(url);
    });
}

int CSEUtil::LaunchDefaultBrowser(const CSEString& url)
{
    // The desktop's URL opener stands where the registry's "open" command would.
    const CSEString program = FromUtf8(DesktopBrowserProgram());
    CSELogger::LogMsg(5, CSEString(kLaunchBrowserLog) + u"Lookup in registry returned value : " +
                             program);
    return LaunchBrowserProgram(program, url,
                                u"Failed to create process for the default browser. ");
}

int CSEUtil::LaunchAppAssocWithHTMLBrowser(const CSEString& url)
{
    if (url.size() == 0)
        return 0;
    CSELogger::LogMsg(5, CSEString(kLaunchBrowserLog) + u"Bringing up the IE browser with the URL : " +
                             url);
    return LaunchBrowserProgram(FromUtf8(DesktopBrowserProgram()), url,
                                u"Failed to create process for the default browser. ");
}

int CSEUtil::LaunchCustomAppBrowser(const CSEString& url)
{
    return LaunchBrowserProgram(FromUtf8(dvk::GetEnvOrEmpty(kCustomBrowserVariable)), url,
                                u"Failed to create process for the browser. ");
}

int CSEUtil::CreateWindowsBrowserProcess(const CSEString& program, const CSEString& url)
{
    // A leading "-" would make the browser read the address as one of its options.
    std::string error = "an address must not start with \"-\"";
    const bool started = Units(url).empty() || Units(url)[0] != u'-'
                             ? dvk::StartDetachedProcess(Utf8(program), {Utf8(url)}, error)
                             : false;
    if (started)
        return 1;
    CSELogger::LogMsg(3, CSEString(kLaunchBrowserLog) + u"Failed to bring up the browser!");
    CSELogger::LogMsg(5, CSEString(kLaunchBrowserLog) + program + u": " + FromUtf8(error));
    return 0;
}

unsigned char CSEUtil::BringBrowserWindowToFront()
{
    const CSEString windowName = ClientSetting(CSE_SECTION_CLIENT, CSE_KEY_BROWSERWINDOWNAME);
    if (windowName.size() == 0) {
        CSELogger::LogMsg(3, u"[CSEUtil::BringBrowserWindowToFront] m_sBrowserWindow INI key is "
                             u"either empty or is missing in the INI file. Hence browser window is "
                             u"not being brought to front");
        return 0;
    }
    std::string program;
    if (!dvk::FindProgramOnPath(kWindowRaiseProgram, program)) {
        CSELogger::LogMsg(4, u"[CSEUtil::BringBrowserWindowToFront] wmctrl is not installed. Hence "
                             u"browser window is not being brought to front");
        return 0;
    }
    std::string error;
    if (!dvk::StartDetachedProcess(program, {"-a", Utf8(windowName)}, error)) {
        CSELogger::LogMsg(3, CSEString(u"[CSEUtil::BringBrowserWindowToFront] Failed to start "
                                       u"wmctrl: ") +
                                 FromUtf8(error));
        return 0;
    }
    return 1;
}

// ---- Registry ----

// This platform has no registry: every key reads as absent and nothing can be stored.
unsigned char CSEUtil::GetRegistryKeyValue(const CSEString&, const CSEString&, CSEString& value)
{
    value.clear();
    return 0;
}

unsigned char CSEUtil::SetRegistryKeyValue(const CSEString&, const CSEString&, const CSEString&)
{
    return 0;
}

int CSEUtil::GetUniqueId()
{
    return m_iUniqueId++;
}
