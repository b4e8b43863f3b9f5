// Scripted message boxes and modal child dialogs on the test backend.
#include <gtest/gtest.h>

#include "test_dialogs.h"
#include "ui/testing/test_backend.h"

namespace ofu::ui {
namespace {

int g_confirmResult = -7;  // a process-wide result word, as small dialogs write them

class ConfirmDialog : public Dialog {
public:
    ConfirmDialog() : Dialog(kDriveInUseDialogId) {}
    void OnOK() override {
        g_confirmResult = 1;
        Dialog::OnOK();
    }
    void OnCancel() override {
        g_confirmResult = 0;
        Dialog::OnCancel();
    }
};

class ParentDialog : public Dialog {
public:
    ParentDialog() : Dialog(kMainDialogId) {}
    int childResult = 0;

    void OnConnect() {
        ConfirmDialog confirm;
        childResult = confirm.DoModal();
        if (g_confirmResult == 1) {
            Surface().ShowMessage("Successfully mapped drive.", "Confirm", MessageIcon::Information);
        }
    }

protected:
    std::span<const MessageBinding> Messages() const override {
        static constexpr MessageBinding kMessages[] = {OnClicked<&ParentDialog::OnConnect>(1003)};
        return kMessages;
    }
};

class MessageScriptTest : public ::testing::Test {
protected:
    void TearDown() override { FreeBackend(); }
    TestBackend& ui = InstallTestBackend();
};

TEST_F(MessageScriptTest, ChildDialogAnsweredFromTheScriptWritesItsResultWord) {
    ParentDialog parent;
    TestDialog window = ui.Open(parent);

    ui.Script()
        .ExpectDialog(kDriveInUseDialogId, [](TestDialog& d) { d.Click(kIdOk); })
        .ExpectMessage("Successfully mapped drive.", "Confirm", MessageIcon::Information);
    window.Click(1003);
    EXPECT_EQ(parent.childResult, kIdOk);
    EXPECT_EQ(g_confirmResult, 1);

    ui.Script().ExpectDialog(kDriveInUseDialogId, [](TestDialog& d) { d.PressEscape(); });
    window.Click(1003);
    EXPECT_EQ(parent.childResult, kIdCancel);
    EXPECT_EQ(g_confirmResult, 0);

    EXPECT_TRUE(ui.Script().Empty());
    EXPECT_EQ(ui.Messages().size(), 1u);
    EXPECT_TRUE(ui.Failures().empty()) << ui.FailureText();
    EXPECT_TRUE(window.IsOpen());
}

TEST_F(MessageScriptTest, UnscriptedDialogIsRefusedAndReported) {
    ConfirmDialog confirm;
    g_confirmResult = -7;
    EXPECT_EQ(confirm.DoModal(), -1);
    EXPECT_EQ(g_confirmResult, -7) << "no handler of an unscripted dialog runs";
    ASSERT_EQ(ui.Failures().size(), 1u);
    EXPECT_NE(ui.Failures()[0].find("229"), std::string::npos);

    ui.Script().ExpectMessage("first");
    EXPECT_EQ(confirm.DoModal(), -1) << "a dialog where the script expects a message";
    EXPECT_EQ(ui.Script().Remaining(), 1u);
}

TEST_F(MessageScriptTest, MessagesAreComparedWithTheScriptAndAnswered) {
    ui.Script()
        .ExpectMessage("Please select a device.", "Error", MessageIcon::Error)
        .ExpectMessage("Please check hard drives.", kApplicationTitle.data(), MessageIcon::None, 7);
    EXPECT_EQ(ShowMessage("Please select a device.", "Error", MessageIcon::Error), kIdOk);
    EXPECT_EQ(ShowMessage("Please check hard drives."), 7) << "default caption and script answer";
    EXPECT_TRUE(ui.Failures().empty()) << ui.FailureText();

    ui.Script().ExpectMessage("Please select a device.", "Error", MessageIcon::Error);
    ShowMessage("Please select a device.", "Warning", MessageIcon::Warning);
    EXPECT_EQ(ui.Failures().size(), 1u) << "caption and icon differ";

    ShowMessage("not in the script");
    EXPECT_EQ(ui.Failures().size(), 1u) << "lenient by default";
    ui.SetStrictMessages(true);
    ShowMessage("not in the script");
    EXPECT_EQ(ui.Failures().size(), 2u);
}

class SelfClosingDialog : public Dialog {
public:
    SelfClosingDialog() : Dialog(kLoadingDialogId) {}
    bool OnInitDialog() override {
        Surface().SetTimer(1, 2000);
        return true;
    }
    void OnOK() override {}
    void OnCancel() override {}
    void OnTimer(int timerId) override {
        Surface().KillTimer(timerId);
        ShowMessage("Please check hard drives.");
        EndDialog(kIdCancel);
    }
};

TEST_F(MessageScriptTest, ScriptedDialogThatEndsOnATimerRunsOnVirtualTime) {
    ui.Script()
        .ExpectDialog(kLoadingDialogId, [](TestDialog& d) {
            d.PressEnter();  // does nothing here
            EXPECT_TRUE(d.IsOpen());
        })
        .ExpectMessage("Please check hard drives.");
    SelfClosingDialog loading;
    EXPECT_EQ(loading.DoModal(), kIdCancel);
    EXPECT_EQ(ui.Now(), 2000);
    EXPECT_TRUE(ui.Failures().empty()) << ui.FailureText();
}

TEST_F(MessageScriptTest, DialogThatNeverEndsIsReportedInsteadOfHanging) {
    ui.Script().ExpectDialog(kLoadingDialogId);
    testdialogs::StubbornDialog stuck(kLoadingDialogId);
    EXPECT_EQ(stuck.DoModal(), -1);
    ASSERT_EQ(ui.Failures().size(), 1u);
    EXPECT_NE(ui.Failures()[0].find("still open"), std::string::npos);
}

class NestingDialog : public Dialog {
public:
    explicit NestingDialog(int depth) : Dialog(kLoginDialogId), depth_(depth) {}
    void OnOK() override {
        if (depth_ > 0) {
            NestingDialog inner(depth_ - 1);
            inner.DoModal();
        }
        Dialog::OnOK();
    }

private:
    int depth_;
};

TEST_F(MessageScriptTest, NestedChildrenTakeTheirEntriesInOrder) {
    std::vector<std::string> seen;
    auto typeAndOk = [&seen](std::string name) {
        return [&seen, name](TestDialog& d) {
            d.Type(1017, name);
            seen.push_back(d.Owner().Surface().GetItemText(1017));
            d.Click(kIdOk);
        };
    };
    ui.Script()
        .ExpectDialog(kLoginDialogId, typeAndOk("outer"))
        .ExpectDialog(kLoginDialogId, typeAndOk("inner"));
    NestingDialog outer(1);
    EXPECT_EQ(outer.DoModal(), kIdOk);
    EXPECT_EQ(seen, (std::vector<std::string>{"outer", "inner"}));
    EXPECT_TRUE(ui.Script().Empty());
    EXPECT_TRUE(ui.Failures().empty()) << ui.FailureText();
}

}  // namespace
}  // namespace ofu::ui
