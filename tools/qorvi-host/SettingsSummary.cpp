// Each group of settings is one table of (label, accessor), so that a switch the library gains
// needs one line here.
#include "SettingsSummary.h"

#include <algorithm>

#include <QorviCSECommon.h>

namespace {

using Switch = unsigned char (CSEServerSettings::*)() const;
using Text = CSEString (CSEServerSettings::*)() const;
using List = CSEWrapperStringVector (CSEServerSettings::*)() const;

struct NamedSwitch
{
    const char* label;
    Switch accessor;
};

const NamedSwitch kSwitches[] = {
    {"CAD model name from part", &CSEServerSettings::IsAssignCADModelNameFromPartSupported},
    {"rapid file access", &CSEServerSettings::IsRapidFileEnabled},
    {"configurations", &CSEServerSettings::IsConfigurationSupportEnabled},
    {"UUID conflict check", &CSEServerSettings::IsUUIDConflictSupported},
    {"auto recognition", &CSEServerSettings::IsAutoRecognitionEnabled},
    {"version objects", &CSEServerSettings::IsCreateVersionObjects},
    {"no check-in of unloaded models", &CSEServerSettings::IsDvkPreventCheckinForUnloadedModelsSupported},
    {"instance names follow renames", &CSEServerSettings::IsDvkUpdateInstancesNamesOnRenameSupported},
    {"check-in of associated drawings", &CSEServerSettings::IsDvkCheckinAssociatedDrawingsSupported},
    {"read/write access by lock", &CSEServerSettings::IsDvkReadWriteAccessBasedOnLockUnlockOptionsSupported},
    {"part numbers follow renames", &CSEServerSettings::IsDvkUpdatePartNumberOnRenameSupported},
    {"multi-level traversal", &CSEServerSettings::IsDvkTraverseMultiLevelMMLSupported},
    {"visualisation mode on checkout", &CSEServerSettings::IsDvkLoadingInVisuModeInCheckoutSupported},
    {"no check-in of unsaved new nodes",
     &CSEServerSettings::IsDvkPreventCheckinIfStructureContainsNewNotSavedNodesSupported},
    {"lock on checkout", &CSEServerSettings::IsLockFileOnCheckout},
    {"delete local files on check-in", &CSEServerSettings::IsDelLocalFiles},
    {"keep lock on check-in", &CSEServerSettings::IsRetainLock},
    {"copy attributes on check-in", &CSEServerSettings::IsCopyAttribOnCheckin},
    {"copy attributes on checkout", &CSEServerSettings::IsCopyAttribOnCheckout},
    {"automatic names", &CSEServerSettings::IsAutoName},
    {"copy relationship attributes on check-in", &CSEServerSettings::IsCopyRelAttribOnCheckin},
    {"copy relationship attributes on checkout", &CSEServerSettings::IsCopyRelAttribOnCheckout},
    {"generate manual derived output", &CSEServerSettings::IsAllowAutoGenerationForManualDerivedOutput},
    {"user folder aliases", &CSEServerSettings::IsUserDirectoryAliasModeAllowed},
    {"component transform from server", &CSEServerSettings::IsGCOQx2CADXFormSupported},
    {"component transform to server", &CSEServerSettings::IsGCOCAD2QxXFormSupported},
    {"component qxid from server", &CSEServerSettings::IsGCOQx2CADQXIDSupported},
    {"component qxid to server", &CSEServerSettings::IsGCOCAD2QxQXIDSupported},
    {"component ID from server", &CSEServerSettings::IsGCOQx2CADComponentIDSupported},
    {"component ID to server", &CSEServerSettings::IsGCOCAD2QxComponentIDSupported},
    {"component UUID to server", &CSEServerSettings::IsGCOCAD2QxUUIDSupported},
};

// Labelled by the event names that the site registers.
const NamedSwitch kUserExits[] = {
    {"CheckinDialogPre", &CSEServerSettings::IsCheckinDialogPreEnabled},
    {"CheckinStart", &CSEServerSettings::IsCheckinStartEnabled},
    {"CheckinPartPre", &CSEServerSettings::IsCheckinPartPreEnabled},
    {"CheckinPartPost", &CSEServerSettings::IsCheckinPartPostEnabled},
    {"CheckoutPartPre", &CSEServerSettings::IsCheckoutPartPreEnabled},
    {"CheckoutPartPost", &CSEServerSettings::IsCheckoutPartPostEnabled},
    {"OpenPartPre", &CSEServerSettings::IsOpenPartPreEnabled},
    {"OpenPartPost", &CSEServerSettings::IsOpenPartPostEnabled},
    {"LockPartPre", &CSEServerSettings::IsLockPartPreEnabled},
    {"LockPartPost", &CSEServerSettings::IsLockPartPostEnabled},
    {"UpdateAttributesInCADPre", &CSEServerSettings::IsUpdateAttributesInCadPreEnabled},
    {"UpdateAttributesInCADPost", &CSEServerSettings::IsUpdateAttributesInCadPostEnabled},
};

const struct
{
    const char* label;
    Text accessor;
} kTexts[] = {
    {"check-out folder", &CSEServerSettings::GetCheckoutDir},
    {"rapid file access folder", &CSEServerSettings::GetRFAPath},
    {"files after check-in", &CSEServerSettings::GetDeleteFilesBehaviourOnCheckin},
    {"modified files", &CSEServerSettings::GetDvkDeleteModifiedFilesOnCheckinOptions},
    {"loading in session", &CSEServerSettings::GetDvkObjectLoadingInSessionOptions},
    {"derived-output options", &CSEServerSettings::GetCSEDerivedOutputOptions},
    {"characters not in names", &CSEServerSettings::GetNonSupportedCharacters},
};

const struct
{
    const char* label;
    List accessor;
} kLists[] = {
    {"disabled commands", &CSEServerSettings::GetCSEDisabledCommandsList},
    {"no check-in of types", &CSEServerSettings::GetDvkPreventTypeCheckinOptions},
    {"excluded types", &CSEServerSettings::GetDvkExcludeTypesListOptions},
    {"derived outputs", &CSEServerSettings::GetSelectedDerivedOutputs},
    {"  in the background", &CSEServerSettings::GetSelectedBackgroundDerivedOutputs},
    {"  on request", &CSEServerSettings::GetSelectedManualDerivedOutputs},
};

// The plug-in's own CAD types: the name the server's type tables use and the one its attribute
// mappings use (none for derived output, which carries no attributes of its own).
const struct
{
    const char* name;
    const char* attributeType;
} kCadTypes[] = {
    {"part", "Part"},
    {"assembly", "Assembly"},
    {"drawing", "Drawing"},
    {"derivedoutput", nullptr},
};

constexpr std::size_t kLabelWidth = 30;
constexpr std::size_t kLineWidth = 100;

std::string Utf8(const CSEString& text)
{
    return text().ToUTF8();
}

std::vector<std::string> SwitchesOn(const CSEServerSettings& settings, const NamedSwitch* table, std::size_t count)
{
    std::vector<std::string> on;
    for (std::size_t i = 0; i < count; ++i) {
        if ((settings.*table[i].accessor)() != 0)
            on.push_back(table[i].label);
    }
    return on;
}

} // namespace

