// The simulator's request parser, and one simulated device that is handed the parsed
// requests in turn. Input: a set-up byte (bit 0: the device injects every kind of fault;
// bit 1: it keeps a journal, written out as text), then records of a flags byte, a 16-bit
// little-endian length and the request bytes. Flags bit 0 writes the device's own key into bytes 11 to 20 (so that the
// fuzzer reaches past the key check); bits 1-4 move the device's clock on by that many
// quarter seconds first (its restarts last one second).
//
// Whatever arrives, the parse stays inside the datagram, each genuine answer the device
// sends reads back, in the utility's own parser, as what the device holds, and the journal
// stays one JSON object per line.
#include "fuzz/support/fuzz_input.h"
#include "protocol/messages.h"
#include "tools/devsim/journal.h"
#include "tools/devsim/request_parser.h"
#include "tools/devsim/sim_device.h"

#include <algorithm>
#include <sstream>

namespace {

using namespace ofu::devsim;

DeviceConfig Device(bool faulty) {
    DeviceConfig config;
    config.name = "FUZZ-NAS";
    config.ip = "10.77.1.10";
    config.gateway = "10.77.1.1";
    config.deviceId = {0x02, 0x00, 0x00, 0x00, 0x01, 0x10};
    config.answerForm = 8;
    config.model = "OFN-420";
    config.volumes = {"HDD_a", "USB1"};
    config.adminPassword = "secret";
    config.dhcpAddress = "10.77.1.130";
    config.ideOkSequence = {std::nullopt, "5"};
    config.restartSilenceMs = 1000;
    if (!faulty) return config;
    config.faults.malformed = {MalformedKind::kShort, MalformedKind::kUnterminated, MalformedKind::kNameOver255,
                               MalformedKind::kNameBeyondDatagram};
    config.faults.duplicates = 1;
    config.faults.foreignClientAnswers = 1;
    config.faults.otherTypeAnswers = 1;
    config.faults.dropProbability = 0.25;
    config.faults.seed = 7;
    return config;
}

void CheckParse(std::span<const std::uint8_t> request, const RequestParseResult& parsed) {
    if (!parsed.ok) {
        OFU_FUZZ_CHECK(!parsed.error.empty());
        return;
    }
    const ParsedRequest& r = parsed.request;
    OFU_FUZZ_CHECK(request.size() >= ofu::wire::kSearchRequestSize);
    OFU_FUZZ_CHECK(r.opcode == ofu::wire::kOpSearch || r.opcode == ofu::wire::kOpQuery || r.opcode == ofu::wire::kOpSet);
    OFU_FUZZ_CHECK(std::equal(r.clientId.begin(), r.clientId.end(), request.begin() + ofu::wire::kClientIdOffset));
    if (r.opcode == ofu::wire::kOpQuery) {
        OFU_FUZZ_CHECK(request.size() >= ofu::wire::kQueryRequestSize);
        OFU_FUZZ_CHECK(r.login.has_value() == (r.subcode == ofu::wire::kQueryLogin));
        if (r.login)
            OFU_FUZZ_CHECK(ofu::wire::kLoginTextOffset + r.login->user.size() + 2 + r.login->password.size() <=
                           request.size());
    }
    if (r.opcode == ofu::wire::kOpSet) {
        OFU_FUZZ_CHECK(r.set.has_value());
        OFU_FUZZ_CHECK(ofu::wire::kSetPayloadOffset + r.set->payload.size() <= request.size());
        OFU_FUZZ_CHECK(r.set->payload.size() == GetU32(request, ofu::wire::kSetPayloadLengthOffset));
        OFU_FUZZ_CHECK(r.set->netmask.size() <= 16 && r.set->gateway.size() <= 16);
    }
}

// A genuine answer is read by the utility as the device's own state.
void CheckAnswer(const SimDevice& device, const SimAnswer& answer, const ClientIdBytes& clientId) {
    if (!answer.fault.empty()) return;
    OFU_FUZZ_CHECK(answer.bytes.size() >= ofu::wire::kDeviceKeyOffset + ofu::wire::kDeviceKeySize);
    OFU_FUZZ_CHECK(std::equal(clientId.begin(), clientId.end(), answer.bytes.begin() + ofu::wire::kClientIdOffset));
    const auto parsed = ofu::ParseSearchAnswer(answer.bytes);
    if (answer.bytes[0] != device.config().answerForm) return;
    OFU_FUZZ_CHECK(parsed.has_value());
    OFU_FUZZ_CHECK(parsed->address == device.addressText());
    OFU_FUZZ_CHECK(parsed->name == device.config().name);
    OFU_FUZZ_CHECK(parsed->netmask.view() == std::string_view(device.state().netmask).substr(0, 15));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ofu::fuzz::FuzzInput input(data, size);
    const std::uint8_t setup = input.byte();
    std::ostringstream journalText;
    Journal journal(journalText);
    journal.setClock([] { return 0.0; });
    VirtualClock clock;
    SimDevice device(Device(setup & 0x01), (setup & 0x02) ? &journal : nullptr, &clock);

    while (!input.empty()) {
        const std::uint8_t flags = input.byte();
        const auto bytes = input.take(input.u16le());
        std::vector<std::uint8_t> request(bytes.begin(), bytes.end());
        if ((flags & 0x01) && request.size() >= ofu::wire::kDeviceKeyOffset + ofu::wire::kDeviceKeySize) {
            const DeviceKeyBytes key = device.key();
            std::copy(key.begin(), key.end(), request.begin() + ofu::wire::kDeviceKeyOffset);
        }
        clock.advance(std::chrono::milliseconds(250 * ((flags >> 1) & 0x0F)));

        const RequestParseResult parsed = ParseRequest(request);
        CheckParse(request, parsed);
        for (const SimAnswer& answer : device.handle(request, {"10.77.1.1:40000", "dv1"}))
            CheckAnswer(device, answer, parsed.request.clientId);
        // Whatever bytes a request carried, each journal entry is one line of JSON.
        const std::string lines = journalText.str();
        OFU_FUZZ_CHECK(ParseJournalLines(lines).size() ==
                       static_cast<std::size_t>(std::count(lines.begin(), lines.end(), '\n')));
        journalText.str({});
    }
    OFU_FUZZ_CHECK(!journal.failed());
    return 0;
}
