// The time a simulated device lives in. ofu-devsim reads the steady clock; in-memory tests
// hand the devices a virtual clock and move it on themselves, so timed behaviour (the
// silence of a restart) runs without real waiting.
#pragma once

#include <chrono>

namespace ofu::devsim {

using SimTime = std::chrono::steady_clock::time_point;

class SimClock {
public:
    virtual ~SimClock() = default;
    virtual SimTime now() const = 0;
};

class SteadySimClock final : public SimClock {
public:
    SimTime now() const override { return std::chrono::steady_clock::now(); }
};

// A clock that stands still until advance() moves it; it starts at SimTime{}.
class VirtualClock final : public SimClock {
public:
    SimTime now() const override { return now_; }
    void advance(std::chrono::milliseconds by) { now_ += by; }

private:
    SimTime now_{};
};

// The steady clock shared by the devices that were given no clock of their own.
const SimClock& DefaultSimClock();

}  // namespace ofu::devsim
