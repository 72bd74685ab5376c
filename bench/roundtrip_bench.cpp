// Round trips over the socket transport: a short request pointer out, a thin response back, against a
// loopback peer that answers at once. Reports the median and 99th percentile of single round trips.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <vector>

#include "CSEClientSettings.h"
#include "CSESocketCommunicator.h"
#include "common/LoopbackPeer.h"
#include "host/DVKFiles.h"

namespace {

const char kRequest[] =
    "<request dirname='/opt/qorvi' filename='QxRequest.xml' ver='5.0' csever='5.0.0'/>";
const std::string kResponse =
    "<?xml version='1.0'?><response dirname='/opt/qorvi' filename='Response.xml'></response>";

// An installation folder with the given "settings.ini", so that logging works as in a real run.
class InstallFolder
{
public:
    explicit InstallFolder(const std::string& settings)
    {
        char pattern[] = "/tmp/qorvi-bench-XXXXXX";
        m_folder = ::mkdtemp(pattern) != nullptr ? pattern : "";
        std::ofstream(m_folder + "/settings.ini") << settings;
        ::setenv("QX_DRAVIK_INSTALL_DIR", m_folder.c_str(), 1);
        CSEClientSettings::DeleteClientSettings(0);
    }
    ~InstallFolder()
    {
        CSEClientSettings::DeleteClientSettings(0);
        ::unsetenv("QX_DRAVIK_INSTALL_DIR");
        dvk::DeleteTree(m_folder);
    }

private:
    std::string m_folder;
};

void RoundTrip(benchmark::State& state, const std::string& settings)
{
    InstallFolder folder(settings);
    const std::size_t requestBytes = sizeof(kRequest) - 1;
    loopback::LoopbackPeer peer([&](int fd) {
        while (loopback::ReadBytes(fd, requestBytes).size() == requestBytes && loopback::SendBytes(fd, kResponse)) {
        }
    });
    CSESocketCommunicator communicator;
    if (communicator.CreateSocket("127.0.0.1", peer.Port()) == CSESocketCommunicator::InvalidSocket) {
        state.SkipWithError("no connection to the loopback peer");
        return;
    }
    std::vector<double> micros;
    CSEString response;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const bool ok = communicator.SendCSEString(kRequest) && communicator.ReceiveCSEString(response);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        if (!ok) {
            state.SkipWithError("round trip failed");
            break;
        }
        state.SetIterationTime(elapsed.count());
        micros.push_back(elapsed.count() * 1e6);
    }
    communicator.CloseSocket();
    if (micros.empty())
        return;
    std::sort(micros.begin(), micros.end());
    state.counters["p50_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[micros.size() * 99 / 100];
    state.counters["max_us"] = micros.back();
}

// Customer set-up: the main log is off unless "debugflag" is set.
void BM_RoundTrip(benchmark::State& state)
{
    RoundTrip(state, "");
}

// Debug logging at level 6: every exchanged text is also appended to the main log.
void BM_RoundTripWithDebugLog(benchmark::State& state)
{
    RoundTrip(state, "[CLIENT]\ndebugflag=true\nclientloglevel=6\n");
}

} // namespace

BENCHMARK(BM_RoundTrip)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(20000);
BENCHMARK(BM_RoundTripWithDebugLog)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(5000);

BENCHMARK_MAIN();
