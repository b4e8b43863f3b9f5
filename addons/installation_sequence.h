// The installation of one add-on on the chosen device (SelectedDeviceAddress,
// TargetDeviceAddress): the steps that the loading dialog runs in its timer message and that
// the command-line client runs the same way. It readies the device, finds its share and family,
// writes the plan's payloads one by one, and tells the device to apply them; on the first
// payload that does not arrive it tells the device to stop.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace ofu {

enum class InstallRun { Codepage, BitTorrent };

// Where a run writes: the share-relative folder and the device family (1 for a share "HDD_a",
// 2 for "HDD_1"; 0 when the share is neither, and nothing may be written).
struct InstallTarget {
    std::string TargetFolder;
    int DeviceFamily = 0;
};

// "rw" access, then up to 10 share-name queries, then the folder of the run's family:
// HDD_a\.codepages, HDD_1\.systemfile\.codepages (the share spelled as the device sent it),
// HDD_a\Nas_Prog/BT or HDD_1\Nas_Prog/BT.
InstallTarget PrepareInstallation(InstallRun run);

// "\\ADDRESS\FOLDER\NAME".
std::string RemotePayloadPath(std::string_view address, std::string_view folder, std::string_view name);

struct SequenceCallbacks {
    // The loading window closes (before the device is told to stop, after it is told to apply).
    std::function<void()> closeWindow;
    // Optional: called before each payload is written.
    std::function<void(std::string_view deviceName, std::size_t index, std::size_t count)> writing;
};

enum class SequenceOutcome { Completed, Aborted };

// The whole run for SelectedCodepageIndex (codepage) or the BitTorrent add-on. Completed: the
// device has been told to apply it (and BitTorrentInstalled is 1 after a BitTorrent run).
// Aborted: the window has closed, "stop" has been sent, LastCopyFailed is 1; the caller tells
// the user "Please check hard drives.".
SequenceOutcome RunInstallationSequence(InstallRun run, const SequenceCallbacks& callbacks);

inline constexpr std::string_view kCheckHardDrivesMessage = "Please check hard drives.";

// The local folder a BitTorrent run stages its programs in; the setup removes it at the end.
inline constexpr std::string_view kLocalBitTorrentFolder = "C:\\bt\\";

}  // namespace ofu
