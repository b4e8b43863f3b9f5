#include "access/drive_table.h"

#include "platform/services.h"
#include "resources/control_ids.h"

#include <string>

namespace ofu {

std::array<DriveEntry, kDriveCount> DriveTable{};

namespace {

constexpr std::size_t kRemoteNameBufferLength = 256;

char LetterOf(std::size_t entry) { return static_cast<char>('Z' - entry); }

bool Offered(platform::DriveType type) {
    switch (type) {
        case platform::DriveType::Removable:
        case platform::DriveType::Fixed:
        case platform::DriveType::CdRom:
        case platform::DriveType::RamDisk:
            return false;
        default:
            return true;
    }
}

}  // namespace

void ReadDriveTable() {
    for (std::size_t k = 0; k < kDriveCount; ++k) {
        DriveEntry& entry = DriveTable[k];
        const char drive[3] = {LetterOf(k), ':', '\0'};
        entry.drive = drive;
        std::string remote;
        if (platform::Drives().GetConnection(entry.drive.view(), remote, kRemoteNameBufferLength) !=
            platform::NetStatus::Ok) {
            entry.server.clear();
            entry.share.clear();
            continue;
        }
        // "\\host\share...": the host runs from position 2 to the next backslash.
        const std::size_t separator = remote.size() > 2 ? remote.find('\\', 2) : std::string::npos;
        if (separator == std::string::npos) continue;  // not of that form: left as it was
        entry.server = std::string_view(remote).substr(2, separator - 2);
        entry.share = std::string_view(remote).substr(separator + 1);
    }
}

DriveLetterRows ListDriveLetterRows() {
    DriveLetterRows list;
    for (std::size_t k = 0; k < kDriveCount; ++k) {
        const DriveEntry& entry = DriveTable[k];
        const char letter = LetterOf(k);
        if (letter == 'A' || letter == 'B') continue;
        if (!Offered(platform::Drives().GetDriveType(entry.drive.view()))) continue;
        std::string row;
        if (!entry.server.empty() && !entry.share.empty()) {
            row = entry.drive.str() + " \\\\" + entry.server.str() + "\\" + entry.share.str();
        } else {
            row = entry.drive.str();
            if (list.selected < 0) list.selected = static_cast<int>(list.rows.size());
        }
        list.rows.push_back({k, std::move(row)});
    }
    return list;
}

void FillDriveLetterCombo(ui::DialogSurface& mainWindow) {
    mainWindow.ResetContent(ids::kDriveLetterBox);
    const DriveLetterRows list = ListDriveLetterRows();
    for (const DriveLetterRow& row : list.rows) mainWindow.AddString(ids::kDriveLetterBox, row.text);
    mainWindow.SetCurSel(ids::kDriveLetterBox, list.selected);
}

}  // namespace ofu
