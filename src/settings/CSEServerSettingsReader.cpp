// Reading the global settings: one table of keys per section, each key beside the setter of its
// value format, and the values derived once all sections are read.
#include "settings/CSEServerSettingsReader.h"

#include <algorithm>
#include <string>

#include "CSEClientSettings.h"
#include "CSELogger.h"
#include "CSEUtil.h"
#include "CSEXMLPacket.h"

namespace {

typedef CSEServerSettingsData Data;

const char16_t kGlobalSection[] = u"/gsettings/attribute";
const char16_t kCustomSection[] = u"/gsettings/customattributes/attribute";
const char16_t kLocalSection[] = u"/lsettings/attribute";
const char16_t kOtherSection[] = u"/othersettings/attribute";
const char16_t kLog[] = u"[CSEServerSettings::ParseNInitializeServerSettings] ";
const char16_t kMandatoryKey[] = u"OKT-CADToQxMandatoryAttrMapping";
const char16_t kDerivedOutputOptionsKey[] = u"DvkDerivedOutputOptions";
const char16_t kTypeToCadAttributeKey[] = u"Vexlin-CSETypeToCADAttributeMapping";

CSEString Text(const std::u16string& units)
{
    return CSEString(DVKUnicodeString(units));
}

const std::u16string& Units(const CSEString& text)
{
    return text().Text();
}

// ---- Value formats ----

// boolean: the value without surrounding blanks is "true" in any case.
bool IsTrue(const CSEString& value)
{
    return CSEUtil::StrCompareNoCase(value.Strip(CSEStripBoth), u"true") != 0;
}

// list: the pieces between commas.
void AppendList(const CSEString& value, CSEWrapperStringVector& list)
{
    if (value.size() > 0)
        CSEUtil::GetTokenizedArray(value, u",", list);
}

// lines: each non-empty line between line feeds.
template <typename Visit>
void ForEachLine(const CSEString& value, Visit visit)
{
    const std::u16string& text = Units(value);
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find(u'\n', start);
        if (end == std::u16string::npos)
            end = text.size();
        if (end > start)
            visit(text.substr(start, end - start));
        start = end + 1;
    }
}

void LogSkippedLine(const char16_t* key, const std::u16string& line)
{
    CSELogger::LogMsg(4, CSEString(kLog) + u"A line of \"" + key + u"\" is not in the expected form and is skipped: " +
                             Text(line));
}

// ---- Setters of plain values ----

template <unsigned char Data::*Switch>
void SetSwitch(Data& data, const CSEString& value)
{
    data.*Switch = IsTrue(value) ? 1 : 0;
}

template <CSEString Data::*Member>
void SetText(Data& data, const CSEString& value)
{
    data.*Member = value;
}

template <CSEWrapperStringVector Data::*Member>
void AddToList(Data& data, const CSEString& value)
{
    AppendList(value, data.*Member);
}

// Each registered event name, trimmed and in any case, switches its event on; others are ignored.
void RegisterUserExitEvents(Data& data, const CSEString& value)
{
    static const struct
    {
        const char16_t* name;
        CSEUserExitEvent event;
    } kEvents[] = {
        {u"CheckinDialogPre", CSEEventCheckinDialogPre},
        {u"CheckinStart", CSEEventCheckinStart},
        {u"CheckinPartPre", CSEEventCheckinPartPre},
        {u"CheckinPartPost", CSEEventCheckinPartPost},
        {u"CheckoutPartPre", CSEEventCheckoutPartPre},
        {u"CheckoutPartPost", CSEEventCheckoutPartPost},
        {u"OpenPartPre", CSEEventOpenPartPre},
        {u"OpenPartPost", CSEEventOpenPartPost},
        {u"LockPartPre", CSEEventLockPartPre},
        {u"LockPartPost", CSEEventLockPartPost},
        {u"UpdateAttributesInCADPre", CSEEventUpdateAttributesInCadPre},
        {u"UpdateAttributesInCADPost", CSEEventUpdateAttributesInCadPost},
    };
    CSEWrapperStringVector names;
    AppendList(value, names);
    for (int i = 0; i < names.Size(); ++i) {
        const CSEString name = names[i].Strip(CSEStripBoth);
        for (const auto& known : kEvents) {
            if (CSEUtil::StrCompareNoCase(name, known.name))
                data.userExits[known.event] = 1;
        }
    }
}

