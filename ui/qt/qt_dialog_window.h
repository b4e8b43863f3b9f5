// The Qt window of one open dialog: built from the template, it applies the dialog manager's
// rules to Enter, Escape and the close box, emulates the system menu (Alt+Space or a right
// click on the background), runs the dialog's window timers and owns its worker threads.
#pragma once

#include <QDialog>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "resources/dialog_template.h"
#include "ui/message_map.h"
#include "ui/progress_state.h"
#include "ui/qt/dialog_units.h"
#include "ui/qt/qt_worker_pool.h"

class QMenu;
class QTimer;

namespace ofu::ui {

class Dialog;
class QtBackend;
class QtSurface;

struct QtControl {
    const ControlTemplate* layout = nullptr;
    QWidget* widget = nullptr;
    std::string rawText;  // the text as set, before mnemonic processing
    ProgressState progress;
};

struct QtSystemMenuEntry {
    unsigned command = 0;  // 0 for a separator
    std::string text;
};

class QtDialogWindow final : public QDialog {
public:
    QtDialogWindow(QtBackend& backend, Dialog& dialog, QWidget* parent);
    ~QtDialogWindow() override;

    Dialog& Owner() const { return dialog_; }
    QtBackend& Backend() const { return backend_; }
    QtSurface& Surface() const { return *surface_; }
    const DialogTemplate& Layout() const { return layout_; }
    const DialogUnits& Units() const { return units_; }

    // The control with this id (not -1), or nullptr.
    QtControl* Control(int id);
    // Every control, in template order.
    const std::vector<QtControl>& Controls() const { return controls_; }
    // The id of the control that holds `widget` (or one of its parents), or 0.
    int IdOf(const QWidget* widget) const;

    void EndWith(int result);
    bool Ended() const { return ended_; }
    int Result() const { return result_; }

    void SetTimer(int timerId, int periodMs);
    void KillTimer(int timerId);
    bool HasTimer(int timerId) const;

    void AppendSystemMenu(unsigned command, std::string text);
    // Builds the system menu as it would open now (standard entries, then appended ones).
    std::unique_ptr<QMenu> BuildSystemMenu();
    void OpenSystemMenu(QPoint globalPosition);

    QtWorkerPool& Workers() { return workers_; }
    // Stops workers and timers; the dialog is over.
    void Shutdown();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void reject() override;

private:
    void Notified(const Notify& notify);

    QtBackend& backend_;
    Dialog& dialog_;
    const DialogTemplate& layout_;
    DialogUnits units_;
    std::vector<QtControl> controls_;
    std::map<int, std::unique_ptr<QTimer>> timers_;
    std::vector<QtSystemMenuEntry> systemMenu_;
    std::unique_ptr<QtSurface> surface_;
    QtWorkerPool workers_;
    bool ended_ = false;
    bool closing_ = false;
    int result_ = 0;
};

}  // namespace ofu::ui
