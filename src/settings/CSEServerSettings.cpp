// CSEServerSettings: loads a login response into a fresh set of values and swaps it in whole, and
// answers the accessors and look-ups from the current set.
#include "CSEServerSettings.h"

#include <algorithm>
#include <memory>
#include <new>

#include "CSEClientSettings.h"
#include "CSELogger.h"
#include "CSEResponse.h"
#include "CSEResultCodes.h"
#include "CSEUtil.h"
#include "CSEXMLPacket.h"
#include "settings/CSEServerSettingsData.h"
#include "settings/CSEServerSettingsReader.h"

namespace {

const char16_t kInfoPath[] = u"//response/info";
// The element a thin response carries its file name on (as CSEResponse reads it).
const char16_t kResponsePath[] = u"//response";

void LogLoadFailure(const CSEString& reason)
{
    CSELogger::LogMsg(3, u"[CSEServerSettings::LoadServerSettings] " + reason);
}

const std::u16string& Units(const CSEString& text)
{
    return text().Text();
}

CSEWrapperStringVector ListOf(const CSEStringListTable& table, const CSEString& name)
{
    const auto found = table.find(Units(name));
    return found == table.end() ? CSEWrapperStringVector() : found->second;
}

// Loads the document of a login response into the packet: the file that a thin response names, or
// the text itself when it is the whole response.
bool LoadLoginResponse(const CSEString& text, CSEXMLPacket& packet)
{
    if (packet.loadXMLinMemory(text) != CSE_SUCCESS) {
        LogLoadFailure(u"The login response is not well-formed XML.");
        return false;
    }
    CSEString fileName;
    packet.getAttributeValue(kResponsePath, u"filename", fileName);
    if (fileName.size() == 0)
        return true;
    CSEString path;
    if (!CSEResponse::GetFilenameFromThinResp(text, path) || packet.loadXMLFile(path) != CSE_SUCCESS) {
        LogLoadFailure(u"The login response file " + path + u" is missing or not well-formed XML.");
        return false;
    }
    return true;
}

bool IsBulkLoadingMode()
{
    try {
        return CSEClientSettings::GetInstance(0)->IsBulkLoadingMode() != 0;
    } catch (...) {
        return false;
    }
}

} // namespace

CSEServerSettings::CSEServerSettings() : m_pData(new CSEServerSettingsData())
{
}

CSEServerSettings::~CSEServerSettings() = default;

// ---- Loading ----

int CSEServerSettings::LoadServerSettings(const CSEString& thinResponse)
{
    std::unique_ptr<CSEXMLPacket> packet(CSEXMLPacket::GetXMLPacketPtr(-1));
    if (packet == nullptr) {
        LogLoadFailure(u"No XML packet could be created.");
        return CSE_FAILURE;
    }
    if (!LoadLoginResponse(thinResponse, *packet))
        return CSE_FAILURE;
    // A login response without settings is still a login: every setting keeps its default.
    if (packet->getNodeCount(kInfoPath) == 0)
        CSELogger::LogMsg(4, u"[CSEServerSettings::LoadServerSettings] The login response has no global "
                             u"settings (\"//response/info\"); the defaults apply.");
    return ParseNInitializeServerSettings(packet.get(), kInfoPath);
}

int CSEServerSettings::ParseNInitializeServerSettings(CSEXMLPacket* packet, const CSEString& basePath)
{
    if (packet == nullptr)
        return CSE_FAILURE;
    std::unique_ptr<CSEServerSettingsData> loaded(new CSEServerSettingsData());
    cse::ReadServerSettings(*packet, basePath, *loaded);
    m_pData.swap(loaded);
    return CSE_SUCCESS;
}

void CSEServerSettings::ClearServerSettings()
{
    m_pData.reset(new CSEServerSettingsData());
    m_ServerComponentVersions.clear();
}

void CSEServerSettings::InitServerSettingsForSilentProcessing()
{
    CSEServerSettingsData& data = *m_pData;
    data.rapidFileAccess = 0;
    std::fill(std::begin(data.userExits), std::end(data.userExits), 0);
    data.disabledCommands.clear();
    data.preventCheckinForUnloadedModels = 0;
    // Nobody is there to answer.
    if (data.deleteModifiedFilesOnCheckin == u"ask")
        data.deleteModifiedFilesOnCheckin = u"no";
    data.objectLoadingInSession = u"LoadObjectsInSession";
    if (!IsBulkLoadingMode()) {
        data.createVersionObjects = 0;
        data.loadingInVisuModeInCheckout = 0;
    }
    data.deleteFilesBehaviourOnCheckin = CSE_DELETE_SELECTED_LOCAL_FILES;
}

