// The Win32 window of one open dialog, built by the dialog manager from the executable's dialog
// resource with the template's id. Its dialog procedure routes the controls' notifications to
// the dialog's message table, applies the dialog manager's rules to Enter, Escape and the close
// box, hands system-menu commands to the dialog, paints the dialog colours, runs the window
// timers and answers its workers' calls.
#pragma once

#include <memory>
#include <set>
#include <vector>

#include "resources/dialog_template.h"
#include "ui/message_map.h"
#include "ui/progress_state.h"
#include "ui/win32/win32_api.h"
#include "ui/win32/win32_worker_pool.h"

namespace ofu::ui {

class Dialog;
class Win32Backend;
class Win32Surface;

// The dialog background and the label text.
inline constexpr COLORREF kDialogBackground = RGB(0, 98, 147);
inline constexpr COLORREF kDialogText = RGB(255, 255, 255);

struct Win32Control {
    const ControlTemplate* layout = nullptr;
    HWND hwnd = nullptr;
    int radioGroup = -1;  // radio buttons: the index of their group in the dialog
    ProgressState progress;
};

class Win32DialogWindow {
public:
    Win32DialogWindow(Win32Backend& backend, Dialog& dialog);
    ~Win32DialogWindow();
    Win32DialogWindow(const Win32DialogWindow&) = delete;
    Win32DialogWindow& operator=(const Win32DialogWindow&) = delete;

    // Runs the dialog modally over `owner` (may be nullptr); returns the end result, -1 when
    // the resource could not be built, or the Cancel result for a window that went without
    // EndDialog.
    int RunModal(HWND owner);
    // Builds the dialog without a modal loop and shows it unless OnInitDialog ended it.
    bool Create();
    // Ends a dialog built by Create: stops workers and timers and destroys the window.
    void Destroy();

    HWND Handle() const { return hwnd_; }
    Dialog& Owner() const { return dialog_; }
    Win32Backend& Backend() const { return backend_; }
    Win32Surface& Surface() const { return *surface_; }
    const DialogTemplate& Layout() const { return layout_; }
    bool IsModal() const { return modal_; }

    // The control with this id (not -1), or nullptr.
    Win32Control* Control(int id);
    // The control whose window is `hwnd`, or nullptr.
    Win32Control* ControlOf(HWND hwnd);
    // Every control, in template order.
    const std::vector<Win32Control>& Controls() const { return controls_; }

    void EndWith(int result);
    bool Ended() const { return ended_; }
    int Result() const { return result_; }

    void SetTimer(int timerId, int periodMs);
    void KillTimer(int timerId);
    bool HasTimer(int timerId) const { return timers_.count(timerId) != 0; }

    Win32WorkerPool& Workers() { return workers_; }
    // Stops workers and timers; the dialog is over.
    void Shutdown();

    // GDI objects that live as long as the window: released after it is destroyed.
    void KeepFont(HFONT font) { fonts_.push_back(font); }
    void KeepIcon(HICON icon) { icons_.push_back(icon); }

    // While set, an edit's change notification is not the user's typing.
    bool settingText = false;

private:
    static INT_PTR CALLBACK DialogProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Initialise(HWND hwnd);
    void CollectControls();
    void WidenOneLineLabels();
    void PlaceOverOwner();
    void Notified(const Notify& notify);
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void OnNotify(const NMHDR& header, LPARAM lParam);
    INT_PTR OnControlColour(HDC dc, HWND control);
    bool OnSysCommand(unsigned command);
    void ReleaseResources();

    Win32Backend& backend_;
    Dialog& dialog_;
    const DialogTemplate& layout_;
    HWND hwnd_ = nullptr;
    bool modal_ = false;
    bool built_ = false;
    bool ended_ = false;
    int result_ = 0;
    std::vector<Win32Control> controls_;
    std::set<int> timers_;
    std::unique_ptr<Win32Surface> surface_;
    Win32WorkerPool workers_;
    HBRUSH background_ = nullptr;
    std::vector<HFONT> fonts_;
    std::vector<HICON> icons_;
};

}  // namespace ofu::ui
