#include "resources/dialog_templates.h"
#include "resources/dialogs/template_builders.h"

namespace ofu::ui {
namespace {

using namespace build;

constexpr ControlTemplate kControls[] = {
    Label("The model type cannot be recognized.", {20, 11, 127, 8}),
    Label("Please select:", {20, 22, 72, 8}),
    Radio(1028, "QMR-120", {21, 39, 45, 10}, kGroupStart | kTabStop),
    Radio(1029, "QMR-140", {21, 54, 45, 10}),
    Radio(1030, "QMR-180", {21, 69, 45, 10}),
    DefaultButton(1, "OK", {20, 92, 50, 14}, kGroupStart),
    Button(2, "Cancel", {95, 92, 50, 14}),
};

}  // namespace

const DialogTemplate kModelSelectDialogTemplate =
    build::Dialog(kModelSelectDialogId, "", "Arial", 8, 163, 113, build::kBareDialog, kControls);

}  // namespace ofu::ui
