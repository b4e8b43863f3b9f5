// The About box: the program's name, version and icon; it closes with OK, Escape or its
// close box and changes nothing.
#pragma once

#include "resources/resource_ids.h"
#include "ui/dialog.h"

namespace ofu {

class AboutDialog final : public ui::Dialog {
public:
    AboutDialog() : ui::Dialog(ui::kAboutDialogId) {}
};

}  // namespace ofu