unsigned char CSEServerSettings::SetServerComponentVersions(CSEStringCSEStringMap& versions)
{
    m_ServerComponentVersions = versions;
    return true;
}

CSEStringCSEStringMap& CSEServerSettings::GetServerComponentVersions()
{
    return m_ServerComponentVersions;
}

// ---- Switches ----

unsigned char CSEServerSettings::IsAssignCADModelNameFromPartSupported() const { return m_pData->assignCadModelNameFromPart; }
unsigned char CSEServerSettings::IsRapidFileEnabled() const { return m_pData->rapidFileAccess; }
unsigned char CSEServerSettings::IsConfigurationSupportEnabled() const { return m_pData->configurationsDisabled ? 0 : 1; }
unsigned char CSEServerSettings::IsUUIDConflictSupported() const { return m_pData->uuidConflict; }
unsigned char CSEServerSettings::IsAutoRecognitionEnabled() const { return m_pData->autoRecognition; }
unsigned char CSEServerSettings::IsCreateVersionObjects() const { return m_pData->createVersionObjects; }

unsigned char CSEServerSettings::IsCheckinDialogPreEnabled() const { return m_pData->userExits[CSEEventCheckinDialogPre]; }
unsigned char CSEServerSettings::IsCheckinStartEnabled() const { return m_pData->userExits[CSEEventCheckinStart]; }
unsigned char CSEServerSettings::IsCheckinPartPreEnabled() const { return m_pData->userExits[CSEEventCheckinPartPre]; }
unsigned char CSEServerSettings::IsCheckinPartPostEnabled() const { return m_pData->userExits[CSEEventCheckinPartPost]; }
unsigned char CSEServerSettings::IsCheckoutPartPreEnabled() const { return m_pData->userExits[CSEEventCheckoutPartPre]; }
unsigned char CSEServerSettings::IsCheckoutPartPostEnabled() const { return m_pData->userExits[CSEEventCheckoutPartPost]; }
unsigned char CSEServerSettings::IsOpenPartPreEnabled() const { return m_pData->userExits[CSEEventOpenPartPre]; }
unsigned char CSEServerSettings::IsOpenPartPostEnabled() const { return m_pData->userExits[CSEEventOpenPartPost]; }
unsigned char CSEServerSettings::IsLockPartPreEnabled() const { return m_pData->userExits[CSEEventLockPartPre]; }
unsigned char CSEServerSettings::IsLockPartPostEnabled() const { return m_pData->userExits[CSEEventLockPartPost]; }
unsigned char CSEServerSettings::IsUpdateAttributesInCadPreEnabled() const { return m_pData->userExits[CSEEventUpdateAttributesInCadPre]; }
unsigned char CSEServerSettings::IsUpdateAttributesInCadPostEnabled() const { return m_pData->userExits[CSEEventUpdateAttributesInCadPost]; }

unsigned char CSEServerSettings::IsDvkPreventCheckinForUnloadedModelsSupported() const { return m_pData->preventCheckinForUnloadedModels; }
unsigned char CSEServerSettings::IsDvkUpdateInstancesNamesOnRenameSupported() const { return m_pData->updateInstanceNamesOnRename; }
unsigned char CSEServerSettings::IsDvkCheckinAssociatedDrawingsSupported() const { return m_pData->checkinAssociatedDrawings; }
unsigned char CSEServerSettings::IsDvkReadWriteAccessBasedOnLockUnlockOptionsSupported() const { return m_pData->readWriteAccessBasedOnLockUnlock; }
unsigned char CSEServerSettings::IsDvkUpdatePartNumberOnRenameSupported() const { return m_pData->updatePartNumberOnRename; }
unsigned char CSEServerSettings::IsDvkTraverseMultiLevelMMLSupported() const { return m_pData->traverseMultiLevelMML; }
unsigned char CSEServerSettings::IsDvkLoadingInVisuModeInCheckoutSupported() const { return m_pData->loadingInVisuModeInCheckout; }
unsigned char CSEServerSettings::IsDvkPreventCheckinIfStructureContainsNewNotSavedNodesSupported() const { return m_pData->preventCheckinIfNewNotSavedNodes; }

