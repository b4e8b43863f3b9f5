// The names a screen reader announces for controls that carry no text of their own (address
// fields, drop-down lists, report lists, edit fields): the text of the label beside them, as
// the dialog's layout pairs them.
#pragma once

#include <string>

#include "resources/dialog_template.h"

namespace ofu::ui {

// The label that names `control` of `dialog`: the nearest label on its left on the same line,
// else the nearest label just above it, else the innermost group box around it. Null for
// controls that have a text of their own (buttons, labels, group boxes) or no label near them.
const ControlTemplate* LabelFor(const DialogTemplate& dialog, const ControlTemplate& control);

// That label's text as spoken: without the trailing colon and the mnemonic markers; empty
// when the control has no label.
std::string AccessibleNameFor(const DialogTemplate& dialog, const ControlTemplate& control);

}  // namespace ofu::ui
