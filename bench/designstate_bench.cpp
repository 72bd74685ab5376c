// Update checks, attribute synchronisation and object details on 1,000 to 100,000 files: listing the
// files of an update check (every tenth listed twice, which the command leaves out) and of an
// attribute synchronisation with attributes, and reading an answer that lists every file with two
// attributes. The cost per file must stay flat.
#include <benchmark/benchmark.h>

#include <string>
#include <type_traits>

#include "CSECheckForUpdateCurrentCmd.h"
#include "CSEGetObjectDetailsCmd.h"
#include "CSEResponse.h"
#include "CSESynchAttrFromeLedgraCmd.h"
#include "CSESynchAttrToeLedgraCmd.h"
#include "common/ScratchInstallFolder.h"

namespace {

const std::string& Folder()
{
    return ScratchInstallFolder("[CLIENT]\n");
}

CSEObjectInfo File(int index)
{
    CSEObjectInfo object;
    const std::string id = std::to_string(index);
    object.fileName = ("part_" + id + ".prt").c_str();
    object.dirName = Folder().c_str();
    object.name = ("Part " + id).c_str();
    object.cadId = ("c" + id).c_str();
    object.attributes.push_back(CSEAttribute(u"Material", u"Steel"));
    object.attributes.push_back(CSEAttribute(u"Weight", ("w" + id).c_str()));
    return object;
}

void ListForUpdate(benchmark::State& state)
{
    const int files = static_cast<int>(state.range(0));
    Folder();
    for (auto _ : state) {
        CSECheckForUpdateCurrentCmd command;
        for (int i = 0; i < files; ++i) {
            CSEObjectInfo object = File(i);
            command.AddCADObjectNode(object);
            if (i % 10 == 0)
                command.AddCADObjectNode(object);
        }
    }
    state.SetComplexityN(state.range(0));
}

void ListForSynch(benchmark::State& state)
{
    const int files = static_cast<int>(state.range(0));
    Folder();
    for (auto _ : state) {
        CSESynchAttrToeLedgraCmd command;
        for (int i = 0; i < files; ++i)
            benchmark::DoNotOptimize(command.AddObjectToRequest(File(i)));
    }
    state.SetComplexityN(state.range(0));
}

CSEString Answer(int files)
{
    std::string text = "<?xml version='1.0'?><response cname='attributesynch' ver='QTL2010' result='success'>"
                       "<info><cadobjectlist>";
    for (int i = 0; i < files; ++i) {
        const std::string id = std::to_string(i);
        text += "<cadobject name='Part " + id + "' cadid='c" + id + "' filename='part_" + id +
                ".prt' dirname='/w' success='true' lockedby='ann' qxversion='2'><message>done</message>"
                "<attribute><name>Material</name><value>Steel</value></attribute>"
                "<attribute><name>Weight</name><value>w" + id + "</value></attribute></cadobject>";
    }
    text += "</cadobjectlist></info></response>\n";
    const std::string name = "answer_" + std::to_string(files) + ".xml";
    WriteScratchFile(Folder() + "/" + name, text);
    return CSEString(("<response dirname='" + Folder() + "' filename='" + name + "'/>").c_str());
}

template <class Command>
void Read(benchmark::State& state)
{
    const CSEString thin = Answer(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        Command command;
        command.GetResponseObject()->ParseResponse(thin);
        state.ResumeTiming();
        CSEObjectInfoVector objects;
        if constexpr (std::is_same<Command, CSEGetObjectDetailsCmd>::value)
            command.getObjectInfoList(objects);
        else
            command.GetObjectInfoListFromResponse(objects);
        if (objects.size() != state.range(0))
            state.SkipWithError("the answer was not read whole");
    }
    state.SetComplexityN(state.range(0));
}

} // namespace

BENCHMARK(ListForUpdate)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(ListForSynch)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK_TEMPLATE(Read, CSESynchAttrFromeLedgraCmd)
    ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK_TEMPLATE(Read, CSEGetObjectDetailsCmd)
    ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

BENCHMARK_MAIN();
