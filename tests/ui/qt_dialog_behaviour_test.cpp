// The Qt backend runs dialogs modally with the dialog manager's rules, window timers, the
// emulated system menu, message boxes and worker threads.
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <atomic>

#include "qt_fixture.h"
#include "resources/string_table.h"
#include "ui/dialog_manager.h"
#include "ui/qt/qt_worker_pool.h"

namespace ofu::ui {
namespace {

class KeyedDialog : public Dialog {
public:
    explicit KeyedDialog(int templateId) : Dialog(templateId) {}
    std::vector<unsigned> commands;
    void OnSysCommand(unsigned command) override {
        commands.push_back(command);
        Dialog::OnSysCommand(command);
    }
};

void PressOnFocus(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    if (target == nullptr) target = QApplication::activeModalWidget();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, key, modifiers);
}

TEST_F(QtFixture, EnterAndEscapeEndAModalDialog) {
    KeyedDialog login(kLoginDialogId);
    Later(50, [] { PressOnFocus(Qt::Key_Return); });
    EXPECT_EQ(login.DoModal(), kIdOk);
    EXPECT_FALSE(login.IsOpen());

    Later(50, [] { PressOnFocus(Qt::Key_Escape); });
    EXPECT_EQ(login.DoModal(), kIdCancel);

    // The main window has no OK button: Enter in its device list still ends it.
    KeyedDialog main(kMainDialogId);
    Later(50, [&main] {
        EXPECT_EQ(main.Surface().FocusedItem(), 1000);
        PressOnFocus(Qt::Key_Enter, Qt::KeypadModifier);
    });
    EXPECT_EQ(main.DoModal(), kIdOk);
}

TEST_F(QtFixture, EnterOnAFocusedButtonClicksThatButton) {
    KeyedDialog login(kLoginDialogId);
    Later(50, [&login] {
        login.Surface().SetFocusTo(kIdCancel);
        PressOnFocus(Qt::Key_Return);
    });
    EXPECT_EQ(login.DoModal(), kIdCancel);
}

TEST_F(QtFixture, CloseBoxSendsCancel) {
    KeyedDialog login(kLoginDialogId);
    Later(50, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_EQ(login.DoModal(), kIdCancel);
}

// OK and Cancel do nothing: only the timer ends the dialog.
class TimedDialog : public Dialog {
public:
    TimedDialog() : Dialog(kLoadingDialogId) {}
    int fired = 0;
    bool OnInitDialog() override {
        Surface().SetTimer(2, 150);
        return true;
    }
    void OnOK() override {}
    void OnCancel() override {}
    void OnTimer(int timerId) override {
        ++fired;
        Surface().KillTimer(timerId);
        EndDialog(timerId == 2 ? 7 : -1);
    }
};

TEST_F(QtFixture, TimerEndsADialogThatIgnoresEnterAndEscape) {
    TimedDialog loading;
    Later(30, [] {
        PressOnFocus(Qt::Key_Return);
        PressOnFocus(Qt::Key_Escape);
        QApplication::activeModalWidget()->close();
    });
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(loading.DoModal(), 7);
    EXPECT_GE(clock.elapsed(), 150);
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_EQ(loading.fired, 1);
}

class AboutEntryDialog : public KeyedDialog {
public:
    AboutEntryDialog() : KeyedDialog(kMainDialogId) {}
    bool OnInitDialog() override {
        Surface().AppendSystemMenuSeparator();
        Surface().AppendSystemMenuItem(kAboutSysCommand, LoadStringResource(kAboutMenuStringId));
        return true;
    }
};

QAction* FindAction(QMenu& menu, const QString& text) {
    for (QAction* action : menu.actions()) {
        if (action->text() == text) return action;
    }
    return nullptr;
}

TEST_F(QtFixture, AltSpaceOpensTheSystemMenuWithTheAboutEntry) {
    AboutEntryDialog main;
    const QString entry = QStringLiteral("About Network Storage Adapter(&A)...");
    Later(50, [&] {
        PressOnFocus(Qt::Key_Space, Qt::AltModifier);  // the menu's own loop runs from here
    });
    Later(150, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr) << "Alt+Space opened no menu";
        QAction* about = FindAction(*menu, entry);
        ASSERT_NE(about, nullptr);
        menu->close();
        about->trigger();
    });
    Later(300, [&] {
        // A right click on the background opens the same menu; choose Close from it.
        QtDialogWindow* window = qt->FrontWindow();
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(2, window->height() - 2),
                                window->mapToGlobal(QPoint(2, window->height() - 2)));
        Later(100, [] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr) << "a right click on the background opened no menu";
            QAction* close = FindAction(*menu, QStringLiteral("&Close\tAlt+F4"));
            ASSERT_NE(close, nullptr);
            menu->close();
            close->trigger();
        });
        QApplication::sendEvent(window, &click);
    });
    EXPECT_EQ(main.DoModal(), kIdCancel);
    EXPECT_EQ(main.commands, (std::vector<unsigned>{kAboutSysCommand, kSysCommandClose}));
}

