/// \file
/// CSEServerSettings: the global settings that the server hands out at login, and the server's
/// component versions.
#ifndef CSESERVERSETTINGS_H
#define CSESERVERSETTINGS_H

#include <memory>

#include "CMandatoryAttrib.h"
#include "CSEString.h"
#include "CSEStringCSEStringMap.h"
#include "CSEWrapperStringVector.h"

class CSEXMLPacket;
struct CSEServerSettingsData;

/// Created with the value every setting has when the server does not send it; loaded once per
/// login and read-only afterwards, apart from the component versions and the silent adjustment.
///
/// The attribute lists hold "type,attribute" entries, where the type "all" or "ALL" stands for
/// every type (for relationship attributes: a relationship class instead of a type).
class CSEServerSettings
{
public:
    CSEServerSettings();
    virtual ~CSEServerSettings();
    CSEServerSettings(const CSEServerSettings&) = delete;
    CSEServerSettings& operator=(const CSEServerSettings&) = delete;

    // ---- Loading ----

    /// Loads the settings of a login response: the thin response that names the full response
    /// file, or the full response document itself. 0 when the document is well-formed; sections and
    /// keys it lacks give their defaults. 1 when there is no such document: the settings loaded
    /// before stay as they were.
    int LoadServerSettings(const CSEString& thinResponse);
    /// Replaces the settings with those of the sections below basePath of a loaded packet; 1 (and
    /// nothing changes) without a packet.
    int ParseNInitializeServerSettings(CSEXMLPacket* packet, const CSEString& basePath);
    /// Back to the defaults; the component versions are emptied.
    void ClearServerSettings();
    /// For the silent processor (no user interface): rapid file access, the user exits and the
    /// check for unloaded models off, no disabled commands, "ask" for modified files becomes "no",
    /// objects are loaded in session, the delete-files behaviour is "Delete Selected Local Files",
    /// and outside bulk loading no version objects and no visualisation-mode loading.
    void InitServerSettingsForSilentProcessing();

    /// Replaces the component-version table (lower-case name -> lower-case version) with a copy.
    unsigned char SetServerComponentVersions(CSEStringCSEStringMap& versions);
    /// Returns the component-version table (lower-case name -> lower-case version).
    CSEStringCSEStringMap& GetServerComponentVersions();

    /// \name Switches
    /// 1 when the global settings of the login switch this on, else 0.
    ///@{
    unsigned char IsAssignCADModelNameFromPartSupported() const;
    unsigned char IsRapidFileEnabled() const;
    unsigned char IsConfigurationSupportEnabled() const;
    unsigned char IsUUIDConflictSupported() const;
    /// Also on when the client works with a 2010 server or later.
    unsigned char IsAutoRecognitionEnabled() const;
    unsigned char IsCreateVersionObjects() const;

    /// User-exit events registered by the site.
    unsigned char IsCheckinDialogPreEnabled() const;
    unsigned char IsCheckinStartEnabled() const;
    unsigned char IsCheckinPartPreEnabled() const;
    unsigned char IsCheckinPartPostEnabled() const;
    unsigned char IsCheckoutPartPreEnabled() const;
    unsigned char IsCheckoutPartPostEnabled() const;
    unsigned char IsOpenPartPreEnabled() const;
    unsigned char IsOpenPartPostEnabled() const;
    unsigned char IsLockPartPreEnabled() const;
    unsigned char IsLockPartPostEnabled() const;
    unsigned char IsUpdateAttributesInCadPreEnabled() const;
    unsigned char IsUpdateAttributesInCadPostEnabled() const;

    unsigned char IsDvkPreventCheckinForUnloadedModelsSupported() const;
    unsigned char IsDvkUpdateInstancesNamesOnRenameSupported() const;
    unsigned char IsDvkCheckinAssociatedDrawingsSupported() const;
    unsigned char IsDvkReadWriteAccessBasedOnLockUnlockOptionsSupported() const;
    unsigned char IsDvkUpdatePartNumberOnRenameSupported() const;
    unsigned char IsDvkTraverseMultiLevelMMLSupported() const;
    unsigned char IsDvkLoadingInVisuModeInCheckoutSupported() const;
    unsigned char IsDvkPreventCheckinIfStructureContainsNewNotSavedNodesSupported() const;

    unsigned char IsLockFileOnCheckout() const;
    unsigned char IsDelLocalFiles() const;
    unsigned char IsRetainLock() const;
    unsigned char IsCopyAttribOnCheckin() const;
    unsigned char IsCopyAttribOnCheckout() const;
    unsigned char IsAutoName() const;
    unsigned char IsCopyRelAttribOnCheckin() const;
    unsigned char IsCopyRelAttribOnCheckout() const;
    unsigned char IsAllowAutoGenerationForManualDerivedOutput() const;
    unsigned char IsUserDirectoryAliasModeAllowed() const;

