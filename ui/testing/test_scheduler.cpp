#include "ui/testing/test_scheduler.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <utility>

namespace ofu::ui {
namespace {

// A worker that never comes to rest within this real time is reported and left alone.
constexpr auto kSettleLimit = std::chrono::seconds(10);
// Guards against a run of events that never ends (for example a 10 ms timer and a far deadline).
constexpr int kMaxEventsPerRun = 1'000'000;
// Window timers fire no more often than every 10 ms.
constexpr int kMinTimerPeriod = 10;

}  // namespace

class TestScheduler::Context final : public WorkerContext {
public:
    Context(TestScheduler& scheduler, Worker& worker) : scheduler_(scheduler), worker_(worker) {}

    bool CallOnUi(const std::function<void()>& call) override {
        std::unique_lock lock(scheduler_.mutex_);
        if (worker_.stop) return false;
        UiCall pending{&worker_, &call};
        scheduler_.calls_.push_back(&pending);
        worker_.state = WorkerState::WaitingUi;
        scheduler_.changed_.notify_all();
        scheduler_.changed_.wait(lock, [&] { return pending.done; });
        return pending.ran;
    }

    bool Sleep(int milliseconds) override {
        std::unique_lock lock(scheduler_.mutex_);
        if (worker_.stop) return false;
        worker_.wake = scheduler_.now_ + std::max(milliseconds, 0);
        worker_.state = WorkerState::Sleeping;
        scheduler_.changed_.notify_all();
        scheduler_.changed_.wait(lock, [&] {
            return worker_.stop || worker_.state == WorkerState::Running;
        });
        return !worker_.stop;
    }

    bool StopRequested() const override {
        std::lock_guard lock(scheduler_.mutex_);
        return worker_.stop;
    }

private:
    TestScheduler& scheduler_;
    Worker& worker_;
};

TestScheduler::TestScheduler(TimerHandler onTimer, FailureHandler onFailure)
    : onTimer_(std::move(onTimer)), onFailure_(std::move(onFailure)) {}

TestScheduler::~TestScheduler() {
    {
        std::lock_guard lock(mutex_);
        for (Worker& worker : workers_) worker.stop = true;
        for (UiCall* call : calls_) call->done = true;
        calls_.clear();
        changed_.notify_all();
    }
    for (Worker& worker : workers_) {
        if (worker.thread.joinable()) worker.thread.join();
    }
}

std::int64_t TestScheduler::Now() const {
    std::lock_guard lock(mutex_);
    return now_;
}

void TestScheduler::SetTimer(TestSession* session, int timerId, int periodMs) {
    const int period = std::max(periodMs, kMinTimerPeriod);
    const std::int64_t due = Now() + period;
    for (Timer& timer : timers_) {
        if (timer.session == session && timer.id == timerId) {
            timer.period = period;
            timer.due = due;
            timer.order = ++timerOrder_;
            return;
        }
    }
    timers_.push_back({session, timerId, period, due, ++timerOrder_});
}

void TestScheduler::KillTimer(TestSession* session, int timerId) {
    std::erase_if(timers_, [&](const Timer& timer) {
        return timer.session == session && timer.id == timerId;
    });
}

void TestScheduler::RemoveTimers(TestSession* session) {
    std::erase_if(timers_, [&](const Timer& timer) { return timer.session == session; });
}

bool TestScheduler::HasTimer(const TestSession* session, int timerId) const {
    return std::any_of(timers_.begin(), timers_.end(), [&](const Timer& timer) {
        return timer.session == session && timer.id == timerId;
    });
}

bool TestScheduler::StartWorker(TestSession* session, WorkerBody body) {
    std::lock_guard lock(mutex_);
    if (failStarts_) return false;
    Worker& worker = workers_.emplace_back();
    worker.session = session;
    worker.thread = std::thread([this, &worker, work = std::move(body)] {
        Context context(*this, worker);
        if (work) work(context);
        std::lock_guard done(mutex_);
        worker.state = WorkerState::Done;
        changed_.notify_all();
    });
    return true;
}

void TestScheduler::StopWorkers(TestSession* session) {
    {
        std::lock_guard lock(mutex_);
        for (Worker& worker : workers_) {
            if (worker.session == session) worker.stop = true;
        }
        std::erase_if(calls_, [&](UiCall* call) {
            if (call->worker->session != session) return false;
            call->done = true;
            return true;
        });
        changed_.notify_all();
    }
    for (Worker& worker : workers_) {
        if (worker.session == session && worker.thread.joinable()) worker.thread.join();
    }
    std::lock_guard lock(mutex_);
    workers_.remove_if([&](const Worker& worker) { return worker.session == session; });
}

int TestScheduler::LiveWorkers(const TestSession* session) const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(std::count_if(workers_.begin(), workers_.end(), [&](const Worker& w) {
        return w.session == session && w.state != WorkerState::Done;
    }));
}

