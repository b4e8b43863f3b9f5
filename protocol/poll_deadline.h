// The bound on datagrams that are skipped without using up a poll. Discovery and the
// commands count polls, but receive errors (and, for commands, answers of another type) are
// skipped uncounted and without a pause; a steady stream of them would keep the caller
// polling for ever. Each polling loop therefore ends when twice its nominal duration
// (its drain, its counted waits and its pauses) has passed.
#pragma once

#include "platform/clock.h"
#include "protocol/transport.h"

#include <cstdint>

namespace ofu {

class PollDeadline {
public:
    PollDeadline(platform::Clock& clock, int polls, int drainPolls, int pauseMillis)
        : clock_(clock),
          end_(clock.nowMicros() +
               2 * NominalMicros(polls, drainPolls, pauseMillis)) {}

    static std::int64_t NominalMicros(int polls, int drainPolls, int pauseMillis) {
        const std::int64_t waits = static_cast<std::int64_t>(polls + drainPolls) * kReceiveWaitMillis;
        const std::int64_t pauses = static_cast<std::int64_t>(polls > 0 ? polls - 1 : 0) * pauseMillis;
        return (waits + pauses) * 1000;
    }

    bool passed() const { return clock_.nowMicros() >= end_; }

private:
    platform::Clock& clock_;
    std::int64_t end_;
};

}  // namespace ofu
