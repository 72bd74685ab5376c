/// \file
/// CSEClientSettings: the local settings of this installation ("settings.ini"), the library's identity
/// record, the silent and bulk-loading modes and the logger.
#ifndef CSECLIENTSETTINGS_H
#define CSECLIENTSETTINGS_H

#include <string>
#include <unordered_map>

#include "CSEString.h"

class CSELogger;

/// Section and key names of "settings.ini".
inline constexpr const char16_t CSE_SECTION_SERVER[] = u"SERVER";
inline constexpr const char16_t CSE_SECTION_CLIENT[] = u"CLIENT";  ///<Section of the client's log and dump switches.
inline constexpr const char16_t CSE_SECTION_CONFIGURATIONS[] = u"CONFIGURATIONS";  ///<Section of site configurations.
inline constexpr const char16_t CSE_KEY_ADDRESS[] = u"address";  ///<[SERVER] address of the server's web application.
inline constexpr const char16_t CSE_KEY_CLIENTNAME[] = u"clientname";  ///<[SERVER] host name of the machine running the integration service.
inline constexpr const char16_t CSE_KEY_CLIENTPORT[] = u"clientport";  ///<[SERVER] port of the integration service.
inline constexpr const char16_t CSE_KEY_APPLETLOGLEVEL[] = u"appletloglevel";  ///<Log level of the integration service.
inline constexpr const char16_t CSE_KEY_DEBUGFLAG[] = u"debugflag";  ///<[CLIENT] "true" switches the library log on.
inline constexpr const char16_t CSE_KEY_SHOWMESSAGES[] = u"showmessages";  ///<Whether messages are shown to the user.
inline constexpr const char16_t CSE_KEY_FAMILYATTRIBUTESUPPORT[] = u"familyattributesupport";  ///<Whether family attributes are supported.
inline constexpr const char16_t CSE_KEY_NAMESEPARATOR[] = u"nameseparator";  ///<Separator within composed names.
inline constexpr const char16_t CSE_KEY_SILENTADDRESS[] = u"silentaddress";  ///<Address used in silent mode.
inline constexpr const char16_t CSE_KEY_COMPATIBLEWKCVERSION[] = u"compatiblewkcversion";  ///<Compatible server version sent with every command.
inline constexpr const char16_t CSE_KEY_CLIENTLOGLEVEL[] = u"clientloglevel";  ///<[CLIENT] priority up to which the library log records.
inline constexpr const char16_t CSE_KEY_PERFORMANCELOGFLAG[] = u"performancelogflag";  ///<[CLIENT] switches the performance log on.
inline constexpr const char16_t CSE_KEY_PERFORMANCELOGLEVEL[] = u"performanceloglevel";  ///<[CLIENT] priority of the performance log.
inline constexpr const char16_t CSE_KEY_SILENTLOGFLAG[] = u"silentlogflag";  ///<[CLIENT] switches the silent processor's log on.
inline constexpr const char16_t CSE_KEY_SILENTLOGLEVEL[] = u"silentloglevel";  ///<[CLIENT] priority of the silent processor's log.
inline constexpr const char16_t CSE_KEY_MOCKLOGFLAG[] = u"mocklogflag";  ///<[CLIENT] switches the capture log on.
inline constexpr const char16_t CSE_KEY_MOCKLOGLEVEL[] = u"mockloglevel";  ///<[CLIENT] priority of the capture log.
inline constexpr const char16_t CSE_KEY_XMLDUMP[] = u"xmldump";  ///<[CLIENT] switches the dumps of requests and responses into "XmlDump" on.
inline constexpr const char16_t CSE_KEY_BROWSERWINDOWNAME[] = u"BrowserWindowName";  ///<Title of the browser window brought to the front.
inline constexpr const char16_t CSE_KEY_WINDOWSBROWSERMODE[] = u"windowsbrowsermode";  ///<Browser mode of the integration service.

