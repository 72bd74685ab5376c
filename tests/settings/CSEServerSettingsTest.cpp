// Behaviour of CSEServerSettings: every key and the mapping questions over the document of the
// reference service; on small login responses the defaults, value formats, repeated keys, the
// compatible version, the silent adjustment, the rapid-file path and unreadable responses.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "CSEClientSettings.h"
#include "CSEServerSettings.h"
#include "support/InstallFolderFixture.h"

namespace {

typedef unsigned char (CSEServerSettings::*Switch)() const;

std::string U8(const CSEString& text)
{
    return text().ToUTF8();
}

// One setting: valueXml is the content of its "value" element.
std::string Setting(const std::string& name, const std::string& valueXml)
{
    return "<attribute><name>" + name + "</name><value>" + valueXml + "</value></attribute>";
}

// A login response; each argument is the content of its section.
std::string Response(const std::string& global, const std::string& custom = "", const std::string& local = "",
                     const std::string& other = "")
{
    return "<response cname='login' result='success'><info><gsettings>" + global + "<customattributes>" + custom +
           "</customattributes></gsettings><lsettings>" + local + "</lsettings><othersettings>" + other +
           "</othersettings></info></response>";
}

// Any answer of the settings as one comparable text.
std::string Str(int value)
{
    return std::to_string(value);
}
std::string Str(const CSEString& text)
{
    return U8(text);
}
std::string Str(const CSEWrapperStringVector& list)
{
    std::string joined;
    for (int i = 0; i < list.Size(); ++i)
        joined += U8(list[i]) + "|";
    return joined;
}
std::string Str(const CSEMandatoryAttribVector& attributes)
{
    std::string joined;
    for (int i = 0; i < attributes.size(); ++i)
        joined += U8(attributes[i].name) + "," + U8(attributes[i].value) + "," + U8(attributes[i].kind) + "|";
    return joined;
}

class ServerSettingsTest : public InstallFolderFixture
{
protected:
    void SetUp() override
    {
        InstallFolderFixture::SetUp();
        UseClientSettings();
    }

    CSEServerSettings& Load(const std::string& document)
    {
        EXPECT_EQ(m_settings.LoadServerSettings(CSEString(document.c_str())), 0) << document;
        return m_settings;
    }

    CSEServerSettings m_settings;
};

} // namespace

