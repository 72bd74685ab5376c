/// \file
/// CSEUtil: the library's shared static helpers: text, files and paths, the request texts sent to
/// the integration service, browser start, name checks and look-ups in the global settings.
#ifndef CSEUTIL_H
#define CSEUTIL_H

#include "CSEString.h"
#include "CSEWrapperStringVector.h"
#include "DVKUnicodeString.h"

class CSEObjectInfo;
struct cad_part_struct;

/// The library's shared static helpers: text, files and paths, the request texts sent to the integration
/// service, browser start, name checks and look-ups in the global settings.
class CSEUtil
{
public:
    // ---- Text ----

    /// UTF-8 form in a new buffer (4 bytes per UTF-16 unit plus 1, zero-terminated) that the caller
    /// releases with delete[]; returns the byte count without the terminator.
    static int getMultiByteFromCSEString(const CSEString& text, char** out);
    /// Decodes zero-terminated UTF-8; a null pointer gives empty text and 0. Returns the length in
    /// characters, -1 when the conversion fails.
    static int getCSEStringFromMultiByte(const char* text, CSEString& out);
    /// atoi of the UTF-8 form: 0 without leading digits, clamped to the int range.
    static int getIntFromCSEString(const CSEString& text);
    /// Returns the number in decimal.
    static CSEString getCSEStringFromInt(int number);
    /// Returns the number in decimal.
    static CSEString getCSEStringFromLong(int number);
    /// Returns a lower-cased copy.
    static CSEString ToLower(const CSEString& text);
    /// 0-based position of the first element equal to text (exact when flag is 1, compared in lower
    /// case when it is 0); -1 when there is none.
    static int CSEStringVectorLookup(const CSEWrapperStringVector& vector, const CSEString& text,
                                     unsigned char flag);
    /// The text after the last "." of name; empty when there is none.
    static CSEString GetFileExtn(const CSEString& name);
    /// 1 when the texts are equal ignoring case, else 0.
    static unsigned char StrCompareNoCase(const CSEString& first, const CSEString& second);
    /// Appends to out (not cleared) every non-empty piece of text between separator characters;
    /// returns how many were appended. Empty text or separators append nothing.
    static int GetTokenizedArray(const CSEString& text, const CSEString& separators,
                                 CSEWrapperStringVector& out);
    /// Returns a copy of the host string.
    static CSEString GetCSEStringFromDVKUnicodeString(const DVKUnicodeString& text);
    /// Returns a copy as a host string.
    static DVKUnicodeString GetDVKUnicodeStringFromCSEString(const CSEString& text);
    /// text with & < > ' " (and tab, line feed, carriage return) written as XML references, fit for
    /// an element text or an attribute value in single or double quotes. A character that XML cannot
    /// carry at all (a control character, U+FFFE, U+FFFF, an unpaired surrogate) becomes U+FFFD.
    static CSEString XMLEscape(const CSEString& text);

    // ---- Files and folders ----

    /// The value of "QX_DRAVIK_INSTALL_DIR" (empty when unset); the argument is not used.
    static CSEString GetInstallationFolder(CSEString unused);
    /// Writes content as UTF-8 to the installation folder + "/" + fileName, replacing the file and
    /// readable by its owner only; returns that path. A failed write is logged and leaves no stale
    /// file behind. Nothing is written, and the empty path returned, when the installation folder is
    /// not set or fileName is empty or holds a ".." step (it would leave the folder).
    static CSEString SaveXML(CSEString fileName, const CSEString& content);
    /// Appends "/" unless the text already ends with one.
    static void AppendSlash(CSEString& path);
    /// Splits path into its folder (dir) and file name (file).
    static void GetFileNameNDir(const CSEString& path, CSEString& dir, CSEString& file);
    /// 1 when something exists at path, else 0.
    static unsigned char doesFileExist(const CSEString& path);
    /// The environment variable's value; empty when unset.
    static CSEString GetEnvVariableValue(const CSEString& name);
    /// Copies everything in folder from (sub-folders included) into folder to, created when
    /// missing; existing files are replaced.
    static unsigned char CopyDirectoryContent(const CSEString& from, const CSEString& to);
    /// detail 0: the path; 1: its folder; 2: its file name; 3: the file name without its extension;
    /// 4: the extension of the file name; other values: empty. An empty path is returned unchanged.
    static CSEString GetFileDetail(const CSEString& path, int detail);

