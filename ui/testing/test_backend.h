// A backend without a toolkit for tests: dialogs are models built from their templates, every
// call is logged, message boxes and modal dialogs are answered from a script, and window
// timers and worker sleeps run on a virtual clock that the test advances.
//
//   TestBackend& ui = InstallTestBackend();
//   ui.Script().ExpectMessage("Please select a device.", "Error", MessageIcon::Error);
//   MainDialog main;
//   TestDialog window = ui.Open(main);
//   window.Click(1022);
//   EXPECT_TRUE(ui.Failures().empty());
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "ui/backend.h"
#include "ui/testing/call_log.h"
#include "ui/testing/test_dialog.h"
#include "ui/testing/test_scheduler.h"
#include "ui/testing/test_script.h"
#include "ui/testing/test_session.h"

namespace ofu::ui {

class TestBackend final : public Backend {
public:
    TestBackend();
    ~TestBackend() override;

    // Backend
    int RunModal(Dialog& dialog) override;
    int ShowMessage(const MessageRequest& request) override;

    // Opens `dialog` without a modal run (OnInitDialog runs at once); the test drives it
    // through the returned hold, which closes it when it goes away.
    TestDialog Open(Dialog& dialog);

    TestScript& Script() { return script_; }
    CallLog& Log() { return log_; }
    const std::vector<MessageRequest>& Messages() const { return messages_; }
    // Everything that went against the script or addressed a missing control.
    const std::vector<std::string>& Failures() const { return failures_; }
    std::string FailureText() const;
    void AddFailure(std::string failure);
    // With a strict script, a message box that the script does not expect is a failure too
    // (it is answered with OK either way). Dialogs always need a script entry.
    void SetStrictMessages(bool strict) { strictMessages_ = strict; }

    // Virtual time in milliseconds since the backend was made.
    std::int64_t Now() const { return scheduler_.Now(); }
    void AdvanceTime(std::int64_t milliseconds);
    TestScheduler& Scheduler() { return scheduler_; }

    // The innermost open dialog, or nullptr.
    TestSession* FrontSession();

    // For TestDialog: after every user action, bring workers to rest and close a dialog opened
    // by the test once it has ended.
    void AfterAction(TestSession& session);
    void Teardown(TestSession& session);

private:
    TestSession& CreateSession(Dialog& dialog, bool scripted);
    void ForgetSession(TestSession& session);
    void FireTimer(TestSession* session, int timerId);

    TestScript script_;
    CallLog log_;
    std::vector<MessageRequest> messages_;
    std::vector<std::string> failures_;
    bool strictMessages_ = false;
    std::list<std::unique_ptr<TestSession>> sessions_;  // open dialogs, innermost last
    TestScheduler scheduler_;
};

// Makes a new TestBackend the active backend (after freeing any active one) and returns it.
TestBackend& InstallTestBackend();

}  // namespace ofu::ui
