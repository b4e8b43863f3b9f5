// The clock the protocol waits by. The product uses the steady clock and real sleeps;
// tests install a virtual clock so that the fixed pauses and poll counts of discovery and
// the commands can be checked exactly without waiting.
#pragma once

#include <cstdint>

namespace ofu::platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Monotonic time in microseconds; only differences are meaningful.
    virtual std::int64_t nowMicros() = 0;
    virtual void sleepMillis(int milliseconds) = 0;
    // Wall-clock time in whole seconds since the epoch (seeds the client identifier).
    virtual std::int64_t wallClockSeconds() = 0;
};

// The process's steady clock, sleeping for real.
Clock& SteadyClock();

}  // namespace ofu::platform
