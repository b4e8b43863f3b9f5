// The utility's protocol on the in-memory network and virtual time, for the fuzz targets that
// feed discovery and the commands with datagrams: one session per input, every piece of
// process-wide protocol state reset when it starts and when it ends.
//
// Datagram scripts. A target's input (after its own leading bytes) is a run of events, each
//   control byte, time byte, and for a datagram a 16-bit little-endian length and the bytes
// where the control byte says:
//   bits 0-2  the local address the event arrives on (modulo the session's count)
//   bit 3     a receive error instead of a datagram (no length, no bytes)
//   bit 4     leave bytes 1 to 6 as given (else this run's ClientId is written there, so that
//             the fuzzer reaches past the ClientId check without having to guess it)
//   bit 5     leave bytes 17 to 20 as given (else the script's device address is written
//             there, when the script has one)
// and the event arrives at start + slot * slotMicros + time * stepMicros. A length beyond the
// input takes what is left; one beyond the receive buffer is a receive error, as a datagram
// that does not fit is on the real network.
#pragma once

#include "fuzz/support/fuzz_input.h"
#include "tests/support/memory_network.h"
#include "tests/support/virtual_clock.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ofu::fuzz {

class ProtocolSession {
public:
    // Starts the transport with the local addresses 10.77.1.1, 10.77.2.1, ... (`count` of them).
    explicit ProtocolSession(int count);
    ~ProtocolSession();
    ProtocolSession(const ProtocolSession&) = delete;
    ProtocolSession& operator=(const ProtocolSession&) = delete;

    int addressCount() const { return count_; }

    testing::VirtualClock clock;
    testing::MemoryNetwork network{clock};
    std::vector<std::string> traces;  // every trace line the protocol wrote

private:
    int count_;
};

struct ScriptTiming {
    std::int64_t startMicros = 0;
    std::int64_t slotMicros = 0;
    std::int64_t stepMicros = 0;
};

struct ScheduledDatagram {
    int slot;
    testing::Bytes bytes;  // as they arrive, ClientId and address written in
};

// Schedules every event of the rest of `input` on the session's network; returns the
// datagrams (not the errors) scheduled.
std::vector<ScheduledDatagram> ScheduleDatagramScript(FuzzInput& input, ProtocolSession& session,
                                                      const ScriptTiming& timing,
                                                      const std::optional<std::array<std::uint8_t, 4>>& deviceAddress);

// Control-byte bits of a script event.
inline constexpr std::uint8_t kEventReceiveError = 0x08;
inline constexpr std::uint8_t kEventKeepClientId = 0x10;
inline constexpr std::uint8_t kEventKeepAddress = 0x20;

// One event laid out as ScheduleDatagramScript reads it (for writing seeds).
std::vector<std::uint8_t> ScriptEvent(std::uint8_t control, std::uint8_t time,
                                      const std::vector<std::uint8_t>& datagram);

}  // namespace ofu::fuzz