std::vector<std::string> SettingsSummary::Items(const CSEWrapperStringVector& list)
{
    std::vector<std::string> items;
    for (CSEWrapperStringIterator it = list.begin(); it != list.end(); ++it)
        items.push_back(Utf8(*it));
    return items;
}

void SettingsSummary::PrintField(std::FILE* out, const std::string& label, const std::vector<std::string>& items)
{
    if (items.empty())
        return;
    std::string line = "  " + label + ":";
    line.resize(std::max(line.size() + 1, kLabelWidth), ' ');
    const std::string indent(kLabelWidth, ' ');
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string item = items[i] + (i + 1 < items.size() ? "," : "");
        if (line.size() > indent.size() && line.size() + 1 + item.size() > kLineWidth) {
            std::fprintf(out, "%s\n", line.c_str());
            line = indent;
        } else if (line.size() > indent.size() && line.back() != ' ') {
            line += ' ';
        }
        line += item;
    }
    std::fprintf(out, "%s\n", line.c_str());
}

void SettingsSummary::PrintText(std::FILE* out, const std::string& label, const CSEString& text)
{
    if (!text().IsEmpty())
        PrintField(out, label, {Utf8(text)});
}

void SettingsSummary::PrintTypeMappings(const CSEServerSettings& settings, std::FILE* out)
{
    for (const auto& type : kCadTypes) {
        const CSEString name(type.name);
        const CSEWrapperStringVector serverTypes = settings.GetBusTypes(name);
        PrintField(out, type.name, Items(serverTypes));
        for (CSEWrapperStringIterator it = serverTypes.begin(); it != serverTypes.end(); ++it) {
            const std::string serverType = Utf8(*it);
            PrintField(out, "  " + serverType + " policies", Items(settings.GetPolicies(*it)));
            PrintText(out, "  " + serverType + " number", settings.GetCSETypetoCADAttributeMapping(*it));
        }
        if (type.attributeType == nullptr)
            continue;
        const CSEString attributeType(type.attributeType);
        PrintField(out, "  attributes from server", Items(settings.GetQxToCADAttributesVector(attributeType)));
        PrintField(out, "  attributes to server", Items(settings.GetCADToQxAttributesVector(attributeType)));
    }
}

void SettingsSummary::Print(const CSEServerSettings& settings, std::FILE* out)
{
    std::fprintf(out, "global settings:\n");
    PrintField(out, "switched on", SwitchesOn(settings, kSwitches, sizeof kSwitches / sizeof kSwitches[0]));
    PrintField(out, "user exits", SwitchesOn(settings, kUserExits, sizeof kUserExits / sizeof kUserExits[0]));
    for (const auto& list : kLists)
        PrintField(out, list.label, Items((settings.*list.accessor)()));
    for (const auto& text : kTexts)
        PrintText(out, text.label, (settings.*text.accessor)());
    PrintTypeMappings(settings, out);
}