// "name,value,kind" per line. A line without both commas defines nothing: taking its second part
// as the kind would make "Weight,mandatory" a mandatory attribute whose value is "mandatory".
void AddMandatoryAttributes(Data& data, const CSEString& value)
{
    ForEachLine(value, [&data](const std::u16string& line) {
        const std::size_t first = line.find(u',');
        const std::size_t second = first == std::u16string::npos ? first : line.find(u',', first + 1);
        if (second == std::u16string::npos) {
            LogSkippedLine(kMandatoryKey, line);
            return;
        }
        CMandatoryAttrib attribute;
        attribute.name = Text(line.substr(0, first));
        attribute.value = Text(line.substr(first + 1, second - first - 1));
        attribute.kind = Text(line.substr(second + 1));
        data.mandatoryAttributes.push_back(attribute);
    });
}

// "type|...=option" per line: the type before the first "|", the option after the last "=".
void SetDerivedOutputOptions(Data& data, const CSEString& value)
{
    data.derivedOutputOptions.clear();
    ForEachLine(value, [&data](const std::u16string& line) {
        const std::size_t bar = line.find(u'|');
        const std::size_t equals = line.rfind(u'=');
        if (bar == std::u16string::npos || bar == 0 || equals == std::u16string::npos || equals <= bar) {
            LogSkippedLine(kDerivedOutputOptionsKey, line);
            return;
        }
        data.derivedOutputOptions[Text(line.substr(0, bar))] = Text(line.substr(equals + 1));
    });
}

// "type|attribute" per line.
void SetTypeToCadAttributes(Data& data, const CSEString& value)
{
    data.typeToCadAttribute.clear();
    ForEachLine(value, [&data](const std::u16string& line) {
        const std::size_t bar = line.find(u'|');
        if (bar == std::u16string::npos || bar == 0) {
            LogSkippedLine(kTypeToCadAttributeKey, line);
            return;
        }
        data.typeToCadAttribute[line.substr(0, bar)] = Text(line.substr(bar + 1));
    });
}

// Compared in any case, not trimmed.
void SetUserDirectoryAliasMode(Data& data, const CSEString& value)
{
    data.userDirectoryAliasAllowed =
        CSEUtil::StrCompareNoCase(value, u"allowed") || CSEUtil::StrCompareNoCase(value, u"current") ? 1 : 0;
}

// Taken only with rapid file access on (read from "gsettings" before this section).
void SetRapidFileAccessPath(Data& data, const CSEString& value)
{
    if (!data.rapidFileAccess)
        return;
    CSEString path = value.Strip(CSEStripBoth);
    // An empty folder stays empty, so that a file name joined to it never becomes a root path.
    if (path.size() > 0)
        CSEUtil::AppendSlash(path);
    data.rapidFileAccessPath = path;
}

// ---- Setters of nested name/value pairs ----

// The value ("type,attribute" on the CAD side) is listed and mapped to the name (the server's).
void AddQxToCadAttribute(Data& data, const CSEString& name, const CSEString& value)
{
    if (value.size() == 0)
        return;
    data.qxToCadAttributes.Append(Units(value));
    data.qxToCadMap[value] = name;
}

enum PairPart
{
    PairName,
    PairValue
};

template <CSEAttributeMappingList Data::*List, PairPart Part>
void AddMappedAttribute(Data& data, const CSEString& name, const CSEString& value)
{
    const CSEString& entry = Part == PairName ? name : value;
    if (entry.size() > 0)
        (data.*List).Append(Units(entry));
}

// A name that occurs again keeps its first list.
template <CSEStringListTable Data::*Table>
void AddFirstList(Data& data, const CSEString& name, const CSEString& value)
{
    if (name.size() == 0)
        return;
    const auto entry = (data.*Table).try_emplace(Units(name));
    if (entry.second)
        AppendList(value, entry.first->second);
}

// A name that occurs again (also from another key writing the same table) gets this list.
template <CSEStringListTable Data::*Table>
void ReplaceList(Data& data, const CSEString& name, const CSEString& value)
{
    if (name.size() == 0)
        return;
    CSEWrapperStringVector& list = (data.*Table)[Units(name)];
    list.clear();
    AppendList(value, list);
}

// ---- The key tables ----

