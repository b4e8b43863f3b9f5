// "The system is restarting. Please wait a moment.": 90 seconds with a progress bar that a
// worker fills in 99 steps of 900 ms while the device restarts. The dialog closes when its
// 90-second timer has fired and the worker has finished, whichever comes later, so the worker
// never steps a bar that is gone and RestartOutcome is 0 when the caller reads it. Enter and
// Escape do nothing.
#pragma once

#include "ui/dialog.h"

namespace ofu {

// The restart as the user sees it: 99 steps of 900 ms within 90 seconds.
inline constexpr int kRestartSteps = 99;
inline constexpr int kRestartStepMillis = 900;
inline constexpr int kRestartMillis = 90000;

class RestartDialog final : public ui::Dialog {
public:
    RestartDialog();

    bool OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnTimer(int timerId) override;

private:
    // Runs on the worker thread; every touch of the bar and of RestartOutcome is a synchronous
    // call into the user-interface thread.
    void RestartProgressWorker(ui::WorkerContext& worker);
    void CloseWhenBothDone();

    bool timerFired_ = false;
    bool workerDone_ = false;
};

}  // namespace ofu
