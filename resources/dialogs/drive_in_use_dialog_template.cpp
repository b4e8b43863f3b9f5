#include "resources/dialog_templates.h"
#include "resources/dialogs/template_builders.h"

namespace ofu::ui {
namespace {

using namespace build;

constexpr ControlTemplate kControls[] = {
    Label("The drive letter has been used.", {18, 13, 113, 8}),
    Label("Do you still want to use this drive letter?", {18, 24, 134, 8}),
    DefaultButton(1, "OK", {20, 47, 50, 14}),
    Button(2, "Cancel", {90, 47, 50, 14}),
};

}  // namespace

const DialogTemplate kDriveInUseDialogTemplate =
    build::Dialog(kDriveInUseDialogId, "", "Arial", 8, 159, 68, build::kBareDialog, kControls);

}  // namespace ofu::ui
