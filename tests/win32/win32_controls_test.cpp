// The Win32 surface over the real controls, and the workers that call into a dialog.
#include <atomic>
#include <chrono>
#include <thread>

#include "ui/dialog_manager.h"
#include "ui/win32/win32_text.h"
#include "ui/win32/win32_worker_pool.h"
#include "win32_fixture.h"

namespace ofu::ui {
namespace {

class Win32ControlsTest : public Win32Fixture {
protected:
    Win32ControlsTest() : open(backend->Open(main)) {}
    void SetUp() override { ASSERT_TRUE(open.IsOpen()); }
    Dialog main{kMainDialogId};
    Win32OpenDialog open;
    DialogSurface& surface = main.Surface();
};

TEST_F(Win32ControlsTest, ReportListColumnsRowsCellsAndSelection) {
    surface.InsertColumn(1000, 0, "Name", 94);
    surface.InsertColumn(1000, 1, "Netmask", 81);
    surface.InsertColumn(1000, 1, "IP", 80);  // before Netmask
    EXPECT_EQ(SendMessageW(Item(1000), LVM_GETCOLUMNWIDTH, 1, 0), 80);
    EXPECT_EQ(SendMessageW(Item(1000), LVM_GETCOLUMNWIDTH, 2, 0), 81);
    for (int i = 0; i < 30; ++i) {
        const int row = surface.InsertRow(1000, i, "NAS" + std::to_string(i));
        surface.SetCellText(1000, row, 1, "10.77.0." + std::to_string(i));
    }
    EXPECT_EQ(surface.InsertRow(1000, 99, "last"), 30) << "a row past the end is appended";
    EXPECT_EQ(surface.RowCount(1000), 31);
    EXPECT_EQ(surface.GetCellText(1000, 7, 1), "10.77.0.7");
    EXPECT_EQ(surface.GetCellText(1000, 7, 0), "NAS7");
    const std::string longName(700, 'n');
    surface.SetCellText(1000, 8, 0, longName);
    EXPECT_EQ(surface.GetCellText(1000, 8, 0), longName);

    surface.SelectRow(1000, 2);
    EXPECT_TRUE(surface.IsRowSelected(1000, 2));
    surface.SelectRow(1000, 3);
    EXPECT_FALSE(surface.IsRowSelected(1000, 2)) << "one row at a time";
    EXPECT_EQ(surface.FirstVisibleRow(1000), 0);
    SendMessageW(Item(1000), LVM_ENSUREVISIBLE, 30, FALSE);
    EXPECT_GT(surface.FirstVisibleRow(1000), 3);
    surface.SelectRow(1000, -1);
    EXPECT_FALSE(surface.IsRowSelected(1000, 3));
    surface.DeleteAllRows(1000);
    EXPECT_EQ(surface.RowCount(1000), 0);
}

TEST_F(Win32ControlsTest, DropDownListsStartEmptyAndSortLikeTheOtherBackends) {
    EXPECT_EQ(surface.GetCurSel(1015), -1);
    EXPECT_EQ(surface.GetItemText(1015), "");
    EXPECT_EQ(surface.AddString(1015, "automatic"), 0);
    EXPECT_EQ(surface.AddString(1015, "Enable"), 3) << "after the equal item, ignoring case";
    EXPECT_EQ(surface.GetCurSel(1015), -1) << "adding an item selects nothing";
    EXPECT_EQ(surface.AddString(1013, "Z:"), 0);
    EXPECT_EQ(surface.AddString(1013, "A:"), 1) << "the drive list keeps arrival order";
    EXPECT_EQ(surface.SetCurSel(1015, 1), 1);
    EXPECT_EQ(surface.GetItemText(1015), "Disable");
    EXPECT_EQ(surface.SetCurSel(1015, 7), -1);
}

TEST_F(Win32ControlsTest, AddressBoxesFieldsAndBlanks) {
    EXPECT_TRUE(surface.IsAddressBlank(1006));
    EXPECT_EQ(surface.GetItemText(1006), "");
    surface.SetAddress(1010, {255, 255, 255, 252});
    EXPECT_EQ(surface.GetItemText(1010), "255.255.255.252");
    surface.SetItemText(1006, "10..7");  // the second field stays blank
    const AddressFields partial = surface.GetAddress(1006);
    EXPECT_EQ(partial.nonBlank, 2);
    EXPECT_EQ(partial.values, (std::array<int, 4>{10, 0, 7, 0}));
    surface.ClearAddress(1010);
    EXPECT_TRUE(surface.IsAddressBlank(1010));
}

TEST_F(Win32ControlsTest, TextsLimitsRadiosAndTheAnsiCodePage) {
    Dialog login(kLoginDialogId);
    Win32OpenDialog window = backend->Open(login);
    ASSERT_TRUE(window.IsOpen());
    DialogSurface& fields = login.Surface();
    fields.SetItemText(1016, "a-name-of-twenty-chars");
    fields.SetTextLimit(1016, 16);
    EXPECT_EQ(fields.GetItemText(1016), "a-name-of-twenty");
    SendMessageW(window.Window()->Control(1016)->hwnd, WM_CHAR, 'x', 1);
    EXPECT_EQ(fields.GetItemText(1016), "a-name-of-twenty") << "a seventeenth character is refused";
    // A text in the ANSI code page (as the volume names are shown) comes back byte for byte.
    const std::string ansi = win32::Narrow(L"Vol\u00e9");
    fields.SetItemText(1017, ansi);
    EXPECT_EQ(fields.GetItemText(1017), ansi);

    Dialog models(kModelSelectDialogId);
    Win32OpenDialog chooser = backend->Open(models);
    ASSERT_TRUE(chooser.IsOpen());
    EXPECT_EQ(CheckedRadioIndex(models, 1028), -1);
    models.Surface().SetChecked(1029, true);
    models.Surface().SetChecked(1030, true);
    EXPECT_EQ(CheckedRadioIndex(models, 1028), 2) << "checking one unchecks its group";
}

constexpr int kBar = 1023;

// A worker that steps the progress bar through calls into the dialog, with or without pauses,
// while a timer (if asked for) ends the dialog long before the worker is done. The timer's
// handler goes on for a while after ending the dialog, so the worker is waiting in a call when
// the run ends.
class BusyWorkerDialog : public Dialog {
public:
    BusyWorkerDialog(int pauseMs, int endAfterMs) : Dialog(kRestartDialogId), pauseMs_(pauseMs), endAfterMs_(endAfterMs) {}
    std::atomic<int> steps{0};
    std::atomic<int> refused{0};
    std::atomic<bool> finished{false};

