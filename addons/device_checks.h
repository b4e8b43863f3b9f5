// The questions the add-on setups ask the chosen device before an installation, in attempt
// loops with pauses: its disk state, its current codepage and its BitTorrent firmware state.
// The Language dialog, the BitTorrent setup and the command-line client share them.
#pragma once

#include <string_view>

namespace ofu {

// The decimal value of a device answer the way the C library's atoi reads it (leading blanks
// skipped, stops at the first non-digit; an empty or non-numeric text is 0).
int DecimalValue(std::string_view text);

// Up to `attempts` times: DeviceIdeOk cleared, QueryIdeOk, a pause of `pauseMillis`; stops at
// the first value from 1 to 5. Returns the last value (0 without an answer).
int AskDiskState(int attempts, int pauseMillis);

// The language setup's disk-state attempts: 10, a second apart.
inline constexpr int kLanguageDiskAttempts = 10;
inline constexpr int kLanguageDiskPauseMillis = 1000;

// Up to 10 times: DeviceCodepage cleared, QueryCodepage, a pause of 1000 ms; stops at a
// codepage of the Language dialog. Returns the index of that entry, or 2 ("Western
// European") for any other value.
int AskCurrentCodepageIndex();

// The BitTorrent firmware state: one query and a 1000 ms pause; unless that answers 2, up to 15
// more queries with 2000 ms pauses, stopping at 1. Returns the last value.
int AskBitTorrentFirmware();

// The Language dialog's disk states and the BitTorrent setup's.
inline constexpr int kNoHardDrive = 1;
inline constexpr int kDriveNotFormatted = 2;
inline constexpr int kDiskReady = 3;
inline constexpr int kUnicodeDevice = 4;
inline constexpr int kDiskReadyExtended = 5;

inline constexpr std::string_view kNoHardDriveMessage =
    "No hard drives were detected.\nPlease verify that the hard drives are properly connected before continuing.";
inline constexpr std::string_view kFormatDriveMessage = "Please format hard drive.";
inline constexpr std::string_view kRefusedCodepageMessage =
    "This codepage does not supported in this firmware.\nPlease download the latest firmware from the support link.";

// "explorer http://ADDRESS": the device's web page, where the user formats its disk.
void OpenDeviceWebPage();

// What the language setup makes of a disk state: empty when the device is ready (3 or 5), the
// message that tells the user why not otherwise.
std::string_view LanguageRefusal(int diskState);

// The BitTorrent setup's readiness: the disk-state attempts (15, 2000 ms apart; 3, 4 and 5 all
// count as ready and DeviceIdeOk becomes "3") and the firmware attempts. `refusal` is empty
// when the installation may start; `formatDisk` when the device's page should open to format it.
struct BitTorrentReadiness {
    std::string_view refusal;
    bool formatDisk = false;
};
BitTorrentReadiness AssessBitTorrentReadiness();

}  // namespace ofu
