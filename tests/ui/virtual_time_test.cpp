// Window timers and worker threads on the test backend's virtual clock.
#include <gtest/gtest.h>

#include <atomic>

#include "test_dialogs.h"
#include "ui/testing/test_backend.h"

namespace ofu::ui {
namespace {

using testdialogs::RecordingDialog;

class VirtualTimeTest : public ::testing::Test {
protected:
    void TearDown() override { FreeBackend(); }
    TestBackend& ui = InstallTestBackend();
};

TEST_F(VirtualTimeTest, TimersFireInTimeOrderAndStopWhenKilled) {
    RecordingDialog dialog(kLoadingDialogId);
    TestDialog window = ui.Open(dialog);
    dialog.Surface().SetTimer(2, 2000);
    dialog.Surface().SetTimer(1, 750);
    ui.AdvanceTime(1999);
    EXPECT_EQ(dialog.calls, (std::vector<std::string>{"timer 1", "timer 1"}));
    ui.AdvanceTime(1);
    EXPECT_EQ(dialog.calls.back(), "timer 2");
    dialog.Surface().KillTimer(1);
    ui.AdvanceTime(5000);
    EXPECT_EQ(dialog.calls.size(), 5u) << "only timer 2 at 4000 and 6000";
    // Re-arming restarts the period from now.
    dialog.Surface().SetTimer(2, 1000);
    ui.AdvanceTime(999);
    EXPECT_EQ(dialog.calls.size(), 5u);
    ui.AdvanceTime(1);
    EXPECT_EQ(dialog.calls.size(), 6u);
}

TEST_F(VirtualTimeTest, TimersOfAClosedDialogAreGone) {
    {
        RecordingDialog dialog(kLoadingDialogId);
        TestDialog window = ui.Open(dialog);
        dialog.Surface().SetTimer(1, 100);
        dialog.EndDialog(kIdCancel);
        window.PressEnter();  // ignored; the dialog has ended
    }
    ui.AdvanceTime(1000);
    EXPECT_EQ(ui.Log().Count("Timer("), 0u);
}

constexpr int kBar = 1023;

// Steps the progress bar from a worker with calls that wait for the user-interface thread.
class ProgressDialog : public Dialog {
public:
    ProgressDialog() : Dialog(kRestartDialogId) {}
    std::atomic<int> stepsDone{0};
    std::atomic<int> refusedCalls{0};
    std::atomic<bool> finished{false};
    int steps = 99;
    int pauseMs = 900;
    bool endWhenDone = false;

    bool OnInitDialog() override {
        Surface().StartWorker([this](WorkerContext& worker) {
            worker.CallOnUi([this] {
                Surface().SetProgressRange(kBar, 1, 100);
                Surface().SetProgressStep(kBar, 1);
            });
            for (int i = 0; i < steps; ++i) {
                if (worker.CallOnUi([this] { Surface().StepProgress(kBar); })) {
                    ++stepsDone;
                } else {
                    ++refusedCalls;
                }
                worker.Sleep(pauseMs);
            }
            finished = true;
            if (endWhenDone) worker.CallOnUi([this] { EndDialog(kIdOk); });
        });
        Surface().SetTimer(1, 90000);
        return true;
    }
    void OnOK() override {}
    void OnCancel() override {}
    void OnTimer(int timerId) override {
        Surface().KillTimer(timerId);
        EndDialog(kIdCancel);
    }
};

TEST_F(VirtualTimeTest, WorkerStepsTheBarOnVirtualTimeUntilTheTimerClosesTheDialog) {
    ProgressDialog restart;
    TestDialog window = ui.Open(restart);
    EXPECT_EQ(restart.Surface().GetProgressPos(kBar), 2) << "first step at once";
    ui.AdvanceTime(900 * 10);
    EXPECT_EQ(restart.Surface().GetProgressPos(kBar), 12);
    ui.AdvanceTime(89100 - 9000);
    EXPECT_TRUE(restart.finished);
    EXPECT_EQ(restart.Surface().GetProgressPos(kBar), 100);
    EXPECT_TRUE(window.IsOpen());
    ui.AdvanceTime(900);
    EXPECT_FALSE(window.IsOpen());
    EXPECT_EQ(window.LiveWorkers(), 0);
    EXPECT_TRUE(ui.Failures().empty()) << ui.FailureText();
}

TEST_F(VirtualTimeTest, WorkerOfAClosedDialogNeverReachesItsControls) {
    ProgressDialog restart;
    restart.pauseMs = 5000;  // far too slow for the 90 s timer
    ui.Script().ExpectDialog(kRestartDialogId);
    EXPECT_EQ(restart.DoModal(), kIdCancel);
    EXPECT_EQ(ui.Now(), 90000);
    // DoModal returns only after the worker has finished; the steps after the end were refused.
    EXPECT_TRUE(restart.finished);
    EXPECT_EQ(restart.stepsDone + restart.refusedCalls, 99);
    EXPECT_EQ(restart.stepsDone, 19);
    EXPECT_EQ(ui.Log().Count("StepProgress("), 19u);
}

TEST_F(VirtualTimeTest, WorkerCanEndTheDialogWhenItIsDone) {
    ProgressDialog restart;
    restart.steps = 3;
    restart.endWhenDone = true;
    ui.Script().ExpectDialog(kRestartDialogId);
    EXPECT_EQ(restart.DoModal(), kIdOk);
    EXPECT_EQ(ui.Now(), 2700);
    EXPECT_EQ(restart.refusedCalls, 0);
}

}  // namespace
}  // namespace ofu::ui
