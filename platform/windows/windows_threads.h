// Worker threads that the platform keeps track of: the caller starts one and forgets it; the
// platform joins those that have finished whenever a new one starts, and all of them when its
// services are freed, so no thread outlives what it may use.
#pragma once

#include "platform/threads.h"

#include <atomic>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

namespace ofu::platform {

class WindowsThreads final : public Threads {
public:
    WindowsThreads() = default;
    ~WindowsThreads() override;
    WindowsThreads(const WindowsThreads&) = delete;
    WindowsThreads& operator=(const WindowsThreads&) = delete;

    void Start(std::function<void()> body) override;
    // The Windows Sleep.
    void Sleep(int milliseconds) override;

    // Waits for every thread started so far.
    void JoinAll();

private:
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    void JoinFinishedLocked();

    std::mutex mutex_;
    std::list<Worker> workers_;
};

}  // namespace ofu::platform
