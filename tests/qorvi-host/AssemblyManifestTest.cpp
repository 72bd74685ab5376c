// The manifest reader takes what a check-in can store and names the first thing it cannot.
#include <gtest/gtest.h>

#include <string>

#include "AssemblyManifest.h"

namespace {

std::string Manifest(const std::string& body)
{
    return "<?xml version='1.0'?><manifest>" + body + "</manifest>";
}

const char kTwoDesigns[] =
    "<design name='A' type='assembly' servertype='CAD Assembly'><file name='a.asm'/></design>"
    "<design name='B' type='part' servertype='CAD Part'><file name='b.prt'/></design>";

} // namespace

TEST(AssemblyManifestTest, ReadsDesignsUsesAndDefaults)
{
    AssemblyManifest manifest;
    std::string error;
    ASSERT_TRUE(manifest.Parse(
        Manifest("<design name='歯車 O&apos;Brien' type='assembly' servertype='CAD Assembly' revision='C'>"
                 "<file name='歯車.asm'/><file name='歯車.dxf'/><attribute name='material' value='S45C'/></design>"
                 "<design name='Zahnrad-ü' type='part' servertype='CAD Part'><file name='z.prt'/></design>"
                 "<design name='Loose' type='part' servertype='CAD Part'><file name='l.prt'/></design>"
                 "<relationship parent='歯車 O&apos;Brien' child='Zahnrad-ü' relationship='assembly' quantity='3'>"
                 "<attribute name='componentID' value='z:1'/></relationship>"
                 "<relationship parent='歯車 O&apos;Brien' child='Zahnrad-ü' relationship='assembly'/>"),
        "/f", error))
        << error;
    const auto& designs = manifest.Designs();
    ASSERT_EQ(designs.size(), 3u);
    EXPECT_EQ(designs[0].name, "歯車 O'Brien");
    EXPECT_EQ(designs[0].revision, "C");
    EXPECT_EQ(designs[1].revision, "A");
    EXPECT_EQ(designs[0].files, (std::vector<std::string>{"歯車.asm", "歯車.dxf"}));
    EXPECT_EQ(designs[0].attributes, (AssemblyManifest::Pairs{{"material", "S45C"}}));
    const auto& uses = manifest.Uses();
    ASSERT_EQ(uses.size(), 2u);
    EXPECT_EQ(uses[0].quantity, 3);
    EXPECT_EQ(uses[1].quantity, 1);
    EXPECT_EQ(uses[1].topNode, "dpt");
    EXPECT_EQ(uses[0].attributes, (AssemblyManifest::Pairs{{"componentID", "z:1"}}));
    EXPECT_EQ(manifest.TopLevel(), (std::vector<int>{0, 2}));
    EXPECT_EQ(manifest.Reached(0), (std::vector<int>{0, 1}));
    EXPECT_EQ(manifest.Find("Zahnrad-ü"), 1);
    EXPECT_EQ(manifest.Find("zahnrad-ü"), -1);
}

TEST(AssemblyManifestTest, RefusesWhatACheckinCannotStore)
{
    const std::string two = kTwoDesigns;
    const std::string use = "<relationship parent='A' child='B' relationship='assembly' ";
    // (manifest, text the error must name)
    const std::pair<std::string, std::string> cases[] = {
        {"<?xml version='1.0'?><designs/>", "manifest"},
        {"<manifest", "XML"},
        {Manifest(""), "no design"},
        {Manifest("<design name='A' type='part'><file name='a'/></design>"), "servertype"},
        {Manifest(two + two), "'A'"},
        {Manifest("<design name='A' type='part' servertype='P'/>"), "no file"},
        {Manifest("<design name='A' type='part' servertype='P'><file name='../a'/></design>"), "'../a'"},
        {Manifest("<design name='A' type='part' servertype='P'><file name='..'/></design>"), "'..'"},
        {Manifest("<design name='A' type='part' servertype='P'><file name='a|b'/></design>"), "'a|b'"},
        {Manifest("<design name='A' type='part' servertype='P'><file name='a'/>"
                  "<attribute name='x' value='1'/><attribute name='x' value='2'/></design>"),
         "attribute"},
        {Manifest(two + "<relationship parent='A' child='C' relationship='assembly'/>"), "'C'"},
        {Manifest(two + "<relationship parent='A' child='B'/>"), "relationship"},
        {Manifest(two + use + "quantity='0'/>"), "'0'"},
        {Manifest(two + use + "quantity='2x'/>"), "'2x'"},
        {Manifest(two + use + "quantity='1000000000'/>"), "'1000000000'"},
        {Manifest(two + use + "><attribute name='Quantity' value='2'/></relationship>"), "Quantity"},
        {Manifest(two + use + "/><relationship parent='B' child='A' relationship='assembly'/>"), "itself"},
        {Manifest(two + "<relationship parent='B' child='B' relationship='assembly'/>"), "'B'"},
    };
    for (const auto& [text, named] : cases) {
        AssemblyManifest manifest;
        std::string error;
        EXPECT_FALSE(manifest.Parse(text, "/f", error)) << text;
        EXPECT_NE(error.find(named), std::string::npos) << text << " => " << error;
    }
}