struct Rule
{
    const char16_t* key;
    void (*setValue)(Data& data, const CSEString& value);
    // For list-valued keys: called for each nested "attribute" of the value.
    void (*addPair)(Data& data, const CSEString& name, const CSEString& value);
};

const Rule kGlobalRules[] = {
    {u"OKT-AssignCADModelNameFromPart", SetSwitch<&Data::assignCadModelNameFromPart>, nullptr},
    {u"OKT-EnableRapidFileAccess", SetSwitch<&Data::rapidFileAccess>, nullptr},
    {u"Vexlin-DisableConfigurations", SetSwitch<&Data::configurationsDisabled>, nullptr},
    {u"OKT-UserExitEventRegistration", RegisterUserExitEvents, nullptr},
    {u"OKT-CheckUUIDConflict", SetSwitch<&Data::uuidConflict>, nullptr},
    {u"OKT-EnableAutoRecognition", SetSwitch<&Data::autoRecognition>, nullptr},
    {u"OKT-CreateVersionObjects", SetSwitch<&Data::createVersionObjects>, nullptr},
    {u"Vexlin-QxToCADAttribMapping", nullptr, AddQxToCadAttribute},
    {u"Vexlin-CADToQxAttribMapping", nullptr, AddMappedAttribute<&Data::cadToQxAttributes, PairName>},
    {u"Vexlin-QxToCADRelAttribMapping", nullptr, AddMappedAttribute<&Data::qxToCadRelAttributes, PairValue>},
    {u"Vexlin-CADToQxRelAttribMapping", nullptr, AddMappedAttribute<&Data::cadToQxRelAttributes, PairName>},
    {u"Vexlin-NonSupportedCharacters", SetText<&Data::nonSupportedCharacters>, nullptr},
    {u"Vexlin-BusTypeMapping", nullptr, AddFirstList<&Data::busTypes>},
    {u"Vexlin-TypePolicyMapping", nullptr, AddFirstList<&Data::typePolicies>},
    {u"Vexlin-TypeClassMapping", nullptr, AddFirstList<&Data::typeClasses>},
    {u"Vexlin-TypeDerivedOutputMapping", nullptr, ReplaceList<&Data::typeClasses>},
};

const Rule kCustomRules[] = {
    {kMandatoryKey, AddMandatoryAttributes, nullptr},
    {u"OKT-CSEDerivedOutputOptions", SetText<&Data::cseDerivedOutputOptions>, nullptr},
    {u"OKT-CSEDisabledCommandsList", AddToList<&Data::disabledCommands>, nullptr},
    {u"DvkPreventCheckinForUnloadedModels", SetSwitch<&Data::preventCheckinForUnloadedModels>, nullptr},
    {u"DvkUpdateInstanceNamesOnRename", SetSwitch<&Data::updateInstanceNamesOnRename>, nullptr},
    {u"DvkCheckinAssociatedDrawings", SetSwitch<&Data::checkinAssociatedDrawings>, nullptr},
    {u"DvkPreventTypeCheckin", AddToList<&Data::preventTypeCheckin>, nullptr},
    {u"DvkSetReadWriteAccessBasedOnLockUnLockOptions", SetSwitch<&Data::readWriteAccessBasedOnLockUnlock>, nullptr},
    {kDerivedOutputOptionsKey, SetDerivedOutputOptions, nullptr},
    {u"DvkUpdatePartNumberOnRename", SetSwitch<&Data::updatePartNumberOnRename>, nullptr},
    {u"DvkTraverseMultiLevelMML", SetSwitch<&Data::traverseMultiLevelMML>, nullptr},
    {u"DvkExcludeTypes", AddToList<&Data::excludeTypes>, nullptr},
    {u"DvkDeleteModifiedFilesOnCheckin", SetText<&Data::deleteModifiedFilesOnCheckin>, nullptr},
    {u"DvkObjectLoadingInSession", SetText<&Data::objectLoadingInSession>, nullptr},
    {u"DvkEnableLoadingInVisuModeInCheckout", SetSwitch<&Data::loadingInVisuModeInCheckout>, nullptr},
    {kTypeToCadAttributeKey, SetTypeToCadAttributes, nullptr},
    {u"DvkPreventCheckinIfStructureContainsNewNotSavedNodes", SetSwitch<&Data::preventCheckinIfNewNotSavedNodes>,
     nullptr},
};

