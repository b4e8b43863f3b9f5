#include "protocol/exchange.h"

#include "protocol/datagram_reader.h"
#include "protocol/messages.h"
#include "protocol/poll_deadline.h"
#include "protocol/shared_texts.h"

#include <array>

namespace ofu {
namespace {

bool CarriesExpectedAddress(const AnswerBuffer& answer, AnswerAddress expected) {
    // An answer too short to carry an address is no answer from any device.
    const auto address = AnswerAddressText(answer.received());
    if (!address) return false;
    if (expected == AnswerAddress::Any) return true;
    return expected == AnswerAddress::Target ? *address == TargetDeviceAddress
                                             : *address == NewDeviceAddress;
}

}  // namespace

bool RunExchange(const ExchangeRule& rule, const RequestBuilder& build, AnswerBuffer& answer) {
    const DeviceRecord* target = FindTargetRecord();
    if (target == nullptr) return false;
    const int index = target->interfaceIndex;
    platform::Clock& clock = TransportClock();
    const PollDeadline deadline(clock, rule.answerPolls, rule.drainPolls, kCommandPauseMillis);

    if (rule.drain == Drain::UntilQuiet) {
        const std::int64_t end = clock.nowMicros() + std::int64_t{rule.drainPolls} * kReceiveWaitMillis * 1000;
        while (ReceiveAnswer(index, answer) != platform::ReceiveStatus::Nothing && clock.nowMicros() < end) {
        }
    } else {
        for (int drained = 0; drained < rule.drainPolls; ++drained) ReceiveAnswer(index, answer);
    }

    std::array<std::uint8_t, wire::kDatagramBufferSize> request{};
    const std::size_t length = build(request);
    if (length == 0) return false;
    SendRequest(index, std::span<const std::uint8_t>(request.data(), length));

    int polls = 0;
    for (;;) {
        const auto status = ReceiveAnswer(index, answer);
        if (status == platform::ReceiveStatus::Error ||
            (status == platform::ReceiveStatus::Datagram &&
             DatagramReader(answer.received()).byteAt(wire::kOpcodeOffset) != rule.answerType)) {
            // Skipped without using up a poll, within the bound on such skips.
            if (deadline.passed()) return false;
            continue;
        }
        if (status == platform::ReceiveStatus::Datagram && MatchesClientId(answer.received()) &&
            CarriesExpectedAddress(answer, rule.address))
            return true;
        if (++polls >= rule.answerPolls) return false;
        clock.sleepMillis(kCommandPauseMillis);
    }
}

}  // namespace ofu
