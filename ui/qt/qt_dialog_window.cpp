#include "ui/qt/qt_dialog_window.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>
#include <QTimer>

#include "resources/dialog_templates.h"
#include "ui/accessible_names.h"
#include "ui/command_ids.h"
#include "ui/dialog.h"
#include "ui/dialog_manager.h"
#include "ui/qt/application_icon.h"
#include "ui/qt/control_factory.h"
#include "ui/qt/dialog_palette.h"
#include "ui/qt/ipv4_address_edit.h"
#include "ui/qt/qt_surface.h"

namespace ofu::ui {
namespace {

// Gives a control without a text of its own the name of its label, and makes the label its
// buddy, which the accessibility bus reports as the control's "labelled by" relation (what a
// screen reader announces for a drop-down list, whose name is its current item). The four
// fields of an address control are announced as parts of it.
void NameForScreenReaders(QWidget& widget, const std::string& name, QWidget* labelWidget) {
    if (name.empty()) return;
    const QString label = ToQString(name);
    widget.setAccessibleName(label);
    if (auto* text = dynamic_cast<QLabel*>(labelWidget)) text->setBuddy(&widget);
    if (auto* address = dynamic_cast<Ipv4AddressEdit*>(&widget)) {
        for (int field = 0; field < 4; ++field)
            address->Field(field)->setAccessibleName(QStringLiteral("%1, part %2 of 4").arg(label).arg(field + 1));
    }
}

Qt::WindowFlags FlagsFor(const DialogTemplate& layout) {
    Qt::WindowFlags flags = layout.Has(kAppWindow) ? Qt::Window : Qt::Dialog;
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (layout.Has(kSystemMenu)) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (layout.Has(kMinimizeBox)) flags |= Qt::WindowMinimizeButtonHint;
    return flags;
}

}  // namespace

QtDialogWindow::QtDialogWindow(QtBackend& backend, Dialog& dialog, QWidget* parent)
    : QDialog(parent, FlagsFor(dialog.Template())),
      backend_(backend),
      dialog_(dialog),
      layout_(dialog.Template()) {
    setWindowTitle(ToQString(layout_.caption));
    setFont(DialogFont(layout_.fontFace, layout_.fontPoints));
    units_ = DialogUnits::FromFont(font());
    setFixedSize(units_.MapSize(layout_.width, layout_.height));
    ApplyDialogColours(*this);
    setWindowIcon(LoadIcon(kApplicationIconId));
    setSizeGripEnabled(false);

    QButtonGroup* radioGroup = nullptr;
    controls_.reserve(layout_.controls.size());
    for (const ControlTemplate& control : layout_.controls) {
        if (control.kind != ControlKind::RadioButton) {
            radioGroup = nullptr;
        } else if (radioGroup == nullptr || control.Has(kGroupStart)) {
            radioGroup = new QButtonGroup(this);
        }
        QtControl entry;
        entry.layout = &control;
        entry.rawText = std::string(control.text);
        entry.widget = CreateControl(*this, control, units_, radioGroup,
                                     [this](const Notify& notify) { Notified(notify); });
        controls_.push_back(std::move(entry));
    }
    for (QtControl& control : controls_) {
        const ControlTemplate* label = LabelFor(layout_, *control.layout);
        if (label == nullptr) continue;
        QWidget* labelWidget = controls_[static_cast<std::size_t>(label - layout_.controls.data())].widget;
        NameForScreenReaders(*control.widget, AccessibleNameFor(layout_, *control.layout), labelWidget);
    }
    // Group boxes are drawn beneath the controls that they frame.
    for (QtControl& control : controls_) {
        if (control.layout->kind == ControlKind::GroupBox) control.widget->lower();
    }
    surface_ = std::make_unique<QtSurface>(*this);
    // Alt+Space opens the system menu whichever control has the focus (a list would take the
    // Space for itself).
    auto* systemMenuKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this);
    connect(systemMenuKey, &QShortcut::activated, this,
            [this] { OpenSystemMenu(mapToGlobal(QPoint(0, 0))); });
}

