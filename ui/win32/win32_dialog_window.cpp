#include "ui/win32/win32_dialog_window.h"

#include <algorithm>
#include <string>

#include "ui/command_ids.h"
#include "ui/dialog.h"
#include "ui/dialog_manager.h"
#include "ui/win32/win32_surface.h"

namespace ofu::ui {
namespace {

bool IsButtonKind(ControlKind kind) {
    return kind == ControlKind::PushButton || kind == ControlKind::DefaultPushButton ||
           kind == ControlKind::RadioButton || kind == ControlKind::CheckBox;
}

// The controls that show their label on the dialog's background: they take the dialog colours.
// Edits, lists, drop-down lists, address boxes, progress bars and push buttons keep the system
// colours.
bool TakesDialogColours(ControlKind kind) {
    return kind == ControlKind::StaticText || kind == ControlKind::Icon || kind == ControlKind::GroupBox ||
           kind == ControlKind::RadioButton || kind == ControlKind::CheckBox;
}

}  // namespace

Win32DialogWindow::Win32DialogWindow(Win32Backend& backend, Dialog& dialog)
    : backend_(backend),
      dialog_(dialog),
      layout_(dialog.Template()),
      surface_(std::make_unique<Win32Surface>(*this)),
      background_(CreateSolidBrush(kDialogBackground)) {}

Win32DialogWindow::~Win32DialogWindow() {
    if (hwnd_ != nullptr && !modal_) Destroy();
    Shutdown();
    ReleaseResources();
}

int Win32DialogWindow::RunModal(HWND owner) {
    modal_ = true;
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(layout_.id), owner, &DialogProcedure,
                    reinterpret_cast<LPARAM>(this));
    Shutdown();
    if (!built_) return -1;
    // A window that went without EndDialog counts as cancelled.
    return ended_ ? result_ : kIdCancel;
}

bool Win32DialogWindow::Create() {
    modal_ = false;
    const HWND hwnd = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(layout_.id), nullptr,
                                         &DialogProcedure, reinterpret_cast<LPARAM>(this));
    if (hwnd == nullptr) return false;
    if (!ended_) {
        ShowWindow(hwnd, SW_SHOW);
        UpdateWindow(hwnd);
    }
    return true;
}

void Win32DialogWindow::Destroy() {
    if (hwnd_ == nullptr) return;
    Shutdown();
    DestroyWindow(hwnd_);
}

Win32Control* Win32DialogWindow::Control(int id) {
    if (id == -1) return nullptr;
    for (Win32Control& control : controls_) {
        if (control.layout->id == id) return &control;
    }
    return nullptr;
}

Win32Control* Win32DialogWindow::ControlOf(HWND hwnd) {
    if (hwnd == nullptr) return nullptr;
    for (Win32Control& control : controls_) {
        if (control.hwnd == hwnd) return &control;
    }
    return nullptr;
}

void Win32DialogWindow::EndWith(int result) {
    if (ended_) return;
    ended_ = true;
    result_ = result;
    workers_.RequestStop();
    if (hwnd_ == nullptr) return;
    // The dialog manager ends the modal loop once the current message has been handled; a
    // dialog without a modal loop is hidden until its hold closes it.
    if (modal_) {
        ::EndDialog(hwnd_, result);
    } else {
        ShowWindow(hwnd_, SW_HIDE);
    }
}

void Win32DialogWindow::SetTimer(int timerId, int periodMs) {
    if (hwnd_ == nullptr) return;
    if (::SetTimer(hwnd_, static_cast<UINT_PTR>(timerId), static_cast<UINT>(std::max(periodMs, 10)), nullptr) != 0) {
        timers_.insert(timerId);
    }
}

void Win32DialogWindow::KillTimer(int timerId) {
    if (timers_.erase(timerId) != 0 && hwnd_ != nullptr) ::KillTimer(hwnd_, static_cast<UINT_PTR>(timerId));
}

void Win32DialogWindow::Shutdown() {
    workers_.StopAndJoin();
    if (hwnd_ != nullptr) {
        for (const int timerId : timers_) ::KillTimer(hwnd_, static_cast<UINT_PTR>(timerId));
    }
    timers_.clear();
}

void Win32DialogWindow::ReleaseResources() {
    for (HFONT font : fonts_) DeleteObject(font);
    fonts_.clear();
    for (HICON icon : icons_) DestroyIcon(icon);
    icons_.clear();
    if (background_ != nullptr) DeleteObject(background_);
    background_ = nullptr;
}

