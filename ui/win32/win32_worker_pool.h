// The worker threads of one dialog. A worker calls into the dialog with a message sent to the
// dialog window (SendMessageW), so the call runs on the user-interface thread while the worker
// waits. When the dialog ends, StopAndJoin sets the stop flag, wakes sleeping workers and, until
// every worker has returned, keeps answering the messages sent to this thread: a worker blocked
// in a call is released (the call is refused, not run) instead of waiting for a thread that
// waits for it. Only then are the threads joined, before the window goes.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "ui/worker_context.h"

namespace ofu::ui {

// The message that carries a worker's call; its lParam points to a WorkerCall.
inline constexpr unsigned kWorkerCallMessage = 0x8000 + 0x0F01;  // WM_APP + 0x0F01

struct WorkerCall {
    const std::function<void()>* call = nullptr;
    bool ran = false;
};

class Win32WorkerPool {
public:
    explicit Win32WorkerPool(ThreadStarter startThread = StartThread) : startThread_(std::move(startThread)) {}
    ~Win32WorkerPool() { StopAndJoin(); }
    Win32WorkerPool(const Win32WorkerPool&) = delete;
    Win32WorkerPool& operator=(const Win32WorkerPool&) = delete;

    // The dialog window that receives the calls (set once, before the first worker starts) and
    // the thread that owns it.
    void SetTarget(void* window);

    // False when no thread could be started: the worker is not counted (so stopping never
    // waits for it) and never runs.
    bool Start(WorkerBody body);
    // The dialog has ended: calls are refused and sleeps end from now on.
    void RequestStop();
    // On the user-interface thread: RequestStop, then wait for every worker while answering
    // the calls sent meanwhile, then join.
    void StopAndJoin();
    // On the user-interface thread, for a WorkerCall message: runs the call unless stopping.
    void Deliver(WorkerCall& request) const;

    int Running() const { return running_.load(); }
    bool Stopping() const { return stop_.load(); }

private:
    class Context;

    ThreadStarter startThread_;
    void* target_ = nullptr;
    unsigned long uiThread_ = 0;
    std::vector<std::thread> threads_;
    std::atomic<bool> stop_{false};
    std::atomic<int> running_{0};
    std::mutex sleepMutex_;
    std::condition_variable wake_;
};

}  // namespace ofu::ui
