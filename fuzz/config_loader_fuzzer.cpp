// The simulator's configuration reader on arbitrary text. Whatever the text, it gives either
// an error or devices that pass the configuration check; and every device it accepts can be
// run: it answers a search, every query, a login and the set requests without fault, and
// its genuine search answer reads back in the utility's parser as configured.
#include "fuzz/support/fuzz_input.h"
#include "protocol/messages.h"
#include "tests/devsim/request_bytes.h"
#include "tools/devsim/config_loader.h"
#include "tools/devsim/journal.h"
#include "tools/devsim/sim_device.h"

#include <sstream>
#include <string>

namespace {

using namespace ofu::devsim;

// Every request kind once, addressed to `key`.
std::vector<std::vector<std::uint8_t>> RequestsFor(const DeviceKeyBytes& key) {
    std::vector<std::vector<std::uint8_t>> requests{test::SearchRequest()};
    for (const std::uint8_t subcode : {3, 6, 9, 11, 12, 15, 18, 19}) requests.push_back(test::QueryRequest(key, subcode));
    requests.push_back(test::LoginRequest(key, "admin", "secret"));
    for (const std::uint8_t subcode : {5, 7, 8, 10, 13, 14})
        requests.push_back(test::SetRequest(key, subcode, "850", "255.255.255.0", "10.77.1.1"));
    requests.push_back(test::DhcpRequest(key));
    requests.push_back(test::SetRequest(key, 1, "10.77.1.99", "255.255.0.0", "10.77.1.1"));
    return requests;
}

void RunDevice(const DeviceConfig& config) {
    std::ostringstream journalText;
    Journal journal(journalText);
    journal.setClock([] { return 0.0; });
    VirtualClock clock;
    SimDevice device(config, &journal, &clock);
    for (const auto& request : RequestsFor(device.key())) {
        for (const SimAnswer& answer : device.handle(request)) {
            if (!answer.fault.empty() || answer.bytes.empty() || answer.bytes[0] != config.answerForm) continue;
            const auto parsed = ofu::ParseSearchAnswer(answer.bytes);
            OFU_FUZZ_CHECK(parsed.has_value());
            OFU_FUZZ_CHECK(parsed->name == config.name.substr(0, 255));
            OFU_FUZZ_CHECK(parsed->address == device.addressText());
        }
        clock.advance(std::chrono::milliseconds(config.restartSilenceMs));
        journalText.str({});
    }
    OFU_FUZZ_CHECK(!journal.failed());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(ofu::fuzz::AsText({data, size}));
    const ConfigLoadResult result = LoadConfigText(text, "fuzz.json");
    if (!result.ok()) {
        OFU_FUZZ_CHECK(result.devices.empty() && result.error.starts_with("fuzz.json: "));
        return 0;
    }
    for (const DeviceConfig& config : result.devices) {
        OFU_FUZZ_CHECK(ValidateDeviceConfig(config).empty());
        RunDevice(config);
    }
    return 0;
}
