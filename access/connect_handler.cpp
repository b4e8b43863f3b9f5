// The Connect button: maps the selected volume of the selected device to the drive letter
// chosen in "Available Drive Letters".
#include "access/access_host.h"
#include "access/drive_in_use_dialog.h"
#include "access/drive_mapping.h"
#include "access/drive_table.h"
#include "access/selected_device.h"
#include "access/selected_row.h"
#include "access/volume_locations.h"
#include "access/windows_version.h"
#include "protocol/shared_texts.h"
#include "resources/control_ids.h"

#include <string>

namespace ofu {

void OnConnect(AccessHost& host) {
    ui::DialogSurface& window = host.Window();
    const int deviceTop = window.FirstVisibleRow(ids::kDeviceList);
    const int volumeTop = window.FirstVisibleRow(ids::kVolumeList);

    LoginUserName.clear();
    LoginPassword.clear();
    host.UseLoginForShares();

    std::string version;
    GetWindowsVersionName(version);

    const int deviceRow = FindSelectedRow(window, ids::kDeviceList, deviceTop);
    std::string deviceName;
    if (deviceRow >= 0) {
        SelectedDeviceAddress = window.GetCellText(ids::kDeviceList, deviceRow, 1);
        deviceName = window.GetCellText(ids::kDeviceList, deviceRow, 0);
    }
    const int volumeRow = FindSelectedRow(window, ids::kVolumeList, volumeTop);
    if (volumeRow < 0 || deviceRow < 0) {
        window.ShowMessage("Please select a device in the above section.", "Warning", ui::MessageIcon::Warning);
        return;
    }
    const std::string volumeName = window.GetCellText(ids::kVolumeList, volumeRow, 0);

    const int letterRow = window.GetCurSel(ids::kDriveLetterBox);
    if (letterRow < 0) return;
    const std::string letterText = window.GetComboItemText(ids::kDriveLetterBox, letterRow);
    const std::string drive = letterText.substr(0, 2);
    // "Z: \\NAS1\HDD_a" names a connection; "Y:" alone does not.
    if (letterText.size() > 4) {
        DriveInUseDialog question;
        question.DoModal();
        if (DriveInUseResult == 0) return;
    }

    const platform::NetResource resource{drive, FormRemoteName(deviceName, volumeName)};
    DropOldConnection(drive);

    const CredentialPrompt askForCredentials = [&host] {
        host.RunShareLoginDialog();
        return true;  // whatever button closed it, the attempts go on
    };
    const platform::NetStatus status = TakesNtPath(version) ? ConnectNtPath(resource, askForCredentials)
                                                            : ConnectStandardPath(resource, version, askForCredentials);
    if (status != platform::NetStatus::Ok) {
        window.ShowMessage("Failed to map drive.", "Error", ui::MessageIcon::Error);
        return;
    }
    window.ShowMessage("Successfully mapped drive.", "Confirm", ui::MessageIcon::Information);

    ReadDriveTable();
    window.ResetContent(ids::kDriveLetterBox);
    FillDriveLetterCombo(window);
    RefillVolumeList(window, deviceRow, ServerMatch::Exact);
}

}  // namespace ofu