    /// Relationship attributes carried for assembly components ("assemblyComponent,", "all," or
    /// "ALL," + the attribute in the relationship list of that direction).
    unsigned char IsGCOQx2CADXFormSupported() const;
    unsigned char IsGCOCAD2QxXFormSupported() const;
    unsigned char IsGCOQx2CADQXIDSupported() const;
    /// Also on when the client works with a 2011 server or later.
    unsigned char IsGCOCAD2QxQXIDSupported() const;
    unsigned char IsGCOQx2CADComponentIDSupported() const;
    unsigned char IsGCOCAD2QxComponentIDSupported() const;
    unsigned char IsGCOCAD2QxUUIDSupported() const;
    ///@}

    /// \name Texts and lists
    /// The value of the global setting of that name, or its default when the server sent none.
    ///@{
    CSEString GetCheckoutDir() const;
    /// Ends with "/"; empty without rapid file access or without a path.
    CSEString GetRFAPath() const;
    CSEString GetDeleteFilesBehaviourOnCheckin() const;
    CSEString GetNonSupportedCharacters() const;
    CSEString GetCSEDerivedOutputOptions() const;
    CSEString GetDvkDeleteModifiedFilesOnCheckinOptions() const;
    CSEString GetDvkObjectLoadingInSessionOptions() const;

    CSEWrapperStringVector GetCSEDisabledCommandsList() const;
    CSEWrapperStringVector GetDvkPreventTypeCheckinOptions() const;
    CSEWrapperStringVector GetDvkExcludeTypesListOptions() const;
    CSEWrapperStringVector GetSelectedDerivedOutputs() const;
    CSEWrapperStringVector GetSelectedBackgroundDerivedOutputs() const;
    CSEWrapperStringVector GetSelectedManualDerivedOutputs() const;
    ///@}

    /// \name Tables
    /// The entries of the global settings table for the name given; empty for an absent name.
    ///@{
    CSEWrapperStringVector GetBusTypes(const CSEString& name) const;
    CSEWrapperStringVector GetPolicies(const CSEString& name) const;
    /// Both read the one type-class table, filled by the type-class and the derived-output mappings.
    CSEWrapperStringVector GetVexlinTypeClassMapping(const CSEString& name) const;
    CSEWrapperStringVector GetTypeDerivedOutputMapping(const CSEString& name) const;
    CSEString GetCSETypetoCADAttributeMapping(const CSEString& type) const;
    /// Derived-output type -> its option.
    CSEStringCSEStringMap& GetDvkDerivedOutputOptions();
    ///@}

    /// \name Attribute mappings
    /// The attribute mappings of the global settings between the CAD side and the server ("Qx") side; 1 or a non-empty answer when the mapping holds the entry, else 0 or empty.
    ///@{
    unsigned char IsAttributeMappedForCADToQx(const CSEString& type, const CSEString& attribute) const;
    unsigned char IsAttributeMappedForQxToCAD(const CSEString& type, const CSEString& attribute) const;
    unsigned char IsRelnAttributeMappedForQxToCAD(const CSEString& relationship, const CSEString& attribute) const;
    unsigned char IsRelnAttributeMappedForCADToQx(const CSEString& relationship, const CSEString& attribute) const;
    /// The attributes mapped for the type, in list order (entries for every type included).
    CSEWrapperStringVector GetQxToCADAttributesVector(const CSEString& type) const;
    CSEWrapperStringVector GetCADToQxAttributesVector(const CSEString& type) const;
    /// The server's "type,attribute" that the Qx-to-CAD mapping gives the CAD side
    /// cadTypeAndAttribute ("type,attribute"); empty when it maps nothing there.
    CSEString GetQxToCADAttributeMapping(const CSEString& cadTypeAndAttribute) const;
    /// cadAttribute = the CAD attribute A of the first Qx-to-CAD mapping "type,A" whose server side
    /// is some class followed by "," and serverAttribute; false (cadAttribute untouched) when none.
    unsigned char GetQxToCADRevisionAttribute(const CSEString& type, const CSEString& serverAttribute,
                                              CSEString& cadAttribute) const;

    /// Mandatory attributes of the check-in: (name, value, kind) per definition.
    CSEMandatoryAttribVector GetCADToQxMandatoryAttributesVector() const;
    unsigned char isAttributeMandatory(const CSEString& name) const;
    unsigned char IsMandatoryAttributePresentInCADtoQxAttribMapping(const CSEString& attribute,
                                                                    const CSEString& type) const;

    /// False when the name holds one of the non-supported characters.
    unsigned char IsFilenameValid(const CSEString& name) const;
    ///@}


private:
    std::unique_ptr<CSEServerSettingsData> m_pData;
    CSEStringCSEStringMap m_ServerComponentVersions;
};

#endif