// The document that the reference service hands out at login sets every key of the key tables, each
// switch on or off in a mixed pattern and in the forms a site writes (" TRUE ", event names in any
// case): a key read into another setting or from another section, or not read at all, shows here.
TEST_F(ServerSettingsTest, EveryKeyOfTheServiceDocumentReachesItsSetting)
{
    typedef CSEServerSettings S;
    std::ifstream file(std::string(QORVI_SOURCE_DIR) + "/tools/okt-service/global_settings.xml");
    std::ostringstream document;
    document << file.rdbuf();
    CSEServerSettings& settings = Load(document.str());

    const Switch switches[] = {
        &S::IsAssignCADModelNameFromPartSupported, &S::IsRapidFileEnabled, &S::IsConfigurationSupportEnabled,
        &S::IsUUIDConflictSupported, &S::IsAutoRecognitionEnabled, &S::IsCreateVersionObjects,
        &S::IsCheckinDialogPreEnabled, &S::IsCheckinStartEnabled, &S::IsCheckinPartPreEnabled,
        &S::IsCheckinPartPostEnabled, &S::IsCheckoutPartPreEnabled, &S::IsCheckoutPartPostEnabled,
        &S::IsOpenPartPreEnabled, &S::IsOpenPartPostEnabled, &S::IsLockPartPreEnabled,
        &S::IsLockPartPostEnabled, &S::IsUpdateAttributesInCadPreEnabled, &S::IsUpdateAttributesInCadPostEnabled,
        &S::IsGCOQx2CADXFormSupported, &S::IsGCOCAD2QxXFormSupported, &S::IsGCOQx2CADQXIDSupported,
        &S::IsGCOCAD2QxQXIDSupported, &S::IsGCOQx2CADComponentIDSupported, &S::IsGCOCAD2QxComponentIDSupported,
        &S::IsGCOCAD2QxUUIDSupported,
        &S::IsDvkPreventCheckinForUnloadedModelsSupported, &S::IsDvkUpdateInstancesNamesOnRenameSupported,
        &S::IsDvkCheckinAssociatedDrawingsSupported, &S::IsDvkReadWriteAccessBasedOnLockUnlockOptionsSupported,
        &S::IsDvkUpdatePartNumberOnRenameSupported, &S::IsDvkTraverseMultiLevelMMLSupported,
        &S::IsDvkLoadingInVisuModeInCheckoutSupported, &S::IsDvkPreventCheckinIfStructureContainsNewNotSavedNodesSupported,
        &S::IsLockFileOnCheckout, &S::IsDelLocalFiles, &S::IsRetainLock, &S::IsCopyAttribOnCheckin,
        &S::IsCopyAttribOnCheckout, &S::IsAutoName, &S::IsCopyRelAttribOnCheckin, &S::IsCopyRelAttribOnCheckout,
        &S::IsAllowAutoGenerationForManualDerivedOutput, &S::IsUserDirectoryAliasModeAllowed,
    };
    std::string answers;
    for (Switch get : switches)
        answers += static_cast<char>('0' + (settings.*get)());
    // Global, user exits, relationship attributes, custom, local.
    EXPECT_EQ(answers, "111101" "011101000110" "1110011" "10111011" "1011101001");

    // Texts, lists and tables, with the questions asked of the mapping lists: a type of "all" stands
    // for every type, names compare exactly, a repeated table name keeps its first list and a mapping
    // without a value is no mapping.
    const auto revision = [&](const char16_t* type, const char16_t* serverAttribute) {
        CSEString cadAttribute(u"none");
        settings.GetQxToCADRevisionAttribute(type, serverAttribute, cadAttribute);
        return U8(cadAttribute);
    };
    const std::pair<std::string, std::string> values[] = {
        {Str(settings.GetNonSupportedCharacters()), "#%&<>*?|\""},
        {Str(settings.GetQxToCADAttributesVector(u"Drawing")), "DrawingRevision|SheetSize|Owner|LifecycleState|"},
        {Str(settings.IsAttributeMappedForQxToCAD(u"Part", u"weight")), "0"},
        {revision(u"Drawing", u"revision") + " " + revision(u"all", u"owner") + " " + revision(u"Part", u"owner"),
         "DrawingRevision Owner none"},
        {Str(settings.GetCADToQxAttributesVector(u"Drawing")), "SheetSize|weight|Designer|"},
        {Str(settings.IsAttributeMappedForCADToQx(u"Assembly", u"weight")), "1"},
        {Str(settings.IsAttributeMappedForCADToQx(u"Assembly", u"Weight")), "0"},
        {Str(settings.IsMandatoryAttributePresentInCADtoQxAttribMapping(u"Designer", u"Drawing")), "1"},
        {Str(settings.GetBusTypes(u"part")), "CAD Part|Versioned CAD Part|"},
        {Str(settings.GetPolicies(u"CAD Drawing")), "Drawing Policy|"},
        {Str(settings.GetVexlinTypeClassMapping(u"TYPE_PART_LIKE")), "CAD Part|Versioned CAD Part|"},
        // The derived-output mapping replaces the list of the class mapping.
        {Str(settings.GetVexlinTypeClassMapping(u"TYPE_DRAWING_LIKE")), "CAD Drawing|Versioned CAD Drawing|"},
        {Str(settings.GetTypeDerivedOutputMapping(u"TYPE_DERIVEDOUTPUT_LIKE")), "Derived Output|PDF Output|STEP Output|"},
        // A mandatory-attribute line without both commas defines nothing.
        {Str(settings.GetCADToQxMandatoryAttributesVector()),
         "Description,Enter a description,mandatory|Project,Default Project,default|Material,,null|"},
        {Str(settings.isAttributeMandatory(u"Weight")), "0"},
        {Str(settings.GetCSEDerivedOutputOptions()), "PDF,STEP,JPEG"},
        {Str(settings.GetCSEDisabledCommandsList()), "RecentlyAccessedParts|initiatewsm|"},
        {Str(settings.GetDvkPreventTypeCheckinOptions()), "CAD Drawing Template|Standard Part|"},
        {Str(settings.GetDvkDerivedOutputOptions()[u"PDF Output"]) + Str(settings.GetDvkDerivedOutputOptions()[u"STEP Output"]),
         "yesno"},
        {Str(settings.GetDvkExcludeTypesListOptions()), "Sketch|Reference Geometry|"},
        {Str(settings.GetDvkDeleteModifiedFilesOnCheckinOptions()), "ask"},
        {Str(settings.GetDvkObjectLoadingInSessionOptions()), "LoadSelectedObjectsInSession"},
        {Str(settings.GetCSETypetoCADAttributeMapping(u"CAD Assembly")), "AssemblyNumber"},
        {Str(settings.GetCheckoutDir()), "/srv/qx/checkout"},
        {Str(settings.GetDeleteFilesBehaviourOnCheckin()), "Keep Local Files"},
        {Str(settings.GetSelectedDerivedOutputs()), "PDF Output|STEP Output|"},
        {Str(settings.GetSelectedBackgroundDerivedOutputs()), "STEP Output|"},
        {Str(settings.GetSelectedManualDerivedOutputs()), "PDF Output|"},
        {Str(settings.GetRFAPath()), "/srv/qx/rfa/"},
    };
    for (const auto& value : values)
        EXPECT_EQ(value.first, value.second);
}

