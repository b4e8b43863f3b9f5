#include "ui/qt/qt_worker_pool.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QThread>
#include <chrono>

namespace ofu::ui {

class QtWorkerPool::Context final : public WorkerContext {
public:
    explicit Context(QtWorkerPool& pool) : pool_(pool) {}

    bool CallOnUi(const std::function<void()>& call) override {
        if (pool_.stop_) return false;
        if (QThread::currentThread() == pool_.target_.thread()) {
            call();
            return true;
        }
        bool ran = false;
        QtWorkerPool& pool = pool_;
        QMetaObject::invokeMethod(
            &pool_.target_,
            [&pool, &call, &ran] {
                if (pool.stop_) return;
                call();
                ran = true;
            },
            Qt::BlockingQueuedConnection);
        return ran;
    }

    bool Sleep(int milliseconds) override {
        std::unique_lock lock(pool_.sleepMutex_);
        pool_.wake_.wait_for(lock, std::chrono::milliseconds(std::max(milliseconds, 0)),
                             [this] { return pool_.stop_.load(); });
        return !pool_.stop_;
    }

    bool StopRequested() const override { return pool_.stop_; }

private:
    QtWorkerPool& pool_;
};

void QtWorkerPool::Start(WorkerBody body) {
    if (stop_) return;
    ++running_;
    threads_.emplace_back([this, work = std::move(body)] {
        Context context(*this);
        if (work) work(context);
        --running_;
    });
}

void QtWorkerPool::StopAndJoin() {
    {
        std::lock_guard lock(sleepMutex_);
        stop_ = true;
    }
    wake_.notify_all();
    while (running_.load() > 0) {
        QCoreApplication::removePostedEvents(&target_, QEvent::MetaCall);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    for (std::thread& thread : threads_) {
        if (thread.joinable()) thread.join();
    }
    threads_.clear();
}

}  // namespace ofu::ui