    // ---- Paths and names used in requests ----

    /// out = the real path of the object's dirName: 0, or 1 with out empty when there is none.
    static int FormatDirNameForWKC(const CSEObjectInfo& object, CSEString& out);
    /// Copies path into out; returns 0.
    static int GetPrintablePath(const CSEString& path, CSEString& out);
    /// out = the absolute, normalised path with symbolic links resolved; 1 (out empty) for an empty
    /// path.
    static int GetRealPath(const CSEString& path, CSEString& out);
    /// The path without trailing separators (the root keeps its "/"); empty for an empty path.
    static CSEString RemoveTrailingSlashes(const CSEString& path);
    /// The effective user's name (else $USER); empty when neither is known.
    static CSEString GetCurrentUserName();
    /// For a type holding "userfile_": extension = "." + the text after its first "_", and true.
    static unsigned char IsDerivedOutputTypeUserDefined(const CSEString& type, CSEString& extension);
    /// 1 when the global settings list qxType among the server types of cadType, else 0 (also without a
    /// login).
    static unsigned char IsQxTypeValid(const CSEString& cadType, const CSEString& qxType);
    /// attribute = the CAD attribute mapped to the type by the global settings; 1 when there is one, else
    /// 0.
    static unsigned char GetCADAttributeMappedToCSEType(const CSEString& type, CSEString& attribute);
    /// The number after the first "appletPort=" of the url; -1 when there is none.
    static int GetPortNumberFromUrl(const CSEString& url);

    // ---- Request texts (the XML forms exchanged with the integration service) ----
    // The three builders below carry the client's identity from the client settings: each throws
    // the CSEException of CSEClientSettings::GetInstance when the installation folder is not set.

    /// The request envelope: root "command" with the client's identity; "username" only for the
    /// commands "login" and "loginEx".
    static CSEString CSEGetCmdHeaderString(const CSEString& cmdName, bool focusBrowser);
    /// The success response envelope: root "response" with result "success" and the identity.
    static CSEString CSEGetResponseHeaderString(const CSEString& cmdName, bool focusBrowser);
    /// The thin request that names the file holding the full request.
    static CSEString CSEGetRequestCmdString(const CSEString& dirName, const CSEString& fileName);

    // ---- Further text and file operations ----

    /// A copy of text with every occurrence of find replaced by replace.
    static CSEString CSEStringFindReplace(const CSEString& text, const CSEString& find,
                                         const CSEString& replace);
    /// Every line feed becomes a carriage return and a line feed.
    static CSEString InsertCarriageReturn(const CSEString& text);
    /// The text before the last "."; the whole name when it has none.
    static DVKUnicodeString ExtractBaseNameFromFileName(const DVKUnicodeString& name);
    /// failIfExists 1: false when target exists and is not a folder; 0: an existing target is
    /// replaced.
    static unsigned char CopyFileW(const CSEString& source, const CSEString& target,
                                   unsigned char failIfExists);
    /// Creates the folder (and missing parents); true when it exists afterwards.
    static unsigned char CreateDirectoryW(const CSEString& path);
    /// Opens the file for reading, or creates it when missing; true when it could be opened.
    static unsigned char CreateNewFile(const CSEString& path);
    /// 0 when the file was deleted, 1 otherwise.
    static int DeleteFileFromDisk(const CSEString& path);

    // ---- Look-ups in the global settings of the current login ----

