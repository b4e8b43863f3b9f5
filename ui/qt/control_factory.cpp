#include "ui/qt/control_factory.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "ui/combo_order.h"
#include "ui/qt/application_icon.h"
#include "ui/qt/dialog_palette.h"
#include "ui/qt/ipv4_address_edit.h"

namespace ofu::ui {
namespace {

// A report list that sends its click notifications as the Windows list view does: one click
// for a press and a release of the left button on the list, sent after the list has updated
// its selection (a Ctrl+click on the selected row has unselected it by then); the release that
// ends a double-click sends none, the double-click notification standing for it. A press on
// empty space clears the selection.
class ReportList final : public QTreeWidget {
public:
    ReportList(QWidget& dialog, int id, NotifySink notify) : QTreeWidget(&dialog), id_(id), notify_(std::move(notify)) {}

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (!indexAt(event->position().toPoint()).isValid()) clearSelection();
        if (event->button() == Qt::LeftButton) pressed_ = true;
        QTreeWidget::mousePressEvent(event);
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        QTreeWidget::mouseReleaseEvent(event);
        if (event->button() != Qt::LeftButton) return;
        const bool click = pressed_ && !endsDoubleClick_;
        pressed_ = endsDoubleClick_ = false;
        if (click) notify_({id_, Notification::ListClick, RowAt(event->position().toPoint())});
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override {
        QTreeWidget::mouseDoubleClickEvent(event);
        if (event->button() != Qt::LeftButton) return;
        endsDoubleClick_ = true;
        notify_({id_, Notification::ListDoubleClick, RowAt(event->position().toPoint())});
    }

private:
    int RowAt(QPoint point) const {
        const QModelIndex index = indexAt(point);
        return index.isValid() ? index.row() : -1;
    }

    int id_;
    NotifySink notify_;
    bool pressed_ = false;
    bool endsDoubleClick_ = false;
};

QWidget* CreateList(QWidget& dialog, const ControlTemplate& control, const NotifySink& notify) {
    auto* list = new ReportList(dialog, control.id, notify);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(control.Has(kSingleSelection) ? QAbstractItemView::SingleSelection
                                                         : QAbstractItemView::ExtendedSelection);
    list->setColumnCount(0);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionsMovable(false);
    list->setHeaderHidden(!control.Has(kReportView));
    KeepSystemColours(*list);
    return list;
}

QWidget* CreateCombo(QWidget& dialog, const ControlTemplate& control, const NotifySink& notify) {
    auto* combo = new QComboBox(&dialog);
    std::vector<std::string> items;
    for (std::string_view item : control.initialItems) {
        const int at = control.Has(kSorted) ? SortedInsertIndex(items, item)
                                            : static_cast<int>(items.size());
        items.insert(items.begin() + at, std::string(item));
    }
    for (const std::string& item : items) combo->addItem(QString::fromStdString(item));
    combo->setCurrentIndex(-1);
    const int id = control.id;
    QObject::connect(combo, &QComboBox::activated, combo,
                     [notify, id](int) { notify({id, Notification::SelectionChange, -1}); });
    KeepSystemColours(*combo);
    return combo;
}

}  // namespace

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString LabelDisplayText(std::string_view raw, bool noPrefix) {
    if (noPrefix) return ToQString(raw);
    std::string shown;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '&') {
            if (i + 1 < raw.size() && raw[i + 1] == '&') {
                shown += '&';
                ++i;
            }
            continue;
        }
        shown += raw[i];
    }
    return QString::fromStdString(shown);
}

