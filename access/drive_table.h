// The workstation's 26 drive letters, Z first, with the network share each is connected to,
// and the "Available Drive Letters" box that is filled from them.
#pragma once

#include "protocol/bounded_text.h"
#include "ui/dialog_surface.h"

#include <array>

namespace ofu {

struct DriveEntry {
    BoundedText<256> server;  // host part of the remote name; empty when not connected
    BoundedText<256> share;   // everything after the host part; empty when not connected
    BoundedText<8> drive;     // "Z:"
};

inline constexpr std::size_t kDriveCount = 26;

// Entry 0 is Z:, entry 25 is A:.
extern std::array<DriveEntry, kDriveCount> DriveTable;

// Refreshes DriveTable from the workstation's drive connections.
void ReadDriveTable();

// Fills the main window's drive letter box from DriveTable: every letter from C to Z that is
// free or connected to a share, Z first, a connected one with its connection; selects the
// first row that is a letter alone (none when every row names a connection).
void FillDriveLetterCombo(ui::DialogSurface& mainWindow);

}  // namespace ofu
