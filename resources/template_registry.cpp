#include "resources/dialog_templates.h"

namespace ofu::ui {
namespace {

const DialogTemplate* const kTemplates[] = {
    &kAboutDialogTemplate,      &kMainDialogTemplate,          &kLoginDialogTemplate,
    &kLanguageDialogTemplate,   &kRestartDialogTemplate,       &kLoadingDialogTemplate,
    &kDriveInUseDialogTemplate, &kWidgetEngineDialogTemplate,  &kModelSelectDialogTemplate,
};

const DialogTemplate kEmptyTemplate{};

}  // namespace

const DialogTemplate* TryFindTemplate(int id) {
    for (const DialogTemplate* dialog : kTemplates) {
        if (dialog->id == id) return dialog;
    }
    return nullptr;
}

const DialogTemplate& FindTemplate(int id) {
    const DialogTemplate* dialog = TryFindTemplate(id);
    return dialog != nullptr ? *dialog : kEmptyTemplate;
}

std::span<const DialogTemplate* const> AllTemplates() { return kTemplates; }

}  // namespace ofu::ui
