// What a worker thread of a dialog may do: call into the dialog on the user-interface thread and
// wait for the call, pause, and notice that the dialog is ending.
#pragma once

#include <functional>

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

}  // namespace ofu::ui