TEST_F(ServerSettingsTest, DefaultsApplyToEverySettingTheResponseLacks)
{
    for (const char* document : {"<response cname='login' result='success'/>", "<response><info/></response>"}) {
        CSEServerSettings& settings = Load(document);
        EXPECT_TRUE(settings.IsCreateVersionObjects());
        EXPECT_TRUE(settings.IsAllowAutoGenerationForManualDerivedOutput());
        EXPECT_FALSE(settings.IsConfigurationSupportEnabled());
        EXPECT_EQ(U8(settings.GetDeleteFilesBehaviourOnCheckin()), "Delete Selected Local Files");
        EXPECT_TRUE(settings.IsFilenameValid(u"any#name%.prt"));
    }
}

TEST_F(ServerSettingsTest, ValueFormats)
{
    const struct
    {
        std::string value;
        unsigned char expected;
    } booleans[] = {{" TRUE ", 1}, {"\ttrue\n", 1}, {"True", 1}, {"yes", 0}, {"1", 0}, {"", 0}, {"truer", 0}};
    for (const auto& b : booleans)
        EXPECT_EQ(Load(Response(Setting("OKT-CreateVersionObjects", b.value))).IsCreateVersionObjects(), b.expected)
            << b.value;

    // List items are not empty; the alias mode is not trimmed.
    CSEServerSettings& settings = Load(Response(
        "", Setting("DvkExcludeTypes", "Sketch,,Reference Geometry,"), Setting("OKT-UserDirectoryAlias-Mode", " current")));
    EXPECT_EQ(Str(settings.GetDvkExcludeTypesListOptions()), "Sketch|Reference Geometry|");
    EXPECT_FALSE(settings.IsUserDirectoryAliasModeAllowed());
}

// A repeated key sets a switch or text again and adds to a list; a line table is read anew. Sections
// that occur twice are both read.
TEST_F(ServerSettingsTest, RepeatedKeysAndSections)
{
    const std::string global = Setting("OKT-EnableRapidFileAccess", "true") +
                               Setting("Vexlin-BusTypeMapping", Setting("part", "CAD Part"));
    const std::string custom = Setting("OKT-CSEDisabledCommandsList", "checkin") +
                               Setting("DvkDerivedOutputOptions", "PDF|DeleteOnCheckin=yes\nSTEP|DeleteOnCheckin=yes") +
                               Setting("DvkDerivedOutputOptions", "STEP|DeleteOnCheckin=no") +
                               Setting("OKT-CSEDisabledCommandsList", "lock,unlock");
    const std::string second = "<gsettings>" + Setting("OKT-EnableRapidFileAccess", "false") +
                               Setting("Vexlin-BusTypeMapping", Setting("drawing", "CAD Drawing")) + "</gsettings>";
    std::string document = Response(global, custom);
    document.insert(document.find("<lsettings>"), second);

    CSEServerSettings& settings = Load(document);
    EXPECT_FALSE(settings.IsRapidFileEnabled());
    EXPECT_EQ(Str(settings.GetBusTypes(u"part")) + Str(settings.GetBusTypes(u"drawing")), "CAD Part|CAD Drawing|");
    EXPECT_EQ(Str(settings.GetCSEDisabledCommandsList()), "checkin|lock|unlock|");
    CSEStringCSEStringMap& options = settings.GetDvkDerivedOutputOptions();
    EXPECT_EQ(options.size(), 1);
    EXPECT_EQ(U8(options[u"STEP"]), "no");
}

TEST_F(ServerSettingsTest, CompatibleServerVersionSwitchesRecognitionAndQxidOn)
{
    const struct
    {
        const char* version;
        unsigned char recognition;
        unsigned char qxid;
    } cases[] = {{"10.7.SP1", 0, 0}, {"QTL2010", 1, 0}, {"QTL2010x", 1, 0}, {"QTL2011", 1, 1}, {"QTL2013x-1", 1, 1}};
    const std::string document = Response(Setting("OKT-EnableAutoRecognition", "false"));
    for (const auto& c : cases) {
        UseClientSettings(std::string("compatiblewkcversion=") + c.version + "\n");
        CSEServerSettings& settings = Load(document);
        EXPECT_EQ(settings.IsAutoRecognitionEnabled(), c.recognition) << c.version;
        EXPECT_EQ(settings.IsGCOCAD2QxQXIDSupported(), c.qxid) << c.version;
    }
}

