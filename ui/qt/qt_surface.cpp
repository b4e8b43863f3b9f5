#include "ui/qt/qt_surface.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <algorithm>

#include "ui/combo_order.h"
#include "ui/qt/application_icon.h"
#include "ui/qt/control_factory.h"
#include "ui/qt/ipv4_address_edit.h"
#include "ui/qt/qt_backend.h"
#include "ui/qt/qt_dialog_window.h"

namespace ofu::ui {
namespace {

std::string ToStd(const QString& text) { return text.toStdString(); }

void ShowProgress(QtControl& control) {
    auto* bar = qobject_cast<QProgressBar*>(control.widget);
    if (bar == nullptr) return;
    bar->setRange(control.progress.Low(), control.progress.High());
    bar->setValue(control.progress.Pos());
}

QFont FontFor(const FontSpec& spec, const QFont& base) {
    QFont font = base;
    font.setFamily(ToQString(spec.face));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(spec.weight, 100, 900)));
    font.setItalic(spec.italic);
    if (spec.height < 0) {
        font.setPixelSize(-spec.height);
    } else if (spec.height > 0) {
        // A positive height is the whole cell: scale the character height to fit it.
        font.setPixelSize(spec.height);
        const int cell = QFontMetrics(font).height();
        if (cell > 0) font.setPixelSize(std::max(1, spec.height * spec.height / cell));
    }
    return font;
}

}  // namespace

QtControl* QtSurface::Find(int id) const { return window_.Control(id); }

template <typename W>
W* QtSurface::Widget(int id) const {
    QtControl* control = Find(id);
    return control == nullptr ? nullptr : qobject_cast<W*>(control->widget);
}

// --- any control -------------------------------------------------------------------------

void QtSurface::SetItemText(int id, std::string_view text) {
    QtControl* control = Find(id);
    if (control == nullptr) return;
    control->rawText = std::string(text);
    QWidget* widget = control->widget;
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(LabelDisplayText(text, control->layout->Has(kNoPrefix)));
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(ToQString(text));
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(ToQString(text));
    } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
        box->setTitle(ToQString(text));
    } else if (auto* address = dynamic_cast<Ipv4AddressEdit*>(widget)) {
        address->Clear();
        const QStringList parts = ToQString(text).split(QLatin1Char('.'));
        for (int i = 0; i < std::min<qsizetype>(parts.size(), 4); ++i) {
            address->Field(i)->setText(parts[i].left(3));
        }
    }
}

std::string QtSurface::GetItemText(int id) const {
    QtControl* control = Find(id);
    if (control == nullptr) return {};
    QWidget* widget = control->widget;
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return ToStd(edit->text());
    if (auto* combo = qobject_cast<QComboBox*>(widget)) return ToStd(combo->currentText());
    if (auto* address = dynamic_cast<Ipv4AddressEdit*>(widget)) return ToStd(address->Text());
    return control->rawText;
}

void QtSurface::EnableItem(int id, bool enable) {
    if (QtControl* control = Find(id)) control->widget->setEnabled(enable);
}

bool QtSurface::IsItemEnabled(int id) const {
    QtControl* control = Find(id);
    return control != nullptr && control->widget->isEnabled();
}

void QtSurface::ShowItem(int id, bool show) {
    if (QtControl* control = Find(id)) control->widget->setHidden(!show);
}

bool QtSurface::IsItemVisible(int id) const {
    QtControl* control = Find(id);
    return control != nullptr && !control->widget->isHidden();
}

void QtSurface::SetFocusTo(int id) {
    if (QtControl* control = Find(id)) control->widget->setFocus(Qt::OtherFocusReason);
}

int QtSurface::FocusedItem() const { return window_.IdOf(window_.focusWidget()); }

void QtSurface::SetTextLimit(int id, int maxCharacters) {
    if (auto* edit = Widget<QLineEdit>(id)) edit->setMaxLength(maxCharacters > 0 ? maxCharacters : 32767);
}

void QtSurface::SetItemFont(int id, const FontSpec& font) {
    if (QtControl* control = Find(id)) control->widget->setFont(FontFor(font, control->widget->font()));
}

// --- list views ----------------------------------------------------------------------------

