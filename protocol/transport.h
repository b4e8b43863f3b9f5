// The transport: the workstation's local IPv4 addresses, the random identifier of this run,
// and per local address one way to send a request to the device group and one way to
// receive the answers. Discovery and the commands address everything by the index of a
// local address.
#pragma once

#include "platform/clock.h"
#include "platform/datagram_network.h"
#include "protocol/bounded_text.h"
#include "base/wire_format.h"

#include <array>
#include <cstdint>
#include <span>

namespace ofu {

inline constexpr int kMaxLocalAddresses = 8;
inline constexpr int kReceiveWaitMillis = 10;

using AddressText = BoundedText<16>;

// Process-wide transport state, fixed from StartTransport to StopTransport.
extern std::array<AddressText, kMaxLocalAddresses> LocalAddressTable;
extern std::int32_t localAddressCount;
extern std::array<std::uint8_t, wire::kClientIdSize> ClientId;

// Opens the transport. Ends the process with status 1 when the socket library cannot be
// started. Socket errors after that are not reported: a slot that could not be set up
// simply receives nothing.
void StartTransport();
// Fills LocalAddressTable, localAddressCount and ClientId. Called by StartTransport.
void ListLocalAddresses();
void StopTransport();
bool TransportIsOpen();

// The six identifier bytes chosen for a run started at `seconds` (the low 8 bits of six
// successive values of the standard generator seeded with the time in whole seconds).
std::array<std::uint8_t, wire::kClientIdSize> ChooseClientId(std::int64_t seconds);

// One received datagram with room for the terminator stored after its last byte.
struct AnswerBuffer {
    std::array<std::uint8_t, wire::kDatagramBufferSize + 1> bytes{};
    std::size_t length = 0;
    std::span<const std::uint8_t> received() const { return {bytes.data(), length}; }
};

// Sends `request` to the group out of local address `index`.
void SendRequest(int index, std::span<const std::uint8_t> request);
// Waits up to 10 ms for a datagram on local address `index`. On a datagram, a zero byte is
// stored after the received bytes.
platform::ReceiveStatus ReceiveAnswer(int index, AnswerBuffer& answer);

// The clock that the protocol's waits and pauses use.
platform::Clock& TransportClock();

// Replaces the system network and the steady clock (tests); null restores the default.
// Only call while the transport is closed.
void InstallTransportBackends(platform::DatagramNetwork* network, platform::Clock* clock);

}  // namespace ofu
