// Building the product structure of a check-in request through the structure builder and
// serialising it, for assemblies of 1,000, 10,000 and 100,000 components: a balanced tree (eight
// children to an assembly), every tenth part placed once more under three other assemblies, and
// name/value attributes on every object. Before each placement the caller's look-ups run as a
// check-in does: the file's list entry and the ancestor check. The cost per component must stay flat.
// Then the user's edits written back into a rebuilt check-in response of as many objects, one edit
// per object: the cost per edit must stay flat too.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "CSECheckinCmd.h"
#include "CSEObjectInfo.h"
#include "CSEProductStructureCreator.h"
#include "CSERelationship.h"
#include "CSEString.h"
#include "CSEXMLPacket.h"
#include "common/ScratchInstallFolder.h"

namespace {

const int kChildren = 8;
const int kSharedEvery = 10;
const int kExtraPlacements = 3;
const int kAttributes = 5;

CSEString Text(const std::string& text)
{
    return CSEString(text.c_str());
}

CSEObjectInfo Component(int index)
{
    CSEObjectInfo object;
    const std::string id = std::to_string(index);
    object.fileName = Text("part_" + id + ".prt");
    object.fullFileName = Text("/tmp/design/part_" + id + ".prt");
    object.cadId = Text("cad_" + id);
    object.name = Text("Part " + id);
    object.type = u"component";
    for (int a = 0; a < kAttributes; ++a)
        object.attributes.push_back(CSEAttribute(Text("attribute_" + std::to_string(a)), Text("value_" + id)));
    return object;
}

CSERelationship Use(int parent, int child, int placement)
{
    CSERelationship relationship;
    relationship.rid = Text("rel_" + std::to_string(parent) + "_" + std::to_string(child) + "_" +
                            std::to_string(placement));
    relationship.cadRelationship = u"assembly";
    relationship.attributes.push_back(CSEAttribute(u"Quantity", u"1"));
    return relationship;
}

// The structure node of every assembly (component i is placed under component (i - 1) / 8).
std::vector<int> BuildAssembly(CSEProductStructureCreator& builder, int components)
{
    std::vector<int> nodes(components, -1);
    std::size_t refused = 0;
    nodes[0] = builder.CreateRootObject(Component(0));
    for (int i = 1; i < components; ++i) {
        const int parent = (i - 1) / kChildren;
        CSEObjectInfo object = Component(i);
        refused += builder.FindObjectListEntry(object.fileName) > 0;
        refused += builder.IsObjectExistsInAncestor(nodes[parent], object.cadId);
        nodes[i] = builder.AddObject(nodes[parent], object, Use(parent, i, 0));
    }
    // Every tenth component placed once more under three other assemblies.
    const int assemblies = (components - 1) / kChildren + 1;
    for (int i = kSharedEvery; i < components; i += kSharedEvery) {
        const int entry = builder.FindObjectListEntry(Component(i).fileName);
        for (int k = 1; k <= kExtraPlacements; ++k) {
            const int parent = (i + k * 7919) % assemblies;
            refused += builder.IsObjectExistsInAncestor(nodes[parent], Text("cad_" + std::to_string(i)));
            builder.AddSharedObject(nodes[parent], Use(parent, i, k), entry);
        }
    }
    benchmark::DoNotOptimize(refused);
    return nodes;
}

void BuildAndSerialise(benchmark::State& state)
{
    // The request envelope needs an installation folder.
    if (ScratchInstallFolder().empty()) {
        state.SkipWithError("no scratch installation folder");
        return;
    }
    const int components = static_cast<int>(state.range(0));
    CSEString text;
    for (auto _ : state) {
        std::unique_ptr<CSEXMLPacket> packet(CSEXMLPacket::GetXMLPacketPtr(-1));
        packet->loadXMLinMemory(u"<?xml version='1.0'?><command cname='checkin'/>");
        CSEProductStructureCreator builder(packet.get(), 1);
        BuildAssembly(builder, components);
        packet->getXMLString(text);
        benchmark::DoNotOptimize(text.size());
        state.PauseTiming();
        packet.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * components);
    state.SetComplexityN(components);
}

// A check-in command whose packet holds a rebuilt response.
struct RebuiltCheckin : CSECheckinCmd
{
    bool UseResponse(const CSEString& text) { return m_pCmdXMLPacket->loadXMLinMemory(text) == 0; }
};

CSEString RebuiltResponse(int objects)
{
    std::string text = "<response cname='checkin' result='success'><cadobjectlist>";
    for (int i = 0; i < objects; ++i) {
        const std::string id = std::to_string(i);
        text += "<cadobject cadid='cad_" + id + "' name='Part " + id + "' filename='part_" + id +
                ".prt' dirname='/tmp'>";
        for (int a = 0; a < kAttributes; ++a)
            text += "<attribute><name>attribute_" + std::to_string(a) + "</name><value>v</value></attribute>";
        text += "</cadobject>";
    }
    return Text(text + "</cadobjectlist></response>");
}

void EditRebuiltResponse(benchmark::State& state)
{
    // The request envelope needs an installation folder.
    if (ScratchInstallFolder().empty()) {
        state.SkipWithError("no scratch installation folder");
        return;
    }
    const int components = static_cast<int>(state.range(0));
    const CSEString response = RebuiltResponse(components);
    for (auto _ : state) {
        state.PauseTiming();
        auto command = std::make_unique<RebuiltCheckin>();
        if (!command->UseResponse(response)) {
            state.SkipWithError("the response cannot be loaded");
            return;
        }
        state.ResumeTiming();
        int failures = 0;
        for (int i = 0; i < components; ++i) {
            CSEObjectInfo edit;
            edit.cadId = Text("cad_" + std::to_string(i));
            edit.name = Text("Edited " + std::to_string(i));
            edit.fileName = Text("edited_" + std::to_string(i) + ".prt");
            edit.dirName = u"/tmp";
            edit.attributes.push_back(CSEAttribute(u"attribute_0", u"changed")); // replaces one
            edit.attributes.push_back(CSEAttribute(u"added", u"new"));
            failures += command->UpdateObjectInResponse(edit) != 0;
        }
        if (failures != 0) {
            state.SkipWithError("an edit failed");
            return;
        }
        state.PauseTiming();
        command.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * components);
    state.SetComplexityN(components);
}

} // namespace

BENCHMARK(BuildAndSerialise)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(EditRebuiltResponse)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

BENCHMARK_MAIN();
