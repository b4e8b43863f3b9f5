#include "access/reachability.h"

#include "platform/services.h"

namespace ofu {
namespace {

constexpr int kLooks = 3;
constexpr int kPauseMillis = 1000;
constexpr std::size_t kMaxUrlLength = 63;

std::uint64_t Word(std::uint32_t number, std::int32_t result) {
    return static_cast<std::uint64_t>(number) << 32 | static_cast<std::uint32_t>(result);
}
std::uint32_t NumberOf(std::uint64_t word) { return static_cast<std::uint32_t>(word >> 32); }
std::int32_t ResultOf(std::uint64_t word) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(word)); }

}  // namespace

std::atomic<std::uint64_t> ReachabilityResult{0};

ReachabilityCheck BeginReachabilityCheck(std::string_view deviceAddress) {
    ReachabilityCheck check;
    check.url = "http://";
    check.url.append(deviceAddress);
    if (check.url.size() > kMaxUrlLength) check.url.resize(kMaxUrlLength);
    // Every new check takes the next number; the previous word is replaced whatever it held.
    std::uint64_t word = ReachabilityResult.load();
    do {
        check.number = NumberOf(word) + 1;
    } while (!ReachabilityResult.compare_exchange_weak(word, Word(check.number, kReachabilityPending)));
    return check;
}

namespace {

// Stores the result of `check` while the word still belongs to it, pending.
void Settle(const ReachabilityCheck& check, std::int32_t result) {
    std::uint64_t expected = Word(check.number, kReachabilityPending);
    ReachabilityResult.compare_exchange_strong(expected, Word(check.number, result));
}

}  // namespace

void CheckDeviceReachable(const ReachabilityCheck& check) {
    const bool reachable = platform::Web().CheckConnection(check.url, platform::kFlagIccForceConnection);
    Settle(check, reachable ? kReachable : kUnreachable);
}

void StartReachabilityWorker(const ReachabilityCheck& check) {
    // The worker gets its own copy of the check and shares nothing else with the caller.
    if (!platform::Threading().Start([check] { CheckDeviceReachable(check); })) Settle(check, kUnreachable);
}

std::int32_t ReadReachability(const ReachabilityCheck& check) {
    const std::uint64_t word = ReachabilityResult.load();
    return NumberOf(word) == check.number ? ResultOf(word) : kReachabilityPending;
}

bool AwaitReachability(const ReachabilityCheck& check, const std::function<void(int)>& pause) {
    for (int look = 0; look < kLooks; ++look) {
        if (look > 0) pause(kPauseMillis);
        const std::int32_t result = ReadReachability(check);
        if (result == kReachable) {
            std::uint64_t expected = Word(check.number, kReachable);
            ReachabilityResult.compare_exchange_strong(expected, Word(check.number, kReachabilityPending));
            return true;
        }
        if (result == kUnreachable) return false;
    }
    return false;
}

}  // namespace ofu
