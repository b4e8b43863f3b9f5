// The program's icons as Qt icons, from the embedded PNG renders.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace ofu::ui {

QIcon LoadIcon(int iconId);
// The render of `size` pixels (scaled from the nearest larger one when there is none).
QPixmap LoadIconPixmap(int iconId, int size);

}  // namespace ofu::ui