QWidget* CreateControl(QWidget& dialog, const ControlTemplate& control, const DialogUnits& units,
                       QButtonGroup* radioGroup, NotifySink notify) {
    QWidget* widget = nullptr;
    const int id = control.id;
    QRect geometry = units.Map(control.rect);
    switch (control.kind) {
        case ControlKind::StaticText: {
            auto* label = new QLabel(LabelDisplayText(control.text, control.Has(kNoPrefix)), &dialog);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setAttribute(Qt::WA_TransparentForMouseEvents);
            const int lineHeight = label->fontMetrics().height();
            if (geometry.height() >= 2 * lineHeight) {
                label->setWordWrap(true);
            } else {
                // A one-line label may run a few pixels past its rectangle rather than lose
                // its last word: the substitute face's advances differ slightly from the
                // original's hinted ones. It never runs past the dialog's edge.
                const int needed = label->fontMetrics().horizontalAdvance(label->text()) + 1;
                const int room = dialog.width() - geometry.left();
                geometry.setWidth(std::max(geometry.width(), std::min(needed, room)));
            }
            widget = label;
            break;
        }
        case ControlKind::Icon: {
            auto* label = new QLabel(&dialog);
            label->setPixmap(LoadIconPixmap(control.imageId, 32));
            label->setAttribute(Qt::WA_TransparentForMouseEvents);
            geometry.setSize(QSize(32, 32));  // an icon control takes the icon's size
            widget = label;
            break;
        }
        case ControlKind::GroupBox: {
            auto* box = new QGroupBox(ToQString(control.text), &dialog);
            box->setAttribute(Qt::WA_TransparentForMouseEvents);
            box->setFocusPolicy(Qt::NoFocus);
            widget = box;
            break;
        }
        case ControlKind::PushButton:
        case ControlKind::DefaultPushButton: {
            auto* button = new QPushButton(ToQString(control.text), &dialog);
            // Enter is the dialog manager's business, not the button's.
            button->setAutoDefault(false);
            button->setDefault(control.kind == ControlKind::DefaultPushButton);
            QObject::connect(button, &QPushButton::clicked, button,
                             [notify, id] { notify({id, Notification::Clicked, -1}); });
            KeepSystemColours(*button);
            widget = button;
            break;
        }
        case ControlKind::Edit: {
            auto* edit = new QLineEdit(&dialog);
            if (control.Has(kPassword)) edit->setEchoMode(QLineEdit::Password);
            QObject::connect(edit, &QLineEdit::textEdited, edit,
                             [notify, id] { notify({id, Notification::TextChange, -1}); });
            KeepSystemColours(*edit);
            widget = edit;
            break;
        }
        case ControlKind::ListView:
            widget = CreateList(dialog, control, notify);
            break;
        case ControlKind::ComboBox:
            widget = CreateCombo(dialog, control, notify);
            // A closed drop-down list is as high as it needs; the template's height is that of
            // the open list.
            geometry.setHeight(widget->sizeHint().height());
            break;
        case ControlKind::IpAddress: {
            auto* box = new Ipv4AddressEdit(&dialog);
            KeepSystemColours(*box);
            widget = box;
            break;
        }
        case ControlKind::ProgressBar: {
            auto* bar = new QProgressBar(&dialog);
            bar->setTextVisible(false);
            bar->setRange(0, 100);
            bar->setValue(0);
            KeepSystemColours(*bar);
            widget = bar;
            break;
        }
        case ControlKind::RadioButton: {
            auto* radio = new QRadioButton(ToQString(control.text), &dialog);
            if (radioGroup != nullptr) radioGroup->addButton(radio);
            QObject::connect(radio, &QRadioButton::clicked, radio,
                             [notify, id] { notify({id, Notification::Clicked, -1}); });
            widget = radio;
            break;
        }
        case ControlKind::CheckBox: {
            auto* check = new QCheckBox(ToQString(control.text), &dialog);
            QObject::connect(check, &QCheckBox::clicked, check,
                             [notify, id] { notify({id, Notification::Clicked, -1}); });
            widget = check;
            break;
        }
    }
    if (!control.Has(kTabStop) && widget->focusPolicy() != Qt::NoFocus &&
        control.kind != ControlKind::IpAddress) {
        widget->setFocusPolicy(Qt::ClickFocus);
    }
    widget->setGeometry(geometry);
    if (control.Has(kHidden)) widget->setHidden(true);
    if (control.Has(kDisabled)) widget->setEnabled(false);
    return widget;
}

}  // namespace ofu::ui