INT_PTR CALLBACK Win32DialogWindow::DialogProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        reinterpret_cast<Win32DialogWindow*>(lParam)->Initialise(hwnd);
        return FALSE;  // the focus is set (or deliberately not set) already
    }
    auto* self = reinterpret_cast<Win32DialogWindow*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    return self == nullptr ? FALSE : self->OnMessage(message, wParam, lParam);
}

void Win32DialogWindow::Initialise(HWND hwnd) {
    hwnd_ = hwnd;
    built_ = true;
    SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(this));
    workers_.SetTarget(hwnd);
    CollectControls();
    for (Win32Control& control : controls_) {
        if (control.hwnd == nullptr) continue;
        switch (control.layout->kind) {
            case ControlKind::ListView:
                // Both lists of the program select whole rows.
                SendMessageW(control.hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
                break;
            case ControlKind::ComboBox:
                for (std::string_view item : control.layout->initialItems) Win32Surface::AddComboItem(control, item);
                break;
            case ControlKind::GroupBox:
            case ControlKind::RadioButton:
            case ControlKind::CheckBox:
                // A themed button draws its label in the theme's colour; unthemed it takes the
                // colour that the dialog answers.
                SetWindowTheme(control.hwnd, L"", L"");
                break;
            default:
                break;
        }
    }
    WidenOneLineLabels();
    PlaceOverOwner();
    dialog_.AttachSurface(surface_.get());
    InitDialog(dialog_);
}

// The dialog manager creates the controls in template order, each at the bottom of the
// z-order, so the dialog's children in z-order are the template's controls in order.
void Win32DialogWindow::CollectControls() {
    controls_.clear();
    controls_.reserve(layout_.controls.size());
    HWND child = GetWindow(hwnd_, GW_CHILD);
    int group = -1;
    bool afterRadio = false;
    for (const ControlTemplate& control : layout_.controls) {
        Win32Control entry;
        entry.layout = &control;
        entry.hwnd = child;
        if (control.kind == ControlKind::RadioButton) {
            if (!afterRadio || control.Has(kGroupStart)) ++group;
            entry.radioGroup = group;
            afterRadio = true;
        } else {
            afterRadio = false;
        }
        controls_.push_back(entry);
        if (child != nullptr) child = GetWindow(child, GW_HWNDNEXT);
    }
}

// A one-line label may run past its rectangle (never past the dialog) rather than wrap its last
// word onto a line that is not shown: a substitute for the template's face (Liberation Sans for
// Arial under wine) can be a pixel wider in places.
void Win32DialogWindow::WidenOneLineLabels() {
    HDC dc = GetDC(hwnd_);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
    const HGDIOBJ previous = font == nullptr ? nullptr : SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    RECT client{};
    GetClientRect(hwnd_, &client);
    for (const Win32Control& control : controls_) {
        if (control.hwnd == nullptr || control.layout->kind != ControlKind::StaticText) continue;
        RECT place{};
        GetWindowRect(control.hwnd, &place);
        MapWindowPoints(HWND_DESKTOP, hwnd_, reinterpret_cast<POINT*>(&place), 2);
        const int width = place.right - place.left;
        const int height = place.bottom - place.top;
        if (height >= 2 * metrics.tmHeight) continue;
        const int length = GetWindowTextLengthW(control.hwnd);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        GetWindowTextW(control.hwnd, text.data(), length + 1);
        RECT needed{};
        const UINT prefix = control.layout->Has(kNoPrefix) ? DT_NOPREFIX : 0;
        DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_SINGLELINE | prefix);
        const int wanted = std::max(width, std::min(static_cast<int>(needed.right) + 1, static_cast<int>(client.right - place.left)));
        if (wanted != width) {
            SetWindowPos(control.hwnd, nullptr, 0, 0, wanted, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (previous != nullptr) SelectObject(dc, previous);
    ReleaseDC(hwnd_, dc);
}

// Centred over the owner, or on the work area when there is none.
void Win32DialogWindow::PlaceOverOwner() {
    RECT mine{};
    GetWindowRect(hwnd_, &mine);
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    RECT over = area;
    const HWND owner = GetWindow(hwnd_, GW_OWNER);
    if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &over);
    const int width = mine.right - mine.left;
    const int height = mine.bottom - mine.top;
    int x = over.left + (over.right - over.left - width) / 2;
    int y = over.top + (over.bottom - over.top - height) / 2;
    x = std::max(static_cast<int>(area.left), std::min(x, static_cast<int>(area.right) - width));
    y = std::max(static_cast<int>(area.top), std::min(y, static_cast<int>(area.bottom) - height));
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32DialogWindow::Notified(const Notify& notify) {
    if (!ended_) dialog_.Dispatch(notify);
}

INT_PTR Win32DialogWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(wParam, lParam);
            return TRUE;
        case WM_NOTIFY:
            OnNotify(*reinterpret_cast<const NMHDR*>(lParam), lParam);
            SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, 0);
            return TRUE;
        case WM_TIMER: {
            const int timerId = static_cast<int>(wParam);
            if (!ended_ && timers_.count(timerId) != 0) dialog_.OnTimer(timerId);
            return TRUE;
        }
        case WM_SYSCOMMAND:
            if (!OnSysCommand(static_cast<unsigned>(wParam))) return FALSE;
            SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, 0);
            return TRUE;
        case WM_CLOSE:
            if (!ended_) RequestClose(dialog_);
            return TRUE;
        case WM_CTLCOLORDLG:
            return reinterpret_cast<INT_PTR>(background_);
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case kWorkerCallMessage:
            workers_.Deliver(*reinterpret_cast<WorkerCall*>(lParam));
            return TRUE;
        case WM_DESTROY:
            // The controls still exist: workers stop before anything of the window goes.
            Shutdown();
            return FALSE;
        case WM_NCDESTROY:
            SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
            hwnd_ = nullptr;
            return FALSE;
        default:
            return FALSE;
    }
}

