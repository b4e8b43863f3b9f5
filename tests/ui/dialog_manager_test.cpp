// The dialog manager's rules and the message table, on the test backend.
#include <gtest/gtest.h>

#include "resources/string_table.h"
#include "test_dialogs.h"
#include "ui/dialog_manager.h"
#include "ui/testing/test_backend.h"

namespace ofu::ui {
namespace {

using testdialogs::RecordingDialog;
using testdialogs::StubbornDialog;

class DialogManagerTest : public ::testing::Test {
protected:
    void TearDown() override { FreeBackend(); }
    TestBackend& ui = InstallTestBackend();
};

// The main window has no OK or Cancel button: Enter, Escape and the close box still end it.
TEST_F(DialogManagerTest, MainWindowEndsOnEnterEscapeAndCloseBox) {
    {
        RecordingDialog main(kMainDialogId);
        TestDialog window = ui.Open(main);
        EXPECT_EQ(window.Surface().FocusedItem(), 1000) << "first tab stop is the device list";
        window.PressEnter();
        EXPECT_FALSE(window.IsOpen());
        EXPECT_EQ(window.Result(), kIdOk);
        EXPECT_FALSE(main.IsOpen()) << "the surface is detached once the dialog has closed";
    }
    {
        RecordingDialog main(kMainDialogId);
        TestDialog window = ui.Open(main);
        window.Focus(1006);
        window.PressEscape();
        EXPECT_EQ(window.Result(), kIdCancel);
    }
    {
        RecordingDialog main(kMainDialogId);
        TestDialog window = ui.Open(main);
        window.PressCloseBox();
        EXPECT_EQ(main.calls, std::vector<std::string>{"close"});
        EXPECT_EQ(window.Result(), kIdCancel);
    }
    EXPECT_TRUE(ui.Failures().empty()) << ui.FailureText();
}

TEST_F(DialogManagerTest, EnterPrefersTheFocusedPushButtonAndIgnoresADisabledDefault) {
    RecordingDialog login(kLoginDialogId);
    TestDialog window = ui.Open(login);
    window.Focus(2);
    window.PressEnter();
    EXPECT_EQ(window.Result(), kIdCancel) << "Enter on the focused Cancel button";

    RecordingDialog second(kLoginDialogId);
    TestDialog other = ui.Open(second);
    second.Surface().EnableItem(kIdOk, false);
    other.Focus(1017);
    other.PressEnter();
    EXPECT_TRUE(other.IsOpen()) << "a disabled default button takes no Enter";
    second.Surface().EnableItem(kIdOk, true);
    other.PressEnter();
    EXPECT_EQ(other.Result(), kIdOk);
}

TEST_F(DialogManagerTest, DialogWhoseOkAndCancelDoNothingStaysOpen) {
    StubbornDialog loading(kLoadingDialogId);
    TestDialog window = ui.Open(loading);
    window.PressEnter();
    window.PressEscape();
    window.PressCloseBox();  // no system menu, so no close box
    EXPECT_TRUE(window.IsOpen());
    EXPECT_EQ(loading.calls, (std::vector<std::string>{"ok", "cancel"}));
}

class BoundDialog : public Dialog {
public:
    BoundDialog() : Dialog(kMainDialogId) {}
    std::vector<Notify> seen;
    int refreshes = 0;
    int oks = 0;

