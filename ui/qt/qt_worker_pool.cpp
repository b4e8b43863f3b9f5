#include "ui/qt/qt_worker_pool.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <chrono>
#include <memory>

namespace ofu::ui {
namespace {

const QEvent::Type kWorkerCall = static_cast<QEvent::Type>(QEvent::registerEventType());

// A worker's call, delivered on the user-interface thread; the toolkit owns and deletes it.
class WorkerCallEvent final : public QEvent {
public:
    explicit WorkerCallEvent(std::function<void()> run) : QEvent(kWorkerCall), run_(std::move(run)) {}
    void Run() { run_(); }

private:
    std::function<void()> run_;
};

// Runs the workers' calls; it lives on the user-interface thread.
class WorkerCallReceiver final : public QObject {
public:
    bool event(QEvent* event) override {
        if (event->type() != kWorkerCall) return QObject::event(event);
        static_cast<WorkerCallEvent*>(event)->Run();
        return true;
    }
};

}  // namespace

QtWorkerPool::QtWorkerPool(ThreadStarter startThread)
    : startThread_(std::move(startThread)), receiver_(std::make_unique<WorkerCallReceiver>()) {}

QtWorkerPool::~QtWorkerPool() { StopAndJoin(); }

class QtWorkerPool::Context final : public WorkerContext {
public:
    explicit Context(QtWorkerPool& pool) : pool_(pool) {}

    // The call is posted to the user-interface thread and the worker waits on the pool's own
    // condition for it to have run, or for the dialog to end. The hand-over is the pool's own
    // mutex, not the toolkit's, so that every write is ordered for the thread checkers too:
    // the worker holds the mutex from before posting until it waits, and the posted call takes
    // it before it looks at anything. The posted call touches `call` only while the pool has
    // not been told to stop; stopping happens on the user-interface thread, never while the
    // call runs.
    bool CallOnUi(const std::function<void()>& call) override {
        if (pool_.stop_) return false;
        if (QThread::currentThread() == pool_.receiver_->thread()) {
            call();
            return true;
        }
        auto done = std::make_shared<bool>(false);
        QtWorkerPool& pool = pool_;
        std::unique_lock lock(pool_.sleepMutex_);
        QCoreApplication::postEvent(pool_.receiver_.get(), new WorkerCallEvent([&pool, &call, done] {
            std::unique_lock held(pool.sleepMutex_);
            if (pool.stop_) return;
            held.unlock();
            call();
            held.lock();
            *done = true;
            held.unlock();
            pool.wake_.notify_all();
        }));
        pool_.wake_.wait(lock, [&] { return *done || pool_.stop_.load(); });
        return *done;
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

bool QtWorkerPool::Start(WorkerBody body) {
    if (stop_) return false;
    ++running_;  // before the thread exists, so that it can never be counted after its end
    const bool started = startThread_(threads_, [this, work = std::move(body)] {
        Context context(*this);
        if (work) work(context);
        --running_;
    });
    if (!started) --running_;
    return started;
}

void QtWorkerPool::StopAndJoin() {
    {
        std::lock_guard lock(sleepMutex_);
        stop_ = true;
    }
    wake_.notify_all();
    for (std::thread& thread : threads_) {
        if (thread.joinable()) thread.join();
    }
    threads_.clear();
    // Calls the workers posted and that have not run yet would find the pool stopped; they
    // are dropped.
    QCoreApplication::removePostedEvents(receiver_.get(), kWorkerCall);
}

}  // namespace ofu::ui