const Rule kLocalRules[] = {
    {u"Vexlin-LockObjectOnCheckout", SetSwitch<&Data::lockOnCheckout>, nullptr},
    {u"Vexlin-CheckOutDirectory", SetText<&Data::checkoutDirectory>, nullptr},
    {u"Vexlin-DeleteLocalFileOnCheckin", SetSwitch<&Data::deleteLocalFilesOnCheckin>, nullptr},
    {u"Vexlin-LockObjectOnCheckin", SetSwitch<&Data::lockOnCheckin>, nullptr},
    {u"Vexlin-CopyAttribOnCheckin", SetSwitch<&Data::copyAttributesOnCheckin>, nullptr},
    {u"Vexlin-CopyAttribOnCheckout", SetSwitch<&Data::copyAttributesOnCheckout>, nullptr},
    {u"OKT-UseAutoNameOption", SetSwitch<&Data::autoName>, nullptr},
    {u"Vexlin-CopyRelAttribOnCheckin", SetSwitch<&Data::copyRelAttributesOnCheckin>, nullptr},
    {u"Vexlin-CopyRelAttribOnCheckout", SetSwitch<&Data::copyRelAttributesOnCheckout>, nullptr},
    {u"OKT-AllowAutoGenerationForManualDerivedOutput", SetSwitch<&Data::autoGenerationForManualDerivedOutput>,
     nullptr},
    {u"OKT-DeleteFilesBehaviourOnCheckin", SetText<&Data::deleteFilesBehaviourOnCheckin>, nullptr},
    {u"OKT-UserDirectoryAlias-Mode", SetUserDirectoryAliasMode, nullptr},
    {u"Vexlin-SelectedDerivedOutputs", AddToList<&Data::selectedDerivedOutputs>, nullptr},
    {u"OKT-SelectedBackgroundDerivedOutputs", AddToList<&Data::selectedBackgroundDerivedOutputs>, nullptr},
    {u"OKT-SelectedManualDerivedOutputs", AddToList<&Data::selectedManualDerivedOutputs>, nullptr},
};

const Rule kOtherRules[] = {
    {u"OKT-RapidFileAccessPath", SetRapidFileAccessPath, nullptr},
};

template <std::size_t Count>
const Rule* FindRule(const Rule (&rules)[Count], const CSEString& key)
{
    for (const Rule& rule : rules) {
        if (key == rule.key)
            return &rule;
    }
    return nullptr;
}

// Applies the rules to the settings of one section: plain values in document order (a later
// duplicate overrides a switch or text, lists accumulate), then the nested pairs of each
// list-valued key, all its occurrences in document order. Each list is read through one path by
// increasing position, parenthesised so that the position counts across the whole result; a key
// that occurs many times costs no more than one query.
template <std::size_t Count>
void ReadSection(CSEXMLPacket& packet, const CSEString& basePath, const char16_t* section,
                 const Rule (&rules)[Count], Data& data)
{
    const CSEString sectionPath = basePath + section;
    const CSEString elements = u"(" + sectionPath + u")";
    CSEString name;
    CSEString value;
    const int count = packet.getNodeCount(elements);
    for (int i = 0; i < count; ++i) {
        packet.getNamedNVPair(elements, i, name, value);
        const Rule* rule = FindRule(rules, name);
        if (rule != nullptr && rule->setValue != nullptr)
            rule->setValue(data, value);
    }
    for (const Rule& rule : rules) {
        if (rule.addPair == nullptr)
            continue;
        const CSEString pairs = u"(" + sectionPath + u"[name=" + CSEXMLPacket::MakeXPathLiteral(rule.key) +
                                u"]/value/attribute)";
        const int pairCount = packet.getNodeCount(pairs);
        for (int i = 0; i < pairCount; ++i) {
            packet.getNamedNVPair(pairs, i, name, value);
            rule.addPair(data, name, value);
        }
    }
}

// ---- Derived values ----

// "CLIENT" / "compatiblewkcversion" as written; empty when there are no client settings.
CSEString CompatibleServerVersion()
{
    CSEString version;
    try {
        CSEClientSettings::GetInstance(0)->GetSetting(CSE_SECTION_CLIENT, CSE_KEY_COMPATIBLEWKCVERSION, version);
    } catch (...) {
        version.clear();
    }
    return version;
}

