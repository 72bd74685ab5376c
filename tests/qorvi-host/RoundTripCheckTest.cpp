// The round trip finds every way a checkout can differ from the manifest checked in.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include <CSEObjectInfo.h>
#include <CSERelationship.h>

#include "AssemblyManifest.h"
#include "RoundTripCheck.h"

namespace {

const char kManifest[] =
    "<manifest>"
    "<design name='Frame' type='assembly' servertype='CAD Assembly'><file name='Frame.asm'/>"
    "<attribute name='project' value='Drive'/></design>"
    "<design name='歯車' type='part' servertype='CAD Part' revision='B'><file name='歯車.prt'/></design>"
    "<relationship parent='Frame' child='歯車' relationship='assembly' quantity='2'>"
    "<attribute name='componentID' value='g:1'/></relationship>"
    "</manifest>";

CSEObjectInfo Object(const char* cadId, const char* name, const char* type, const char* serverType,
                     const char* revision, const char* file)
{
    CSEObjectInfo object;
    object.cadId = cadId;
    object.name = name;
    object.type = type;
    object.busType = serverType;
    object.busRevision = revision;
    object.fileName = file;
    return object;
}

// A checkout equal to the manifest: the files in "files" and "out" of a fresh folder.
struct Checkout
{
    Checkout()
    {
        char pattern[] = "/tmp/qorvi-host-roundtrip-XXXXXX";
        folder = ::mkdtemp(pattern) != nullptr ? pattern : "";
        std::filesystem::create_directory(folder + "/files");
        std::filesystem::create_directory(folder + "/out");
        for (const char* file : {"Frame.asm", "歯車.prt"}) {
            std::ofstream(folder + "/files/" + file, std::ios::binary) << "bytes of " << file;
            std::ofstream(folder + "/out/" + file, std::ios::binary) << "bytes of " << file;
        }
        std::string error;
        manifest.Parse(kManifest, folder + "/files", error);
        objects.push_back(Object("1", "Frame", "assembly", "CAD Assembly", "A", "Frame.asm"));
        objects[0].attributes.push_back(CSEAttribute(u"project", u"Drive"));
        objects.push_back(Object("2", "歯車", "part", "CAD Part", "B", "歯車.prt"));
        CSERelationship use;
        use.parentCadId = u"1";
        use.childCadId = u"2";
        use.cadRelationship = u"assembly";
        use.quantity = 2;
        use.attributes.push_back(CSEAttribute(u"componentID", u"g:1"));
        use.attributes.push_back(CSEAttribute(u"Quantity", u"2"));
        relationships.push_back(use);
    }
    ~Checkout() { std::filesystem::remove_all(folder); }

    std::vector<std::string> Differences() const
    {
        return RoundTripCheck::Differences(manifest, 0, objects, relationships, folder + "/out");
    }

    std::string folder;
    AssemblyManifest manifest;
    CSEObjectInfoVector objects;
    CSERelationshipVector relationships;
};

} // namespace

TEST(RoundTripCheckTest, NamesEachDifference)
{
    EXPECT_EQ(Checkout().Differences(), std::vector<std::string>());
    // (what differs, how, text the differences must hold)
    const struct
    {
        const char* what;
        std::function<void(Checkout&)> change;
        const char* named;
    } cases[] = {
        {"file bytes", [](Checkout& t) { std::ofstream(t.folder + "/out/歯車.prt", std::ios::binary) << "other"; }, "歯車.prt"},
        {"file missing", [](Checkout& t) { std::filesystem::remove(t.folder + "/out/Frame.asm"); }, "Frame.asm"},
        {"file name", [](Checkout& t) { t.objects[1].fileName = u"gear.prt"; }, "gear.prt"},
        {"server type", [](Checkout& t) { t.objects[1].busType = u"CAD Model"; }, "CAD Model"},
        {"revision", [](Checkout& t) { t.objects[1].busRevision = u"A"; }, "revision"},
        {"CAD type", [](Checkout& t) { t.objects[0].type = u"part"; }, "CAD type"},
        {"attribute", [](Checkout& t) { t.objects[0].attributes[0].value = u"Other"; }, "project=Other"},
        {"design missing", [](Checkout& t) { t.objects[1].name = u"Gear"; }, "lacks the design '歯車'"},
        {"design extra", [](Checkout& t) { t.objects.push_back(Object("3", "Bolt", "part", "CAD Part", "A", "b")); }, "'Bolt'"},
        {"quantity", [](Checkout& t) { t.relationships[0].quantity = 1; }, "quantity 1"},
        {"use attribute", [](Checkout& t) { t.relationships[0].attributes[0].value = u"g:2"; }, "g:2"},
        {"use missing", [](Checkout& t) { t.relationships.clear(); }, "'Frame' uses '歯車'"},
        {"use twice", [](Checkout& t) { t.relationships.push_back(t.relationships[0]); }, "'Frame' uses '歯車'"},
    };
    for (const auto& c : cases) {
        Checkout checkout;
        c.change(checkout);
        std::string all;
        for (const std::string& difference : checkout.Differences())
            all += difference + "\n";
        EXPECT_NE(all.find(c.named), std::string::npos) << c.what << ": " << all;
    }
}
