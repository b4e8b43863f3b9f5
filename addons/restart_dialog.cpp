#include "addons/restart_dialog.h"

#include "addons/addon_state.h"
#include "resources/control_ids.h"
#include "resources/resource_ids.h"

namespace ofu {
namespace {

constexpr int kProgressBar = ids::kRestartProgress;
constexpr int kRestartTimer = 1;

}  // namespace

RestartDialog::RestartDialog() : ui::Dialog(ui::kRestartDialogId) {}

bool RestartDialog::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    // Without a worker thread the bar stands still and the dialog closes on its timer alone,
    // the wait having run its whole length all the same.
    if (!Surface().StartWorker([this](ui::WorkerContext& worker) { RestartProgressWorker(worker); })) {
        workerDone_ = true;
        AddOnState.RestartOutcome = 0;
    }
    Surface().SetTimer(kRestartTimer, kRestartMillis);
    return true;
}

void RestartDialog::RestartProgressWorker(ui::WorkerContext& worker) {
    if (!worker.CallOnUi([this] {
            Surface().SetProgressRange(kProgressBar, 1, 100);
            Surface().SetProgressStep(kProgressBar, 1);
        }))
        return;
    for (int step = 0; step < kRestartSteps; ++step) {
        if (!worker.CallOnUi([this] { Surface().StepProgress(kProgressBar); })) return;
        if (!worker.Sleep(kRestartStepMillis)) return;
    }
    worker.CallOnUi([this] {
        AddOnState.RestartOutcome = 0;
        workerDone_ = true;
        CloseWhenBothDone();
    });
}

void RestartDialog::OnTimer(int timerId) {
    if (timerId != kRestartTimer) return;
    Surface().KillTimer(kRestartTimer);
    timerFired_ = true;
    CloseWhenBothDone();
}

void RestartDialog::CloseWhenBothDone() {
    if (timerFired_ && workerDone_) ui::Dialog::OnCancel();
}

}  // namespace ofu
