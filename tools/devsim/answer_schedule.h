// Answers waiting for their send time. Delayed answers of one device must not hold up the
// others, so the server sleeps in poll() until the earliest one is due instead of sleeping
// per answer.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <queue>
#include <vector>

#include <netinet/in.h>

#include "sim_answer.h"

namespace ofu::devsim {

using SteadyTime = std::chrono::steady_clock::time_point;

struct ScheduledAnswer {
    SteadyTime due;
    std::uint64_t order = 0;  // keeps answers with the same due time in arrival order
    std::size_t device = 0;   // index of the answering device
    SimAnswer answer;
    sockaddr_in requester{};
    unsigned ifindex = 0;     // interface the request arrived on
};

class AnswerSchedule {
public:
    void add(ScheduledAnswer answer);
    std::optional<SteadyTime> nextDue() const;
    // Removes and returns every answer due at `now`, earliest first.
    std::vector<ScheduledAnswer> takeDue(SteadyTime now);
    std::size_t size() const { return queue_.size(); }

private:
    struct Later {
        bool operator()(const ScheduledAnswer& a, const ScheduledAnswer& b) const {
            return a.due != b.due ? a.due > b.due : a.order > b.order;
        }
    };
    std::priority_queue<ScheduledAnswer, std::vector<ScheduledAnswer>, Later> queue_;
    std::uint64_t nextOrder_ = 0;
};

}  // namespace ofu::devsim
