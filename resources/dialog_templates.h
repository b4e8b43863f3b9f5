// Lookup of the dialog templates by resource id.
#pragma once

#include <span>

#include "resources/dialog_template.h"
#include "resources/resource_ids.h"

namespace ofu::ui {

extern const DialogTemplate kAboutDialogTemplate;
extern const DialogTemplate kMainDialogTemplate;
extern const DialogTemplate kLoginDialogTemplate;
extern const DialogTemplate kLanguageDialogTemplate;
extern const DialogTemplate kRestartDialogTemplate;
extern const DialogTemplate kLoadingDialogTemplate;
extern const DialogTemplate kDriveInUseDialogTemplate;
extern const DialogTemplate kWidgetEngineDialogTemplate;
extern const DialogTemplate kModelSelectDialogTemplate;

// The template with this id, or nullptr when there is none.
const DialogTemplate* TryFindTemplate(int id);

// The template with this id. An unknown id gives an empty template (no caption, no controls,
// size 0 x 0) so that callers never hold a dangling reference.
const DialogTemplate& FindTemplate(int id);

// Every template, in ascending id order.
std::span<const DialogTemplate* const> AllTemplates();

}  // namespace ofu::ui
