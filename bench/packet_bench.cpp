// Building a request of N elements by identifier (createChildNode + createProperty, as commands do)
// and serialising it, for N = 1,000, 10,000 and 100,000; reading every name/value pair of a response
// of N objects, and building a structure whose steps look up paths that extend identifiers. The cost
// per element must stay flat.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

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

// A response of the given objects with 20 name/value pairs each, as the service sends them.
CSEString Response(int objects)
{
    std::string text = "<response><info><cadobjectlist>";
    for (int i = 0; i < objects; ++i) {
        const std::string id = std::to_string(i);
        text += "<cadobject cadid='part_" + id + ".prt' name='part_" + id + "' type='part'>";
        for (int j = 0; j < 20; ++j) {
            const std::string n = std::to_string(j);
            text += "<attribute><name><![CDATA[attribute_" + n + "]]></name><value><![CDATA[value_" + id + "_" +
                    n + "]]></value></attribute>";
        }
        text += "</cadobject>";
    }
    return CSEString((text + "</cadobjectlist></info></response>").c_str());
}

// Every object's attributes and every name/value pair below it, object by object, as a command
// reads a checkout or details response.
void ReadPairs(benchmark::State& state)
{
    const int objects = static_cast<int>(state.range(0));
    const CSEString response = Response(objects);
    const CSEString list(u"//response/info/cadobjectlist/cadobject");
    CSEString cadid, name, value;
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<CSEXMLPacket> packet(CSEXMLPacket::GetXMLPacketPtr(-1));
        packet->loadXMLinMemory(response);
        state.ResumeTiming();
        std::size_t read = 0;
        const int count = packet->getNodeCount(list);
        for (int k = 0; k < count; ++k) {
            packet->getAttributeValueAt(list, k, u"cadid", cadid);
            const CSEString pairs = list + u"[" + CSEString(std::to_string(k + 1).c_str()) + u"]/attribute";
            const int pairCount = packet->getNodeCount(pairs);
            for (int j = 0; j < pairCount; ++j) {
                packet->getNamedNVPair(pairs, j, name, value);
                read += value.size();
            }
        }
        benchmark::DoNotOptimize(read);
        state.PauseTiming();
        packet.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * objects * 20);
    state.SetComplexityN(objects);
}

// A product structure of N objects (eight children to a parent) built as the structure builder
// does: before an object is placed, its ancestors are checked for its own cadid and the object
// list entry is read, both through paths that extend an identifier step.
void BuildStructure(benchmark::State& state)
{
    const int objects = static_cast<int>(state.range(0));
    for (auto _ : state) {
        std::unique_ptr<CSEXMLPacket> packet(CSEXMLPacket::GetXMLPacketPtr(-1));
        packet->loadXMLinMemory(kEnvelope);
        const int list = packet->createChildNode(u"//command", u"cadobjectlist", u"", 1);
        const int structure = packet->createChildNode(u"//command", u"structure", u"", 1);
        const int active = packet->createChildNode(structure, u"active", u"", 1);
        std::vector<int> placed;
        placed.reserve(objects);
        std::size_t found = 0;
        CSEString cadid;
        for (int i = 0; i < objects; ++i) {
            const CSEString id(("part_" + std::to_string(i) + ".prt").c_str());
            const int entry = packet->createChildNode(list, u"cadobject", u"", 1);
            packet->createProperty(entry, u"cadid", id);
            const int parent = i == 0 ? active : placed[(i - 1) / 8];
            const CSEString parentId(std::to_string(parent).c_str());
            found += packet->getNodeCount(u"//structure//cadobject[@iGSSLID='" + parentId +
                                          u"']/ancestor::*[@cadid=" + CSEXMLPacket::MakeXPathLiteral(id) + u"]");
            packet->getAttributeValue(u"//cadobjectlist/cadobject[@iGSSLID='" +
                                          CSEString(std::to_string(entry).c_str()) + u"']",
                                      u"cadid", cadid);
            const int node = packet->createChildNode(parent, u"cadobject", u"", 1);
            packet->createProperty(node, u"cadid", cadid);
            placed.push_back(node);
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations() * objects);
    state.SetComplexityN(objects);
}

} // namespace

BENCHMARK(BuildById)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(Serialise)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(ReadPairs)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BuildStructure)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();

BENCHMARK_MAIN();
