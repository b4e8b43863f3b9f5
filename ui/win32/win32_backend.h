// The native Win32 backend: real dialogs built by the dialog manager from the executable's own
// dialog resources (written from the templates by ofu-resource-script), real message boxes.
// This header needs no Windows header; only the backend's own sources include them.
//
//   int main() {
//       ofu::ui::InitBackend(std::make_unique<ofu::ui::Win32Backend>());
//       { MainDialog main; main.DoModal(); }
//       ofu::ui::FreeBackend();
//   }
//
// The executable must link ofu_win32_resources: the dialogs, the icon, the string table and the
// manifest that selects the common controls 6.0.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/backend.h"

namespace ofu::ui {

class Dialog;
class Win32Backend;
class Win32DialogWindow;

// A dialog opened without a modal run (for tests and screenshots); closing the hold (or dropping
// it) ends the dialog, stops its workers and timers and destroys its window.
class Win32OpenDialog {
public:
    Win32OpenDialog(Dialog& dialog, std::unique_ptr<Win32DialogWindow> window);
    ~Win32OpenDialog();
    Win32OpenDialog(Win32OpenDialog&&) noexcept;
    Win32OpenDialog(const Win32OpenDialog&) = delete;
    Win32OpenDialog& operator=(const Win32OpenDialog&) = delete;
    Win32OpenDialog& operator=(Win32OpenDialog&&) = delete;

    // nullptr when the dialog could not be built.
    Win32DialogWindow* Window() const { return window_.get(); }
    bool IsOpen() const;  // built and not yet ended
    int Result() const;
    // Saves a picture of the dialog's client area as a PNG file.
    bool SaveImage(const std::string& path) const;
    void Close();

private:
    Dialog* dialog_;
    std::unique_ptr<Win32DialogWindow> window_;
};

class Win32Backend final : public Backend {
public:
    using MessageHook = std::function<int(const MessageRequest&)>;

    // Registers the common control classes that the templates use.
    Win32Backend();
    ~Win32Backend() override;

    int RunModal(Dialog& dialog) override;
    int ShowMessage(const MessageRequest& request) override;
    // A message box owned by `owner` (nullptr: by none).
    int ShowMessageFor(Win32DialogWindow* owner, const MessageRequest& request);

    // Builds the dialog, runs OnInitDialog and shows it without a modal loop. The caller's
    // thread must then turn its message loop (PumpMessages) for it to react.
    Win32OpenDialog Open(Dialog& dialog);

    // Runs this thread's message loop for `milliseconds`, with the dialog manager's keyboard
    // handling for the dialogs opened with Open.
    void PumpMessages(int milliseconds);

    // Replaces the message box (for tests): the hook gets every message and returns the
    // pressed button. An empty hook brings the real message box back.
    void SetMessageHook(MessageHook hook) { messageHook_ = std::move(hook); }

    // The innermost open dialog window, or nullptr.
    Win32DialogWindow* FrontWindow() const { return windows_.empty() ? nullptr : windows_.back(); }

    // For Win32OpenDialog.
    void Forget(Win32DialogWindow* window);

private:
    MessageHook messageHook_;
    std::vector<Win32DialogWindow*> windows_;  // open windows, innermost last
};

}  // namespace ofu::ui
