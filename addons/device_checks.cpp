#include "addons/device_checks.h"

#include "access/selected_device.h"
#include "addons/codepage_plans.h"
#include "platform/services.h"
#include "protocol/commands.h"
#include "protocol/shared_texts.h"

#include <cstdlib>
#include <string>

namespace ofu {
namespace {

constexpr int kCodepageAttempts = 10;
constexpr int kCodepagePauseMillis = 1000;
constexpr int kFirmwareFirstPauseMillis = 1000;
constexpr int kFirmwareAttempts = 15;
constexpr int kFirmwarePauseMillis = 2000;
constexpr int kWesternEuropean = 2;
constexpr int kBitTorrentDiskAttempts = 15;
constexpr int kBitTorrentDiskPauseMillis = 2000;

void Pause(int millis) { platform::Threading().Sleep(millis); }

// The plan index of a codepage number, or -1.
int IndexOfCodepage(int codepage) {
    const auto plans = CodepagePlans();
    for (std::size_t k = 0; k < plans.size(); ++k)
        if (DecimalValue(plans[k].codepageName) == codepage) return static_cast<int>(k);
    return -1;
}

}  // namespace

int DecimalValue(std::string_view text) { return std::atoi(std::string(text).c_str()); }

int AskDiskState(int attempts, int pauseMillis) {
    int state = 0;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        DeviceIdeOk.clear();
        QueryIdeOk();
        Pause(pauseMillis);
        state = DecimalValue(DeviceIdeOk.view());
        if (state >= kNoHardDrive && state <= kDiskReadyExtended) break;
    }
    return state;
}

int AskCurrentCodepageIndex() {
    int index = -1;
    for (int attempt = 0; attempt < kCodepageAttempts && index < 0; ++attempt) {
        DeviceCodepage.clear();
        QueryCodepage();
        Pause(kCodepagePauseMillis);
        index = IndexOfCodepage(DecimalValue(DeviceCodepage.view()));
    }
    return index >= 0 ? index : kWesternEuropean;
}

int AskBitTorrentFirmware() {
    DeviceBtFirmware.clear();
    QueryBtFirmware();
    Pause(kFirmwareFirstPauseMillis);
    int state = DecimalValue(DeviceBtFirmware.view());
    if (state == 2) return state;
    for (int attempt = 0; attempt < kFirmwareAttempts; ++attempt) {
        DeviceBtFirmware.clear();
        QueryBtFirmware();
        Pause(kFirmwarePauseMillis);
        state = DecimalValue(DeviceBtFirmware.view());
        if (state == 1) break;
    }
    return state;
}

std::string_view LanguageRefusal(int diskState) {
    switch (diskState) {
        case kDiskReady:
        case kDiskReadyExtended: return {};
        case kNoHardDrive: return kNoHardDriveMessage;
        case kDriveNotFormatted: return kFormatDriveMessage;
        case kUnicodeDevice: return "This device supports Unicode.";
        default: return "Multi-language options are not supported on this device.";
    }
}

BitTorrentReadiness AssessBitTorrentReadiness() {
    int disk = AskDiskState(kBitTorrentDiskAttempts, kBitTorrentDiskPauseMillis);
    if (disk >= kDiskReady && disk <= kDiskReadyExtended) {
        DeviceIdeOk = "3";
        disk = kDiskReady;
    }
    const int firmware = AskBitTorrentFirmware();
    if (disk == kNoHardDrive) return {kNoHardDriveMessage, false};
    if (disk == kDriveNotFormatted) return {kFormatDriveMessage, true};
    if (disk == kDiskReady && firmware == 1) return {};
    return {"BitTorrent does not supported on this device now.", false};
}

void OpenDeviceWebPage() {
    platform::Launcher().WinExec("explorer http://" + SelectedDeviceAddress.str(), platform::kSwHide);
}

}  // namespace ofu