QtDialogWindow::~QtDialogWindow() { Shutdown(); }

QtControl* QtDialogWindow::Control(int id) {
    if (id == -1) return nullptr;
    for (QtControl& control : controls_) {
        if (control.layout->id == id) return &control;
    }
    return nullptr;
}

int QtDialogWindow::IdOf(const QWidget* widget) const {
    for (; widget != nullptr && widget != this; widget = widget->parentWidget()) {
        for (const QtControl& control : controls_) {
            if (control.widget == widget) return control.layout->id == -1 ? 0 : control.layout->id;
        }
    }
    return 0;
}

void QtDialogWindow::EndWith(int result) {
    if (ended_) return;
    ended_ = true;
    result_ = result;
    closing_ = true;
    done(result);
}

void QtDialogWindow::SetTimer(int timerId, int periodMs) {
    auto& timer = timers_[timerId];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer.get(), &QTimer::timeout, this, [this, timerId] {
            if (!ended_) dialog_.OnTimer(timerId);
        });
    }
    timer->start(std::max(periodMs, 10));
}

// The timer is only stopped: a handler that kills its own timer runs inside that timer's
// signal, so the object must outlive the call.
void QtDialogWindow::KillTimer(int timerId) {
    const auto it = timers_.find(timerId);
    if (it != timers_.end()) it->second->stop();
}

bool QtDialogWindow::HasTimer(int timerId) const {
    const auto it = timers_.find(timerId);
    return it != timers_.end() && it->second->isActive();
}

void QtDialogWindow::AppendSystemMenu(unsigned command, std::string text) {
    systemMenu_.push_back({command, std::move(text)});
}

std::unique_ptr<QMenu> QtDialogWindow::BuildSystemMenu() {
    auto menu = std::make_unique<QMenu>(this);
    auto add = [this, &menu](const QString& text, unsigned command) {
        QAction* action = menu->addAction(text);
        connect(action, &QAction::triggered, this, [this, command] {
            if (!ended_) dialog_.OnSysCommand(command);
        });
    };
    if (layout_.Has(kMinimizeBox)) add(QStringLiteral("Mi&nimize"), kSysCommandMinimize);
    add(QStringLiteral("&Close\tAlt+F4"), kSysCommandClose);
    for (const QtSystemMenuEntry& entry : systemMenu_) {
        if (entry.command == 0) {
            menu->addSeparator();
        } else {
            add(ToQString(entry.text), entry.command);
        }
    }
    return menu;
}

void QtDialogWindow::OpenSystemMenu(QPoint globalPosition) {
    if (!layout_.Has(kSystemMenu) || ended_) return;
    std::unique_ptr<QMenu> menu = BuildSystemMenu();
    menu->exec(globalPosition);
}

void QtDialogWindow::Shutdown() {
    workers_.StopAndJoin();
    timers_.clear();
}

void QtDialogWindow::Notified(const Notify& notify) {
    if (!ended_) dialog_.Dispatch(notify);
}

void QtDialogWindow::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier &&
        (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        if (!ended_) PressEnter(dialog_);
        return;
    }
    if (modifiers == Qt::NoModifier && event->key() == Qt::Key_Escape) {
        if (!ended_) PressEscape(dialog_);
        return;
    }
    QDialog::keyPressEvent(event);
}

void QtDialogWindow::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    event->ignore();
    if (!ended_) RequestClose(dialog_);
}

void QtDialogWindow::contextMenuEvent(QContextMenuEvent* event) {
    if (childAt(event->pos()) != nullptr) {
        event->ignore();
        return;
    }
    OpenSystemMenu(event->globalPos());
}

// Escape and any other cancel request of the toolkit take the Cancel command's road.
void QtDialogWindow::reject() {
    if (!ended_) PressEscape(dialog_);
}

}  // namespace ofu::ui
