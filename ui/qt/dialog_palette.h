// The dialog colours: a blue background with white labels for the dialog and its static texts,
// group boxes, check boxes and radio buttons; system colours for the controls that keep them.
#pragma once

class QWidget;

namespace ofu::ui {

void ApplyDialogColours(QWidget& dialog);
void KeepSystemColours(QWidget& control);

}  // namespace ofu::ui
