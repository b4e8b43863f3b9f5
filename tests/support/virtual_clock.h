// A clock whose time moves only when the code under test waits or sleeps.
#pragma once

#include "platform/clock.h"

#include <cstdint>
#include <vector>

namespace ofu::testing {

class VirtualClock final : public platform::Clock {
public:
    std::int64_t nowMicros() override { return now_; }
    void sleepMillis(int milliseconds) override {
        sleeps_.push_back(milliseconds);
        advanceMicros(static_cast<std::int64_t>(milliseconds) * 1000);
    }
    std::int64_t wallClockSeconds() override { return wallSeconds_ + now_ / 1'000'000; }

    void advanceMicros(std::int64_t micros) { now_ += micros > 0 ? micros : 0; }
    void advanceTo(std::int64_t micros) { now_ = micros > now_ ? micros : now_; }
    void setWallClockSeconds(std::int64_t seconds) { wallSeconds_ = seconds; }

    std::int64_t nowMillis() const { return now_ / 1000; }
    // Every sleep the code made, in milliseconds, in order.
    const std::vector<int>& sleeps() const { return sleeps_; }
    void clearSleeps() { sleeps_.clear(); }

private:
    std::int64_t now_ = 0;
    std::int64_t wallSeconds_ = 1'700'000'000;
    std::vector<int> sleeps_;
};

}  // namespace ofu::testing