void QtSurface::InsertColumn(int id, int column, std::string_view title, int widthPixels) {
    auto* list = Widget<QTreeWidget>(id);
    if (list == nullptr) return;
    const int count = list->columnCount();
    const int at = std::clamp(column, 0, count);
    list->setColumnCount(count + 1);
    QTreeWidgetItem* header = list->headerItem();
    // Shift the later columns one place to the right.
    for (int c = count; c > at; --c) {
        header->setText(c, header->text(c - 1));
        list->setColumnWidth(c, list->columnWidth(c - 1));
        for (int r = 0; r < list->topLevelItemCount(); ++r) {
            QTreeWidgetItem* item = list->topLevelItem(r);
            item->setText(c, item->text(c - 1));
        }
    }
    header->setText(at, ToQString(title));
    header->setTextAlignment(at, Qt::AlignLeft | Qt::AlignVCenter);
    list->setColumnWidth(at, widthPixels);
    for (int r = 0; r < list->topLevelItemCount() && at < count; ++r) list->topLevelItem(r)->setText(at, {});
}

int QtSurface::InsertRow(int id, int row, std::string_view text) {
    auto* list = Widget<QTreeWidget>(id);
    if (list == nullptr || row < 0) return -1;
    const int at = std::min(row, list->topLevelItemCount());
    auto* item = new QTreeWidgetItem();
    item->setText(0, ToQString(text));
    list->insertTopLevelItem(at, item);
    return at;
}

void QtSurface::SetCellText(int id, int row, int column, std::string_view text) {
    auto* list = Widget<QTreeWidget>(id);
    if (list == nullptr || column < 0 || column >= std::max(list->columnCount(), 1)) return;
    if (QTreeWidgetItem* item = list->topLevelItem(row)) item->setText(column, ToQString(text));
}

std::string QtSurface::GetCellText(int id, int row, int column) const {
    auto* list = Widget<QTreeWidget>(id);
    if (list == nullptr || column < 0) return {};
    QTreeWidgetItem* item = list->topLevelItem(row);
    return item == nullptr ? std::string() : ToStd(item->text(column));
}

void QtSurface::DeleteAllRows(int id) {
    if (auto* list = Widget<QTreeWidget>(id)) list->clear();
}

int QtSurface::RowCount(int id) const {
    auto* list = Widget<QTreeWidget>(id);
    return list == nullptr ? 0 : list->topLevelItemCount();
}

int QtSurface::FirstVisibleRow(int id) const {
    auto* list = Widget<QTreeWidget>(id);
    if (list == nullptr) return 0;
    const QModelIndex top = list->indexAt(QPoint(0, 0));
    return top.isValid() ? top.row() : 0;
}

bool QtSurface::IsRowSelected(int id, int row) const {
    auto* list = Widget<QTreeWidget>(id);
    if (list == nullptr) return false;
    QTreeWidgetItem* item = list->topLevelItem(row);
    return item != nullptr && item->isSelected();
}