unsigned char CSEServerSettings::IsLockFileOnCheckout() const { return m_pData->lockOnCheckout; }
unsigned char CSEServerSettings::IsDelLocalFiles() const { return m_pData->deleteLocalFilesOnCheckin; }
unsigned char CSEServerSettings::IsRetainLock() const { return m_pData->lockOnCheckin; }
unsigned char CSEServerSettings::IsCopyAttribOnCheckin() const { return m_pData->copyAttributesOnCheckin; }
unsigned char CSEServerSettings::IsCopyAttribOnCheckout() const { return m_pData->copyAttributesOnCheckout; }
unsigned char CSEServerSettings::IsAutoName() const { return m_pData->autoName; }
unsigned char CSEServerSettings::IsCopyRelAttribOnCheckin() const { return m_pData->copyRelAttributesOnCheckin; }
unsigned char CSEServerSettings::IsCopyRelAttribOnCheckout() const { return m_pData->copyRelAttributesOnCheckout; }
unsigned char CSEServerSettings::IsAllowAutoGenerationForManualDerivedOutput() const { return m_pData->autoGenerationForManualDerivedOutput; }
unsigned char CSEServerSettings::IsUserDirectoryAliasModeAllowed() const { return m_pData->userDirectoryAliasAllowed; }

unsigned char CSEServerSettings::IsGCOQx2CADXFormSupported() const { return m_pData->gco[CSEGcoQx2CADXForm]; }
unsigned char CSEServerSettings::IsGCOCAD2QxXFormSupported() const { return m_pData->gco[CSEGcoCAD2QxXForm]; }
unsigned char CSEServerSettings::IsGCOQx2CADQXIDSupported() const { return m_pData->gco[CSEGcoQx2CADQXID]; }
unsigned char CSEServerSettings::IsGCOCAD2QxQXIDSupported() const { return m_pData->gco[CSEGcoCAD2QxQXID]; }
unsigned char CSEServerSettings::IsGCOQx2CADComponentIDSupported() const { return m_pData->gco[CSEGcoQx2CADComponentID]; }
unsigned char CSEServerSettings::IsGCOCAD2QxComponentIDSupported() const { return m_pData->gco[CSEGcoCAD2QxComponentID]; }
unsigned char CSEServerSettings::IsGCOCAD2QxUUIDSupported() const { return m_pData->gco[CSEGcoCAD2QxUUID]; }

// ---- Texts and lists ----

CSEString CSEServerSettings::GetCheckoutDir() const { return m_pData->checkoutDirectory; }
CSEString CSEServerSettings::GetRFAPath() const { return m_pData->rapidFileAccessPath; }
CSEString CSEServerSettings::GetDeleteFilesBehaviourOnCheckin() const { return m_pData->deleteFilesBehaviourOnCheckin; }
CSEString CSEServerSettings::GetNonSupportedCharacters() const { return m_pData->nonSupportedCharacters; }
CSEString CSEServerSettings::GetCSEDerivedOutputOptions() const { return m_pData->cseDerivedOutputOptions; }
CSEString CSEServerSettings::GetDvkDeleteModifiedFilesOnCheckinOptions() const { return m_pData->deleteModifiedFilesOnCheckin; }
CSEString CSEServerSettings::GetDvkObjectLoadingInSessionOptions() const { return m_pData->objectLoadingInSession; }

CSEWrapperStringVector CSEServerSettings::GetCSEDisabledCommandsList() const { return m_pData->disabledCommands; }
CSEWrapperStringVector CSEServerSettings::GetDvkPreventTypeCheckinOptions() const { return m_pData->preventTypeCheckin; }
CSEWrapperStringVector CSEServerSettings::GetDvkExcludeTypesListOptions() const { return m_pData->excludeTypes; }
CSEWrapperStringVector CSEServerSettings::GetSelectedDerivedOutputs() const { return m_pData->selectedDerivedOutputs; }
CSEWrapperStringVector CSEServerSettings::GetSelectedBackgroundDerivedOutputs() const { return m_pData->selectedBackgroundDerivedOutputs; }
CSEWrapperStringVector CSEServerSettings::GetSelectedManualDerivedOutputs() const { return m_pData->selectedManualDerivedOutputs; }

// ---- Tables ----

CSEWrapperStringVector CSEServerSettings::GetBusTypes(const CSEString& name) const
{
    return ListOf(m_pData->busTypes, name);
}

