// The workstation's 26 drive letters, Z first, with the network share each is connected to,
// and the "Available Drive Letters" box that is filled from them.
#pragma once

#include "protocol/bounded_text.h"
#include "ui/dialog_surface.h"

#include <array>
#include <string>
#include <vector>

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

// One row of the "Available Drive Letters" box.
struct DriveLetterRow {
    std::size_t entry = 0;  // index into DriveTable
    std::string text;       // "Z: \\NAS1\HDD_a" for a connected letter, "Y:" for a free one
};

struct DriveLetterRows {
    std::vector<DriveLetterRow> rows;
    int selected = -1;  // the first row that is a letter alone; -1 when every row names a connection
};

// The rows the box lists from DriveTable: every letter from C to Z that is free or connected
// to a share (never a local drive), Z first, a connected one with its connection.
DriveLetterRows ListDriveLetterRows();

// Fills the main window's drive letter box with those rows and selects the first row that is
// a letter alone (none when every row names a connection).
void FillDriveLetterCombo(ui::DialogSurface& mainWindow);

}  // namespace ofu
