// One command exchange with the target device: find it in the device list, drain stale
// datagrams, send the request once out of the local address it answered on, and poll for
// the answer that fits.
#pragma once

#include "protocol/transport.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace ofu {

inline constexpr int kCommandPauseMillis = 100;

// Which device address an accepted answer must carry in its key.
enum class AnswerAddress {
    Target,      // TargetDeviceAddress
    NewAddress,  // NewDeviceAddress (a static address change)
    Any,         // whatever address (a DHCP change: the device's new address)
};

// How the exchange empties the receiving socket before it sends.
enum class Drain {
    // `drainPolls` waits, each throwing away whatever arrived.
    Counted,
    // Everything already waiting, until a wait finds nothing, within the time of `drainPolls`
    // waits: a late answer to an earlier request, however many datagrams came after it, is
    // gone before the request is sent, and a quiet socket costs a single wait.
    UntilQuiet,
};

struct ExchangeRule {
    std::uint8_t answerType;
    int drainPolls;
    int answerPolls;
    AnswerAddress address;
    Drain drain;
};

using RequestBuilder = std::function<std::size_t(std::span<std::uint8_t>)>;

// True when an answer fitting `rule` arrived within its polls; `answer` then holds it.
// False at once, with nothing drained or sent, when the target is not listed.
bool RunExchange(const ExchangeRule& rule, const RequestBuilder& build, AnswerBuffer& answer);

}  // namespace ofu
