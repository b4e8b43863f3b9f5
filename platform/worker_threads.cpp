#include "platform/worker_threads.h"

#include <new>
#include <system_error>

namespace ofu::platform {

WorkerThreads::~WorkerThreads() { JoinAll(); }

void WorkerThreads::JoinFinishedLocked() {
    for (auto it = workers_.begin(); it != workers_.end();) {
        if (it->done->load()) {
            it->thread.join();
            it = workers_.erase(it);
        } else {
            ++it;
        }
    }
}

bool WorkerThreads::Start(std::function<void()> body) {
    // The system may have no thread (or no memory) to give: the body then never runs, and
    // the caller is told so rather than the program ending.
    try {
        auto done = std::make_shared<std::atomic<bool>>(false);
        std::lock_guard lock(mutex_);
        JoinFinishedLocked();
        Worker& worker = workers_.emplace_back();
        worker.done = done;
        try {
            worker.thread = std::thread([work = std::move(body), done] {
                if (work) work();
                done->store(true);
            });
        } catch (const std::system_error&) {
            workers_.pop_back();
            return false;
        }
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

void WorkerThreads::JoinAll() {
    std::list<Worker> workers;
    {
        std::lock_guard lock(mutex_);
        workers.swap(workers_);
    }
    for (Worker& worker : workers) worker.thread.join();
}

}  // namespace ofu::platform
