#include "resources/dialog_templates.h"
#include "resources/dialogs/template_builders.h"

namespace ofu::ui {
namespace {

using namespace build;

constexpr ControlTemplate kControls[] = {
    Label("Loading.....", {6, 11, 36, 8}),
    Label(" Warning: Do not power down your device during this process.", {4, 28, 209, 8}),
    Label("Doing so may physically damage this device.", {6, 45, 144, 8}),
};

}  // namespace

const DialogTemplate kLoadingDialogTemplate =
    build::Dialog(kLoadingDialogId, "", "Arial", 8, 220, 73, build::kBareDialog, kControls);

}  // namespace ofu::ui
