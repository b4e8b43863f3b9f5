// Dialog units to pixels, from the dialog font's metrics, as the dialog manager maps them:
// a horizontal unit is a quarter of the average character width, a vertical unit an eighth
// of the character height; every edge is mapped on its own with rounding.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

#include "resources/dialog_template.h"

namespace ofu::ui {

// a * b / c rounded to the nearest integer, halves away from zero.
int MulDiv(int a, int b, int c);

struct DialogUnits {
    int baseX = 0;
    int baseY = 0;

    static DialogUnits FromFont(const QFont& font);

    int X(int dialogUnits) const { return MulDiv(dialogUnits, baseX, 4); }
    int Y(int dialogUnits) const { return MulDiv(dialogUnits, baseY, 8); }
    QRect Map(const DialogRect& rect) const;
    QSize MapSize(int width, int height) const { return QSize(X(width), Y(height)); }
};

// The font of a template: its face at `points` on this screen's logical resolution, with the
// character height given in pixels as a logical font does.
QFont DialogFont(std::string_view face, int points);

}  // namespace ofu::ui
