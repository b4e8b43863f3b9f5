#include "ui/testing/test_dialog.h"

#include <algorithm>

#include "ui/dialog.h"
#include "ui/dialog_manager.h"
#include "ui/testing/test_backend.h"

namespace ofu::ui {
namespace {

std::string N(int value) { return std::to_string(value); }

std::string AddressField(const std::string& typed) {
    std::string digits;
    for (char c : typed) {
        if (c >= '0' && c <= '9' && digits.size() < 3) digits += c;
    }
    if (!digits.empty() && std::stoi(digits) > 255) digits = "255";
    return digits;
}

}  // namespace

TestDialog::TestDialog(TestBackend& backend, TestSession& session, bool owning)
    : backend_(&backend), session_(&session), owning_(owning) {}

TestDialog::TestDialog(TestDialog&& other) noexcept
    : backend_(other.backend_), session_(other.session_), owning_(other.owning_) {
    other.owning_ = false;
    other.session_ = nullptr;
}

TestDialog::~TestDialog() {
    if (!owning_ || session_ == nullptr || ActiveBackend() != backend_) return;
    if (!session_->ended) {
        session_->ended = true;
        session_->result = -1;
    }
    backend_->Teardown(*session_);
}

void TestDialog::After() { backend_->AfterAction(*session_); }

void TestDialog::Ignored(const std::string& what) {
    backend_->Log().Add(TemplateId(), "Ignored: " + what);
}

void TestDialog::Click(int id) {
    if (!IsOpen()) return Ignored("click on " + N(id) + " after the dialog ended");
    TestControlModel* control = Surface().Find(id);
    if (control == nullptr) {
        backend_->AddFailure("dialog " + N(TemplateId()) + " has no control " + N(id) + " to click");
        return;
    }
    if (!control->visible || !control->enabled) {
        return Ignored("click on hidden or disabled control " + N(id));
    }
    backend_->Log().Add(TemplateId(), "UserClick(" + N(id) + ")");
    if (control->kind == ControlKind::RadioButton && control->layout->Has(kAutoRadio)) {
        // An automatic radio button unchecks the other buttons of its group.
        std::vector<int> group;
        bool previousWasRadio = false;
        bool found = false;
        for (const ControlTemplate& c : Owner().Template().controls) {
            const bool isRadio = c.kind == ControlKind::RadioButton;
            if (isRadio && (c.Has(kGroupStart) || !previousWasRadio)) {
                if (found) break;
                group.clear();
            }
            if (!isRadio && found) break;
            if (isRadio) group.push_back(c.id);
            found = found || c.id == id;
            previousWasRadio = isRadio;
        }
        for (int member : group) {
            if (TestControlModel* radio = Surface().Find(member)) radio->checked = member == id;
        }
    } else if (control->kind == ControlKind::CheckBox && control->layout->Has(kAutoCheck)) {
        control->checked = !control->checked;
    }
    if (control->kind != ControlKind::StaticText && control->kind != ControlKind::GroupBox) {
        Surface().SetFocusedId(id);
    }
    Owner().Dispatch({id, Notification::Clicked, -1});
    After();
}

void TestDialog::ClickRow(int listId, int row) {
    if (!IsOpen()) return Ignored("row click after the dialog ended");
    TestControlModel* list = Surface().Find(listId);
    if (list == nullptr || list->kind != ControlKind::ListView) {
        backend_->AddFailure("dialog " + N(TemplateId()) + " has no list " + N(listId));
        return;
    }
    if (!list->visible || !list->enabled) return Ignored("row click on a hidden or disabled list");
    const bool onRow = row >= list->topRow && row < static_cast<int>(list->rows.size());
    list->selectedRow = onRow ? row : -1;
    Surface().SetFocusedId(listId);
    backend_->Log().Add(TemplateId(), "UserClickRow(" + N(listId) + ", " + N(row) + ")");
    Owner().Dispatch({listId, Notification::ListClick, onRow ? row : -1});
    After();
}

void TestDialog::DoubleClickRow(int listId, int row) {
    ClickRow(listId, row);
    if (!IsOpen()) return;
    const TestControlModel* list = Surface().Find(listId);
    if (list == nullptr) return;
    Owner().Dispatch({listId, Notification::ListDoubleClick, list->selectedRow});
    After();
}

void TestDialog::ChooseItem(int comboId, int index) {
    if (!IsOpen()) return Ignored("choice after the dialog ended");
    TestControlModel* combo = Surface().Find(comboId);
    if (combo == nullptr || combo->kind != ControlKind::ComboBox || index < 0 ||
        index >= static_cast<int>(combo->items.size())) {
        backend_->AddFailure("dialog " + N(TemplateId()) + ": no item " + N(index) +
                             " in drop-down list " + N(comboId));
        return;
    }
    if (!combo->visible || !combo->enabled) return Ignored("choice in a hidden or disabled list");
    combo->currentItem = index;
    Surface().SetFocusedId(comboId);
    backend_->Log().Add(TemplateId(), "UserChoose(" + N(comboId) + ", " + N(index) + ")");
    Owner().Dispatch({comboId, Notification::SelectionChange, -1});
    After();
}

void TestDialog::Type(int editId, std::string_view text) {
    if (!IsOpen()) return Ignored("typing after the dialog ended");
    TestControlModel* edit = Surface().Find(editId);
    if (edit == nullptr || edit->kind != ControlKind::Edit) {
        backend_->AddFailure("dialog " + N(TemplateId()) + " has no edit " + N(editId));
        return;
    }
    if (!edit->visible || !edit->enabled) return Ignored("typing into a hidden or disabled edit");
    if (edit->textLimit > 0 && text.size() > static_cast<std::size_t>(edit->textLimit)) {
        text = text.substr(0, edit->textLimit);
    }
    edit->text = std::string(text);
    Surface().SetFocusedId(editId);
    Owner().Dispatch({editId, Notification::TextChange, -1});
    After();
}

void TestDialog::TypeAddress(int id, const std::array<std::string, 4>& fields) {
    if (!IsOpen()) return Ignored("typing after the dialog ended");
    TestControlModel* box = Surface().Find(id);
    if (box == nullptr || box->kind != ControlKind::IpAddress) {
        backend_->AddFailure("dialog " + N(TemplateId()) + " has no address control " + N(id));
        return;
    }
    if (!box->visible || !box->enabled) return Ignored("typing into a hidden or disabled box");
    for (std::size_t i = 0; i < 4; ++i) box->fields[i] = AddressField(fields[i]);
    Surface().SetFocusedId(id);
    After();
}

void TestDialog::Focus(int id) {
    if (Surface().Find(id) == nullptr) {
        backend_->AddFailure("dialog " + N(TemplateId()) + " has no control " + N(id) + " to focus");
        return;
    }
    Surface().SetFocusedId(id);
}

void TestDialog::ScrollList(int listId, int firstVisibleRow) {
    TestControlModel* list = Surface().Find(listId);
    if (list == nullptr || list->kind != ControlKind::ListView) {
        backend_->AddFailure("dialog " + N(TemplateId()) + " has no list " + N(listId));
        return;
    }
    const int last = std::max(static_cast<int>(list->rows.size()) - 1, 0);
    list->topRow = std::clamp(firstVisibleRow, 0, last);
}

void TestDialog::PressEnter() {
    if (!IsOpen()) return Ignored("Enter after the dialog ended");
    backend_->Log().Add(TemplateId(), "UserEnter()");
    ui::PressEnter(Owner());
    After();
}

void TestDialog::PressEscape() {
    if (!IsOpen()) return Ignored("Escape after the dialog ended");
    backend_->Log().Add(TemplateId(), "UserEscape()");
    ui::PressEscape(Owner());
    After();
}

void TestDialog::PressCloseBox() {
    if (!IsOpen()) return Ignored("close box after the dialog ended");
    if (!Surface().HasSystemMenu()) return Ignored("close box of a dialog that has none");
    backend_->Log().Add(TemplateId(), "UserClose()");
    RequestClose(Owner());
    After();
}

void TestDialog::ChooseSystemMenu(unsigned command) {
    if (!IsOpen()) return Ignored("system menu after the dialog ended");
    const auto& menu = session_->systemMenu;
    const bool appended = command != 0 && std::any_of(menu.begin(), menu.end(), [&](const auto& e) {
                              return e.command == command;
                          });
    const unsigned standard = command & 0xFFF0u;
    const bool offered =
        Surface().HasSystemMenu() &&
        (appended || standard == kSysCommandClose ||
         (standard == kSysCommandMinimize && Owner().Template().Has(kMinimizeBox)));
    if (!offered) return Ignored("system menu command " + std::to_string(command));
    backend_->Log().Add(TemplateId(), "UserSysCommand(" + std::to_string(command) + ")");
    Owner().OnSysCommand(command);
    After();
}

bool TestDialog::IsOpen() const { return session_ != nullptr && !session_->ended; }

int TestDialog::Result() const { return session_ == nullptr ? -1 : session_->result; }

int TestDialog::TemplateId() const { return session_->dialog->TemplateId(); }

Dialog& TestDialog::Owner() const { return *session_->dialog; }

TestSurface& TestDialog::Surface() const { return *session_->surface; }

const TestControlModel& TestDialog::Control(int id) const {
    static const TestControlModel kMissing;
    const TestControlModel* control = Surface().Find(id);
    if (control == nullptr) {
        backend_->AddFailure("dialog " + N(TemplateId()) + " has no control " + N(id));
        return kMissing;
    }
    return *control;
}

const std::vector<SystemMenuEntry>& TestDialog::SystemMenu() const { return session_->systemMenu; }

int TestDialog::WindowIcon() const { return session_->windowIcon; }

bool TestDialog::HasTimer(int timerId) const {
    return backend_->Scheduler().HasTimer(session_, timerId);
}

int TestDialog::LiveWorkers() const { return backend_->Scheduler().LiveWorkers(session_); }

}  // namespace ofu::ui