bool TestScheduler::AnyRunningLocked() const {
    return std::any_of(workers_.begin(), workers_.end(), [](const Worker& worker) {
        return !worker.stop && worker.state == WorkerState::Running;
    });
}

void TestScheduler::ReleaseDueSleepersLocked() {
    bool released = false;
    for (Worker& worker : workers_) {
        if (!worker.stop && worker.state == WorkerState::Sleeping && worker.wake <= now_) {
            worker.state = WorkerState::Running;
            released = true;
        }
    }
    if (released) changed_.notify_all();
}

void TestScheduler::Settle() {
    const auto limit = std::chrono::steady_clock::now() + kSettleLimit;
    std::unique_lock lock(mutex_);
    for (;;) {
        ReleaseDueSleepersLocked();
        if (!changed_.wait_until(lock, limit, [&] { return !AnyRunningLocked(); })) {
            lock.unlock();
            onFailure_("a worker thread did not come to rest within 10 s");
            return;
        }
        if (calls_.empty()) {
            bool dueSleeper = false;
            for (const Worker& worker : workers_) {
                dueSleeper = dueSleeper || (!worker.stop && worker.state == WorkerState::Sleeping &&
                                            worker.wake <= now_);
            }
            if (!dueSleeper) return;
            continue;
        }
        UiCall* call = calls_.front();
        calls_.pop_front();
        lock.unlock();
        (*call->call)();
        lock.lock();
        call->ran = true;
        call->done = true;
        call->worker->state = WorkerState::Running;
        changed_.notify_all();
    }
}

void TestScheduler::FireEarliestTimer() {
    auto earliest = std::min_element(timers_.begin(), timers_.end(), [](const Timer& a, const Timer& b) {
        return a.due != b.due ? a.due < b.due : a.order < b.order;
    });
    if (earliest == timers_.end()) return;
    earliest->due += earliest->period;
    TestSession* session = earliest->session;
    const int id = earliest->id;
    onTimer_(session, id);
}

bool TestScheduler::RunUntil(const std::function<bool()>& done, std::int64_t deadline) {
    constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();
    for (int events = 0; events < kMaxEventsPerRun; ++events) {
        Settle();
        if (done()) return true;
        std::int64_t nextWake = kNever;
        {
            std::lock_guard lock(mutex_);
            for (const Worker& worker : workers_) {
                if (!worker.stop && worker.state == WorkerState::Sleeping) {
                    nextWake = std::min(nextWake, worker.wake);
                }
            }
        }
        std::int64_t nextTimer = kNever;
        for (const Timer& timer : timers_) nextTimer = std::min(nextTimer, timer.due);
        const std::int64_t next = std::min(nextWake, nextTimer);
        if (next == kNever || next > deadline) {
            {
                std::lock_guard lock(mutex_);
                now_ = std::max(now_, deadline);
            }
            Settle();
            return done();
        }
        {
            std::lock_guard lock(mutex_);
            now_ = std::max(now_, next);
        }
        // Sleepers due now wake first (the next Settle releases them); then the timer.
        if (nextWake <= nextTimer) continue;
        FireEarliestTimer();
    }
    onFailure_("virtual time ran more than a million events without reaching its goal");
    return done();
}

void TestScheduler::Advance(std::int64_t milliseconds) {
    RunUntil([] { return false; }, Now() + std::max<std::int64_t>(milliseconds, 0));
}

}  // namespace ofu::ui
