// The volume list of the main window: each volume of the chosen device with the drive letter
// that the drive table connects to it. The main window fills it when a device is clicked and
// after a disconnect, comparing the server without regard to case; the refresh after a
// connect compares the server exactly.
#pragma once

#include "ui/dialog_surface.h"

#include <string_view>

namespace ofu {

enum class ServerMatch {
    IgnoringCase,  // the server equals the device's name or address in any case
    Exact,         // byte for byte, case significant
};

// Appends one row per entry of VolumeList (the name converted from UTF-8 to the ANSI code
// page) and puts in its "Location" column the drive of every DriveTable entry whose server is
// the device's name or address and whose share is the volume's name (any case). DriveTable
// runs from Z to A, so the letter nearest A is the one left.
void FillVolumeRows(ui::DialogSurface& window, std::string_view deviceName, std::string_view deviceAddress,
                    ServerMatch match);

// Empties the volume list and fills it again for the device in row `deviceRow` of the device
// list (its name in column 0, its address in column 1).
void RefillVolumeList(ui::DialogSurface& window, int deviceRow, ServerMatch match);

}  // namespace ofu
