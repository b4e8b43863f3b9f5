#include "ui/dialog.h"

#include "resources/dialog_templates.h"
#include "ui/backend.h"
#include "ui/null_surface.h"

namespace ofu::ui {

Dialog::Dialog(int templateId) : templateId_(templateId) {}

Dialog::~Dialog() = default;

const DialogTemplate& Dialog::Template() const { return FindTemplate(templateId_); }

int Dialog::DoModal() {
    Backend* backend = ActiveBackend();
    if (backend == nullptr || IsOpen() || TryFindTemplate(templateId_) == nullptr) return -1;
    return backend->RunModal(*this);
}

void Dialog::EndDialog(int result) { Surface().EndDialog(result); }

DialogSurface& Dialog::Surface() const {
    if (surface_ != nullptr) return *surface_;
    return NullSurface::Instance();
}

void Dialog::Dispatch(const Notify& notify) {
    for (const MessageBinding& binding : Messages()) {
        if (binding.controlId == notify.controlId && binding.code == notify.code &&
            binding.invoke != nullptr) {
            binding.invoke(*this, notify);
            return;
        }
    }
    if (notify.code != Notification::Clicked) return;
    if (notify.controlId == kIdOk) {
        OnOK();
    } else if (notify.controlId == kIdCancel) {
        OnCancel();
    }
}

bool Dialog::OnInitDialog() { return true; }

void Dialog::OnOK() { EndDialog(kIdOk); }

void Dialog::OnCancel() { EndDialog(kIdCancel); }

void Dialog::OnClose() { DispatchCommand(kIdCancel); }

void Dialog::OnTimer(int /*timerId*/) {}

void Dialog::OnSysCommand(unsigned command) {
    switch (command & 0xFFF0u) {
        case kSysCommandClose:
            OnClose();
            break;
        case kSysCommandMinimize:
            Surface().MinimizeWindow();
            break;
        default:
            break;
    }
}

std::span<const MessageBinding> Dialog::Messages() const { return {}; }

}  // namespace ofu::ui
