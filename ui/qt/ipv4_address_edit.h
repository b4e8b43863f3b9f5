// An IPv4 address control: four number fields of 0 to 255 behind one edit frame, with dots
// between them. A field takes up to three digits; a third digit clamps the field to 255 and
// moves on; "." and Space move on; Backspace or Left at the start of a field go back.
#pragma once

#include <QWidget>
#include <array>

#include "ui/address_fields.h"

class QLineEdit;

namespace ofu::ui {

class Ipv4AddressEdit final : public QWidget {
public:
    explicit Ipv4AddressEdit(QWidget* parent = nullptr);

    void SetBytes(const AddressBytes& bytes);
    AddressFields Fields() const;
    bool IsBlank() const;
    void Clear();
    void FocusField(int field);
    // The field with the keyboard focus, or -1.
    int FocusedField() const;
    QLineEdit* Field(int field) const { return fields_[static_cast<std::size_t>(field)]; }
    QString Text() const;  // dotted text, empty when blank

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    QSize sizeHint() const override;

private:
    int IndexOf(const QObject* field) const;
    void OnEdited(int field);
    QRect DotRect(int gap) const;

    std::array<QLineEdit*, 4> fields_{};
};

}  // namespace ofu::ui
