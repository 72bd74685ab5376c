// Building a request of N elements by identifier (createChildNode + createProperty, as commands do)
// and serialising it, for N = 1,000, 10,000 and 100,000: the cost per element must stay flat.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "CSEString.h"
#include "CSEXMLPacket.h"

namespace {

const char16_t kEnvelope[] = u"<?xml version='1.0'?><command cname='checkout'/>";

std::unique_ptr<CSEXMLPacket> BuildRequest(int objects)
{
    std::unique_ptr<CSEXMLPacket> packet(CSEXMLPacket::GetXMLPacketPtr(-1));
    packet->loadXMLinMemory(kEnvelope);
    const int list = packet->createChildNode(u"//command", u"objects", u"", 1);
    for (int i = 0; i < objects; ++i) {
        const int object = packet->createChildNode(list, u"object", u"", 1);
        packet->createProperty(object, u"cadid", CSEString(("part_" + std::to_string(i) + ".prt").c_str()));
    }
    return packet;
}

void BuildById(benchmark::State& state)
{
    const int objects = static_cast<int>(state.range(0));
    for (auto _ : state) {
        std::unique_ptr<CSEXMLPacket> packet = BuildRequest(objects);
        benchmark::DoNotOptimize(packet->getLastValueOfUniqueIdentifier());
        state.PauseTiming();
        packet.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * objects);
    state.SetComplexityN(objects);
}

void Serialise(benchmark::State& state)
{
    const int objects = static_cast<int>(state.range(0));
    std::unique_ptr<CSEXMLPacket> packet = BuildRequest(objects);
    CSEString text;
    for (auto _ : state) {
        packet->getXMLString(text);
        benchmark::DoNotOptimize(text.size());
    }
    state.SetItemsProcessed(state.iterations() * objects);
    state.SetComplexityN(objects);
}

} // namespace

BENCHMARK(BuildById)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(Serialise)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

BENCHMARK_MAIN();
