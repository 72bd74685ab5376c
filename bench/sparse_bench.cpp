// Building a version recognition request through the command and cutting it into partial requests,
// for assemblies of 1,000, 10,000 and 100,000 components: a balanced tree (eight children to an
// assembly), every tenth part placed once more elsewhere, each object marked expandable as it is
// added, then eight partial requests, each for a group of the top-level objects. The cost per component must
// stay flat.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "CSEObjectInfo.h"
#include "CSERecogVerCmd.h"
#include "CSERelationship.h"
#include "CSEWrapperStringVector.h"
#include "common/ScratchInstallFolder.h"

namespace {

const int kChildren = 8;
const int kSharedEvery = 10;
const int kPartialRequests = 8; // each carries the whole object and relationship lists

CSEString Text(const std::string& text)
{
    return CSEString(text.c_str());
}

CSEObjectInfo Component(int index, int occurrence)
{
    CSEObjectInfo object;
    object.fileName = Text("part_" + std::to_string(index) + ".prt");
    object.dirName = u"/tmp/design";
    object.cadId = Text("cad_" + std::to_string(index) + "_" + std::to_string(occurrence));
    return object;
}

void BuildAndCutIntoPartialRequests(benchmark::State& state)
{
    // The request envelope needs an installation folder.
    if (ScratchInstallFolder().empty()) {
        state.SkipWithError("no scratch installation folder");
        return;
    }
    const int components = static_cast<int>(state.range(0));
    const int roots = components / 64 + 1; // top-level objects
    const int perGroup = roots / kPartialRequests + 1;
    for (auto _ : state) {
        CSERecogVerCmd command;
        std::vector<int> nodes(components, -1);
        CSEWrapperStringVector group;
        int inGroup = 0;
        std::vector<CSEWrapperStringVector> groups;
        for (int i = 0; i < components; ++i) {
            CSEObjectInfo object = Component(i, 0);
            CSERelationship use;
            use.rid = Text("rel_" + std::to_string(i));
            if (i < roots) {
                nodes[i] = command.CreateRootObject(object);
                group.push_back(object.cadId);
                if (++inGroup == perGroup || i == roots - 1) {
                    groups.push_back(group);
                    group.clear();
                    inGroup = 0;
                }
                continue;
            }
            nodes[i] = command.AddObject(nodes[(i - roots) / kChildren], object, use);
            command.SetExpandAble(object.cadId, u"true", 0);
            if (i % kSharedEvery == 0) {
                CSEObjectInfo again = Component(i, 1);
                command.AddObject(nodes[(i * 7919) % roots], again, use);
                command.SetExpandAble(again.cadId, u"true", 0);
            }
        }
        for (const CSEWrapperStringVector& cadIds : groups) {
            command.CreateSparseXMLFromGlobalXML(cadIds);
            command.StartSparseCommand();
            command.EndSparseCommand();
        }
    }
    state.SetItemsProcessed(state.iterations() * components);
    state.SetComplexityN(components);
}

} // namespace

BENCHMARK(BuildAndCutIntoPartialRequests)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

BENCHMARK_MAIN();
