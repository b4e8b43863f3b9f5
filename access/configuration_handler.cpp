// The Configuration button: opens the selected device's web page in the default browser once
// a worker has found its web server reachable.
#include "access/access_host.h"
#include "access/browser_launch.h"
#include "access/drive_table.h"
#include "access/reachability.h"
#include "access/selected_device.h"
#include "access/selected_row.h"
#include "platform/services.h"
#include "protocol/shared_texts.h"
#include "resources/control_ids.h"

namespace ofu {

// Waits for the check's result on the user-interface thread (two one-second pauses at most).
// When the device is gone, says so, searches the network again and clears the choice.
bool WaitDeviceReachable(AccessHost& host, const ReachabilityCheck& check) {
    if (AwaitReachability(check, [](int millis) { platform::Threading().Sleep(millis); })) return true;
    ui::DialogSurface& window = host.Window();
    window.ShowMessage("Device is no longer available.", "Warning", ui::MessageIcon::Warning);
    ReadDriveTable();
    FillDriveLetterCombo(window);
    host.RefreshDeviceList();
    host.SetDeviceChosen(0);
    return false;
}

void OnConfiguration(AccessHost& host) {
    ui::DialogSurface& window = host.Window();
    const int deviceRow = FindSelectedRow(window, ids::kDeviceList);
    if (deviceRow < 0) {
        window.ShowMessage("Please select a device to configure.", "Warning", ui::MessageIcon::Warning);
        return;
    }
    SelectedDeviceAddress = window.GetCellText(ids::kDeviceList, deviceRow, 1);

    const ReachabilityCheck check = BeginReachabilityCheck(SelectedDeviceAddress.view());
    StartReachabilityWorker(check);
    if (!WaitDeviceReachable(host, check)) return;

    const bool https = UsesHttps(DeviceSslSetting.view());
    const std::string address = SelectedDeviceAddress.str();
    StartBrowser(BrowserCommandLine(https, address), https, address);
}

}  // namespace ofu
