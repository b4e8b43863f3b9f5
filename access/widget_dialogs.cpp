#include "access/widget_dialogs.h"

#include "resources/control_ids.h"
#include "resources/resource_ids.h"
#include "ui/dialog_manager.h"

namespace ofu {

std::int32_t WidgetEngineChoice = 0;
std::int32_t ModelChoice = -1;

WidgetEngineDialog::WidgetEngineDialog() : ui::Dialog(ui::kWidgetEngineDialogId) {}

void WidgetEngineDialog::OnOK() {
    WidgetEngineChoice = 1;
    ui::Dialog::OnOK();
}

void WidgetEngineDialog::OnCancel() {
    WidgetEngineChoice = 0;
    ui::Dialog::OnCancel();
}

ModelSelectDialog::ModelSelectDialog() : ui::Dialog(ui::kModelSelectDialogId) {}

bool ModelSelectDialog::OnInitDialog() {
    const bool focusFirst = ui::Dialog::OnInitDialog();
    // The radio value starts at -1: no model is checked when the dialog opens.
    ui::CheckRadioIndex(*this, ids::kModelRadio120, -1);
    return focusFirst;
}

void ModelSelectDialog::OnOK() {
    ModelChoice = ui::CheckedRadioIndex(*this, ids::kModelRadio120);
    ui::Dialog::OnOK();
}

void ModelSelectDialog::OnCancel() {
    ModelChoice = -1;
    ui::Dialog::OnCancel();
}

}  // namespace ofu
