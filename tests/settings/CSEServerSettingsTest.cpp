// Behaviour of CSEServerSettings: the key tables over the document of the reference service, and on
// small login responses the defaults, value formats, repeated keys, the pair and line tables, the
// attribute questions, the silent adjustment and unreadable responses.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "CSEClientSettings.h"
#include "CSEServerSettings.h"
#include "support/InstallFolderFixture.h"

namespace {

typedef std::vector<std::pair<std::string, std::string>> Pairs;
typedef unsigned char (CSEServerSettings::*Switch)() const;

std::string U8(const CSEString& text)
{
    return text().ToUTF8();
}

std::vector<std::string> Texts(const CSEWrapperStringVector& vector)
{
    std::vector<std::string> texts;
    for (int i = 0; i < vector.Size(); ++i)
        texts.push_back(U8(vector[i]));
    return texts;
}

// One setting: valueXml is the content of its "value" element.
std::string Setting(const std::string& name, const std::string& valueXml)
{
    return "<attribute><name>" + name + "</name><value>" + valueXml + "</value></attribute>";
}

std::string PairSetting(const std::string& name, const Pairs& pairs)
{
    std::string nested;
    for (const auto& pair : pairs)
        nested += "\n  " + Setting(pair.first, pair.second);
    return Setting(name, nested + "\n");
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
    for (const std::string& text : Texts(list))
        joined += text + "|";
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
// switch on or off in a mixed pattern: a key read into another setting or from another section, or
// not read at all, changes an answer here.
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

    const std::pair<std::string, std::string> values[] = {
        {Str(settings.GetNonSupportedCharacters()), "#%&<>*?|\""},
        {Str(settings.GetQxToCADAttributesVector(u"Drawing")), "DrawingRevision|SheetSize|Owner|LifecycleState|"},
        {Str(settings.GetCADToQxAttributesVector(u"Drawing")), "SheetSize|weight|Designer|"},
        {Str(settings.GetBusTypes(u"part")), "CAD Part|Versioned CAD Part|"},
        {Str(settings.GetPolicies(u"CAD Drawing")), "Drawing Policy|"},
        {Str(settings.GetVexlinTypeClassMapping(u"TYPE_PART_LIKE")), "CAD Part|Versioned CAD Part|"},
        {Str(settings.GetTypeDerivedOutputMapping(u"TYPE_DERIVEDOUTPUT_LIKE")), "Derived Output|PDF Output|STEP Output|"},
        {Str(settings.GetCADToQxMandatoryAttributesVector().size()), "3"},
        {Str(settings.GetCSEDerivedOutputOptions()), "PDF,STEP,JPEG"},
        {Str(settings.GetCSEDisabledCommandsList()), "RecentlyAccessedParts|initiatewsm|"},
        {Str(settings.GetDvkPreventTypeCheckinOptions()), "CAD Drawing Template|Standard Part|"},
        {Str(settings.GetDvkDerivedOutputOptions()[u"STEP Output"]), "no"},
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
        EXPECT_FALSE(settings.IsLockFileOnCheckout());
        EXPECT_EQ(U8(settings.GetDeleteFilesBehaviourOnCheckin()), "Delete Selected Local Files");
        EXPECT_TRUE(settings.IsFilenameValid(u"any#name%.prt"));
        EXPECT_TRUE(settings.GetBusTypes(u"part").empty());
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

    // Event names are trimmed and read in any case; unknown ones are ignored. List items are not
    // empty, the alias mode is not trimmed and every unsupported character counts.
    CSEServerSettings& settings = Load(Response(
        Setting("OKT-UserExitEventRegistration", "checkinstart, LockPartPost ,ArchivePartPre") +
            Setting("Vexlin-NonSupportedCharacters", "#%"),
        Setting("DvkExcludeTypes", "Sketch,,Reference Geometry,"), Setting("OKT-UserDirectoryAlias-Mode", " current")));
    EXPECT_TRUE(settings.IsCheckinStartEnabled());
    EXPECT_TRUE(settings.IsLockPartPostEnabled());
    EXPECT_FALSE(settings.IsLockPartPreEnabled());
    EXPECT_EQ(Texts(settings.GetDvkExcludeTypesListOptions()), (std::vector<std::string>{"Sketch", "Reference Geometry"}));
    EXPECT_FALSE(settings.IsUserDirectoryAliasModeAllowed());
    EXPECT_FALSE(settings.IsFilenameValid(u"gear#2.prt"));
    EXPECT_FALSE(settings.IsFilenameValid(u"100%.prt"));
    EXPECT_TRUE(settings.IsFilenameValid(u"gear-2.prt"));
}

// A repeated key sets a switch or text again and adds to a list; a line table is read anew. Sections
// that occur twice are both read.
TEST_F(ServerSettingsTest, RepeatedKeysAndSections)
{
    const std::string global = Setting("OKT-EnableRapidFileAccess", "true") +
                               PairSetting("Vexlin-BusTypeMapping", {{"part", "CAD Part"}});
    const std::string custom = Setting("OKT-CSEDisabledCommandsList", "checkin") +
                               Setting("DvkDerivedOutputOptions", "PDF|DeleteOnCheckin=yes\nSTEP|DeleteOnCheckin=yes") +
                               Setting("DvkDerivedOutputOptions", "STEP|DeleteOnCheckin=no") +
                               Setting("OKT-CSEDisabledCommandsList", "lock,unlock");
    const std::string second = "<gsettings>" + Setting("OKT-EnableRapidFileAccess", "false") +
                               PairSetting("Vexlin-BusTypeMapping", {{"drawing", "CAD Drawing"}}) + "</gsettings>";
    std::string document = Response(global, custom);
    document.insert(document.find("<lsettings>"), second);

    CSEServerSettings& settings = Load(document);
    EXPECT_FALSE(settings.IsRapidFileEnabled());
    EXPECT_EQ(Texts(settings.GetBusTypes(u"part")), std::vector<std::string>{"CAD Part"});
    EXPECT_EQ(Texts(settings.GetBusTypes(u"drawing")), std::vector<std::string>{"CAD Drawing"});
    EXPECT_EQ(Texts(settings.GetCSEDisabledCommandsList()), (std::vector<std::string>{"checkin", "lock", "unlock"}));
    CSEStringCSEStringMap& options = settings.GetDvkDerivedOutputOptions();
    EXPECT_EQ(options.size(), 1);
    EXPECT_EQ(U8(options[u"STEP"]), "no");
}

TEST_F(ServerSettingsTest, PairTablesKeepTheFirstListButDerivedOutputsReplace)
{
    CSEServerSettings& settings = Load(Response(
        PairSetting("Vexlin-TypeClassMapping", {{"TYPE_DRAWING_LIKE", "CAD Drawing"}, {"TYPE_PART_LIKE", "CAD Part"}}) +
        PairSetting("Vexlin-TypeDerivedOutputMapping",
                    {{"TYPE_DRAWING_LIKE", "CAD Drawing,Versioned CAD Drawing"}, {"TYPE_DERIVEDOUTPUT_LIKE", "PDF"}}) +
        PairSetting("Vexlin-TypeClassMapping", {{"TYPE_DERIVEDOUTPUT_LIKE", "STEP"}, {"TYPE_PART_LIKE", "Other"}}) +
        PairSetting("Vexlin-TypeDerivedOutputMapping", {{"TYPE_DERIVEDOUTPUT_LIKE", "PDF,STEP"}}) +
        PairSetting("Vexlin-TypePolicyMapping", {{"CAD Part", "Design"}, {"", "Lost"}, {"CAD Part", "Obsolete"}})));
    const struct
    {
        const char16_t* name;
        std::vector<std::string> list;
    } classes[] = {
        {u"TYPE_DRAWING_LIKE", {"CAD Drawing", "Versioned CAD Drawing"}},
        {u"TYPE_PART_LIKE", {"CAD Part"}},
        {u"TYPE_DERIVEDOUTPUT_LIKE", {"PDF", "STEP"}},
        {u"TYPE_ABSENT", {}},
    };
    for (const auto& c : classes) {
        EXPECT_EQ(Texts(settings.GetVexlinTypeClassMapping(c.name)), c.list);
        EXPECT_EQ(Texts(settings.GetTypeDerivedOutputMapping(c.name)), c.list);
    }
    EXPECT_EQ(Texts(settings.GetPolicies(u"CAD Part")), std::vector<std::string>{"Design"});
    EXPECT_TRUE(settings.GetPolicies(u"").empty());
}

TEST_F(ServerSettingsTest, LineTablesSkipLinesThatAreNotInTheirForm)
{
    CSEServerSettings& settings = Load(Response(
        "", Setting("OKT-CADToQxMandatoryAttrMapping",
                    "\nDescription,Enter one,mandatory\nWeight,mandatory\nMaterial\n\nNotes,,null\nCode,A,B,default") +
                Setting("DvkDerivedOutputOptions", "PDF|Delete=yes\n|Delete=yes\nSTEP|no option\nJT=1|x\nDXF|a=b=yes") +
                Setting("Vexlin-CSETypeToCADAttributeMapping", "CAD Part|PartNumber\n|Orphan\nCAD Drawing|\nplain")));

    const CSEMandatoryAttribVector mandatory = settings.GetCADToQxMandatoryAttributesVector();
    std::vector<std::string> records;
    for (int i = 0; i < mandatory.size(); ++i)
        records.push_back(U8(mandatory[i].name) + "|" + U8(mandatory[i].value) + "|" + U8(mandatory[i].kind));
    EXPECT_EQ(records, (std::vector<std::string>{"Description|Enter one|mandatory", "Notes||null", "Code|A|B,default"}));
    EXPECT_TRUE(settings.isAttributeMandatory(u"Notes"));
    EXPECT_FALSE(settings.isAttributeMandatory(u"Weight")) << "a line without both commas defines nothing";

    CSEStringCSEStringMap& options = settings.GetDvkDerivedOutputOptions();
    EXPECT_EQ(options.size(), 2);
    EXPECT_EQ(U8(options[u"PDF"]), "yes");
    EXPECT_EQ(U8(options[u"DXF"]), "yes");

    EXPECT_EQ(U8(settings.GetCSETypetoCADAttributeMapping(u"CAD Part")), "PartNumber");
    EXPECT_EQ(U8(settings.GetCSETypetoCADAttributeMapping(u"CAD Drawing")), "");
    EXPECT_EQ(U8(settings.GetCSETypetoCADAttributeMapping(u"")), "");
    EXPECT_EQ(U8(settings.GetCSETypetoCADAttributeMapping(u"plain")), "");
}

TEST_F(ServerSettingsTest, AttributeMappingQuestions)
{
    CSEServerSettings& settings = Load(Response(
        PairSetting("Vexlin-CADToQxAttribMapping", {{"Part,Weight", "x"}, {"ALL,weight", "x"}, {"all,Owner", "x"}}) +
        PairSetting("Vexlin-QxToCADAttribMapping", {{"CAD Part,revision", "Part,Revision"},
                                                    {"CAD Part,revision", "Part,Rev"},
                                                    {"CAD Part,description", "all,Description"},
                                                    {"CAD Part,owner", "ALL,Owner"},
                                                    {"CAD Drawing,title", "Drawing,Title"},
                                                    {"CAD Part,ignored", ""}})));

    EXPECT_TRUE(settings.IsAttributeMappedForCADToQx(u"Part", u"weight"));
    EXPECT_TRUE(settings.IsAttributeMappedForCADToQx(u"Part", u"Weight"));
    EXPECT_FALSE(settings.IsAttributeMappedForCADToQx(u"Assembly", u"Weight")) << "the comparison is exact";
    EXPECT_TRUE(settings.IsAttributeMappedForCADToQx(u"Assembly", u"Owner"));
    EXPECT_TRUE(settings.IsMandatoryAttributePresentInCADtoQxAttribMapping(u"weight", u"Drawing"));
    EXPECT_FALSE(settings.IsMandatoryAttributePresentInCADtoQxAttribMapping(u"Weight", u"Drawing"));
    EXPECT_EQ(Texts(settings.GetCADToQxAttributesVector(u"Part")), (std::vector<std::string>{"Weight", "weight", "Owner"}));

    EXPECT_EQ(Texts(settings.GetQxToCADAttributesVector(u"Part")),
              (std::vector<std::string>{"Revision", "Rev", "Description", "Owner"}));
    EXPECT_EQ(Texts(settings.GetQxToCADAttributesVector(u"Drawing")),
              (std::vector<std::string>{"Description", "Owner", "Title"}));
    EXPECT_TRUE(settings.IsAttributeMappedForQxToCAD(u"Drawing", u"Description"));
    EXPECT_FALSE(settings.IsAttributeMappedForQxToCAD(u"Part", u"ignored"));

    const struct
    {
        const char16_t* type;
        const char16_t* serverAttribute;
        const char* cadAttribute; // null: no answer
    } revisions[] = {
        {u"Part", u"revision", "Revision"}, // the first of two mappings in table order
        {u"all", u"description", "Description"},
        {u"Drawing", u"title", "Title"},
        {u"Drawing", u"revision", nullptr},
        {u"Part", u"Part,revision", nullptr},
    };
    for (const auto& r : revisions) {
        CSEString cadAttribute(u"untouched");
        EXPECT_EQ(settings.GetQxToCADRevisionAttribute(r.type, r.serverAttribute, cadAttribute), r.cadAttribute ? 1 : 0);
        EXPECT_EQ(U8(cadAttribute), r.cadAttribute ? r.cadAttribute : "untouched");
    }
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
