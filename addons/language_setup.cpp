// The Language button: the language dialog, and after a completed restart a fresh look at the
// drives and the network.
#include "addons/addon_handlers.h"
#include "addons/addon_state.h"
#include "addons/language_dialog.h"
#include "access/drive_table.h"

namespace ofu {

void OnLanguage(AccessHost& host) {
    LanguageDialog language;
    if (host.DeviceChosenFlag() == 0) {
        host.Window().ShowMessage("Please select a device.", "Error", ui::MessageIcon::Error);
        return;
    }
    language.DoModal();
    AddOnState.InstallMode = 0;
    if (AddOnState.RestartOutcome == 0) {
        ReadDriveTable();
        FillDriveLetterCombo(host.Window());
        host.RefreshDeviceList();
        host.SetDeviceChosen(0);
    }
}

}  // namespace ofu