// Buttons (and Enter and Escape, which the dialog manager sends as the command of the target
// button, or of IDOK / IDCANCEL without such a button), drop-down lists and edits.
void Win32DialogWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (ended_) return;
    const int id = LOWORD(wParam);
    const unsigned code = HIWORD(wParam);
    // A command whose source is none of the dialog's controls comes from the dialog manager:
    // Enter or Escape without a button of that id (the manager names whichever window has the
    // id, a control's own child included).
    const Win32Control* control = ControlOf(reinterpret_cast<HWND>(lParam));
    if (control == nullptr) {
        if (code == BN_CLICKED && (id == kIdOk || id == kIdCancel)) Notified({id, Notification::Clicked, -1});
        return;
    }
    if (control->layout->id == -1) return;
    const ControlKind kind = control->layout->kind;
    const int controlId = control->layout->id;
    if (IsButtonKind(kind) && code == BN_CLICKED) {
        Notified({controlId, Notification::Clicked, -1});
    } else if (kind == ControlKind::ComboBox && code == CBN_SELCHANGE) {
        Notified({controlId, Notification::SelectionChange, -1});
    } else if (kind == ControlKind::Edit && code == EN_CHANGE && !settingText) {
        Notified({controlId, Notification::TextChange, -1});
    }
}

void Win32DialogWindow::OnNotify(const NMHDR& header, LPARAM lParam) {
    if (ended_) return;
    const Win32Control* control = ControlOf(header.hwndFrom);
    if (control == nullptr || control->layout->kind != ControlKind::ListView || control->layout->id == -1) return;
    // A click on empty space reports row -1.
    if (header.code == static_cast<UINT>(NM_CLICK)) {
        const auto& click = *reinterpret_cast<const NMITEMACTIVATE*>(lParam);
        Notified({control->layout->id, Notification::ListClick, click.iItem});
    } else if (header.code == static_cast<UINT>(NM_DBLCLK)) {
        const auto& click = *reinterpret_cast<const NMITEMACTIVATE*>(lParam);
        Notified({control->layout->id, Notification::ListDoubleClick, click.iItem});
    }
}

INT_PTR Win32DialogWindow::OnControlColour(HDC dc, HWND control) {
    const Win32Control* entry = ControlOf(control);
    if (entry == nullptr || !TakesDialogColours(entry->layout->kind)) return FALSE;
    SetTextColor(dc, kDialogText);
    SetBkColor(dc, kDialogBackground);
    return reinterpret_cast<INT_PTR>(background_);
}

// The dialog gets its own entries, Close and Minimize; the other system commands (move,
// restore, the keyboard menu, ...) keep their default processing.
bool Win32DialogWindow::OnSysCommand(unsigned command) {
    const unsigned kind = command & 0xFFF0u;
    const bool forDialog = command < 0xF000u || kind == SC_CLOSE || kind == SC_MINIMIZE;
    if (!forDialog) return false;
    if (!ended_) dialog_.OnSysCommand(command);
    return true;
}

}  // namespace ofu::ui
