#include "ui/win32/win32_surface.h"

#include <algorithm>
#include <vector>

#include "ui/combo_order.h"
#include "ui/win32/win32_backend.h"
#include "ui/win32/win32_dialog_window.h"
#include "ui/win32/win32_text.h"

namespace ofu::ui {
namespace {

using win32::Narrow;
using win32::Widen;

LRESULT Send(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageW(hwnd, message, wParam, lParam);
}

std::wstring WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

// The four number fields of an IPv4 address control, left to right.
std::vector<HWND> AddressFieldWindows(HWND control) {
    std::vector<HWND> fields;
    for (HWND child = GetWindow(control, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        fields.push_back(child);
    }
    std::sort(fields.begin(), fields.end(), [](HWND a, HWND b) {
        RECT ra{};
        RECT rb{};
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.left < rb.left;
    });
    if (fields.size() > 4) fields.resize(4);
    return fields;
}

int ColumnCount(HWND list) {
    const auto header = reinterpret_cast<HWND>(Send(list, LVM_GETHEADER));
    return header == nullptr ? 0 : static_cast<int>(Send(header, HDM_GETITEMCOUNT));
}

std::string ComboItem(HWND combo, int index) {
    const LRESULT length = Send(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (length == CB_ERR || length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = Send(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    if (copied == CB_ERR) return {};
    text.resize(static_cast<std::size_t>(copied));
    return Narrow(text);
}

void ShowProgress(const Win32Control& control) {
    Send(control.hwnd, PBM_SETRANGE32, static_cast<WPARAM>(control.progress.Low()),
         static_cast<LPARAM>(control.progress.High()));
    Send(control.hwnd, PBM_SETPOS, static_cast<WPARAM>(control.progress.Pos()));
}

}  // namespace

Win32Control* Win32Surface::Find(int id) const {
    Win32Control* control = window_.Control(id);
    return control == nullptr || control->hwnd == nullptr ? nullptr : control;
}

HWND Win32Surface::Window(int id, ControlKind kind) const {
    Win32Control* control = Find(id);
    return control != nullptr && control->layout->kind == kind ? control->hwnd : nullptr;
}

// --- any control -------------------------------------------------------------------------

void Win32Surface::SetItemText(int id, std::string_view text) {
    Win32Control* control = Find(id);
    if (control == nullptr) return;
    switch (control->layout->kind) {
        case ControlKind::ListView:
        case ControlKind::ComboBox:
        case ControlKind::ProgressBar:
            return;
        case ControlKind::IpAddress: {
            // Each dotted part goes into its field as typed text (at most three characters).
            const std::vector<HWND> fields = AddressFieldWindows(control->hwnd);
            Send(control->hwnd, IPM_CLEARADDRESS);
            std::size_t start = 0;
            for (HWND field : fields) {
                if (start > text.size()) break;
                std::size_t end = text.find('.', start);
                if (end == std::string_view::npos) end = text.size();
                const std::wstring part = Widen(text.substr(start, std::min<std::size_t>(end - start, 3)));
                SetWindowTextW(field, part.c_str());
                start = end + 1;
            }
            return;
        }
        default: {
            const std::wstring wide = Widen(text);
            window_.settingText = true;
            SetWindowTextW(control->hwnd, wide.c_str());
            window_.settingText = false;
            return;
        }
    }
}

std::string Win32Surface::GetItemText(int id) const {
    Win32Control* control = Find(id);
    if (control == nullptr) return {};
    switch (control->layout->kind) {
        case ControlKind::ComboBox: {
            const auto selected = static_cast<int>(Send(control->hwnd, CB_GETCURSEL));
            return selected < 0 ? std::string() : ComboItem(control->hwnd, selected);
        }
        case ControlKind::IpAddress: {
            if (IsAddressBlank(id)) return {};
            const AddressFields fields = GetAddress(id);
            return std::to_string(fields.values[0]) + "." + std::to_string(fields.values[1]) + "." +
                   std::to_string(fields.values[2]) + "." + std::to_string(fields.values[3]);
        }
        case ControlKind::ListView:
        case ControlKind::ProgressBar:
            return {};
        default:
            return Narrow(WindowText(control->hwnd));
    }
}

void Win32Surface::EnableItem(int id, bool enable) {
    if (Win32Control* control = Find(id)) EnableWindow(control->hwnd, enable ? TRUE : FALSE);
}

bool Win32Surface::IsItemEnabled(int id) const {
    Win32Control* control = Find(id);
    return control != nullptr && IsWindowEnabled(control->hwnd) != FALSE;
}

void Win32Surface::ShowItem(int id, bool show) {
    if (Win32Control* control = Find(id)) ShowWindow(control->hwnd, show ? SW_SHOW : SW_HIDE);
}

bool Win32Surface::IsItemVisible(int id) const {
    Win32Control* control = Find(id);
    return control != nullptr && (GetWindowLongPtrW(control->hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

// Through the dialog manager, so that a push button that takes the focus becomes the default
// button as it does when tabbed to.
void Win32Surface::SetFocusTo(int id) {
    Win32Control* control = Find(id);
    if (control == nullptr || !IsWindowEnabled(control->hwnd)) return;
    Send(window_.Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control->hwnd), TRUE);
}

int Win32Surface::FocusedItem() const {
    HWND focus = GetFocus();
    const HWND dialog = window_.Handle();
    if (focus == nullptr || dialog == nullptr || !IsChild(dialog, focus)) return 0;
    while (GetParent(focus) != dialog) focus = GetParent(focus);
    const Win32Control* control = window_.ControlOf(focus);
    return control == nullptr || control->layout->id == -1 ? 0 : control->layout->id;
}

void Win32Surface::SetTextLimit(int id, int maxCharacters) {
    const HWND edit = Window(id, ControlKind::Edit);
    if (edit == nullptr) return;
    const int limit = maxCharacters > 0 ? maxCharacters : 32767;
    Send(edit, EM_SETLIMITTEXT, static_cast<WPARAM>(limit));
    // The limit only stops typing; a longer text already there is cut to it.
    std::wstring text = WindowText(edit);
    if (text.size() > static_cast<std::size_t>(limit)) {
        text.resize(static_cast<std::size_t>(limit));
        window_.settingText = true;
        SetWindowTextW(edit, text.c_str());
        window_.settingText = false;
    }
}

void Win32Surface::SetItemFont(int id, const FontSpec& font) {
    Win32Control* control = Find(id);
    if (control == nullptr) return;
    LOGFONTW description{};
    description.lfHeight = font.height;
    description.lfWeight = std::clamp(font.weight, 0, 1000);
    description.lfItalic = font.italic ? TRUE : FALSE;
    // The character set that a device context of the dialog reports.
    HDC dc = GetDC(window_.Handle());
    description.lfCharSet = static_cast<BYTE>(GetTextCharset(dc));
    ReleaseDC(window_.Handle(), dc);
    description.lfOutPrecision = OUT_DEFAULT_PRECIS;
    description.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    description.lfQuality = DEFAULT_QUALITY;
    description.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    const std::wstring face = Widen(font.face);
    face.copy(description.lfFaceName, LF_FACESIZE - 1);
    HFONT handle = CreateFontIndirectW(&description);
    if (handle == nullptr) return;
    window_.KeepFont(handle);
    Send(control->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(handle), TRUE);
}

// --- list views ----------------------------------------------------------------------------

void Win32Surface::InsertColumn(int id, int column, std::string_view title, int widthPixels) {
    const HWND list = Window(id, ControlKind::ListView);
    if (list == nullptr) return;
    std::wstring text = Widen(title);
    LVCOLUMNW entry{};
    entry.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    entry.fmt = LVCFMT_LEFT;
    entry.cx = widthPixels;
    entry.pszText = text.data();
    entry.iSubItem = std::clamp(column, 0, ColumnCount(list));
    Send(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(entry.iSubItem), reinterpret_cast<LPARAM>(&entry));
}

int Win32Surface::InsertRow(int id, int row, std::string_view text) {
    const HWND list = Window(id, ControlKind::ListView);
    if (list == nullptr || row < 0) return -1;
    std::wstring wide = Widen(text);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = std::min(row, RowCount(id));
    item.pszText = wide.data();
    return static_cast<int>(Send(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void Win32Surface::SetCellText(int id, int row, int column, std::string_view text) {
    const HWND list = Window(id, ControlKind::ListView);
    if (list == nullptr || row < 0 || row >= RowCount(id) || column < 0 ||
        column >= std::max(ColumnCount(list), 1)) {
        return;
    }
    std::wstring wide = Widen(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = wide.data();
    Send(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::string Win32Surface::GetCellText(int id, int row, int column) const {
    const HWND list = Window(id, ControlKind::ListView);
    if (list == nullptr || row < 0 || row >= RowCount(id) || column < 0) return {};
    // The control copies at most the buffer's size and gives the length copied: grow until the
    // text fits with room to spare.
    for (std::size_t size = 256; size <= (1u << 20); size *= 4) {
        std::wstring buffer(size, L'\0');
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(size);
        const auto length = static_cast<std::size_t>(
            Send(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < size) {
            buffer.resize(length);
            return Narrow(buffer);
        }
    }
    return {};
}

void Win32Surface::DeleteAllRows(int id) {
    if (const HWND list = Window(id, ControlKind::ListView)) Send(list, LVM_DELETEALLITEMS);
}

int Win32Surface::RowCount(int id) const {
    const HWND list = Window(id, ControlKind::ListView);
    return list == nullptr ? 0 : static_cast<int>(Send(list, LVM_GETITEMCOUNT));
}

int Win32Surface::FirstVisibleRow(int id) const {
    const HWND list = Window(id, ControlKind::ListView);
    return list == nullptr ? 0 : std::max(static_cast<int>(Send(list, LVM_GETTOPINDEX)), 0);
}

bool Win32Surface::IsRowSelected(int id, int row) const {
    const HWND list = Window(id, ControlKind::ListView);
    if (list == nullptr || row < 0 || row >= RowCount(id)) return false;
    return (Send(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void Win32Surface::SelectRow(int id, int row) {
    const HWND list = Window(id, ControlKind::ListView);
    if (list == nullptr) return;
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = 0;
    Send(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    if (row < 0 || row >= RowCount(id)) return;
    item.state = LVIS_SELECTED;
    Send(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// --- drop-down lists -------------------------------------------------------------------------

// A sorting list puts the item where the other backends do (after every item that does not
// sort after it, ignoring letter case): inserted at an index, the control does not sort.
int Win32Surface::AddComboItem(const Win32Control& control, std::string_view text) {
    const std::wstring wide = Widen(text);
    if (!control.layout->Has(kSorted)) {
        const LRESULT at = Send(control.hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
        return at < 0 ? -1 : static_cast<int>(at);
    }
    std::vector<std::string> items;
    const auto count = static_cast<int>(Send(control.hwnd, CB_GETCOUNT));
    for (int i = 0; i < count; ++i) items.push_back(ComboItem(control.hwnd, i));
    const int index = SortedInsertIndex(items, text);
    const LRESULT at = Send(control.hwnd, CB_INSERTSTRING, static_cast<WPARAM>(index),
                            reinterpret_cast<LPARAM>(wide.c_str()));
    return at < 0 ? -1 : static_cast<int>(at);
}

int Win32Surface::AddString(int id, std::string_view text) {
    Win32Control* control = Find(id);
    if (control == nullptr || control->layout->kind != ControlKind::ComboBox) return -1;
    return AddComboItem(*control, text);
}

void Win32Surface::ResetContent(int id) {
    if (const HWND combo = Window(id, ControlKind::ComboBox)) Send(combo, CB_RESETCONTENT);
}

int Win32Surface::GetCurSel(int id) const {
    const HWND combo = Window(id, ControlKind::ComboBox);
    if (combo == nullptr) return -1;
    const LRESULT selected = Send(combo, CB_GETCURSEL);
    return selected < 0 ? -1 : static_cast<int>(selected);
}

int Win32Surface::SetCurSel(int id, int index) {
    const HWND combo = Window(id, ControlKind::ComboBox);
    if (combo == nullptr) return -1;
    const bool inRange = index >= 0 && index < ComboCount(id);
    Send(combo, CB_SETCURSEL, static_cast<WPARAM>(inRange ? index : -1));
    return GetCurSel(id);
}

std::string Win32Surface::GetComboItemText(int id, int index) const {
    const HWND combo = Window(id, ControlKind::ComboBox);
    if (combo == nullptr || index < 0 || index >= ComboCount(id)) return {};
    return ComboItem(combo, index);
}

int Win32Surface::ComboCount(int id) const {
    const HWND combo = Window(id, ControlKind::ComboBox);
    return combo == nullptr ? 0 : std::max(static_cast<int>(Send(combo, CB_GETCOUNT)), 0);
}

// --- IPv4 address controls -----------------------------------------------------------------

void Win32Surface::SetAddress(int id, const AddressBytes& bytes) {
    if (const HWND box = Window(id, ControlKind::IpAddress)) {
        Send(box, IPM_SETADDRESS, 0, static_cast<LPARAM>(MAKEIPADDRESS(bytes[0], bytes[1], bytes[2], bytes[3])));
    }
}

AddressFields Win32Surface::GetAddress(int id) const {
    const HWND box = Window(id, ControlKind::IpAddress);
    if (box == nullptr) return {};
    DWORD address = 0;
    AddressFields fields;
    // The control answers how many fields hold a number; blank fields read 0.
    fields.nonBlank = static_cast<int>(Send(box, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address)));
    fields.values = {static_cast<int>(FIRST_IPADDRESS(address)), static_cast<int>(SECOND_IPADDRESS(address)),
                     static_cast<int>(THIRD_IPADDRESS(address)), static_cast<int>(FOURTH_IPADDRESS(address))};
    return fields;
}

bool Win32Surface::IsAddressBlank(int id) const {
    const HWND box = Window(id, ControlKind::IpAddress);
    return box == nullptr || Send(box, IPM_ISBLANK) != 0;
}

void Win32Surface::ClearAddress(int id) {
    if (const HWND box = Window(id, ControlKind::IpAddress)) Send(box, IPM_CLEARADDRESS);
}

void Win32Surface::FocusAddressField(int id, int field) {
    const HWND box = Window(id, ControlKind::IpAddress);
    if (box == nullptr || field < 0 || field > 3) return;
    Send(box, IPM_SETFOCUS, static_cast<WPARAM>(field));
}

// --- progress bars ---------------------------------------------------------------------------
// The position is kept in the shared arithmetic and shown by the control.

void Win32Surface::SetProgressRange(int id, int low, int high) {
    Win32Control* control = Find(id);
    if (control == nullptr || control->layout->kind != ControlKind::ProgressBar) return;
    control->progress.SetRange(low, high);
    ShowProgress(*control);
}

int Win32Surface::SetProgressStep(int id, int step) {
    Win32Control* control = Find(id);
    if (control == nullptr || control->layout->kind != ControlKind::ProgressBar) return 0;
    Send(control->hwnd, PBM_SETSTEP, static_cast<WPARAM>(step));
    return control->progress.SetStep(step);
}

int Win32Surface::StepProgress(int id) {
    Win32Control* control = Find(id);
    if (control == nullptr || control->layout->kind != ControlKind::ProgressBar) return 0;
    const int previous = control->progress.StepIt();
    ShowProgress(*control);
    return previous;
}

int Win32Surface::SetProgressPos(int id, int position) {
    Win32Control* control = Find(id);
    if (control == nullptr || control->layout->kind != ControlKind::ProgressBar) return 0;
    const int previous = control->progress.SetPos(position);
    ShowProgress(*control);
    return previous;
}

int Win32Surface::GetProgressPos(int id) const {
    Win32Control* control = Find(id);
    if (control == nullptr || control->layout->kind != ControlKind::ProgressBar) return 0;
    return control->progress.Pos();
}

// --- buttons -------------------------------------------------------------------------------

void Win32Surface::SetChecked(int id, bool checked) {
    Win32Control* control = Find(id);
    if (control == nullptr) return;
    const ControlKind kind = control->layout->kind;
    if (kind != ControlKind::RadioButton && kind != ControlKind::CheckBox) return;
    // Checking a radio button unchecks the others of its group, as a click does.
    if (checked && kind == ControlKind::RadioButton) {
        for (const Win32Control& other : window_.Controls()) {
            if (&other != control && other.radioGroup == control->radioGroup && other.hwnd != nullptr) {
                Send(other.hwnd, BM_SETCHECK, BST_UNCHECKED);
            }
        }
    }
    Send(control->hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool Win32Surface::IsChecked(int id) const {
    Win32Control* control = Find(id);
    return control != nullptr && Send(control->hwnd, BM_GETCHECK) == BST_CHECKED;
}

// --- the dialog ------------------------------------------------------------------------------

int Win32Surface::ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon) {
    return window_.Backend().ShowMessageFor(
        &window_, {std::string(text), std::string(caption), icon, window_.Layout().id});
}

void Win32Surface::EndDialog(int result) { window_.EndWith(result); }

void Win32Surface::SetTimer(int timerId, int periodMs) { window_.SetTimer(timerId, periodMs); }

void Win32Surface::KillTimer(int timerId) { window_.KillTimer(timerId); }

bool Win32Surface::HasSystemMenu() const {
    return window_.Layout().Has(kSystemMenu) && window_.Handle() != nullptr &&
           GetSystemMenu(window_.Handle(), FALSE) != nullptr;
}

bool Win32Surface::AppendSystemMenuSeparator() {
    if (!HasSystemMenu()) return false;
    return AppendMenuW(GetSystemMenu(window_.Handle(), FALSE), MF_SEPARATOR, 0, nullptr) != FALSE;
}

// The entry's command comes back as WM_SYSCOMMAND and goes to the dialog's OnSysCommand.
bool Win32Surface::AppendSystemMenuItem(unsigned commandId, std::string_view text) {
    if (!HasSystemMenu() || commandId == 0 || commandId >= 0xF000) return false;
    const std::wstring wide = Widen(text);
    return AppendMenuW(GetSystemMenu(window_.Handle(), FALSE), MF_STRING, commandId, wide.c_str()) != FALSE;
}

void Win32Surface::SetWindowIcon(int iconId) {
    const HWND dialog = window_.Handle();
    if (dialog == nullptr || iconId <= 0 || iconId > 0xFFFF) return;
    const HINSTANCE program = GetModuleHandleW(nullptr);
    const struct {
        WPARAM which;
        int width;
        int height;
    } sizes[] = {{ICON_BIG, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)},
                 {ICON_SMALL, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)}};
    for (const auto& size : sizes) {
        auto* icon = static_cast<HICON>(
            LoadImageW(program, MAKEINTRESOURCEW(iconId), IMAGE_ICON, size.width, size.height, 0));
        if (icon == nullptr) continue;
        window_.KeepIcon(icon);
        Send(dialog, WM_SETICON, size.which, reinterpret_cast<LPARAM>(icon));
    }
}

void Win32Surface::MinimizeWindow() {
    if (window_.Handle() != nullptr) ShowWindow(window_.Handle(), SW_MINIMIZE);
}

bool Win32Surface::StartWorker(WorkerBody body) { return window_.Workers().Start(std::move(body)); }

}  // namespace ofu::ui
