#include "ui/testing/test_surface.h"

#include <algorithm>
#include <utility>

#include "ui/combo_order.h"
#include "ui/testing/test_backend.h"
#include "ui/testing/test_session.h"

namespace ofu::ui {
namespace {

std::string Quote(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string Args(std::initializer_list<std::string> parts) {
    std::string out;
    for (const std::string& part : parts) {
        if (!out.empty()) out += ", ";
        out += part;
    }
    return out;
}

std::string N(int value) { return std::to_string(value); }

int FieldValue(const std::string& field) {
    int value = 0;
    for (char c : field) {
        if (c < '0' || c > '9') break;
        value = std::min(value * 10 + (c - '0'), 999);
    }
    return value;
}

std::string Truncated(std::string_view text, int limit) {
    if (limit > 0 && text.size() > static_cast<std::size_t>(limit)) text = text.substr(0, limit);
    return std::string(text);
}

}  // namespace

TestSurface::TestSurface(TestBackend& backend, TestSession& session, const DialogTemplate& layout)
    : backend_(backend), session_(session), layout_(layout) {
    controls_.reserve(layout.controls.size());
    for (const ControlTemplate& control : layout.controls) {
        TestControlModel model;
        model.layout = &control;
        model.id = control.id;
        model.kind = control.kind;
        model.text = std::string(control.text);
        model.visible = !control.Has(kHidden);
        model.enabled = !control.Has(kDisabled);
        for (std::string_view item : control.initialItems) {
            const int at = control.Has(kSorted) ? SortedInsertIndex(model.items, item)
                                                : static_cast<int>(model.items.size());
            model.items.insert(model.items.begin() + at, std::string(item));
        }
        controls_.push_back(std::move(model));
    }
}

TestControlModel* TestSurface::Find(int id) {
    if (id == -1) return nullptr;
    for (TestControlModel& control : controls_) {
        if (control.id == id) return &control;
    }
    return nullptr;
}

const TestControlModel* TestSurface::Find(int id) const {
    return const_cast<TestSurface*>(this)->Find(id);
}

void TestSurface::Log(std::string call) const { backend_.Log().Add(layout_.id, std::move(call)); }

TestControlModel* TestSurface::ExpectAny(int id, const char* call) {
    TestControlModel* control = Find(id);
    if (control == nullptr) {
        backend_.AddFailure("dialog " + N(layout_.id) + ": " + call + " on control " + N(id) +
                            ", which the dialog does not have");
    }
    return control;
}

const TestControlModel* TestSurface::ExpectAny(int id, const char* call) const {
    return const_cast<TestSurface*>(this)->ExpectAny(id, call);
}

TestControlModel* TestSurface::Expect(int id, ControlKind kind, const char* call) {
    TestControlModel* control = ExpectAny(id, call);
    if (control == nullptr) return nullptr;
    const bool buttonLike =
        (kind == ControlKind::CheckBox || kind == ControlKind::RadioButton) &&
        (control->kind == ControlKind::CheckBox || control->kind == ControlKind::RadioButton);
    if (control->kind != kind && !buttonLike) {
        backend_.AddFailure("dialog " + N(layout_.id) + ": " + call + " on control " + N(id) +
                            ", which is of another kind");
        return nullptr;
    }
    return control;
}

const TestControlModel* TestSurface::Expect(int id, ControlKind kind, const char* call) const {
    return const_cast<TestSurface*>(this)->Expect(id, kind, call);
}

// --- any control -------------------------------------------------------------------------

void TestSurface::SetItemText(int id, std::string_view text) {
    Log("SetItemText(" + Args({N(id), Quote(text)}) + ")");
    TestControlModel* control = ExpectAny(id, "SetItemText");
    if (control == nullptr) return;
    if (control->kind == ControlKind::IpAddress) {
        control->fields = {};
        std::size_t field = 0;
        for (char c : text) {
            if (c == '.') {
                if (++field == 4) break;
            } else if (control->fields[field].size() < 3) {
                control->fields[field] += c;
            }
        }
        return;
    }
    control->text = control->kind == ControlKind::Edit ? Truncated(text, control->textLimit)
                                                       : std::string(text);
}

std::string TestSurface::GetItemText(int id) const {
    const TestControlModel* control = ExpectAny(id, "GetItemText");
    if (control == nullptr) return {};
    switch (control->kind) {
        case ControlKind::ComboBox:
            return control->currentItem >= 0 ? control->items[control->currentItem] : std::string();
        case ControlKind::IpAddress: {
            if (IsAddressBlank(id)) return {};
            const AddressFields fields = GetAddress(id);
            return N(fields.values[0]) + "." + N(fields.values[1]) + "." + N(fields.values[2]) +
                   "." + N(fields.values[3]);
        }
        default:
            return control->text;
    }
}

void TestSurface::EnableItem(int id, bool enable) {
    Log(std::string(enable ? "EnableItem(" : "DisableItem(") + N(id) + ")");
    if (TestControlModel* control = ExpectAny(id, "EnableItem")) control->enabled = enable;
}

bool TestSurface::IsItemEnabled(int id) const {
    const TestControlModel* control = ExpectAny(id, "IsItemEnabled");
    return control != nullptr && control->enabled;
}

void TestSurface::ShowItem(int id, bool show) {
    Log(std::string(show ? "ShowItem(" : "HideItem(") + N(id) + ")");
    if (TestControlModel* control = ExpectAny(id, "ShowItem")) control->visible = show;
}

bool TestSurface::IsItemVisible(int id) const {
    const TestControlModel* control = ExpectAny(id, "IsItemVisible");
    return control != nullptr && control->visible;
}

void TestSurface::SetFocusTo(int id) {
    Log("SetFocusTo(" + N(id) + ")");
    if (TestControlModel* control = ExpectAny(id, "SetFocusTo")) {
        focused_ = id;
        if (control->kind == ControlKind::IpAddress) control->focusedField = 0;
    }
}

int TestSurface::FocusedItem() const { return focused_; }

void TestSurface::SetTextLimit(int id, int maxCharacters) {
    Log("SetTextLimit(" + Args({N(id), N(maxCharacters)}) + ")");
    if (TestControlModel* control = Expect(id, ControlKind::Edit, "SetTextLimit")) {
        control->textLimit = std::max(maxCharacters, 0);
        control->text = Truncated(control->text, control->textLimit);
    }
}

void TestSurface::SetItemFont(int id, const FontSpec& font) {
    Log("SetItemFont(" + Args({N(id), Quote(font.face), N(font.height), N(font.weight)}) + ")");
    if (TestControlModel* control = ExpectAny(id, "SetItemFont")) control->font = font;
}

// --- list views ----------------------------------------------------------------------------

void TestSurface::InsertColumn(int id, int column, std::string_view title, int widthPixels) {
    Log("InsertColumn(" + Args({N(id), N(column), Quote(title), N(widthPixels)}) + ")");
    TestControlModel* list = Expect(id, ControlKind::ListView, "InsertColumn");
    if (list == nullptr) return;
    const int at = std::clamp(column, 0, static_cast<int>(list->columns.size()));
    list->columns.insert(list->columns.begin() + at, {std::string(title), widthPixels});
    for (auto& row : list->rows) row.insert(row.begin() + at, std::string());
}

int TestSurface::InsertRow(int id, int row, std::string_view text) {
    Log("InsertRow(" + Args({N(id), N(row), Quote(text)}) + ")");
    TestControlModel* list = Expect(id, ControlKind::ListView, "InsertRow");
    if (list == nullptr || row < 0) return -1;
    const int at = std::min(row, static_cast<int>(list->rows.size()));
    std::vector<std::string> cells(std::max<std::size_t>(list->columns.size(), 1));
    cells[0] = std::string(text);
    list->rows.insert(list->rows.begin() + at, std::move(cells));
    if (list->selectedRow >= at) ++list->selectedRow;
    return at;
}

void TestSurface::SetCellText(int id, int row, int column, std::string_view text) {
    Log("SetCellText(" + Args({N(id), N(row), N(column), Quote(text)}) + ")");
    TestControlModel* list = Expect(id, ControlKind::ListView, "SetCellText");
    if (list == nullptr || row < 0 || row >= static_cast<int>(list->rows.size()) || column < 0) {
        return;
    }
    auto& cells = list->rows[row];
    if (column >= static_cast<int>(cells.size())) {
        if (column >= static_cast<int>(std::max<std::size_t>(list->columns.size(), 1))) return;
        cells.resize(column + 1);
    }
    cells[column] = std::string(text);
}

std::string TestSurface::GetCellText(int id, int row, int column) const {
    const TestControlModel* list = Expect(id, ControlKind::ListView, "GetCellText");
    if (list == nullptr || row < 0 || row >= static_cast<int>(list->rows.size()) || column < 0 ||
        column >= static_cast<int>(list->rows[row].size())) {
        return {};
    }
    return list->rows[row][column];
}

void TestSurface::DeleteAllRows(int id) {
    Log("DeleteAllRows(" + N(id) + ")");
    if (TestControlModel* list = Expect(id, ControlKind::ListView, "DeleteAllRows")) {
        list->rows.clear();
        list->selectedRow = -1;
        list->topRow = 0;
    }
}

int TestSurface::RowCount(int id) const {
    const TestControlModel* list = Expect(id, ControlKind::ListView, "RowCount");
    return list == nullptr ? 0 : static_cast<int>(list->rows.size());
}

int TestSurface::FirstVisibleRow(int id) const {
    const TestControlModel* list = Expect(id, ControlKind::ListView, "FirstVisibleRow");
    return list == nullptr ? 0 : list->topRow;
}

bool TestSurface::IsRowSelected(int id, int row) const {
    const TestControlModel* list = Expect(id, ControlKind::ListView, "IsRowSelected");
    return list != nullptr && row >= 0 && list->selectedRow == row;
}

void TestSurface::SelectRow(int id, int row) {
    Log("SelectRow(" + Args({N(id), N(row)}) + ")");
    if (TestControlModel* list = Expect(id, ControlKind::ListView, "SelectRow")) {
        list->selectedRow = (row >= 0 && row < static_cast<int>(list->rows.size())) ? row : -1;
    }
}

// --- drop-down lists -------------------------------------------------------------------------

int TestSurface::AddString(int id, std::string_view text) {
    Log("AddString(" + Args({N(id), Quote(text)}) + ")");
    TestControlModel* combo = Expect(id, ControlKind::ComboBox, "AddString");
    if (combo == nullptr) return -1;
    const int at = combo->layout->Has(kSorted) ? SortedInsertIndex(combo->items, text)
                                               : static_cast<int>(combo->items.size());
    combo->items.insert(combo->items.begin() + at, std::string(text));
    if (combo->currentItem >= at) ++combo->currentItem;
    return at;
}

void TestSurface::ResetContent(int id) {
    Log("ResetContent(" + N(id) + ")");
    if (TestControlModel* combo = Expect(id, ControlKind::ComboBox, "ResetContent")) {
        combo->items.clear();
        combo->currentItem = -1;
    }
}

int TestSurface::GetCurSel(int id) const {
    const TestControlModel* combo = Expect(id, ControlKind::ComboBox, "GetCurSel");
    return combo == nullptr ? -1 : combo->currentItem;
}

int TestSurface::SetCurSel(int id, int index) {
    Log("SetCurSel(" + Args({N(id), N(index)}) + ")");
    TestControlModel* combo = Expect(id, ControlKind::ComboBox, "SetCurSel");
    if (combo == nullptr) return -1;
    combo->currentItem = (index >= 0 && index < static_cast<int>(combo->items.size())) ? index : -1;
    return combo->currentItem;
}

std::string TestSurface::GetComboItemText(int id, int index) const {
    const TestControlModel* combo = Expect(id, ControlKind::ComboBox, "GetComboItemText");
    if (combo == nullptr || index < 0 || index >= static_cast<int>(combo->items.size())) return {};
    return combo->items[index];
}

int TestSurface::ComboCount(int id) const {
    const TestControlModel* combo = Expect(id, ControlKind::ComboBox, "ComboCount");
    return combo == nullptr ? 0 : static_cast<int>(combo->items.size());
}

// --- IPv4 address controls -----------------------------------------------------------------

void TestSurface::SetAddress(int id, const AddressBytes& bytes) {
    Log("SetAddress(" + Args({N(id), N(bytes[0]) + "." + N(bytes[1]) + "." + N(bytes[2]) + "." +
                                         N(bytes[3])}) +
        ")");
    if (TestControlModel* box = Expect(id, ControlKind::IpAddress, "SetAddress")) {
        for (std::size_t i = 0; i < 4; ++i) box->fields[i] = N(bytes[i]);
    }
}

AddressFields TestSurface::GetAddress(int id) const {
    AddressFields result;
    const TestControlModel* box = Expect(id, ControlKind::IpAddress, "GetAddress");
    if (box == nullptr) return result;
    for (std::size_t i = 0; i < 4; ++i) {
        if (box->fields[i].empty()) continue;
        result.values[i] = std::min(FieldValue(box->fields[i]), 255);
        ++result.nonBlank;
    }
    return result;
}

bool TestSurface::IsAddressBlank(int id) const {
    const TestControlModel* box = Expect(id, ControlKind::IpAddress, "IsAddressBlank");
    if (box == nullptr) return true;
    return std::all_of(box->fields.begin(), box->fields.end(),
                       [](const std::string& field) { return field.empty(); });
}

void TestSurface::ClearAddress(int id) {
    Log("ClearAddress(" + N(id) + ")");
    if (TestControlModel* box = Expect(id, ControlKind::IpAddress, "ClearAddress")) {
        box->fields = {};
    }
}

void TestSurface::FocusAddressField(int id, int field) {
    Log("FocusAddressField(" + Args({N(id), N(field)}) + ")");
    TestControlModel* box = Expect(id, ControlKind::IpAddress, "FocusAddressField");
    if (box == nullptr || field < 0 || field > 3) return;
    focused_ = id;
    box->focusedField = field;
}

// --- progress bars ---------------------------------------------------------------------------

void TestSurface::SetProgressRange(int id, int low, int high) {
    Log("SetProgressRange(" + Args({N(id), N(low), N(high)}) + ")");
    if (TestControlModel* bar = Expect(id, ControlKind::ProgressBar, "SetProgressRange")) {
        bar->progress.SetRange(low, high);
    }
}

int TestSurface::SetProgressStep(int id, int step) {
    Log("SetProgressStep(" + Args({N(id), N(step)}) + ")");
    TestControlModel* bar = Expect(id, ControlKind::ProgressBar, "SetProgressStep");
    return bar == nullptr ? 0 : bar->progress.SetStep(step);
}

int TestSurface::StepProgress(int id) {
    Log("StepProgress(" + N(id) + ")");
    TestControlModel* bar = Expect(id, ControlKind::ProgressBar, "StepProgress");
    return bar == nullptr ? 0 : bar->progress.StepIt();
}

int TestSurface::SetProgressPos(int id, int position) {
    Log("SetProgressPos(" + Args({N(id), N(position)}) + ")");
    TestControlModel* bar = Expect(id, ControlKind::ProgressBar, "SetProgressPos");
    return bar == nullptr ? 0 : bar->progress.SetPos(position);
}

int TestSurface::GetProgressPos(int id) const {
    const TestControlModel* bar = Expect(id, ControlKind::ProgressBar, "GetProgressPos");
    return bar == nullptr ? 0 : bar->progress.Pos();
}

// --- buttons -------------------------------------------------------------------------------

void TestSurface::SetChecked(int id, bool checked) {
    Log("SetChecked(" + Args({N(id), checked ? "true" : "false"}) + ")");
    if (TestControlModel* button = Expect(id, ControlKind::CheckBox, "SetChecked")) {
        button->checked = checked;
    }
}

bool TestSurface::IsChecked(int id) const {
    const TestControlModel* button = Expect(id, ControlKind::CheckBox, "IsChecked");
    return button != nullptr && button->checked;
}

// --- the dialog ------------------------------------------------------------------------------

int TestSurface::ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon) {
    return backend_.ShowMessage({std::string(text), std::string(caption), icon, layout_.id});
}

void TestSurface::EndDialog(int result) {
    Log("EndDialog(" + N(result) + ")");
    if (session_.ended) return;
    session_.ended = true;
    session_.result = result;
}

void TestSurface::SetTimer(int timerId, int periodMs) {
    Log("SetTimer(" + Args({N(timerId), N(periodMs)}) + ")");
    backend_.Scheduler().SetTimer(&session_, timerId, periodMs);
}

void TestSurface::KillTimer(int timerId) {
    Log("KillTimer(" + N(timerId) + ")");
    backend_.Scheduler().KillTimer(&session_, timerId);
}

bool TestSurface::HasSystemMenu() const { return layout_.Has(kSystemMenu); }

bool TestSurface::AppendSystemMenuSeparator() {
    Log("AppendSystemMenuSeparator()");
    if (!HasSystemMenu()) return false;
    session_.systemMenu.push_back({0, {}});
    return true;
}

bool TestSurface::AppendSystemMenuItem(unsigned commandId, std::string_view text) {
    Log("AppendSystemMenuItem(" + Args({std::to_string(commandId), Quote(text)}) + ")");
    if (!HasSystemMenu()) return false;
    session_.systemMenu.push_back({commandId, std::string(text)});
    return true;
}

void TestSurface::SetWindowIcon(int iconId) {
    Log("SetWindowIcon(" + N(iconId) + ")");
    session_.windowIcon = iconId;
}

void TestSurface::MinimizeWindow() {
    Log("MinimizeWindow()");
    session_.minimized = true;
}

bool TestSurface::StartWorker(WorkerBody body) {
    Log("StartWorker()");
    return backend_.Scheduler().StartWorker(&session_, std::move(body));
}

}  // namespace ofu::ui
