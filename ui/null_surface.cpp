#include "ui/null_surface.h"

namespace ofu::ui {

NullSurface& NullSurface::Instance() {
    static NullSurface surface;
    return surface;
}

// A dialog that is not open owns no message box; the message still reaches the user, unowned.
int NullSurface::ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon) {
    return ui::ShowMessage(text, caption, icon);
}

}  // namespace ofu::ui
