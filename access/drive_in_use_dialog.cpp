#include "access/drive_in_use_dialog.h"

#include "resources/resource_ids.h"

namespace ofu {

std::int32_t DriveInUseResult = 0;

DriveInUseDialog::DriveInUseDialog() : ui::Dialog(ui::kDriveInUseDialogId) {}

void DriveInUseDialog::OnOK() {
    DriveInUseResult = 1;
    ui::Dialog::OnOK();
}

void DriveInUseDialog::OnCancel() {
    DriveInUseResult = 0;
    ui::Dialog::OnCancel();
}

}  // namespace ofu