/// The library's identity: names and versions that every command header carries.
struct CSEInfo
{
    CSEString m_sApplicationName;       ///< "QxDravikV5": base name of the log files
    CSEString m_sCSEVersion;            ///< library version, sent as "csever"
    CSEString m_sCompatibleWKCVersion;  ///< compatible server version, sent as "ver"
    CSEString m_sReserved;              ///< not read by the library
    CSEString m_sIntegrationName;       ///< "QxDravikV5", sent as "cse"
    const char* m_pszExtraVersion1;     ///< appended to the version line of the log
    const char* m_pszExtraVersion2;  ///<Appended to the version line of the log after m_pszExtraVersion1.
};

/// The parsed "settings.ini": section name -> (key -> value), compared exactly.
typedef std::unordered_map<std::u16string, std::u16string> CSESettingsSection;
/// Every section of "settings.ini" by name.
typedef std::unordered_map<std::u16string, CSESettingsSection> CSESettingsTable;

/// The local settings of this installation ("settings.ini"), the library's identity record, the silent and
/// bulk-loading modes and the logger.
class CSEClientSettings
{
public:
    /// The one instance, created on first call (later calls ignore silent). Throws a CSEException
    /// (message: the host's text for "MSG_READREGISTRY_FAIL", see CSEMsgMgr::GetMsgOrId) when the
    /// installation folder is not set, and then keeps no instance. A "settings.ini" that is not a
    /// regular file of at most 1 MiB, or cannot be read, gives empty settings and a log line.
    /// A silent host calls GetInstance(1) before anything else of the library, and installs a
    /// message manager all the same (see CSEMsgMgr).
    static CSEClientSettings* GetInstance(unsigned char silent);
    /// Deletes the instance (and its logger) and forgets it; always 0.
    static int DeleteClientSettings(int);

    virtual ~CSEClientSettings();

    /// value = the stored value or empty; true when it is not empty.
    unsigned char GetSetting(const CSEString& section, const CSEString& key, CSEString& value) const;
    /// For a non-empty value: its leading decimal integer (atoi rules) and true; else false.
    unsigned char GetIntValue(const CSEString& section, const CSEString& key, int& value) const;
    /// For a non-empty value: 1 when it is exactly "true", else 0, and true; else false.
    unsigned char GetBoolValue(const CSEString& section, const CSEString& key,
                               unsigned char& value) const;

    /// Returns the library's identity record.
    const CSEInfo& GetCSEInfo() const;
    /// Creates and configures the logger on first call.
    CSELogger* GetLogger();
    /// Switches bulk-loading mode on for the rest of the process.
    void SetBulkLoadingMode();
    /// 1 in silent mode (GetInstance(1) came first), else 0.
    unsigned char IsSilentMode() const;
    /// 1 once SetBulkLoadingMode was called, else 0.
    unsigned char IsBulkLoadingMode() const;
    /// Returns the full path of "settings.ini" in the installation folder.
    const CSEString& GetIniPath() const;
    /// (Re)reads "settings.ini" into the table (entries are overwritten or added), then applies
    /// "compatiblewkcversion". A file that cannot be taken (see GetInstance) changes nothing.
    void ReadSettings();

protected:
    /// Returns the full path of the library log.
    const CSEString GetLogFile();
    /// Returns the full path of the silent processor's log.
    const CSEString GetSilentProcessorLogFile();
    /// Returns the full path of the capture log.
    const CSEString GetRTMLogFile();

private:
    CSEClientSettings(const CSEInfo& info, unsigned char silent, const CSEString& installFolder);
    CSEClientSettings(const CSEClientSettings&) = delete;
    CSEClientSettings& operator=(const CSEClientSettings&) = delete;

    CSEString InstallFile(const char16_t* fileName) const;
    /// ReadSettings without its log line; false when a file is present but cannot be taken.
    bool LoadSettingsFile();
    void LogUnreadableFile() const;
    void ConfigureLogger(CSELogger& logger);
    /// The level of a log: levelKey's value (onLevel when absent) when flagKey is "true", else offLevel.
    int LogLevel(const char16_t* flagKey, const char16_t* levelKey, int onLevel, int offLevel) const;

    unsigned char m_bSilent;
    unsigned char m_bBulkLoading;
    CSEString m_sIniPath;
    CSEInfo m_CSEInfo;
    CSELogger* m_pLogger;
    CSESettingsTable m_Settings;
    CSEString m_sInstallFolder;

    static CSEClientSettings* m_pClientSettings;
};

#endif
