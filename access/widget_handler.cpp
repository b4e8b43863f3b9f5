// The Widget button: writes the selected device's address for the widget, offers the widget
// engine's download page, and opens the widget file of the device's model.
#include "access/access_host.h"
#include "access/selected_row.h"
#include "access/widget_dialogs.h"
#include "access/widget_files.h"
#include "platform/services.h"
#include "resources/control_ids.h"

#include <string>

namespace ofu {

void OnWidget(AccessHost& host) {
    ui::DialogSurface& window = host.Window();
    const int deviceTop = window.FirstVisibleRow(ids::kDeviceList);
    window.SetFocusTo(ids::kDeviceList);

    const int deviceRow = FindSelectedRow(window, ids::kDeviceList, deviceTop);
    if (deviceRow < 0) {
        window.ShowMessage("Please select a server.", "Warning", ui::MessageIcon::Warning);
        return;
    }
    // The address is written before the engine question, so it is there whatever comes next.
    // A widget must never show an older device, so when the file cannot be written nothing
    // is started.
    if (!WriteWidgetAddressFile(window.GetCellText(ids::kDeviceList, deviceRow, 1))) {
        window.ShowMessage("Unable to save the device address for the widget.", "Error", ui::MessageIcon::Error);
        return;
    }

    WidgetEngineDialog engine;
    engine.DoModal();
    if (WidgetEngineChoice == 1) {
        std::string download = "explorer ";
        download.append(kWidgetEngineDownloadUrl);
        platform::Launcher().WinExec(download, platform::kSwHide);
        return;
    }

    std::optional<std::string_view> file = WidgetFileForModel(host.SelectedModel());
    if (!file) {
        ModelSelectDialog models;
        models.DoModal();
        file = WidgetFileForChoice(ModelChoice);
        if (!file) return;
    }
    if (platform::Launcher().ShellExecute("open", *file, "", "", platform::kSwShow) <= 32)
        window.ShowMessage("Execute widget file error!", "Warning", ui::MessageIcon::Information);
}

}  // namespace ofu
