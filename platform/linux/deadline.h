// What is left of a deadline, as the millisecond timeouts of poll and friends take it.
#pragma once

#include <algorithm>
#include <chrono>

namespace ofu::platform::linux_net {

using Clock = std::chrono::steady_clock;

// Milliseconds until `deadline`, rounded up so that a wait never ends before it; 0 once it has
// passed.
inline int MillisLeft(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::max<long long>(left, 0));
}

}  // namespace ofu::platform::linux_net