// A relationship list carries an attribute for assembly components when it holds
// "assemblyComponent,", "all," or "ALL," followed by the attribute.
void DeriveRelationshipSwitches(Data& data, bool compatibleWith2011)
{
    static const struct
    {
        CSEGcoSwitch which;
        CSEAttributeMappingList Data::*list;
        const char16_t* attribute;
        const char16_t* accessor;
    } kSwitches[] = {
        {CSEGcoQx2CADXForm, &Data::qxToCadRelAttributes, u"relativeXform", u"IsGCOQx2CADXFormSupported"},
        {CSEGcoCAD2QxXForm, &Data::cadToQxRelAttributes, u"relativeXform", u"IsGCOCAD2QxXFormSupported"},
        {CSEGcoQx2CADQXID, &Data::qxToCadRelAttributes, u"qxid", u"IsGCOQx2CADQXIDSupported"},
        {CSEGcoCAD2QxQXID, &Data::cadToQxRelAttributes, u"qxid", u"IsGCOCAD2QxQXIDSupported"},
        {CSEGcoQx2CADComponentID, &Data::qxToCadRelAttributes, u"componentID", u"IsGCOQx2CADComponentIDSupported"},
        {CSEGcoCAD2QxComponentID, &Data::cadToQxRelAttributes, u"componentID", u"IsGCOCAD2QxComponentIDSupported"},
        {CSEGcoCAD2QxUUID, &Data::cadToQxRelAttributes, u"UUID", u"IsGCOCAD2QxUUIDSupported"},
    };
    for (const auto& rule : kSwitches) {
        data.gco[rule.which] = (data.*rule.list).Holds(u"assemblyComponent", rule.attribute) ? 1 : 0;
        if (rule.which == CSEGcoCAD2QxQXID && compatibleWith2011)
            data.gco[rule.which] = 1;
        if (data.gco[rule.which])
            CSELogger::LogDebugMsg(CSEString(kLog) + rule.accessor + u" is on.");
    }
}

// The hashed forms of the look-ups that would otherwise walk a list per question.
void DeriveLookups(Data& data)
{
    for (int i = 0; i < data.mandatoryAttributes.size(); ++i)
        data.mandatoryNames.insert(Units(data.mandatoryAttributes[i].name));

    data.forbiddenCharacters.assign(Units(data.nonSupportedCharacters).begin(),
                                    Units(data.nonSupportedCharacters).end());
    std::sort(data.forbiddenCharacters.begin(), data.forbiddenCharacters.end());
    data.forbiddenCharacters.erase(std::unique(data.forbiddenCharacters.begin(), data.forbiddenCharacters.end()),
                                   data.forbiddenCharacters.end());

    // Entries "type,A" -> "class,S": the first entry in table order answers (type, S) with A.
    for (CSEStringCSEStringMapIterator it = data.qxToCadMap.begin(); it != data.qxToCadMap.end(); ++it) {
        const std::u16string& cadSide = Units((*it).key);
        const std::u16string& serverSide = Units((*it).value);
        const std::size_t cadComma = cadSide.find(u',');
        const std::size_t serverComma = serverSide.find(u',');
        if (cadComma == std::u16string::npos || serverComma == std::u16string::npos)
            continue;
        data.revisionAttributes[cadSide.substr(0, cadComma)].try_emplace(serverSide.substr(serverComma + 1),
                                                                         cadSide.substr(cadComma + 1));
    }
}

} // namespace

namespace cse {

void ReadServerSettings(CSEXMLPacket& packet, const CSEString& basePath, CSEServerSettingsData& data)
{
    ReadSection(packet, basePath, kGlobalSection, kGlobalRules, data);
    // A client that works with a 2010 server or later recognises objects whatever the server says.
    const CSEString compatible = CompatibleServerVersion();
    if (CSEUtil::IsVersionEqualOrLater(compatible, u"2010", -1))
        data.autoRecognition = 1;
    ReadSection(packet, basePath, kCustomSection, kCustomRules, data);
    DeriveRelationshipSwitches(data, CSEUtil::IsVersionEqualOrLater(compatible, u"2011", -1) != 0);
    // The other settings depend on the rapid-file switch of the global ones.
    ReadSection(packet, basePath, kLocalSection, kLocalRules, data);
    ReadSection(packet, basePath, kOtherSection, kOtherRules, data);
    DeriveLookups(data);
}

} // namespace cse