CSEWrapperStringVector CSEServerSettings::GetPolicies(const CSEString& name) const
{
    return ListOf(m_pData->typePolicies, name);
}

CSEWrapperStringVector CSEServerSettings::GetVexlinTypeClassMapping(const CSEString& name) const
{
    return ListOf(m_pData->typeClasses, name);
}

CSEWrapperStringVector CSEServerSettings::GetTypeDerivedOutputMapping(const CSEString& name) const
{
    return ListOf(m_pData->typeClasses, name);
}

CSEString CSEServerSettings::GetCSETypetoCADAttributeMapping(const CSEString& type) const
{
    const auto found = m_pData->typeToCadAttribute.find(Units(type));
    return found == m_pData->typeToCadAttribute.end() ? CSEString() : found->second;
}

CSEStringCSEStringMap& CSEServerSettings::GetDvkDerivedOutputOptions()
{
    return m_pData->derivedOutputOptions;
}

// ---- Attribute mappings ----

unsigned char CSEServerSettings::IsAttributeMappedForCADToQx(const CSEString& type, const CSEString& attribute) const
{
    return m_pData->cadToQxAttributes.Holds(Units(type), Units(attribute)) ? 1 : 0;
}

unsigned char CSEServerSettings::IsAttributeMappedForQxToCAD(const CSEString& type, const CSEString& attribute) const
{
    return m_pData->qxToCadAttributes.Holds(Units(type), Units(attribute)) ? 1 : 0;
}

unsigned char CSEServerSettings::IsRelnAttributeMappedForQxToCAD(const CSEString& relationship,
                                                                 const CSEString& attribute) const
{
    return m_pData->qxToCadRelAttributes.Holds(Units(relationship), Units(attribute)) ? 1 : 0;
}

unsigned char CSEServerSettings::IsRelnAttributeMappedForCADToQx(const CSEString& relationship,
                                                                 const CSEString& attribute) const
{
    return m_pData->cadToQxRelAttributes.Holds(Units(relationship), Units(attribute)) ? 1 : 0;
}

CSEWrapperStringVector CSEServerSettings::GetQxToCADAttributesVector(const CSEString& type) const
{
    return m_pData->qxToCadAttributes.AttributesOf(Units(type));
}

CSEWrapperStringVector CSEServerSettings::GetCADToQxAttributesVector(const CSEString& type) const
{
    return m_pData->cadToQxAttributes.AttributesOf(Units(type));
}

CSEString CSEServerSettings::GetQxToCADAttributeMapping(const CSEString& cadTypeAndAttribute) const
{
    CSEStringCSEStringMap& map = m_pData->qxToCadMap;
    const CSEStringCSEStringMapIterator found = map.find(cadTypeAndAttribute);
    return found == map.end() ? CSEString() : (*found).value;
}

unsigned char CSEServerSettings::GetQxToCADRevisionAttribute(const CSEString& type, const CSEString& serverAttribute,
                                                             CSEString& cadAttribute) const
{
    const auto ofType = m_pData->revisionAttributes.find(Units(type));
    if (ofType == m_pData->revisionAttributes.end())
        return 0;
    const auto found = ofType->second.find(Units(serverAttribute));
    if (found == ofType->second.end())
        return 0;
    cadAttribute = CSEString(DVKUnicodeString(found->second));
    return 1;
}

CSEMandatoryAttribVector CSEServerSettings::GetCADToQxMandatoryAttributesVector() const
{
    return m_pData->mandatoryAttributes;
}

unsigned char CSEServerSettings::isAttributeMandatory(const CSEString& name) const
{
    return m_pData->mandatoryNames.count(Units(name)) != 0 ? 1 : 0;
}

unsigned char CSEServerSettings::IsMandatoryAttributePresentInCADtoQxAttribMapping(const CSEString& attribute,
                                                                                   const CSEString& type) const
{
    return m_pData->cadToQxAttributes.GivesAttribute(Units(type), Units(attribute)) ? 1 : 0;
}

unsigned char CSEServerSettings::IsFilenameValid(const CSEString& name) const
{
    const std::vector<char16_t>& forbidden = m_pData->forbiddenCharacters;
    for (char16_t unit : Units(name)) {
        if (std::binary_search(forbidden.begin(), forbidden.end(), unit))
            return 0;
    }
    return 1;
}
