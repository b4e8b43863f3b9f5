// Builds the Qt widget of one template control, in place and with the dialog's colours, and
// connects its user notifications to `notify`.
#pragma once

#include <QString>
#include <functional>
#include <string_view>

#include "resources/dialog_template.h"
#include "ui/message_map.h"
#include "ui/qt/dialog_units.h"

class QWidget;
class QButtonGroup;

namespace ofu::ui {

using NotifySink = std::function<void(const Notify&)>;

// The text a static control shows: "&&" becomes "&" and a single "&" (a mnemonic marker)
// disappears, unless the control shows its text as it is.
QString LabelDisplayText(std::string_view raw, bool noPrefix);

QString ToQString(std::string_view text);

// `radioGroup` is the button group of the radio group the control belongs to (or nullptr).
QWidget* CreateControl(QWidget& dialog, const ControlTemplate& control, const DialogUnits& units,
                       QButtonGroup* radioGroup, NotifySink notify);

}  // namespace ofu::ui
