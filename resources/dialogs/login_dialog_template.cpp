#include "resources/dialog_templates.h"
#include "resources/dialogs/template_builders.h"

namespace ofu::ui {
namespace {

using namespace build;

constexpr ControlTemplate kControls[] = {
    Label("User name :", {13, 21, 41, 8}),
    Edit(1016, {60, 18, 69, 14}),
    Label("Password :", {13, 42, 37, 8}),
    Edit(1017, {60, 39, 68, 14}, kPassword),
    DefaultButton(1, "OK", {135, 21, 50, 14}),
    Button(2, "Cancel", {135, 38, 50, 14}),
};

}  // namespace

const DialogTemplate kLoginDialogTemplate =
    build::Dialog(kLoginDialogId, "Login", "Arial", 8, 199, 75, build::kMenuDialog, kControls);

}  // namespace ofu::ui
