#include "ui/qt/ipv4_address_edit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QStyleOptionFrame>

namespace ofu::ui {
namespace {

constexpr int kFrame = 2;

int DotWidth(const QWidget& widget) { return widget.fontMetrics().horizontalAdvance('.') + 2; }

}  // namespace

Ipv4AddressEdit::Ipv4AddressEdit(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_InputMethodEnabled, false);
    for (int i = 0; i < 4; ++i) {
        auto* field = new QLineEdit(this);
        field->setFrame(false);
        field->setAlignment(Qt::AlignCenter);
        field->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), field));
        // Tab reaches the control through its first field; the others take clicks and arrows.
        field->setFocusPolicy(i == 0 ? Qt::StrongFocus : Qt::ClickFocus);
        field->installEventFilter(this);
        field->setAutoFillBackground(false);
        QPalette palette = field->palette();
        palette.setColor(QPalette::Base, Qt::transparent);
        field->setPalette(palette);
        connect(field, &QLineEdit::textEdited, this, [this, i] { OnEdited(i); });
        fields_[static_cast<std::size_t>(i)] = field;
    }
    setFocusProxy(fields_[0]);
    setFocusPolicy(Qt::StrongFocus);
}

void Ipv4AddressEdit::SetBytes(const AddressBytes& bytes) {
    for (std::size_t i = 0; i < 4; ++i) fields_[i]->setText(QString::number(bytes[i]));
}

AddressFields Ipv4AddressEdit::Fields() const {
    AddressFields result;
    for (std::size_t i = 0; i < 4; ++i) {
        const QString text = fields_[i]->text();
        if (text.isEmpty()) continue;
        result.values[i] = std::min(text.toInt(), 255);
        ++result.nonBlank;
    }
    return result;
}

bool Ipv4AddressEdit::IsBlank() const { return Fields().nonBlank == 0; }

void Ipv4AddressEdit::Clear() {
    for (QLineEdit* field : fields_) field->clear();
}

void Ipv4AddressEdit::FocusField(int field) {
    if (field < 0 || field > 3) return;
    QLineEdit* edit = fields_[static_cast<std::size_t>(field)];
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

int Ipv4AddressEdit::FocusedField() const {
    for (int i = 0; i < 4; ++i) {
        if (fields_[static_cast<std::size_t>(i)]->hasFocus()) return i;
    }
    const QWidget* focus = window() != nullptr ? window()->focusWidget() : nullptr;
    return IndexOf(focus);
}

QString Ipv4AddressEdit::Text() const {
    if (IsBlank()) return {};
    const AddressFields f = Fields();
    return QStringLiteral("%1.%2.%3.%4").arg(f.values[0]).arg(f.values[1]).arg(f.values[2]).arg(f.values[3]);
}

int Ipv4AddressEdit::IndexOf(const QObject* field) const {
    for (int i = 0; i < 4; ++i) {
        if (fields_[static_cast<std::size_t>(i)] == field) return i;
    }
    return -1;
}

void Ipv4AddressEdit::OnEdited(int field) {
    QLineEdit* edit = fields_[static_cast<std::size_t>(field)];
    if (edit->text().size() < 3) return;
    if (edit->text().toInt() > 255) edit->setText(QStringLiteral("255"));
    if (field < 3) FocusField(field + 1);
}

bool Ipv4AddressEdit::eventFilter(QObject* watched, QEvent* event) {
    const int field = IndexOf(watched);
    if (field < 0 || event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    QLineEdit* edit = fields_[static_cast<std::size_t>(field)];
    switch (key->key()) {
        case Qt::Key_Period:
        case Qt::Key_Space:
            if (field < 3 && !edit->text().isEmpty()) FocusField(field + 1);
            return true;
        case Qt::Key_Backspace:
            if (edit->text().isEmpty() && field > 0) {
                QLineEdit* previous = fields_[static_cast<std::size_t>(field - 1)];
                previous->setFocus(Qt::OtherFocusReason);
                previous->end(false);
                return true;
            }
            break;
        case Qt::Key_Left:
            if (edit->cursorPosition() == 0 && !edit->hasSelectedText() && field > 0) {
                QLineEdit* previous = fields_[static_cast<std::size_t>(field - 1)];
                previous->setFocus(Qt::OtherFocusReason);
                previous->end(false);
                return true;
            }
            break;
        case Qt::Key_Right:
            if (edit->cursorPosition() == edit->text().size() && !edit->hasSelectedText() &&
                field < 3) {
                QLineEdit* next = fields_[static_cast<std::size_t>(field + 1)];
                next->setFocus(Qt::OtherFocusReason);
                next->home(false);
                return true;
            }
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

QRect Ipv4AddressEdit::DotRect(int gap) const {
    const QRect right = fields_[static_cast<std::size_t>(gap + 1)]->geometry();
    const int dot = DotWidth(*this);
    return QRect(right.left() - dot, right.top(), dot, right.height());
}

void Ipv4AddressEdit::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.rect = rect();
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, this);
    frame.midLineWidth = 0;
    frame.state |= QStyle::State_Sunken;
    if (fields_[0]->hasFocus() || fields_[1]->hasFocus() || fields_[2]->hasFocus() ||
        fields_[3]->hasFocus()) {
        frame.state |= QStyle::State_HasFocus;
    }
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &frame, &painter, this);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    for (int gap = 0; gap < 3; ++gap) painter.drawText(DotRect(gap), Qt::AlignCenter, QStringLiteral("."));
}

void Ipv4AddressEdit::resizeEvent(QResizeEvent* /*event*/) {
    const QRect inner = rect().adjusted(kFrame, kFrame, -kFrame, -kFrame);
    const int dot = DotWidth(*this);
    const int width = (inner.width() - 3 * dot) / 4;
    int x = inner.left();
    for (QLineEdit* field : fields_) {
        field->setGeometry(x, inner.top(), width, inner.height());
        x += width + dot;
    }
}

QSize Ipv4AddressEdit::sizeHint() const {
    const int digits = fontMetrics().horizontalAdvance(QStringLiteral("000"));
    return QSize(4 * (digits + 6) + 3 * DotWidth(*this) + 2 * kFrame, fontMetrics().height() + 2 * kFrame + 2);
}

}  // namespace ofu::ui
