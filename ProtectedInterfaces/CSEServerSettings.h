// CSEServerSettings: the global settings that the server hands out at login, and the server's
// component versions.
#ifndef CSESERVERSETTINGS_H
#define CSESERVERSETTINGS_H

#include "CSEString.h"
#include "CSEStringCSEStringMap.h"

class CSEServerSettings
{
public:
    CSEServerSettings();
    virtual ~CSEServerSettings();
    CSEServerSettings(const CSEServerSettings&) = delete;
    CSEServerSettings& operator=(const CSEServerSettings&) = delete;

    // Loads the settings from a login response: the thin response that names the full response
    // file, or the full response document itself. 0 when the document is well-formed (settings
    // it lacks keep their defaults); 1 when there is no such document, and the settings are left
    // empty.
    int LoadServerSettings(const CSEString& thinResponse);
    // Forgets everything that was loaded.
    void ClearServerSettings();
    // Adjusts the loaded settings for the silent processor (no user interface). The switches and
    // options it adjusts are not read out of the login response yet, so for now it changes nothing.
    void InitServerSettingsForSilentProcessing();

    // Replaces the component-version table (lower-case name -> lower-case version) with a copy.
    unsigned char SetServerComponentVersions(CSEStringCSEStringMap& versions);
    CSEStringCSEStringMap& GetServerComponentVersions();

    // The full login response document as it was loaded; empty when nothing is loaded.
    const CSEString& GetLoginResponse() const;

private:
    CSEString m_sLoginResponse;
    CSEStringCSEStringMap m_ServerComponentVersions;
};

#endif
