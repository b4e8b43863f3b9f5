#include "ui/qt/qt_backend.h"

#include <QApplication>
#include <QMessageBox>

#include "resources/resource_ids.h"
#include "ui/command_ids.h"
#include "ui/dialog.h"
#include "ui/dialog_manager.h"
#include "ui/qt/application_icon.h"
#include "ui/qt/qt_dialog_window.h"
#include "ui/qt/qt_surface.h"

namespace ofu::ui {
namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

// --- QtOpenDialog --------------------------------------------------------------------------

QtOpenDialog::QtOpenDialog(Dialog& dialog, std::unique_ptr<QtDialogWindow> window)
    : dialog_(&dialog), window_(std::move(window)) {}

QtOpenDialog::QtOpenDialog(QtOpenDialog&& other) noexcept
    : dialog_(other.dialog_), window_(std::move(other.window_)) {}

QtOpenDialog::~QtOpenDialog() { Close(); }

bool QtOpenDialog::IsOpen() const { return window_ != nullptr && !window_->Ended(); }

int QtOpenDialog::Result() const { return window_ == nullptr ? -1 : window_->Result(); }

bool QtOpenDialog::SaveImage(const QString& path) const {
    return window_ != nullptr && window_->grab().save(path, "PNG");
}

void QtOpenDialog::Close() {
    if (window_ == nullptr) return;
    if (!window_->Ended()) window_->EndWith(-1);
    window_->Shutdown();
    dialog_->AttachSurface(nullptr);
    window_->Backend().Forget(window_.get());
    window_.reset();
}

// --- QtBackend -----------------------------------------------------------------------------

QtBackend::QtBackend() {
    // Dialogs end the program's runs themselves; a hidden last window must not quit anything.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(LoadIcon(kApplicationIconId));
}

QtBackend::~QtBackend() = default;

void QtBackend::Forget(QtDialogWindow* window) { std::erase(windows_, window); }

// Windows get no Qt parent: the backend owns them and closes them in any order. A new window
// opens centred over the one in front, as a dialog over its owner does.
std::unique_ptr<QtDialogWindow> QtBackend::Build(Dialog& dialog) {
    auto window = std::make_unique<QtDialogWindow>(*this, dialog, nullptr);
    if (const QtDialogWindow* front = FrontWindow()) {
        window->move(front->frameGeometry().center() - window->rect().center());
    }
    dialog.AttachSurface(&window->Surface());
    windows_.push_back(window.get());
    return window;
}

int QtBackend::RunModal(Dialog& dialog) {
    std::unique_ptr<QtDialogWindow> window = Build(dialog);
    InitDialog(dialog);
    if (!window->Ended()) window->exec();
    // A window closed by the toolkit without EndDialog counts as cancelled.
    const int result = window->Ended() ? window->Result() : kIdCancel;
    window->Shutdown();
    dialog.AttachSurface(nullptr);
    Forget(window.get());
    return result;
}

QtOpenDialog QtBackend::Open(Dialog& dialog) {
    std::unique_ptr<QtDialogWindow> window = Build(dialog);
    InitDialog(dialog);
    if (!window->Ended()) window->show();
    return QtOpenDialog(dialog, std::move(window));
}

int QtBackend::ShowMessage(const MessageRequest& request) {
    return ShowMessageFor(FrontWindow(), request);
}

int QtBackend::ShowMessageFor(QWidget* owner, const MessageRequest& request) {
    if (messageHook_) return messageHook_(request);
    QMessageBox box(ToQtIcon(request.icon), QString::fromStdString(request.caption),
                    QString::fromStdString(request.text), QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
    return kIdOk;
}

}  // namespace ofu::ui
