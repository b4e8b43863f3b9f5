#include "ui/qt/dialog_palette.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace ofu::ui {

void ApplyDialogColours(QWidget& dialog) {
    QPalette palette = dialog.palette();
    palette.setColor(QPalette::Window, QColor(0, 98, 147));
    palette.setColor(QPalette::WindowText, QColor(255, 255, 255));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(160, 190, 210));
    dialog.setPalette(palette);
    dialog.setAutoFillBackground(true);
}

// Window and WindowText are pinned back as well: otherwise a list's empty header area and the
// scroll bars take the dialog's blue.
void KeepSystemColours(QWidget& control) {
    const QPalette system = QApplication::palette();
    QPalette palette = control.palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Window, system.color(group, QPalette::Window));
        palette.setColor(group, QPalette::WindowText, system.color(group, QPalette::WindowText));
    }
    control.setPalette(palette);
}

}  // namespace ofu::ui
