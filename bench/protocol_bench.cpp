// The protocol's own processing cost, without the waits: parsing search answers and a whole
// search of a busy segment (32 answers per local address) on the in-memory network.
#include "protocol/device_list.h"
#include "protocol/discovery.h"
#include "protocol/messages.h"
#include "protocol/transport.h"
#include "tests/support/crafted_answers.h"
#include "tests/support/memory_network.h"

#include <benchmark/benchmark.h>

namespace {

using namespace ofu;
using namespace ofu::testing;

void BM_ParseLongFormSearchAnswer(benchmark::State& state) {
    const auto answer = testing::SearchAnswer(8, {10, 77, 1, 10}, std::string(200, 'N'));
    for (auto _ : state) benchmark::DoNotOptimize(ParseSearchAnswer(answer));
}
BENCHMARK(BM_ParseLongFormSearchAnswer);

void BM_SearchBusySegmentEightAddresses(benchmark::State& state) {
    VirtualClock clock;
    MemoryNetwork network(clock);
    std::vector<std::string> addresses;
    for (int k = 1; k <= 8; ++k) addresses.push_back("10.77." + std::to_string(k) + ".1");
    network.setLocalAddresses(addresses);
    InstallTransportBackends(&network, &clock);
    StartTransport();
    network.addResponder([&](int slot, std::span<const std::uint8_t>) {
        for (std::uint8_t k = 0; k < 16; ++k)
            network.deliverAfter(slot, testing::SearchAnswer(8, {10, 77, static_cast<std::uint8_t>(slot + 1), k}, "NAS"), 1);
    });
    for (auto _ : state) {
        SearchDevices(3, 3);
        benchmark::DoNotOptimize(DeviceList.count());
    }
    StopTransport();
    FreeDeviceList();
    InstallTransportBackends(nullptr, nullptr);
}
BENCHMARK(BM_SearchBusySegmentEightAddresses);

}  // namespace

BENCHMARK_MAIN();
