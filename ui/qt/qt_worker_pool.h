// The worker threads of one dialog. A worker calls into the dialog with a blocking queued call
// that runs on the user-interface thread. When the dialog ends, StopAndJoin sets the stop flag,
// wakes sleeping workers and, while any worker still runs, removes the dialog's posted calls
// (which releases a worker blocked in one) before it joins them: joining a worker that waits
// for the user-interface thread would otherwise deadlock.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "ui/worker_context.h"

class QObject;

namespace ofu::ui {

class QtWorkerPool {
public:
    explicit QtWorkerPool(QObject& uiTarget) : target_(uiTarget) {}
    ~QtWorkerPool() { StopAndJoin(); }
    QtWorkerPool(const QtWorkerPool&) = delete;
    QtWorkerPool& operator=(const QtWorkerPool&) = delete;

    void Start(WorkerBody body);
    void StopAndJoin();
    int Running() const { return running_.load(); }

private:
    class Context;

    QObject& target_;
    std::vector<std::thread> threads_;
    std::atomic<bool> stop_{false};
    std::atomic<int> running_{0};
    std::mutex sleepMutex_;
    std::condition_variable wake_;
};

}  // namespace ofu::ui