TEST_F(ServerSettingsTest, SilentProcessingAnswersWhatNobodyIsThereToAnswer)
{
    const std::string document = Response(
        Setting("OKT-EnableRapidFileAccess", "true") + Setting("OKT-UserExitEventRegistration", "CheckinStart,OpenPartPre"),
        Setting("OKT-CSEDisabledCommandsList", "checkin") + Setting("DvkPreventCheckinForUnloadedModels", "true") +
            Setting("DvkDeleteModifiedFilesOnCheckin", "ask") + Setting("DvkObjectLoadingInSession", "LoadNothing") +
            Setting("DvkEnableLoadingInVisuModeInCheckout", "true"),
        Setting("OKT-DeleteFilesBehaviourOnCheckin", "Keep Local Files") + Setting("Vexlin-LockObjectOnCheckout", "true"));
    for (bool bulkLoading : {false, true}) {
        if (bulkLoading)
            CSEClientSettings::GetInstance(0)->SetBulkLoadingMode();
        CSEServerSettings& settings = Load(document);
        settings.InitServerSettingsForSilentProcessing();
        EXPECT_FALSE(settings.IsRapidFileEnabled());
        EXPECT_FALSE(settings.IsCheckinStartEnabled());
        EXPECT_FALSE(settings.IsOpenPartPreEnabled());
        EXPECT_TRUE(settings.GetCSEDisabledCommandsList().empty());
        EXPECT_FALSE(settings.IsDvkPreventCheckinForUnloadedModelsSupported());
        EXPECT_EQ(U8(settings.GetDvkDeleteModifiedFilesOnCheckinOptions()), "no");
        EXPECT_EQ(U8(settings.GetDvkObjectLoadingInSessionOptions()), "LoadObjectsInSession");
        EXPECT_EQ(U8(settings.GetDeleteFilesBehaviourOnCheckin()), "Delete Selected Local Files");
        EXPECT_EQ(settings.IsCreateVersionObjects(), bulkLoading ? 1 : 0);
        EXPECT_EQ(settings.IsDvkLoadingInVisuModeInCheckoutSupported(), bulkLoading ? 1 : 0);
        EXPECT_TRUE(settings.IsLockFileOnCheckout()) << "other settings stay";
    }
    Load(Response("", Setting("DvkDeleteModifiedFilesOnCheckin", "yes"))).InitServerSettingsForSilentProcessing();
    EXPECT_EQ(U8(m_settings.GetDvkDeleteModifiedFilesOnCheckinOptions()), "yes");
}

// The rapid-file path needs the switch; an empty path stays empty, so a file name joined to it is
// never a root path.
TEST_F(ServerSettingsTest, RapidFileAccessPath)
{
    const struct
    {
        const char* enabled;
        const char* path;
        const char* expected;
    } cases[] = {{"true", " /srv/rfa ", "/srv/rfa/"}, {"true", "/srv/rfa/", "/srv/rfa/"},
                 {"true", "  ", ""},                  {"true", "", ""},
                 {"false", "/srv/rfa", ""}};
    for (const auto& c : cases) {
        const CSEServerSettings& settings = Load(Response(Setting("OKT-EnableRapidFileAccess", c.enabled), "", "",
                                                          Setting("OKT-RapidFileAccessPath", c.path)));
        EXPECT_EQ(U8(settings.GetRFAPath()), c.expected) << c.enabled << " '" << c.path << "'";
    }
}

TEST_F(ServerSettingsTest, UnreadableResponseLeavesTheSettingsAsTheyWere)
{
    const std::string file = PathOf("Response.xml");
    const CSEString thin(("<response dirname='" + m_folder + "' filename='Response.xml'/>").c_str());
    std::ofstream(file) << Response(Setting("OKT-EnableRapidFileAccess", "true"), "",
                                    Setting("Vexlin-CheckOutDirectory", "/work"));
    ASSERT_EQ(m_settings.LoadServerSettings(thin), 0);
    CSEStringCSEStringMap versions;
    versions[u"framework"] = u"qtl2012x";
    m_settings.SetServerComponentVersions(versions);

    std::ofstream(file) << Response(Setting("OKT-EnableRapidFileAccess", "false")).substr(0, 80);
    for (const CSEString& response : {thin, CSEString(u"<response><info>"), CSEString(u""),
                                      CSEString(u"<response filename='absent.xml'/>")}) {
        EXPECT_EQ(m_settings.LoadServerSettings(response), 1) << U8(response);
        EXPECT_TRUE(m_settings.IsRapidFileEnabled());
        EXPECT_EQ(U8(m_settings.GetCheckoutDir()), "/work");
        EXPECT_EQ(m_settings.GetServerComponentVersions().size(), 1);
    }

    m_settings.ClearServerSettings();
    EXPECT_FALSE(m_settings.IsRapidFileEnabled());
    EXPECT_EQ(m_settings.GetServerComponentVersions().size(), 0);
}
