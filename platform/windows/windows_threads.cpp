#include "platform/windows/windows_threads.h"

#include "platform/windows/windows_api.h"

namespace ofu::platform {

WindowsThreads::~WindowsThreads() { JoinAll(); }

void WindowsThreads::JoinFinishedLocked() {
    for (auto it = workers_.begin(); it != workers_.end();) {
        if (it->done->load()) {
            it->thread.join();
            it = workers_.erase(it);
        } else {
            ++it;
        }
    }
}

void WindowsThreads::Start(std::function<void()> body) {
    auto done = std::make_shared<std::atomic<bool>>(false);
    std::lock_guard lock(mutex_);
    JoinFinishedLocked();
    workers_.push_back({std::thread([work = std::move(body), done] {
                            if (work) work();
                            done->store(true);
                        }),
                        done});
}

void WindowsThreads::Sleep(int milliseconds) {
    if (milliseconds > 0) ::Sleep(static_cast<DWORD>(milliseconds));
}

void WindowsThreads::JoinAll() {
    std::list<Worker> workers;
    {
        std::lock_guard lock(mutex_);
        workers.swap(workers_);
    }
    for (Worker& worker : workers) worker.thread.join();
}

}  // namespace ofu::platform
