#include "access/volume_locations.h"

#include "access/drive_table.h"
#include "platform/services.h"
#include "base/ascii_case.h"
#include "protocol/volume_list.h"
#include "resources/control_ids.h"

#include <algorithm>
#include <string>

namespace ofu {
namespace {

bool ServerIs(std::string_view server, std::string_view wanted, ServerMatch match) {
    return match == ServerMatch::Exact ? server == wanted : EqualsIgnoringAsciiCase(server, wanted);
}

}  // namespace

void FillVolumeRows(ui::DialogSurface& window, std::string_view deviceName, std::string_view deviceAddress,
                    ServerMatch match) {
    int row = 0;
    for (const VolumeEntry& entry : VolumeList) {
        window.InsertRow(ids::kVolumeList, row, "");
        // Volume names arrive as UTF-8 and are shown in the workstation's ANSI code page.
        const std::u16string wide = platform::Codes().Utf8ToUtf16(entry.name.view(), 1024);
        const std::string name = platform::Codes().Utf16ToAnsi(wide, 255);
        window.SetCellText(ids::kVolumeList, row, 0, name);
        for (const DriveEntry& drive : DriveTable) {
            const bool sameDevice = ServerIs(drive.server.view(), deviceName, match) ||
                                    ServerIs(drive.server.view(), deviceAddress, match);
            if (sameDevice && EqualsIgnoringAsciiCase(drive.share.view(), name))
                window.SetCellText(ids::kVolumeList, row, 1, drive.drive.view());
        }
        ++row;
    }
}

void RefillVolumeList(ui::DialogSurface& window, int deviceRow, ServerMatch match) {
    window.DeleteAllRows(ids::kVolumeList);
    const std::string name = window.GetCellText(ids::kDeviceList, deviceRow, 0);
    const std::string address = window.GetCellText(ids::kDeviceList, deviceRow, 1);
    FillVolumeRows(window, name, address, match);
}

}  // namespace ofu
