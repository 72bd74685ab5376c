// Reading a checkout answer of N objects and N relationships in a balanced structure (eight
// children to a parent): getObjectInfoList then getRelationshipList, beside parsing the same
// answer file alone, for N = 1,000, 10,000 and 50,000. The reading must stay within a small
// multiple of the parse, and its cost per object flat.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "CSECheckoutCmd.h"
#include "CSECheckoutResponse.h"
#include "CSEString.h"
#include "common/SilentInstallation.h"

namespace {

const int kChildren = 8;

// An installation folder (no log), a silent message manager and global settings with a mapping.
const std::string& Folder()
{
    return SilentInstallation("[CLIENT]\ncompatiblewkcversion=QTL2010\n",
        "<response><info><gsettings><attribute><name>Vexlin-QxToCADAttribMapping</name><value>"
        "<attribute><name>CAD Part,Description</name><value>part,Description</value></attribute>"
        "<attribute><name>CAD Part,expr(name)</name><value>part,Label</value></attribute>"
        "</value></attribute></gsettings></info></response>");
}

// The answer file for N objects; returns the thin response that names it.
CSEString Answer(int objects)
{
    std::string text = "<?xml version='1.0' encoding='UTF-8'?>\n<response cname='checkout' result='success'>"
                       "<info><cadobjectlist>";
    for (int i = 0; i < objects; ++i) {
        const std::string id = std::to_string(i);
        text += "<cadobject cadid='c" + id + "' name='Part " + id + "' filename='part_" + id +
                ".prt' dirname='/ws/project/assembly' type='part' qxtype='CAD Part' qxversion='A.1' "
                "selected='" + (i == 0 ? "true" : "false") + "' lock='true' load='true' "
                "modificationstatus='unchanged' seldepdoc='false' modifiedcadattributes='Description'>"
                "<attribute><name>Description</name><value>Part number " + id + "</value></attribute>"
                "<attribute><name>Label</name><value>P-" + id + "</value></attribute>"
                "<attribute><name>Material</name><value>Steel</value></attribute></cadobject>";
    }
    text += "</cadobjectlist><relationshiplist>";
    for (int i = 0; i < objects; ++i) {
        const std::string id = std::to_string(i);
        text += "<relationship rid='R" + id + "' topnode='dpt' cadrelationship='assemblyComponent' "
                "modificationstatus='unchanged' mustinstructure='true'>"
                "<attribute><name>Quantity</name><value>2</value></attribute>"
                "<attribute><name>UUID</name><value>u-" + id + "</value></attribute></relationship>";
    }
    // Depth first: object i holds objects 8i+1 .. 8i+8.
    text += "</relationshiplist><structure>";
    struct Frame
    {
        int object;
        int next;
    };
    std::vector<Frame> frames{{0, 0}};
    text += "<cadobject cadid='c0'><relationship rid='R0'/>";
    while (!frames.empty()) {
        Frame& top = frames.back();
        const int child = top.object * kChildren + 1 + top.next;
        if (top.next < kChildren && child < objects) {
            ++top.next;
            text += "<cadobject cadid='c" + std::to_string(child) + "'><relationship rid='R" + std::to_string(child) +
                    "'/>";
            frames.push_back({child, 0});
        } else {
            text += "</cadobject>";
            frames.pop_back();
        }
    }
    text += "</structure></info></response>\n";
    const std::string name = "answer_" + std::to_string(objects) + ".xml";
    WriteScratchFile(Folder() + "/" + name, text);
    return CSEString(("<response dirname='" + Folder() + "' filename='" + name + "'/>").c_str());
}

void Parse(benchmark::State& state)
{
    const CSEString thin = Answer(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CSECheckoutResponse response;
        benchmark::DoNotOptimize(response.ParseResponse(thin));
    }
    state.SetComplexityN(state.range(0));
}

void Read(benchmark::State& state)
{
    const CSEString thin = Answer(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        CSECheckoutCmd command;
        command.GetResponseObject()->ParseResponse(thin);
        state.ResumeTiming();
        CSEObjectInfoVector objects;
        command.getObjectInfoList(objects);
        CSERelationshipVector relationships;
        command.getRelationshipList(relationships);
        if (objects.size() != state.range(0) || relationships.size() != state.range(0))
            state.SkipWithError("the answer was not read whole");
    }
    state.SetComplexityN(state.range(0));
}

} // namespace

BENCHMARK(Parse)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(Read)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->Complexity();

BENCHMARK_MAIN();
