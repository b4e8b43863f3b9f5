#include "platform/clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace ofu::platform {
namespace {

class RealClock final : public Clock {
public:
    std::int64_t nowMicros() override {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return std::chrono::duration_cast<std::chrono::microseconds>(now).count();
    }
    void sleepMillis(int milliseconds) override {
        if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
    std::int64_t wallClockSeconds() override { return static_cast<std::int64_t>(std::time(nullptr)); }
};

}  // namespace

Clock& SteadyClock() {
    static RealClock clock;
    return clock;
}

}  // namespace ofu::platform
