#include "addons/installation_sequence.h"

#include "access/selected_device.h"
#include "addons/addon_state.h"
#include "addons/codepage_plans.h"
#include "addons/payload_catalogue.h"
#include "addons/write_payload.h"
#include "platform/services.h"
#include "base/ascii_case.h"
#include "protocol/commands.h"
#include "protocol/shared_texts.h"

#include <algorithm>

namespace ofu {
namespace {

constexpr int kShareNameAttempts = 10;
constexpr std::string_view kCodepageFolder = ".codepages";
constexpr std::string_view kBitTorrentFolder = "Nas_Prog/BT";

std::string Joined(std::string_view a, std::string_view b) {
    std::string text(a);
    text += '\\';
    text.append(b);
    return text;
}

// Closes the window and tells the device that the installation was abandoned.
SequenceOutcome Abort(const SequenceCallbacks& callbacks) {
    callbacks.closeWindow();
    InstallControlText = "stop";
    SendInstallControl();
    return SequenceOutcome::Aborted;
}

bool WriteOne(const SequenceCallbacks& callbacks, const std::string& typeName, int id, const std::string& writePath,
              const std::string& finalPath, std::size_t index, std::size_t count) {
    if (callbacks.writing) {
        const PayloadEntry* entry = FindPayloadEntry(typeName, id);
        callbacks.writing(entry != nullptr ? entry->deviceName : std::string_view(), index, count);
    }
    return WritePayload(typeName, id, writePath, finalPath) != 0;
}

SequenceOutcome RunBitTorrent(const InstallTarget& target, const SequenceCallbacks& callbacks) {
    platform::Disk().MakeDirectory(kLocalBitTorrentFolder);
    const std::string address = SelectedDeviceAddress.str();
    const struct {
        int id;
        const char* local;
        const char* name;
    } files[] = {{215, "C:\\bt\\bt", "bt"}, {220, "C:\\bt\\btdog", "btdog"}};
    for (std::size_t k = 0; k < std::size(files); ++k) {
        const std::string remote = RemotePayloadPath(address, target.TargetFolder, files[k].name);
        if (!WriteOne(callbacks, "BT", files[k].id, files[k].local, remote, k, std::size(files)))
            return Abort(callbacks);
    }
    AddOnNameText = "BT";
    SendAddOnName();
    callbacks.closeWindow();
    AddOnState.BitTorrentInstalled = 1;
    return SequenceOutcome::Completed;
}

SequenceOutcome RunCodepage(const InstallTarget& target, const SequenceCallbacks& callbacks) {
    const CodepagePlan* plan = CodepagePlanAt(AddOnState.SelectedCodepageIndex);
    if (plan == nullptr) return Abort(callbacks);
    AddOnState.CodepageName = plan->codepageName.data();
    const auto files = target.DeviceFamily == 1 ? plan->familyOne : plan->familyTwo;
    const std::string address = SelectedDeviceAddress.str();
    for (std::size_t k = 0; k < files.size(); ++k) {
        const PayloadEntry* entry = FindPayloadEntry("Codepage", files[k]);
        const std::string remote =
            RemotePayloadPath(address, target.TargetFolder, entry != nullptr ? entry->deviceName : "");
        if (!WriteOne(callbacks, "Codepage", files[k], remote, "", k, files.size())) return Abort(callbacks);
    }
    DeviceCodepage = plan->codepageName;
    SetCodepage();
    callbacks.closeWindow();
    return SequenceOutcome::Completed;
}

}  // namespace

std::string RemotePayloadPath(std::string_view address, std::string_view folder, std::string_view name) {
    std::string path = "\\\\";
    path.append(address);
    return Joined(Joined(path, folder), name);
}

InstallTarget PrepareInstallation(InstallRun run) {
    const std::string_view folder = run == InstallRun::BitTorrent ? kBitTorrentFolder : kCodepageFolder;
    AccessModeText = "rw";
    SetAccessMode();
    for (int attempt = 0; attempt < kShareNameAttempts; ++attempt) {
        DeviceShareName.clear();
        QueryShareName();
        if (EqualsIgnoringAsciiCase(DeviceShareName.view(), "HDD_1") || EqualsIgnoringAsciiCase(DeviceShareName.view(), "HDD_a"))
            break;
    }
    InstallTarget target;
    const std::string_view share = DeviceShareName.view();
    if (share.empty() || EqualsIgnoringAsciiCase(share, "HDD_a")) {
        target.TargetFolder = Joined("HDD_a", folder);
        target.DeviceFamily = 1;
    } else if (EqualsIgnoringAsciiCase(share, "HDD_1")) {
        target.TargetFolder =
            run == InstallRun::BitTorrent ? Joined("HDD_1", folder) : Joined(Joined(share, ".systemfile"), folder);
        target.DeviceFamily = 2;
    }
    return target;
}

SequenceOutcome RunInstallationSequence(InstallRun run, const SequenceCallbacks& callbacks) {
    const InstallTarget target = PrepareInstallation(run);
    if (run == InstallRun::BitTorrent) AddOnState.InstallMode = 0;
    if (target.DeviceFamily == 0) {
        // A share of another name: nothing is written to a folder that no family provides; the
        // run ends as after a payload that did not arrive.
        AddOnState.LastCopyFailed = 1;
        return Abort(callbacks);
    }
    return run == InstallRun::BitTorrent ? RunBitTorrent(target, callbacks) : RunCodepage(target, callbacks);
}

}  // namespace ofu
