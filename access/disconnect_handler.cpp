// The Disconnect button: drops the connection of the letter of the selected volume, or of the
// letter chosen in "Available Drive Letters" when no volume is selected.
#include "access/access_host.h"
#include "access/drive_table.h"
#include "access/selected_row.h"
#include "access/volume_locations.h"
#include "platform/services.h"
#include "resources/control_ids.h"

#include <algorithm>
#include <string>

namespace ofu {

void OnDisconnect(AccessHost& host) {
    ui::DialogSurface& window = host.Window();
    const int deviceTop = window.FirstVisibleRow(ids::kDeviceList);
    const int volumeTop = window.FirstVisibleRow(ids::kVolumeList);

    // A selected volume wins, even when it has no letter.
    std::string taken;
    const int volumeRow = FindSelectedRow(window, ids::kVolumeList, volumeTop);
    if (volumeRow >= 0) {
        taken = window.GetCellText(ids::kVolumeList, volumeRow, 1);
    } else {
        const int letterRow = window.GetCurSel(ids::kDriveLetterBox);
        if (letterRow < 0) return;
        taken = window.GetComboItemText(ids::kDriveLetterBox, letterRow);
    }
    const std::string drive = taken.substr(0, std::min<std::size_t>(taken.size(), 2));

    if (platform::Drives().CancelConnection(drive, platform::kConnectUpdateProfile, true) != platform::NetStatus::Ok) {
        window.ShowMessage(
            "Unable to disconnect this drive.\nPlease select a drive to disconnect and verify that the drive is not "
            "being accessed.",
            "Error", ui::MessageIcon::Error);
        return;
    }
    window.ShowMessage("Successfully unmapped drive.", "Confirm", ui::MessageIcon::Information);

    ReadDriveTable();
    window.ResetContent(ids::kDriveLetterBox);
    FillDriveLetterCombo(window);
    const int deviceRow = FindSelectedRow(window, ids::kDeviceList, deviceTop);
    if (deviceRow >= 0) RefillVolumeList(window, deviceRow, ServerMatch::IgnoringCase);
}

}  // namespace ofu
