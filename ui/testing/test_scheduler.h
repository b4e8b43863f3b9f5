// Virtual time for the test backend: window timers fire when a test advances the clock, and
// worker threads sleep on the same clock. Between two steps every worker is brought to rest
// (sleeping, waiting for a call into the dialog, or finished), and the calls they wait for run
// on the test's own thread, so a run is repeatable.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ui/worker_context.h"

namespace ofu::ui {

struct TestSession;

class TestScheduler {
public:
    using TimerHandler = std::function<void(TestSession* session, int timerId)>;
    using FailureHandler = std::function<void(std::string)>;

    TestScheduler(TimerHandler onTimer, FailureHandler onFailure);
    ~TestScheduler();
    TestScheduler(const TestScheduler&) = delete;
    TestScheduler& operator=(const TestScheduler&) = delete;

    std::int64_t Now() const;

    void SetTimer(TestSession* session, int timerId, int periodMs);
    void KillTimer(TestSession* session, int timerId);
    void RemoveTimers(TestSession* session);
    bool HasTimer(const TestSession* session, int timerId) const;

    // False, and nothing started, while failing starts are set (as a system without threads
    // to spare).
    bool StartWorker(TestSession* session, WorkerBody body);
    void SetWorkerStartsFail(bool fail) { failStarts_ = fail; }
    // Tells the session's workers to stop, drops their pending calls and waits for them.
    void StopWorkers(TestSession* session);
    int LiveWorkers(const TestSession* session) const;

    // Runs the pending worker calls until every worker is at rest.
    void Settle();
    // Runs timers and worker wake-ups in time order until `done` holds or the next event lies
    // past `deadline`; the clock then stands at `deadline` unless `done` held earlier.
    bool RunUntil(const std::function<bool()>& done, std::int64_t deadline);
    void Advance(std::int64_t milliseconds);

private:
    enum class WorkerState { Running, Sleeping, WaitingUi, Done };
    struct Worker {
        TestSession* session = nullptr;
        std::thread thread;
        WorkerState state = WorkerState::Running;
        std::int64_t wake = 0;
        bool stop = false;
    };
    struct UiCall {
        Worker* worker = nullptr;
        const std::function<void()>* call = nullptr;
        bool done = false;
        bool ran = false;
    };
    struct Timer {
        TestSession* session = nullptr;
        int id = 0;
        int period = 0;
        std::int64_t due = 0;
        std::uint64_t order = 0;
    };
    class Context;

    bool AnyRunningLocked() const;
    void ReleaseDueSleepersLocked();
    void FireEarliestTimer();

    TimerHandler onTimer_;
    FailureHandler onFailure_;

    mutable std::mutex mutex_;
    bool failStarts_ = false;
    std::condition_variable changed_;
    std::int64_t now_ = 0;
    std::list<Worker> workers_;
    std::deque<UiCall*> calls_;

    std::vector<Timer> timers_;  // touched on the test thread only
    std::uint64_t timerOrder_ = 0;
};

}  // namespace ofu::ui
