// Replay matching of a check-in request of N objects in a balanced structure (eight children to a
// parent) against the same request replayed with new identifiers and every list, child list and
// the structure written in the other order, for N = 1,000, 10,000 and 50,000. The recorded request
// is read from its file, both are normalised and matched, as in a replayed run; the cost per object
// must stay flat (the 50,000 run at most six times the 10,000 run).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "DVKListValDVKUnicodeString.h"
#include "MOCK_FakeRLXEngine.h"
#include "common/ScratchInstallFolder.h"
#include "host/DVKXmlDocument.h"

namespace {

const int kChildren = 8;

// The request with ids offset by idBase; reversed writes lists and children back to front.
std::string Request(int objects, int idBase, bool reversed)
{
    const auto id = [idBase](int object) { return std::to_string(idBase + object); };
    const auto order = [objects, reversed](int i) { return reversed ? objects - 1 - i : i; };
    std::string text = "<command cname='checkin' cse='1' ver='5' iid='" + id(0) + "'><relationshiplist>";
    for (int i = 0; i < objects; ++i) {
        const int object = order(i);
        if (object == 0)
            continue;
        // Every third relationship is new in this run: it has no qxid and a UUID of the run.
        const bool existing = object % 3 != 0;
        text += "<relationship cadrelationship='assemblyComponent' rid='R" + id(object) + "'" +
                (existing ? " qxid='q" + std::to_string(object) + "'" : std::string()) +
                " mustinstructure='true'><attribute><name>componentID</name><value>c" + std::to_string(object) +
                "</value></attribute><attribute><name>UUID</name><value>u-" +
                (existing ? std::to_string(object) : id(object)) + "</value></attribute></relationship>";
    }
    text += "</relationshiplist><cadobjectlist>";
    for (int i = 0; i < objects; ++i) {
        const int object = order(i);
        text += "<cadobject cadid='" + id(object) + "' filename='part" + std::to_string(object * 7919 % 100003) +
                ".prt' type='part' dirname='/work/a' modified='true'><attribute><name>Description</name><value>d" +
                std::to_string(object % 10) + "</value></attribute></cadobject>";
    }
    text += "</cadobjectlist><structure><family/><active>";
    struct Frame
    {
        int object;
        int next;
    };
    std::vector<Frame> frames{{0, 0}};
    text += "<cadobject cadid='" + id(0) + "'>";
    while (!frames.empty()) {
        Frame& top = frames.back();
        const int slot = reversed ? kChildren - 1 - top.next : top.next;
        const int child = top.object * kChildren + 1 + slot;
        if (top.next < kChildren) {
            ++top.next;
            if (child >= objects)
                continue;
            text += "<cadobject cadid='" + id(child) + "'><relationship rid='R" + id(child) + "'/>";
            frames.push_back({child, 0});
        } else {
            text += "</cadobject>";
            frames.pop_back();
        }
    }
    text += "</active></structure></command>";
    return text;
}

void Match(benchmark::State& state)
{
    const int objects = static_cast<int>(state.range(0));
    const std::string recorded = ScratchInstallFolder() + "/recorded_" + std::to_string(objects) + ".xml";
    WriteScratchFile(recorded, Request(objects, 0, false));
    const std::string replayedText = Request(objects, 1000000, true);
    dvk::XmlDocument replayed;
    if (!replayed.LoadUtf8(replayedText.data(), replayedText.size())) {
        state.SkipWithError("the replayed request does not parse");
        return;
    }
    MOCK_FakeRLXEngine engine(CSEString(), [&recorded](const CSEString&, CSEString& file) {
        file = CSEString(recorded.c_str());
        return true;
    });
    for (auto _ : state)
        engine.SendToRLX(replayed);
    DVKListValDVKUnicodeString lines;
    engine.DumpMappings(lines);
    // Heading and one line per object for the objects, the same for the relationships.
    if (lines.Size() != 2 * objects + 1)
        state.SkipWithError("the identifiers were not all learnt");
    state.SetComplexityN(objects);
}

} // namespace

BENCHMARK(Match)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->Complexity();

BENCHMARK_MAIN();
