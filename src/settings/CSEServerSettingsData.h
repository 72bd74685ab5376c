// CSEServerSettingsData: the values of the global settings of one login, each starting from the
// value that applies when its key is absent.
#ifndef QORVI_SETTINGS_CSESERVERSETTINGSDATA_H
#define QORVI_SETTINGS_CSESERVERSETTINGSDATA_H

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "CMandatoryAttrib.h"
#include "CSEString.h"
#include "CSEStringCSEStringMap.h"
#include "CSEWrapperStringVector.h"
#include "settings/CSEAttributeMappingList.h"

// The user-exit events that "OKT-UserExitEventRegistration" can switch on.
enum CSEUserExitEvent
{
    CSEEventCheckinDialogPre,
    CSEEventCheckinStart,
    CSEEventCheckinPartPre,
    CSEEventCheckinPartPost,
    CSEEventCheckoutPartPre,
    CSEEventCheckoutPartPost,
    CSEEventOpenPartPre,
    CSEEventOpenPartPost,
    CSEEventLockPartPre,
    CSEEventLockPartPost,
    CSEEventUpdateAttributesInCadPre,
    CSEEventUpdateAttributesInCadPost,
    CSEUserExitEventCount
};

// The relationship attributes that the check-in and checkout carry, derived from the two
// relationship-attribute lists after the load.
enum CSEGcoSwitch
{
    CSEGcoQx2CADXForm,
    CSEGcoCAD2QxXForm,
    CSEGcoQx2CADQXID,
    CSEGcoCAD2QxQXID,
    CSEGcoQx2CADComponentID,
    CSEGcoCAD2QxComponentID,
    CSEGcoCAD2QxUUID,
    CSEGcoSwitchCount
};

typedef std::unordered_map<std::u16string, CSEWrapperStringVector> CSEStringListTable;

// The delete-files behaviour on check-in without the setting and in silent processing.
inline constexpr char16_t CSE_DELETE_SELECTED_LOCAL_FILES[] = u"Delete Selected Local Files";

struct CSEServerSettingsData
{
    // "gsettings"
    unsigned char assignCadModelNameFromPart = 0;
    unsigned char rapidFileAccess = 0;
    unsigned char configurationsDisabled = 1;
    unsigned char uuidConflict = 0;
    unsigned char autoRecognition = 0;
    unsigned char createVersionObjects = 1;
    unsigned char userExits[CSEUserExitEventCount] = {};
    CSEAttributeMappingList qxToCadAttributes;
    CSEAttributeMappingList cadToQxAttributes;
    CSEAttributeMappingList qxToCadRelAttributes;
    CSEAttributeMappingList cadToQxRelAttributes;
    CSEStringCSEStringMap qxToCadMap; // "type,attribute" on the CAD side -> the server's
    CSEString nonSupportedCharacters;
    CSEStringListTable busTypes;
    CSEStringListTable typePolicies;
    CSEStringListTable typeClasses; // also the derived-output types

    // "gsettings/customattributes"
    CSEMandatoryAttribVector mandatoryAttributes;
    CSEString cseDerivedOutputOptions;
    CSEWrapperStringVector disabledCommands;
    unsigned char preventCheckinForUnloadedModels = 0;
    unsigned char updateInstanceNamesOnRename = 0;
    unsigned char checkinAssociatedDrawings = 0;
    CSEWrapperStringVector preventTypeCheckin;
    unsigned char readWriteAccessBasedOnLockUnlock = 0;
    CSEStringCSEStringMap derivedOutputOptions;
    unsigned char updatePartNumberOnRename = 0;
    unsigned char traverseMultiLevelMML = 0;
    CSEWrapperStringVector excludeTypes;
    CSEString deleteModifiedFilesOnCheckin;
    CSEString objectLoadingInSession;
    unsigned char loadingInVisuModeInCheckout = 0;
    std::unordered_map<std::u16string, CSEString> typeToCadAttribute;
    unsigned char preventCheckinIfNewNotSavedNodes = 0;

    // "lsettings"
    unsigned char lockOnCheckout = 0;
    CSEString checkoutDirectory;
    unsigned char deleteLocalFilesOnCheckin = 0;
    unsigned char lockOnCheckin = 0;
    unsigned char copyAttributesOnCheckin = 0;
    unsigned char copyAttributesOnCheckout = 0;
    unsigned char autoName = 0;
    unsigned char copyRelAttributesOnCheckin = 0;
    unsigned char copyRelAttributesOnCheckout = 0;
    unsigned char autoGenerationForManualDerivedOutput = 1;
    CSEString deleteFilesBehaviourOnCheckin = CSE_DELETE_SELECTED_LOCAL_FILES;
    unsigned char userDirectoryAliasAllowed = 0;
    CSEWrapperStringVector selectedDerivedOutputs;
    CSEWrapperStringVector selectedBackgroundDerivedOutputs;
    CSEWrapperStringVector selectedManualDerivedOutputs;

    // "othersettings"
    CSEString rapidFileAccessPath;

    // Derived once everything is read.
    unsigned char gco[CSEGcoSwitchCount] = {};
    std::unordered_set<std::u16string> mandatoryNames;
    std::vector<char16_t> forbiddenCharacters; // sorted, from nonSupportedCharacters
    // type -> (server attribute -> CAD attribute): the first match in the order of qxToCadMap.
    std::unordered_map<std::u16string, std::unordered_map<std::u16string, std::u16string>> revisionAttributes;
};

#endif
