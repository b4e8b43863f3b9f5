// The BitTorrent button: the administrator login, the readiness check, the installation and
// the restart. After the messages for a missing or unformatted disk the setup returns to the
// main window; it does not end the program.
#include "addons/addon_handlers.h"
#include "addons/addon_state.h"
#include "addons/device_checks.h"
#include "addons/installation_sequence.h"
#include "addons/loading_dialog.h"
#include "addons/restart_dialog.h"
#include "access/drive_table.h"
#include "platform/services.h"

namespace ofu {

int CheckBitTorrentReady(AccessHost& host) {
    const BitTorrentReadiness readiness = AssessBitTorrentReadiness();
    if (readiness.refusal.empty()) return 1;
    host.Window().ShowMessage(readiness.refusal);
    if (readiness.formatDisk) OpenDeviceWebPage();
    AddOnState.RestartOutcome = -1;
    return 0;
}

void OnBitTorrent(AccessHost& host) {
    LoadingDialog loading;
    AddOnState.InstallMode = 1;
    if (host.DeviceChosenFlag() == 0) {
        AddOnState.InstallMode = 0;
        host.Window().ShowMessage("Please select a device.", "Error", ui::MessageIcon::Error);
        return;
    }
    if (!host.RequireAdministrator() || CheckBitTorrentReady(host) == 0) {
        AddOnState.InstallMode = 0;
        return;
    }
    loading.DoModal();
    if (AddOnState.BitTorrentInstalled == 1) {
        RestartDialog restart;
        restart.DoModal();
    }
    if (AddOnState.RestartOutcome == 0) {
        AddOnState.InstallMode = 0;
        AddOnState.BitTorrentInstalled = 0;
        ReadDriveTable();
        FillDriveLetterCombo(host.Window());
        host.RefreshDeviceList();
        host.SetDeviceChosen(0);
        platform::Disk().RemoveDirectory(kLocalBitTorrentFolder);
    }
}

}  // namespace ofu
