#include "resources/dialog_templates.h"
#include "resources/dialogs/template_builders.h"

namespace ofu::ui {
namespace {

using namespace build;

constexpr ControlTemplate kControls[] = {
    Label("You need to first download and install YAHOO! Widgets Engine.", {21, 14, 206, 8}),
    Label("If you wish to download and install YAHOO! Widgets Engine, please click on the "
          "\"Download\" button.",
          {21, 34, 321, 8}),
    Label("If you have already installed YAHOO! Widgets Engine, please click on the \"Next\" "
          "button to",
          {21, 54, 287, 8}),
    Label(" proceed to the next step.", {21, 74, 84, 8}),
    DefaultButton(1, "Download", {235, 90, 50, 14}),
    Button(2, "Next", {293, 90, 50, 14}),
};

}  // namespace

const DialogTemplate kWidgetEngineDialogTemplate =
    build::Dialog(kWidgetEngineDialogId, "", "Arial", 8, 350, 111, build::kBareDialog, kControls);

}  // namespace ofu::ui
