// What CSEUtil reads of the global settings of the current login, behind one seam: the settings
// holder of a login installs a provider, and until one is installed nobody is logged in.
#ifndef QORVI_SUPPORT_CSEGLOBALSETTINGSVIEW_H
#define QORVI_SUPPORT_CSEGLOBALSETTINGSVIEW_H

#include "CSEString.h"
#include "CSEWrapperStringVector.h"

class CSEGlobalSettingsView
{
public:
    virtual ~CSEGlobalSettingsView() = default;

    // "OKT-CSEDisabledCommandsList".
    virtual CSEWrapperStringVector GetCSEDisabledCommandsList() const = 0;
    // The prevent-type check-in types.
    virtual CSEWrapperStringVector GetDvkPreventTypeCheckinOptions() const = 0;
    // The exclude types.
    virtual CSEWrapperStringVector GetDvkExcludeTypesListOptions() const = 0;
    // The server types mapped to a CAD type; empty when the type is absent.
    virtual CSEWrapperStringVector GetBusTypes(const CSEString& cadType) const = 0;
    // The type-class list of a name; empty when the name is absent.
    virtual CSEWrapperStringVector GetTypeDerivedOutputMapping(const CSEString& name) const = 0;
    // The derived-output option of a type; empty when the type is absent.
    virtual CSEString GetDvkDerivedOutputOption(const CSEString& type) const = 0;
    // The CAD attribute mapped to a type; empty when the type is absent.
    virtual CSEString GetCSETypetoCADAttributeMapping(const CSEString& type) const = 0;
    // The version stored for a (lower-case) component name; empty when absent.
    virtual CSEString GetServerComponentVersion(const CSEString& component) const = 0;
    virtual bool IsFilenameValid(const CSEString& name) const = 0;
};

// Answers the settings of the current login, or null when nobody is logged in.
typedef const CSEGlobalSettingsView* (*CSEGlobalSettingsProvider)();

// Installs the provider (null: nobody is ever logged in, the state before the login code runs).
void CSESetGlobalSettingsProvider(CSEGlobalSettingsProvider provider);
// The settings of the current login, or null.
const CSEGlobalSettingsView* CSECurrentGlobalSettings();

#endif
