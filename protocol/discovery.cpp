#include "protocol/discovery.h"

#include "protocol/datagram_reader.h"
#include "protocol/device_list.h"
#include "protocol/messages.h"
#include "protocol/poll_deadline.h"
#include "protocol/transport.h"

#include <array>

namespace ofu {
namespace {

bool PassesFilter(std::uint8_t filter, std::optional<std::uint8_t> value) {
    return filter == 0 || (value && *value == filter);
}

// Whether a datagram is a search answer of this run that the filters let through.
bool AcceptSearchAnswer(std::span<const std::uint8_t> answer, std::uint8_t filter1,
                        std::uint8_t filter2) {
    const DatagramReader reader(answer);
    const auto type = reader.byteAt(wire::kOpcodeOffset);
    if (!type) return false;
    switch (*type) {
        case wire::kAnswerSearchShort:
            return MatchesClientId(answer);
        case wire::kAnswerSearchMatched:
        case wire::kAnswerSearchLong:
            return MatchesClientId(answer) &&
                   PassesFilter(filter1, reader.byteAt(wire::kMatchByte1Offset)) &&
                   PassesFilter(filter2, reader.byteAt(wire::kMatchByte2Offset));
        default:
            return false;
    }
}

void SearchOnAddress(int index, std::span<const std::uint8_t> request, std::uint8_t filter1,
                     std::uint8_t filter2) {
    platform::Clock& clock = TransportClock();
    SendRequest(index, request);
    clock.sleepMillis(kSearchPauseAfterSendMillis);
    SendRequest(index, request);
    clock.sleepMillis(kSearchPauseAfterSendMillis);

    const PollDeadline deadline(clock, kSearchPollsPerAddress, 0, kSearchPauseBetweenPollsMillis);
    AnswerBuffer answer;
    int polls = 0;
    for (;;) {
        const auto status = ReceiveAnswer(index, answer);
        if (status == platform::ReceiveStatus::Error) {
            // Not counted and no pause, but a stream of errors cannot hold the search.
            if (deadline.passed()) return;
            continue;
        }
        if (status == platform::ReceiveStatus::Datagram &&
            AcceptSearchAnswer(answer.received(), filter1, filter2))
            AddDeviceRecord(answer.received(), index);
        if (++polls >= kSearchPollsPerAddress) return;
        clock.sleepMillis(kSearchPauseBetweenPollsMillis);
    }
}

}  // namespace

void SearchDevices(std::uint8_t filter1, std::uint8_t filter2) {
    FreeDeviceList();
    std::array<std::uint8_t, wire::kDatagramBufferSize> request{};
    const std::size_t length = BuildSearchRequest(request);
    for (int i = 0; i < localAddressCount; ++i)
        SearchOnAddress(i, std::span<const std::uint8_t>(request.data(), length), filter1, filter2);
}

}  // namespace ofu
