// Small dialog classes over the real templates, used by the framework's tests.
#pragma once

#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "ui/dialog.h"

namespace ofu::ui::testdialogs {

// Records every handler call; OK and Cancel keep the base behaviour.
class RecordingDialog : public Dialog {
public:
    explicit RecordingDialog(int templateId) : Dialog(templateId) {}
    std::vector<std::string> calls;

    void OnTimer(int timerId) override { calls.push_back("timer " + std::to_string(timerId)); }
    void OnSysCommand(unsigned command) override {
        calls.push_back("syscommand " + std::to_string(command));
        Dialog::OnSysCommand(command);
    }
    void OnClose() override {
        calls.push_back("close");
        Dialog::OnClose();
    }
};

// A dialog whose OK and Cancel do nothing: only a timer or a handler ends it.
class StubbornDialog : public RecordingDialog {
public:
    explicit StubbornDialog(int templateId) : RecordingDialog(templateId) {}
    void OnOK() override { calls.push_back("ok"); }
    void OnCancel() override { calls.push_back("cancel"); }
};

}  // namespace ofu::ui::testdialogs