    /// 0 when the global settings disable the command, else 1 (also without a login).
    static unsigned char IsCommandEnabled(const CSEString& command);
    /// 1 when the global settings prevent check-in of the CAD type, else 0.
    static unsigned char IsCadTypePreventedFromCheckin(const CSEString& type);
    /// 1 when the global settings exclude the CAD type from check-in, else 0.
    static unsigned char IsCadTypeExcludedFromCheckin(const CSEString& type);
    /// 1 when the global settings map the CAD type as a derived output, else 0.
    static unsigned char IsCadObjTypeDerivedOutput(const CSEString& type);
    /// 1 when the derived-output option of the type is "yes" (delete on check-in), else 0.
    static unsigned char IsDerivedOutputDeleteOnCheckin(const CSEString& type);
    /// The server's version of the component (name in any case); empty when unknown or without a login.
    static CSEString GetServerVersionsString(const CSEString& component);
    /// 1 when the server's "framework" is of 2008 or later, else 0.
    static unsigned char IsPNGViewableSupported();
    /// 1 when the name holds none of the characters the global settings refuse, else 0 (also without a
    /// login).
    static unsigned char ValidateFilename(const CSEString& name);

    // ---- Versions ----

    /// True when the release named by version is the release year (with an "x": its second
    /// release) or later; with minor other than -1 (only for years up to 2008) the release's minor
    /// number must be at least minor. Texts of the older numbering ("10.7.SP1") answer false.
    static unsigned char IsVersionEqualOrLater(const CSEString& version, const CSEString& year,
                                               int minor);
    /// The year form of a release number: r207 gives 2010, r208 2010x, r209 2011, ...; false when
    /// the version has none.
    static unsigned char GetVersioninYearFormat(const CSEString& version, CSEString& out);
    /// The library version text, sent as "csever".
    static CSEString GetCSEVersion();
    /// The first two numbers of the library version; false when they cannot be read.
    static unsigned char GetMajorAndMinorVersion(int& major, int& minor);

    // ---- Name limits ----

    /// The path, its folder and its file name must each be at most 256 UTF-8 bytes.
    static unsigned char CheckFileNameForMaxLength(const CSEString& path);
    /// The base name of the file must be non-empty and shorter than 128 UTF-8 bytes.
    static unsigned char CheckObjNameForRLXLength(const CSEString& name);

    // ---- User-exit part record ----

    /// Fills the text fields of the part record from the object; false (record untouched) when a
    /// text does not fit its field, false after writing the file name when it is empty or "\".
    static unsigned char GetCAD_PARTfromObjectInfo(cad_part_struct& part, const CSEObjectInfo& obj);

    // ---- Browser ----

    /// Starts the browser on url the way the client setting "windowsbrowsermode" chooses; non-zero
    /// when a browser process was started.
    static int StartBrowser(const CSEString& url);
    /// xdg-open (or the program named by $BROWSER) with the url.
    static int LaunchDefaultBrowser(const CSEString& url);
    /// Opens the url in the desktop's browser; returns the result of starting it (0 for an empty url).
    static int LaunchAppAssocWithHTMLBrowser(const CSEString& url);
    /// The program named by "DEFAULT_BROWSER_PATH" with the url.
    static int LaunchCustomAppBrowser(const CSEString& url);
    /// Starts program with url as its one argument, never through a shell, without waiting;
    /// non-zero on success.
    static int CreateWindowsBrowserProcess(const CSEString& program, const CSEString& url);
    /// Raises the window whose title holds the client setting "BrowserWindowName" (wmctrl).
    static unsigned char BringBrowserWindowToFront();

    // ---- Registry ----

    /// There is no registry on this platform: every key reads as not found (value empty, false)
    /// and nothing can be stored (false).
    static unsigned char GetRegistryKeyValue(const CSEString& key, const CSEString& valueName,
                                             CSEString& value);
    /// Has no registry to write on this platform; returns 0.
    static unsigned char SetRegistryKeyValue(const CSEString& key, const CSEString& valueName,
                                             const CSEString& value);

    /// The process-wide counter: returns it, then adds 1 (the first id is 0).
    static int GetUniqueId();

private:
    static int m_iUniqueId;
};

#endif
