#include "ui/win32/win32_backend.h"

#include <chrono>

#include "ui/command_ids.h"
#include "ui/dialog.h"
#include "ui/win32/win32_api.h"
#include "ui/win32/win32_dialog_window.h"
#include "ui/win32/win32_picture.h"
#include "ui/win32/win32_text.h"

namespace ofu::ui {
namespace {

UINT IconStyle(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Error:
            return MB_ICONERROR;
        case MessageIcon::Warning:
            return MB_ICONWARNING;
        case MessageIcon::Information:
            return MB_ICONINFORMATION;
        case MessageIcon::None:
            break;
    }
    return 0;
}

}  // namespace

// --- Win32OpenDialog -----------------------------------------------------------------------

Win32OpenDialog::Win32OpenDialog(Dialog& dialog, std::unique_ptr<Win32DialogWindow> window)
    : dialog_(&dialog), window_(std::move(window)) {}

Win32OpenDialog::Win32OpenDialog(Win32OpenDialog&& other) noexcept
    : dialog_(other.dialog_), window_(std::move(other.window_)) {}

Win32OpenDialog::~Win32OpenDialog() { Close(); }

bool Win32OpenDialog::IsOpen() const {
    return window_ != nullptr && window_->Handle() != nullptr && !window_->Ended();
}

int Win32OpenDialog::Result() const { return window_ == nullptr ? -1 : window_->Result(); }

bool Win32OpenDialog::SaveImage(const std::string& path) const {
    if (window_ == nullptr || window_->Handle() == nullptr) return false;
    win32::Picture picture;
    return win32::CaptureClientArea(window_->Handle(), picture) && win32::SavePng(path, picture);
}

void Win32OpenDialog::Close() {
    if (window_ == nullptr) return;
    if (!window_->Ended()) window_->EndWith(-1);
    window_->Destroy();
    dialog_->AttachSurface(nullptr);
    window_->Backend().Forget(window_.get());
    window_.reset();
}

// --- Win32Backend --------------------------------------------------------------------------

Win32Backend::Win32Backend() {
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof(classes);
    classes.dwICC = ICC_LISTVIEW_CLASSES | ICC_INTERNET_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&classes);
}

Win32Backend::~Win32Backend() = default;

void Win32Backend::Forget(Win32DialogWindow* window) { std::erase(windows_, window); }

// A modal dialog is owned by the dialog in front, which the dialog manager disables meanwhile.
int Win32Backend::RunModal(Dialog& dialog) {
    Win32DialogWindow* front = FrontWindow();
    const HWND owner = front == nullptr ? nullptr : front->Handle();
    auto window = std::make_unique<Win32DialogWindow>(*this, dialog);
    windows_.push_back(window.get());
    const int result = window->RunModal(owner);
    dialog.AttachSurface(nullptr);
    Forget(window.get());
    return result;
}

// Without an owner: a dialog opened this way may be closed in any order.
Win32OpenDialog Win32Backend::Open(Dialog& dialog) {
    auto window = std::make_unique<Win32DialogWindow>(*this, dialog);
    windows_.push_back(window.get());
    if (!window->Create()) {
        dialog.AttachSurface(nullptr);
        Forget(window.get());
        window.reset();
    }
    return Win32OpenDialog(dialog, std::move(window));
}

void Win32Backend::PumpMessages(int milliseconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            bool handled = false;
            // A handler may open or close dialogs: look at the ones open before this message.
            const std::vector<Win32DialogWindow*> open = windows_;
            for (Win32DialogWindow* window : open) {
                if (!window->IsModal() && window->Handle() != nullptr &&
                    IsDialogMessageW(window->Handle(), &message)) {
                    handled = true;
                    break;
                }
            }
            if (!handled) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left.count()), QS_ALLINPUT);
    }
}

int Win32Backend::ShowMessage(const MessageRequest& request) { return ShowMessageFor(FrontWindow(), request); }

int Win32Backend::ShowMessageFor(Win32DialogWindow* owner, const MessageRequest& request) {
    if (messageHook_) return messageHook_(request);
    const std::wstring text = win32::Widen(request.text);
    const std::wstring caption = win32::Widen(request.caption);
    const HWND ownerWindow = owner == nullptr ? nullptr : owner->Handle();
    const int pressed = MessageBoxW(ownerWindow, text.c_str(), caption.c_str(), MB_OK | IconStyle(request.icon));
    return pressed == IDOK ? kIdOk : 0;
}

}  // namespace ofu::ui
