// The reachability check of the web configuration launch: a worker thread tries to reach the
// device's web server while the user-interface thread looks at the result up to three times,
// a second apart.
//
// ReachabilityResult is the one word the two threads share. It holds the number of the check
// it belongs to (high 32 bits) beside the result (low 32 bits: 0 pending, 1 reachable, -1
// unreachable). A worker writes its result only while the word still belongs to its own,
// pending check, so the late answer of an earlier press can never decide a later one.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace ofu {

extern std::atomic<std::uint64_t> ReachabilityResult;

inline constexpr std::int32_t kReachabilityPending = 0;
inline constexpr std::int32_t kReachable = 1;
inline constexpr std::int32_t kUnreachable = -1;

struct ReachabilityCheck {
    std::uint32_t number = 0;
    std::string url;  // "http://ADDRESS"
};

// Sets the word to pending for a new check of "http://ADDRESS" (always http, whatever the
// page is opened with; at most 63 characters) and returns it.
ReachabilityCheck BeginReachabilityCheck(std::string_view deviceAddress);

// The worker's body: tries the URL and stores 1 or -1 for its check.
void CheckDeviceReachable(const ReachabilityCheck& check);

// Starts the worker for `check` on a platform thread. When no thread can be started, the
// check ends at once as unreachable, so the caller's first look reports the device gone.
void StartReachabilityWorker(const ReachabilityCheck& check);

// The result of `check`: pending (also when the word belongs to another check), 1 or -1.
std::int32_t ReadReachability(const ReachabilityCheck& check);

// Looks at the result at once, after `pause(1000)` and after a second `pause(1000)`. True as
// soon as it reads 1 (the word is set back to pending); false on -1 or when it is still
// pending at the third look.
bool AwaitReachability(const ReachabilityCheck& check, const std::function<void(int)>& pause);

}  // namespace ofu
