#include "addons/loading_dialog.h"

#include "addons/addon_state.h"
#include "addons/installation_sequence.h"
#include "resources/resource_ids.h"

namespace ofu {
namespace {

constexpr int kCodepageTimer = 1;
constexpr int kBitTorrentTimer = 2;
constexpr int kStartDelayMillis = 2000;

}  // namespace

LoadingDialog::LoadingDialog() : ui::Dialog(ui::kLoadingDialogId) {}

bool LoadingDialog::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    Surface().SetTimer(AddOnState.InstallMode == 1 ? kBitTorrentTimer : kCodepageTimer, kStartDelayMillis);
    return true;
}

void LoadingDialog::OnTimer(int timerId) { RunInstallation(timerId); }

void LoadingDialog::RunInstallation(int timerId) {
    const InstallRun run = timerId == kBitTorrentTimer ? InstallRun::BitTorrent : InstallRun::Codepage;
    SequenceCallbacks callbacks;
    callbacks.closeWindow = [this, timerId] {
        ui::Dialog::OnCancel();
        Surface().KillTimer(timerId);
    };
    // The window stays usable until this handler returns, so the message is owned by it.
    if (RunInstallationSequence(run, callbacks) == SequenceOutcome::Aborted)
        Surface().ShowMessage(kCheckHardDrivesMessage);
}

}  // namespace ofu
