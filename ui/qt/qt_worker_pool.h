// The worker threads of one dialog. A worker calls into the dialog by posting the call to the
// user-interface thread and waiting until it has run. When the dialog ends, StopAndJoin sets
// the stop flag and wakes every waiting or sleeping worker (a waiting call then returns false
// without running) before it joins them, so joining never waits for the user-interface
// thread, and drops the calls still posted.
#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "ui/worker_context.h"

class QObject;

namespace ofu::ui {

class QtWorkerPool {
public:
    // Made on the user-interface thread, which runs the workers' calls.
    explicit QtWorkerPool(ThreadStarter startThread = StartThread);
    ~QtWorkerPool();
    QtWorkerPool(const QtWorkerPool&) = delete;
    QtWorkerPool& operator=(const QtWorkerPool&) = delete;

    // False when no thread could be started: the worker is not counted and never runs.
    bool Start(WorkerBody body);
    void StopAndJoin();
    int Running() const { return running_.load(); }

private:
    class Context;

    ThreadStarter startThread_;
    std::unique_ptr<QObject> receiver_;  // takes the workers' calls on the user-interface thread
    std::vector<std::thread> threads_;
    std::atomic<bool> stop_{false};
    std::atomic<int> running_{0};
    std::mutex sleepMutex_;
    std::condition_variable wake_;
};

}  // namespace ofu::ui
