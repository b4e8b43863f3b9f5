#include "platform/linux/linux_threads.h"

#include <chrono>

namespace ofu::platform {

LinuxThreads::~LinuxThreads() { JoinAll(); }

void LinuxThreads::JoinFinishedLocked() {
    for (auto it = workers_.begin(); it != workers_.end();) {
        if (it->done->load()) {
            it->thread.join();
            it = workers_.erase(it);
        } else {
            ++it;
        }
    }
}

void LinuxThreads::Start(std::function<void()> body) {
    auto done = std::make_shared<std::atomic<bool>>(false);
    std::lock_guard lock(mutex_);
    JoinFinishedLocked();
    workers_.push_back({std::thread([work = std::move(body), done] {
                            if (work) work();
                            done->store(true);
                        }),
                        done});
}

void LinuxThreads::Sleep(int milliseconds) {
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void LinuxThreads::JoinAll() {
    std::list<Worker> workers;
    {
        std::lock_guard lock(mutex_);
        workers.swap(workers_);
    }
    for (Worker& worker : workers) worker.thread.join();
}

}  // namespace ofu::platform
