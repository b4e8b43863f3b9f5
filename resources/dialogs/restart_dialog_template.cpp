#include "resources/dialog_templates.h"
#include "resources/dialogs/template_builders.h"

namespace ofu::ui {
namespace {

using namespace build;

constexpr ControlTemplate kControls[] = {
    Label("The system is restarting. Please wait a moment.", {25, 18, 158, 8}),
    ProgressBar(1023, {26, 41, 152, 10}, kSmooth | kBorder),
};

}  // namespace

const DialogTemplate kRestartDialogTemplate =
    build::Dialog(kRestartDialogId, "", "Arial", 8, 202, 73, build::kBareDialog, kControls);

}  // namespace ofu::ui
