// What a worker thread of a dialog may do: call into the dialog on the user-interface thread and
// wait for the call, pause, and notice that the dialog is ending.
#pragma once

#include <functional>
#include <thread>
#include <vector>

namespace ofu::ui {

class WorkerContext {
public:
    virtual ~WorkerContext() = default;

    // Runs `call` on the user-interface thread and waits until it has run. Returns false, without
    // running it, once the dialog has ended and its workers are being stopped.
    virtual bool CallOnUi(const std::function<void()>& call) = 0;

    // Pauses the worker for `milliseconds`. Returns false at once, or as soon as it happens,
    // when the dialog asks its workers to stop.
    virtual bool Sleep(int milliseconds) = 0;

    virtual bool StopRequested() const = 0;
};

using WorkerBody = std::function<void(WorkerContext&)>;

// Starts `run` on a new thread kept in `threads`; false when the system gave no thread. The
// dialogs' worker pools start their threads through it, and tests replace it with one that
// fails.
using ThreadStarter = std::function<bool(std::vector<std::thread>& threads, std::function<void()> run)>;
bool StartThread(std::vector<std::thread>& threads, std::function<void()> run);

}  // namespace ofu::ui
