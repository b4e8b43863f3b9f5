// InternetCheckConnectionA connects as long as the system lets a connection attempt run (some
// twenty seconds to a host that never answers), while the caller is promised an answer within
// kCheckConnectionLimitMillis and the platform joins its worker threads at the end of the program. So the call
// runs on a thread of its own; when it has not answered in time the host counts as unreachable
// and the call is left to finish by itself, touching nothing but its own copy of the answer.
#include "platform/windows/wininet_internet.h"

#include "platform/windows/windows_api.h"
#include "platform/windows/zero_terminated.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace ofu::platform {
namespace {

constexpr auto kAnswerLimit = std::chrono::milliseconds(kCheckConnectionLimitMillis);

struct Answer {
    std::mutex mutex;
    std::condition_variable given;
    bool done = false;
    bool reachable = false;
};

}  // namespace

bool WinInetInternet::CheckConnection(std::string_view url, unsigned flags) {
    const std::optional<std::string> text = windows::ZeroTerminated(url);
    if (!text || text->empty()) return false;
    auto answer = std::make_shared<Answer>();
    std::thread([answer, target = *text, flags] {
        const bool reachable = ::InternetCheckConnectionA(target.c_str(), flags, 0) != FALSE;
        std::lock_guard lock(answer->mutex);
        answer->reachable = reachable;
        answer->done = true;
        answer->given.notify_all();
    }).detach();
    std::unique_lock lock(answer->mutex);
    return answer->given.wait_for(lock, kAnswerLimit, [&] { return answer->done; }) && answer->reachable;
}

}  // namespace ofu::platform
