// A whole search on the in-memory network, fed arbitrary datagrams and receive errors on up
// to four local addresses (the script format is in support/protocol_session.h). Whatever
// arrives, the search ends in bounded time and leaves a list that keeps its promises, each
// record from an answer that the filters let through.
//
// Input: one set-up byte (bits 0-1: one to four local addresses; bits 2-3: the filters),
// then the datagram script.
#include "fuzz/support/protocol_session.h"
#include "protocol/device_list.h"
#include "protocol/discovery.h"
#include "protocol/poll_deadline.h"
#include "protocol/transport.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Polling on one address begins after the two sends and their 50 ms pauses; with nothing
// arriving it lasts 32 waits of 10 ms and 31 pauses of 20 ms.
constexpr std::int64_t kPollsStartMicros = 2 * ofu::kSearchPauseAfterSendMillis * 1000;
const std::int64_t kQuietAddressMicros =
    kPollsStartMicros + ofu::PollDeadline::NominalMicros(ofu::kSearchPollsPerAddress, 0,
                                                         ofu::kSearchPauseBetweenPollsMillis);

constexpr std::pair<std::uint8_t, std::uint8_t> kFilters[] = {{3, 3}, {0, 0}, {3, 0}, {0, 7}};

// A search answer that a record may come from, by the rules of the message formats: this
// run's ClientId, long enough to reach its name, and for the matched and long forms match
// bytes that the filters (0: any) accept.
bool Acceptable(const std::vector<std::uint8_t>& answer, std::uint8_t filter1, std::uint8_t filter2) {
    if (answer.empty()) return false;
    std::size_t nameOffset = 0;
    bool matched = true;
    switch (answer[0]) {
        case ofu::wire::kAnswerSearchShort: nameOffset = ofu::wire::kShortFormLayout.nameOffset; break;
        case ofu::wire::kAnswerSearchMatched: nameOffset = ofu::wire::kMatchedFormLayout.nameOffset; break;
        case ofu::wire::kAnswerSearchLong: nameOffset = ofu::wire::kLongFormLayout.nameOffset; break;
        default: return false;
    }
    if (answer.size() < nameOffset) return false;
    if (answer[0] != ofu::wire::kAnswerSearchShort)
        matched = (filter1 == 0 || answer[ofu::wire::kMatchByte1Offset] == filter1) &&
                  (filter2 == 0 || answer[ofu::wire::kMatchByte2Offset] == filter2);
    return matched && std::equal(ofu::ClientId.begin(), ofu::ClientId.end(), answer.begin() + ofu::wire::kClientIdOffset);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ofu::fuzz::FuzzInput input(data, size);
    const std::uint8_t setup = input.byte();
    const int addresses = 1 + (setup & 0x03);
    const std::uint8_t filter1 = kFilters[(setup >> 2) & 0x03].first;
    const std::uint8_t filter2 = kFilters[(setup >> 2) & 0x03].second;

    ofu::fuzz::ProtocolSession session(addresses);
    const auto scheduled = ofu::fuzz::ScheduleDatagramScript(
        input, session, {kPollsStartMicros, kQuietAddressMicros, 5'000}, std::nullopt);
    ofu::SearchDevices(filter1, filter2);

    // Two sends per address; at most 32 datagrams read on each; no wait beyond the bound on
    // skipped receive errors (twice the polls' nominal time) and the polls themselves.
    OFU_FUZZ_CHECK(session.network.sent().size() == static_cast<std::size_t>(2 * addresses));
    OFU_FUZZ_CHECK(ofu::DeviceList.count() <= ofu::kSearchPollsPerAddress * addresses);
    OFU_FUZZ_CHECK(session.clock.nowMicros() <= addresses * (kPollsStartMicros + 3 * kQuietAddressMicros));

    int previousIndex = 0;
    for (std::int32_t i = 0; i < ofu::DeviceList.count(); ++i) {
        const ofu::DeviceRecord& record = ofu::DeviceList.at(static_cast<std::size_t>(i));
        OFU_FUZZ_CHECK(record.ip == ofu::BytesToDottedQuad(record.key.address()));
        OFU_FUZZ_CHECK(record.dhcp.size() <= 1);
        // Addresses of interface 0 first, and each record on an interface that exists.
        OFU_FUZZ_CHECK(record.interfaceIndex >= previousIndex && record.interfaceIndex < addresses);
        previousIndex = record.interfaceIndex;
        for (std::int32_t j = 0; j < i; ++j)
            OFU_FUZZ_CHECK(!(ofu::DeviceList.at(static_cast<std::size_t>(j)).ip == record.ip));
        // It comes from an answer of this run that arrived on its interface and that the
        // filters let through.
        OFU_FUZZ_CHECK(std::any_of(scheduled.begin(), scheduled.end(), [&](const ofu::fuzz::ScheduledDatagram& d) {
            return d.slot == record.interfaceIndex && Acceptable(d.bytes, filter1, filter2) &&
                   std::equal(record.key.bytes.begin(), record.key.bytes.end(),
                              d.bytes.begin() + ofu::wire::kDeviceKeyOffset);
        }));
    }
    return 0;
}
