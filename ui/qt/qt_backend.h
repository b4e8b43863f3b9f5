// The Qt 6 Widgets backend: real windows built from the templates, real modal message boxes.
// The only part of the program that includes Qt.
//
//   int main(int argc, char** argv) {
//       QApplication app(argc, argv);
//       ofu::ui::InitBackend(std::make_unique<ofu::ui::QtBackend>());
//       MainDialog main;
//       main.DoModal();
//       ofu::ui::FreeBackend();
//   }
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "ui/backend.h"

class QWidget;

namespace ofu::ui {

class Dialog;
class QtDialogWindow;

// A dialog opened without a modal run (for tests and previews); closing the hold (or dropping
// it) ends the dialog, stops its workers and timers and destroys its window.
class QtOpenDialog {
public:
    QtOpenDialog(Dialog& dialog, std::unique_ptr<QtDialogWindow> window);
    ~QtOpenDialog();
    QtOpenDialog(QtOpenDialog&&) noexcept;
    QtOpenDialog(const QtOpenDialog&) = delete;
    QtOpenDialog& operator=(const QtOpenDialog&) = delete;
    QtOpenDialog& operator=(QtOpenDialog&&) = delete;

    QtDialogWindow& Window() const { return *window_; }
    bool IsOpen() const;  // not yet ended
    int Result() const;
    // Grabs the dialog's client area to a PNG file.
    bool SaveImage(const QString& path) const;
    void Close();

private:
    Dialog* dialog_;
    std::unique_ptr<QtDialogWindow> window_;
};

class QtBackend final : public Backend {
public:
    using MessageHook = std::function<int(const MessageRequest&)>;

    // Needs a QApplication that outlives the backend.
    QtBackend();
    ~QtBackend() override;

    int RunModal(Dialog& dialog) override;
    int ShowMessage(const MessageRequest& request) override;
    int ShowMessageFor(QWidget* owner, const MessageRequest& request);

    // Builds the dialog, runs OnInitDialog and shows it without a modal loop.
    QtOpenDialog Open(Dialog& dialog);

    // Replaces the message box (for tests): the hook gets every message and returns the
    // pressed button. An empty hook brings the real message box back.
    void SetMessageHook(MessageHook hook) { messageHook_ = std::move(hook); }

    // The innermost open dialog window, or nullptr.
    QtDialogWindow* FrontWindow() const { return windows_.empty() ? nullptr : windows_.back(); }

    // For QtOpenDialog.
    void Forget(QtDialogWindow* window);

private:
    std::unique_ptr<QtDialogWindow> Build(Dialog& dialog);

    MessageHook messageHook_;
    std::vector<QtDialogWindow*> windows_;  // open windows, innermost last
};


}  // namespace ofu::ui