TEST_F(QtFixture, DialogWithoutSystemMenuHasNoCloseBoxAndNoMenu) {
    KeyedDialog bare(kDriveInUseDialogId);
    QtOpenDialog open = qt->Open(bare);
    EXPECT_FALSE(open.Window().windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(bare.Surface().AppendSystemMenuItem(kAboutSysCommand, "x"));
    KeyedDialog main(kMainDialogId);
    QtOpenDialog window = qt->Open(main);
    EXPECT_TRUE(window.Window().windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(window.Window().windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
}

TEST_F(QtFixture, RealMessageBoxHasTheRequestedIconCaptionAndText) {
    qt->SetMessageHook({});
    QString seenTitle;
    QString seenText;
    QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
    Later(50, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seenTitle = box->windowTitle();
        seenText = box->text();
        seenIcon = box->icon();
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(ShowMessage("Please check hard drives."), kIdOk);
    EXPECT_EQ(seenTitle, QStringLiteral("Ostrel Ferrow Utility"));
    EXPECT_EQ(seenText, QStringLiteral("Please check hard drives."));
    EXPECT_EQ(seenIcon, QMessageBox::NoIcon);

    Later(50, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seenIcon = box->icon();
        box->button(QMessageBox::Ok)->click();
    });
    ShowMessage("Please select a device.", "Error", MessageIcon::Error);
    EXPECT_EQ(seenIcon, QMessageBox::Critical);
}

TEST_F(QtFixture, MessageHookAnswersInsteadOfAMessageBox) {
    KeyedDialog about(kAboutDialogId);
    QtOpenDialog open = qt->Open(about);
    about.Surface().ShowMessage("Successfully mapped drive.", "Confirm", MessageIcon::Information);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "Confirm");
    EXPECT_EQ(messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(messages[0].ownerTemplateId, kAboutDialogId);
}

class ChildRunningDialog : public Dialog {
public:
    ChildRunningDialog() : Dialog(kMainDialogId) {}
    int childResult = 0;
    void RunChild() {
        Dialog child(kDriveInUseDialogId);
        childResult = child.DoModal();
        EndDialog(kIdOk);
    }

protected:
    std::span<const MessageBinding> Messages() const override {
        static constexpr MessageBinding kMessages[] = {OnClicked<&ChildRunningDialog::RunChild>(1003)};
        return kMessages;
    }
};

TEST_F(QtFixture, ModalChildRunsInsideAHandlerAndReturnsItsResult) {
    ChildRunningDialog main;
    Later(50, [&main, this] {
        Later(100, [] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            EXPECT_EQ(modal->windowTitle(), QString());  // the child, with its empty title bar
            PressOnFocus(Qt::Key_Escape);
        });
        auto* connect = qobject_cast<QPushButton*>(qt->FrontWindow()->Control(1003)->widget);
        ASSERT_NE(connect, nullptr);
        connect->click();
    });
    EXPECT_EQ(main.DoModal(), kIdOk);
    EXPECT_EQ(main.childResult, kIdCancel);
}

constexpr int kBar = 1023;

// A worker that steps the progress bar through blocking calls into the dialog, with or without
// pauses, while a timer closes the dialog long before the worker is done.
class BusyWorkerDialog : public Dialog {
public:
    explicit BusyWorkerDialog(int pauseMs) : Dialog(kRestartDialogId), pauseMs_(pauseMs) {}
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
        Surface().SetTimer(1, 200);
        return true;
    }
    void OnOK() override {}
    void OnCancel() override {}
    void OnTimer(int timerId) override {
        Surface().KillTimer(timerId);
        EndDialog(kIdCancel);
    }

private:
    int pauseMs_;
};

TEST_F(QtFixture, WorkersAreStoppedAndJoinedWhenTheDialogEnds) {
    for (int pause : {0, 20}) {
        SCOPED_TRACE(pause);
        BusyWorkerDialog restart(pause);
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(restart.DoModal(), kIdCancel);
        EXPECT_LT(clock.elapsed(), 5000) << "a sleeping worker is woken, a blocked one released";
        EXPECT_TRUE(restart.finished);
        EXPECT_GT(restart.steps, 0);
        EXPECT_EQ(restart.steps + restart.refused, 5000);
    }
    // With no thread to spare the worker is refused and not counted.
    QtWorkerPool refusing([](std::vector<std::thread>&, std::function<void()>) { return false; });
    EXPECT_FALSE(refusing.Start([](WorkerContext&) {}));
    EXPECT_EQ(refusing.Running(), 0);
    refusing.StopAndJoin();
}

TEST_F(QtFixture, WorkerStepsTheProgressBarWithWrapAround) {
    BusyWorkerDialog restart(0);
    QtOpenDialog open = qt->Open(restart);
    QTRY_VERIFY_WITH_TIMEOUT(restart.steps >= 150, 5000);
    // No worker call runs until the event loop turns again, so the count is stable here.
    int expected = 1 + restart.steps;
    while (expected > 100) expected -= 99;
    auto* bar = qobject_cast<QProgressBar*>(open.Window().Control(kBar)->widget);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->minimum(), 1);
    EXPECT_EQ(bar->value(), expected);
    EXPECT_EQ(restart.Surface().GetProgressPos(kBar), expected);
    open.Close();
    EXPECT_TRUE(restart.finished);
    EXPECT_FALSE(restart.IsOpen());
}

}  // namespace
}  // namespace ofu::ui

namespace ofu::ui {
namespace {

// Windows opened without a modal run may be closed in any order.
TEST_F(QtFixture, OpenDialogsCloseInAnyOrder) {
    Dialog main(kMainDialogId);
    Dialog login(kLoginDialogId);
    auto first = std::make_unique<QtOpenDialog>(qt->Open(main));
    auto second = std::make_unique<QtOpenDialog>(qt->Open(login));
    first.reset();
    EXPECT_FALSE(main.IsOpen());
    EXPECT_TRUE(login.IsOpen());
    login.Surface().SetItemText(1016, "still here");
    EXPECT_EQ(login.Surface().GetItemText(1016), "still here");
    second.reset();
    EXPECT_EQ(qt->FrontWindow(), nullptr);
}

}  // namespace
}  // namespace ofu::ui
