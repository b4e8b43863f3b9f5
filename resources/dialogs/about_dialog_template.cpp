#include "resources/dialog_templates.h"
#include "resources/dialogs/template_builders.h"

namespace ofu::ui {
namespace {

using namespace build;

constexpr ControlTemplate kControls[] = {
    IconControl(kApplicationIconId, {9, 18, 20, 20}),
    Label("Ostrel Ferrow Utility", {33, 12, 127, 8}, kNoPrefix),
    Label("Copyright (C) 2026", {32, 24, 147, 8}),
    DefaultButton(1, "OK", {144, 36, 50, 14}, kGroupStart),
    Label("Version : 4.6.0.0", {33, 36, 100, 8}),
};

}  // namespace

const DialogTemplate kAboutDialogTemplate = build::Dialog(
    kAboutDialogId, "Ostrel Ferrow Utility", "Arial", 9, 201, 59, build::kMenuDialog, kControls);

}  // namespace ofu::ui
