#include "ui/win32/win32_worker_pool.h"

#include <algorithm>
#include <chrono>

#include "ui/win32/win32_api.h"

namespace ofu::ui {

static_assert(kWorkerCallMessage == WM_APP + 0x0F01);

class Win32WorkerPool::Context final : public WorkerContext {
public:
    explicit Context(Win32WorkerPool& pool) : pool_(pool) {}

    bool CallOnUi(const std::function<void()>& call) override {
        if (pool_.stop_) return false;
        if (GetCurrentThreadId() == pool_.uiThread_) {
            call();
            return true;
        }
        WorkerCall request{&call, false};
        SendMessageW(static_cast<HWND>(pool_.target_), kWorkerCallMessage, 0,
                     reinterpret_cast<LPARAM>(&request));
        return request.ran;
    }

    bool Sleep(int milliseconds) override {
        std::unique_lock lock(pool_.sleepMutex_);
        pool_.wake_.wait_for(lock, std::chrono::milliseconds(std::max(milliseconds, 0)),
                             [this] { return pool_.stop_.load(); });
        return !pool_.stop_;
    }

    bool StopRequested() const override { return pool_.stop_; }

private:
    Win32WorkerPool& pool_;
};

void Win32WorkerPool::SetTarget(void* window) {
    target_ = window;
    uiThread_ = GetCurrentThreadId();
}

bool Win32WorkerPool::Start(WorkerBody body) {
    if (stop_ || target_ == nullptr) return false;
    ++running_;  // before the thread exists, so that it can never be counted after its end
    const bool started = startThread_(threads_, [this, work = std::move(body)] {
        Context context(*this);
        if (work) work(context);
        --running_;
    });
    if (!started) --running_;
    return started;
}

void Win32WorkerPool::RequestStop() {
    {
        std::lock_guard lock(sleepMutex_);
        stop_ = true;
    }
    wake_.notify_all();
}

void Win32WorkerPool::StopAndJoin() {
    RequestStop();
    while (running_.load() > 0) {
        // Peeking answers the messages that workers have sent to this thread; the wait ends
        // as soon as another one arrives.
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_SENDMESSAGE);
    }
    for (std::thread& thread : threads_) {
        if (thread.joinable()) thread.join();
    }
    threads_.clear();
}

void Win32WorkerPool::Deliver(WorkerCall& request) const {
    if (stop_ || request.call == nullptr) return;
    (*request.call)();
    request.ran = true;
}

}  // namespace ofu::ui