    void Refresh() { ++refreshes; }
    void Seen(const Notify& notify) { seen.push_back(notify); }
    void OkFromTable() { ++oks; }

protected:
    std::span<const MessageBinding> Messages() const override {
        static constexpr MessageBinding kMessages[] = {
            OnClicked<&BoundDialog::Refresh>(1002),
            OnListClick<&BoundDialog::Seen>(1000),
            OnSelectionChange<&BoundDialog::Seen>(1015),
            OnClicked<&BoundDialog::Seen>(1022),
            OnClicked<&BoundDialog::OkFromTable>(kIdOk),
        };
        return kMessages;
    }
};

TEST_F(DialogManagerTest, MessageTableRoutesNotificationsToTheirHandlers) {
    BoundDialog dialog;
    TestDialog window = ui.Open(dialog);
    DialogSurface& surface = dialog.Surface();
    surface.InsertColumn(1000, 0, "Name", 94);
    surface.InsertRow(1000, 0, "NAS1");
    surface.InsertRow(1000, 1, "NAS2");

    window.Click(1002);
    window.Click(1002);
    EXPECT_EQ(dialog.refreshes, 2);

    window.ClickRow(1000, 1);
    EXPECT_TRUE(surface.IsRowSelected(1000, 1));
    window.ClickRow(1000, -1);  // empty space below the rows
    EXPECT_FALSE(surface.IsRowSelected(1000, 1));
    ASSERT_EQ(dialog.seen.size(), 2u);
    EXPECT_EQ(dialog.seen[0].row, 1);
    EXPECT_EQ(dialog.seen[1].row, -1);
    EXPECT_EQ(dialog.seen[1].code, Notification::ListClick);

    window.ChooseItem(1015, 1);
    EXPECT_EQ(surface.GetCurSel(1015), 1);
    EXPECT_EQ(surface.GetItemText(1015), "Enable");
    EXPECT_EQ(dialog.seen.back().code, Notification::SelectionChange);

    // The hidden Language button cannot be clicked by the user, but its binding works.
    window.Click(1022);
    EXPECT_EQ(dialog.seen.size(), 3u);
    EXPECT_EQ(ui.Log().Count("Ignored: click on hidden"), 1u);
    dialog.DispatchCommand(1022);
    EXPECT_EQ(dialog.seen.size(), 4u);

    // A table entry for IDOK replaces OnOK: Enter no longer ends the dialog.
    window.PressEnter();
    EXPECT_EQ(dialog.oks, 1);
    EXPECT_TRUE(window.IsOpen());
    EXPECT_TRUE(ui.Failures().empty()) << ui.FailureText();
}

class LoginLikeDialog : public Dialog {
public:
    LoginLikeDialog() : Dialog(kLoginDialogId) {}
    bool OnInitDialog() override {
        Surface().SetItemText(1016, "admin");
        Surface().EnableItem(1016, false);
        Surface().SetTextLimit(1016, 16);
        Surface().SetTextLimit(1017, 16);
        return true;
    }
};

TEST_F(DialogManagerTest, InitialFocusSkipsControlsDisabledDuringInitialisation) {
    LoginLikeDialog login;
    TestDialog window = ui.Open(login);
    EXPECT_EQ(login.Surface().FocusedItem(), 1017);
    window.Type(1017, "0123456789abcdefXYZ");
    EXPECT_EQ(login.Surface().GetItemText(1017), "0123456789abcdef");
    window.Type(1016, "root");
    EXPECT_EQ(login.Surface().GetItemText(1016), "admin") << "a disabled edit takes no typing";
}

class AboutMenuDialog : public RecordingDialog {
public:
    AboutMenuDialog() : RecordingDialog(kMainDialogId) {}
    bool OnInitDialog() override {
        const std::string_view text = LoadStringResource(kAboutMenuStringId);
        if (Surface().HasSystemMenu() && !text.empty()) {
            Surface().AppendSystemMenuSeparator();
            Surface().AppendSystemMenuItem(kAboutSysCommand, text);
        }
        return true;
    }
};

TEST_F(DialogManagerTest, SystemMenuEntrySendsItsCommandAndCloseStillWorks) {
    AboutMenuDialog main;
    TestDialog window = ui.Open(main);
    ASSERT_EQ(window.SystemMenu().size(), 2u);
    EXPECT_EQ(window.SystemMenu()[1].text, "About Network Storage Adapter(&A)...");
    window.ChooseSystemMenu(kAboutSysCommand);
    window.ChooseSystemMenu(0x1234);  // not on the menu
    EXPECT_EQ(main.calls, std::vector<std::string>{"syscommand 16"});
    window.ChooseSystemMenu(kSysCommandMinimize);
    EXPECT_TRUE(window.IsOpen());
    window.ChooseSystemMenu(kSysCommandClose);
    EXPECT_EQ(window.Result(), kIdCancel);

    RecordingDialog bare(kDriveInUseDialogId);
    TestDialog small = ui.Open(bare);
    EXPECT_FALSE(bare.Surface().AppendSystemMenuItem(kAboutSysCommand, "x"));
}

TEST_F(DialogManagerTest, AutomaticRadioButtonsFormOneGroup) {
    RecordingDialog models(kModelSelectDialogId);
    TestDialog window = ui.Open(models);
    EXPECT_EQ(CheckedRadioIndex(models, 1028), -1);
    window.Click(1030);
    window.Click(1029);
    EXPECT_EQ(CheckedRadioIndex(models, 1028), 1);
    EXPECT_FALSE(models.Surface().IsChecked(1030));
    CheckRadioIndex(models, 1028, -1);
    EXPECT_EQ(CheckedRadioIndex(models, 1028), -1);
}

TEST_F(DialogManagerTest, CallsOnMissingControlsAreReportedNotFatal) {
    RecordingDialog about(kAboutDialogId);
    TestDialog window = ui.Open(about);
    about.Surface().SetItemText(4711, "x");
    EXPECT_EQ(about.Surface().GetItemText(4711), "");
    ASSERT_EQ(ui.Failures().size(), 2u);
    EXPECT_NE(ui.Failures()[0].find("4711"), std::string::npos);
}

TEST_F(DialogManagerTest, ClosedDialogIgnoresSurfaceCalls) {
    RecordingDialog about(kAboutDialogId);
    about.Surface().SetItemText(1, "x");
    about.EndDialog(5);
    EXPECT_FALSE(about.IsOpen());
    EXPECT_TRUE(ui.Log().Entries().empty());
}

}  // namespace
}  // namespace ofu::ui