    bool OnInitDialog() override {
        Surface().StartWorker([this](WorkerContext& worker) {
            worker.CallOnUi([this] {
                Surface().SetProgressRange(kBar, 1, 100);
                Surface().SetProgressStep(kBar, 1);
            });
            for (int i = 0; i < 5000; ++i) {
                // Counted on the user-interface thread, so the count always matches the bar.
                if (!worker.CallOnUi([this] {
                        Surface().StepProgress(kBar);
                        ++steps;
                    })) {
                    ++refused;
                }
                if (pauseMs_ > 0) worker.Sleep(pauseMs_);
            }
            finished = true;
        });
        if (endAfterMs_ > 0) Surface().SetTimer(1, endAfterMs_);
        return true;
    }
    void OnOK() override {}
    void OnCancel() override {}
    void OnTimer(int timerId) override {
        Surface().KillTimer(timerId);
        EndDialog(kIdCancel);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }

private:
    int pauseMs_;
    int endAfterMs_;
};

TEST_F(Win32Fixture, WorkersAreReleasedAndJoinedWhenTheDialogEnds) {
    for (int pause : {0, 20}) {
        SCOPED_TRACE(pause);
        BusyWorkerDialog restart(pause, 200);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(restart.DoModal(), kIdCancel);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5))
            << "a sleeping worker is woken, a blocked one released";
        EXPECT_TRUE(restart.finished);
        EXPECT_GT(restart.steps, 0);
        EXPECT_EQ(restart.steps + restart.refused, 5000);
    }
    // With no thread to spare the worker is refused and not counted, so stopping does not wait
    // for it for ever.
    Win32WorkerPool refusing([](std::vector<std::thread>&, std::function<void()>) { return false; });
    refusing.SetTarget(reinterpret_cast<void*>(1));
    EXPECT_FALSE(refusing.Start([](WorkerContext&) {}));
    EXPECT_EQ(refusing.Running(), 0);
    refusing.StopAndJoin();
}

TEST_F(Win32Fixture, WorkerStepsTheProgressBarWithWrapAround) {
    BusyWorkerDialog restart(0, 0);
    Win32OpenDialog open = backend->Open(restart);
    ASSERT_TRUE(open.IsOpen());
    for (int i = 0; i < 500 && restart.steps < 150; ++i) backend->PumpMessages(10);
    ASSERT_GE(restart.steps, 150);
    // No call runs until this thread turns its loop again, so the count is stable here.
    int expected = 1 + restart.steps;
    while (expected > 100) expected -= 99;
    const HWND bar = open.Window()->Control(kBar)->hwnd;
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, TRUE, 0), 1);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), expected);
    EXPECT_EQ(restart.Surface().GetProgressPos(kBar), expected);
    open.Close();
    EXPECT_TRUE(restart.finished);
    EXPECT_FALSE(restart.IsOpen());
}

}  // namespace
}  // namespace ofu::ui
