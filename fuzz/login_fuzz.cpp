// libFuzzer target: any login response given to the agent as its global settings, and any answer
// of the component-version query, must be read without a fault and answer every look-up. A
// response that cannot be read leaves loaded settings as they were; one that can is read alike
// every time.
//
// Input: the login response, optionally followed by a NUL byte and the version-list answer.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "CSEIntegrationAgent.h"
#include "CSEServerSettings.h"
#include "CSEString.h"
#include "CSEUtil.h"
#include "common/ScratchInstallFolder.h"
#include "connection/CSEVersionList.h"

namespace {

// Client settings of the fuzzed process: no log, a compatible version that switches the
// version-dependent settings on.
void PrepareInstallationFolder()
{
    ScratchInstallFolder("[SERVER]\nclientname=127.0.0.1\n[CLIENT]\ncompatiblewkcversion=QTL2011\n");
}

const char16_t* const kNames[] = {u"Part", u"ALL", u"all", u"", u"assemblyComponent", u"TYPE_DERIVEDOUTPUT_LIKE",
                                  u"a,b", u"Part,Weight"};

std::string Bits(std::initializer_list<unsigned char> switches)
{
    std::string bits;
    for (unsigned char on : switches)
        bits += on ? '1' : '0';
    return bits;
}

void AppendList(std::string& summary, const CSEWrapperStringVector& list)
{
    for (int i = 0; i < list.Size(); ++i)
        summary += list[i]().ToUTF8() + ',';
    summary += ';';
}

// What the settings answer, as one text to compare.
std::string Summary(CSEServerSettings& settings)
{
    std::string summary = Bits({settings.IsRapidFileEnabled(), settings.IsConfigurationSupportEnabled(),
                                settings.IsAutoRecognitionEnabled(), settings.IsCreateVersionObjects(),
                                settings.IsCheckinStartEnabled(), settings.IsLockPartPostEnabled(),
                                settings.IsDvkTraverseMultiLevelMMLSupported(), settings.IsUserDirectoryAliasModeAllowed(),
                                settings.IsGCOCAD2QxQXIDSupported(), settings.IsGCOQx2CADXFormSupported()});
    for (const CSEString& text : {settings.GetRFAPath(), settings.GetCheckoutDir(), settings.GetNonSupportedCharacters(),
                                  settings.GetDeleteFilesBehaviourOnCheckin()})
        summary += text().ToUTF8() + ';';
    AppendList(summary, settings.GetCSEDisabledCommandsList());
    for (const char16_t* name : kNames) {
        AppendList(summary, settings.GetBusTypes(name));
        AppendList(summary, settings.GetTypeDerivedOutputMapping(name));
        AppendList(summary, settings.GetQxToCADAttributesVector(name));
        AppendList(summary, settings.GetCADToQxAttributesVector(name));
        summary += Bits({settings.IsAttributeMappedForCADToQx(name, u"Weight"), settings.isAttributeMandatory(name),
                         settings.IsMandatoryAttributePresentInCADtoQxAttribMapping(u"Weight", name),
                         settings.IsFilenameValid(name)});
        summary += settings.GetCSETypetoCADAttributeMapping(name)().ToUTF8() + ';';
        CSEString attribute;
        settings.GetQxToCADRevisionAttribute(name, u"revision", attribute);
        summary += attribute().ToUTF8() + ';';
    }
    summary += std::to_string(settings.GetCADToQxMandatoryAttributesVector().size()) + ';' +
               std::to_string(settings.GetDvkDerivedOutputOptions().size());
    return summary;
}

// The utilities read the agent's settings.
void AskTheUtilities()
{
    for (const char16_t* name : kNames) {
        CSEString attribute;
        CSEUtil::IsCommandEnabled(name);
        CSEUtil::IsCadTypePreventedFromCheckin(name);
        CSEUtil::IsCadTypeExcludedFromCheckin(name);
        CSEUtil::IsCadObjTypeDerivedOutput(name);
        CSEUtil::IsDerivedOutputDeleteOnCheckin(name);
        CSEUtil::ValidateFilename(name);
        CSEUtil::IsQxTypeValid(name, name);
        CSEUtil::GetCADAttributeMappedToCSEType(name, attribute);
    }
    CSEUtil::GetServerVersionsString(u"Framework");
    CSEUtil::IsPNGViewableSupported();
}

const char kReference[] = "<response><info><gsettings>"
                          "<attribute><name>OKT-EnableRapidFileAccess</name><value>true</value></attribute>"
                          "<attribute><name>Vexlin-BusTypeMapping</name><value><attribute><name>Part</name>"
                          "<value>CAD Part,Versioned CAD Part</value></attribute></value></attribute>"
                          "</gsettings><othersettings><attribute><name>OKT-RapidFileAccessPath</name>"
                          "<value>/srv/rfa</value></attribute></othersettings></info></response>";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    PrepareInstallationFolder();
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = input.find('\0');
    const std::string document = input.substr(0, nul);
    const std::string versionList = nul == std::string::npos ? std::string() : input.substr(nul + 1);
    const CSEString response(DVKUnicodeString::FromUTF8(document.data(), document.size()));

    CSEIntegrationAgent& agent = CSEIntegrationAgent::GetIntegrationAgent();
    agent.Disconnect();
    if (agent.InitServerSettingsForSilent(response) == 0) {
        CSEServerSettings* settings = agent.GetServerSettingsPtr();
        if (settings == nullptr || agent.GetConnectionStatus() != CSEIntegrationAgent::LoggedIn)
            __builtin_trap();
        CSEStringCSEStringMap versions;
        cse::ParseComponentVersions(CSEString(DVKUnicodeString::FromUTF8(versionList.data(), versionList.size())),
                                    versions);
        settings->SetServerComponentVersions(versions);
        AskTheUtilities();
        CSEServerSettings again;
        if (again.LoadServerSettings(response) != 0 || Summary(again) != Summary(*settings))
            __builtin_trap();
        settings->InitServerSettingsForSilentProcessing();
        Summary(*settings);
    }
    agent.Disconnect();
    AskTheUtilities();

    CSEServerSettings loaded;
    if (loaded.LoadServerSettings(CSEString(kReference)) != 0)
        __builtin_trap();
    const std::string before = Summary(loaded);
    if (loaded.LoadServerSettings(response) != 0 && Summary(loaded) != before)
        __builtin_trap();
    return 0;
}