// Selection goes through the selection model: setCurrentItem() would honour the keyboard
// modifiers held at that moment.
void QtSurface::SelectRow(int id, int row) {
    auto* list = Widget<QTreeWidget>(id);
    if (list == nullptr) return;
    if (row < 0 || row >= list->topLevelItemCount()) {
        list->clearSelection();
        return;
    }
    const QModelIndex index = list->model()->index(row, 0);
    list->selectionModel()->select(index,
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

// --- drop-down lists -------------------------------------------------------------------------

int QtSurface::AddString(int id, std::string_view text) {
    auto* combo = Widget<QComboBox>(id);
    if (combo == nullptr) return -1;
    int at = combo->count();
    if (Find(id)->layout->Has(kSorted)) {
        std::vector<std::string> items;
        for (int i = 0; i < combo->count(); ++i) items.push_back(ToStd(combo->itemText(i)));
        at = SortedInsertIndex(items, text);
    }
    const QSignalBlocker blocker(combo);
    const int selected = combo->currentIndex();
    combo->insertItem(at, ToQString(text));
    // A combo box selects its first item by itself; a drop-down list does not.
    combo->setCurrentIndex(selected < 0 ? -1 : (selected >= at ? selected + 1 : selected));
    return at;
}

void QtSurface::ResetContent(int id) {
    if (auto* combo = Widget<QComboBox>(id)) {
        const QSignalBlocker blocker(combo);
        combo->clear();
    }
}

int QtSurface::GetCurSel(int id) const {
    auto* combo = Widget<QComboBox>(id);
    return combo == nullptr ? -1 : combo->currentIndex();
}

int QtSurface::SetCurSel(int id, int index) {
    auto* combo = Widget<QComboBox>(id);
    if (combo == nullptr) return -1;
    const QSignalBlocker blocker(combo);
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
    return combo->currentIndex();
}

std::string QtSurface::GetComboItemText(int id, int index) const {
    auto* combo = Widget<QComboBox>(id);
    if (combo == nullptr || index < 0 || index >= combo->count()) return {};
    return ToStd(combo->itemText(index));
}

int QtSurface::ComboCount(int id) const {
    auto* combo = Widget<QComboBox>(id);
    return combo == nullptr ? 0 : combo->count();
}

// --- IPv4 address controls -----------------------------------------------------------------

void QtSurface::SetAddress(int id, const AddressBytes& bytes) {
    if (QtControl* control = Find(id)) {
        if (auto* box = dynamic_cast<Ipv4AddressEdit*>(control->widget)) box->SetBytes(bytes);
    }
}

AddressFields QtSurface::GetAddress(int id) const {
    QtControl* control = Find(id);
    auto* box = control == nullptr ? nullptr : dynamic_cast<Ipv4AddressEdit*>(control->widget);
    return box == nullptr ? AddressFields{} : box->Fields();
}

bool QtSurface::IsAddressBlank(int id) const { return GetAddress(id).IsBlank(); }

void QtSurface::ClearAddress(int id) {
    if (QtControl* control = Find(id)) {
        if (auto* box = dynamic_cast<Ipv4AddressEdit*>(control->widget)) box->Clear();
    }
}

void QtSurface::FocusAddressField(int id, int field) {
    if (QtControl* control = Find(id)) {
        if (auto* box = dynamic_cast<Ipv4AddressEdit*>(control->widget)) box->FocusField(field);
    }
}

// --- progress bars ---------------------------------------------------------------------------

void QtSurface::SetProgressRange(int id, int low, int high) {
    QtControl* control = Find(id);
    if (control == nullptr || control->layout->kind != ControlKind::ProgressBar) return;
    control->progress.SetRange(low, high);
    ShowProgress(*control);
}

int QtSurface::SetProgressStep(int id, int step) {
    QtControl* control = Find(id);
    if (control == nullptr || control->layout->kind != ControlKind::ProgressBar) return 0;
    return control->progress.SetStep(step);
}

int QtSurface::StepProgress(int id) {
    QtControl* control = Find(id);
    if (control == nullptr || control->layout->kind != ControlKind::ProgressBar) return 0;
    const int previous = control->progress.StepIt();
    ShowProgress(*control);
    return previous;
}

int QtSurface::SetProgressPos(int id, int position) {
    QtControl* control = Find(id);
    if (control == nullptr || control->layout->kind != ControlKind::ProgressBar) return 0;
    const int previous = control->progress.SetPos(position);
    ShowProgress(*control);
    return previous;
}

int QtSurface::GetProgressPos(int id) const {
    QtControl* control = Find(id);
    if (control == nullptr || control->layout->kind != ControlKind::ProgressBar) return 0;
    return control->progress.Pos();
}

// --- buttons -------------------------------------------------------------------------------

void QtSurface::SetChecked(int id, bool checked) {
    auto* button = Widget<QAbstractButton>(id);
    if (button == nullptr || !button->isCheckable()) return;
    QButtonGroup* group = button->group();
    // An exclusive group refuses to uncheck its checked button.
    if (group != nullptr && !checked) group->setExclusive(false);
    button->setChecked(checked);
    if (group != nullptr && !checked) group->setExclusive(true);
}

bool QtSurface::IsChecked(int id) const {
    auto* button = Widget<QAbstractButton>(id);
    return button != nullptr && button->isChecked();
}

// --- the dialog ------------------------------------------------------------------------------

int QtSurface::ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon) {
    return window_.Backend().ShowMessageFor(
        &window_, {std::string(text), std::string(caption), icon, window_.Layout().id});
}

void QtSurface::EndDialog(int result) { window_.EndWith(result); }

void QtSurface::SetTimer(int timerId, int periodMs) { window_.SetTimer(timerId, periodMs); }

void QtSurface::KillTimer(int timerId) { window_.KillTimer(timerId); }

bool QtSurface::HasSystemMenu() const { return window_.Layout().Has(kSystemMenu); }

bool QtSurface::AppendSystemMenuSeparator() {
    if (!HasSystemMenu()) return false;
    window_.AppendSystemMenu(0, {});
    return true;
}

bool QtSurface::AppendSystemMenuItem(unsigned commandId, std::string_view text) {
    if (!HasSystemMenu() || commandId == 0) return false;
    window_.AppendSystemMenu(commandId, std::string(text));
    return true;
}

void QtSurface::SetWindowIcon(int iconId) { window_.setWindowIcon(LoadIcon(iconId)); }

void QtSurface::MinimizeWindow() { window_.showMinimized(); }

bool QtSurface::StartWorker(WorkerBody body) { return window_.Workers().Start(std::move(body)); }

}  // namespace ofu::ui
