// Worker threads that the platform keeps track of: the caller starts one and forgets it; the
// platform joins those that have finished whenever a new one starts, and all of them when its
// services are freed, so no thread outlives what it may use. The same on every system; only
// pausing the calling thread is the system's own call (PauseThread, in each system's folder).
#pragma once

#include "platform/threads.h"

#include <atomic>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

namespace ofu::platform {

// Pauses the calling thread with the system's own call.
void PauseThread(int milliseconds);

class WorkerThreads final : public Threads {
public:
    WorkerThreads() = default;
    ~WorkerThreads() override;
    WorkerThreads(const WorkerThreads&) = delete;
    WorkerThreads& operator=(const WorkerThreads&) = delete;

    bool Start(std::function<void()> body) override;
    void Sleep(int milliseconds) override { PauseThread(milliseconds); }

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
