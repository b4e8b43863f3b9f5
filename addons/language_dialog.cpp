#include "addons/language_dialog.h"

#include "addons/addon_state.h"
#include "addons/device_checks.h"
#include "addons/loading_dialog.h"
#include "addons/restart_dialog.h"
#include "protocol/shared_texts.h"
#include "resources/control_ids.h"
#include "resources/resource_ids.h"

namespace ofu {
LanguageDialog::LanguageDialog() : ui::Dialog(ui::kLanguageDialogId) {}

std::span<const ui::MessageBinding> LanguageDialog::Messages() const {
    static constexpr ui::MessageBinding kMessages[] = {
        ui::OnSelectionChange<&LanguageDialog::OnSelChange>(ids::kLanguageList),
    };
    return kMessages;
}

void LanguageDialog::Leave() {
    AddOnState.RestartOutcome = -1;
    ui::Dialog::OnOK();
}

bool LanguageDialog::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    const int state = AskDiskState(kLanguageDiskAttempts, kLanguageDiskPauseMillis);
    AddOnState.ExtendedCodepages = 0;
    if (state == kDiskReadyExtended) {
        DeviceIdeOk = "3";
        AddOnState.ExtendedCodepages = 1;
    }
    if (const std::string_view refusal = LanguageRefusal(state); !refusal.empty()) {
        Surface().ShowMessage(refusal);
        if (state == kDriveNotFormatted) OpenDeviceWebPage();
        Leave();
        return true;
    }
    Surface().SetCurSel(ids::kLanguageList, AskCurrentCodepageIndex());
    return true;
}

bool LanguageDialog::IsCodepageRefused() const {
    const int selected = Surface().GetCurSel(ids::kLanguageList);
    return AddOnState.ExtendedCodepages == 0 && selected >= 3 && selected <= 5;
}

void LanguageDialog::OnSelChange() {
    if (IsCodepageRefused()) Surface().ShowMessage(kRefusedCodepageMessage);
}

void LanguageDialog::OnOK() {
    AddOnState.SelectedCodepageIndex = Surface().GetCurSel(ids::kLanguageList);
    if (AddOnState.SelectedCodepageIndex < 0) return;
    if (IsCodepageRefused()) {
        Surface().ShowMessage(kRefusedCodepageMessage);
        return;
    }
    ui::Dialog::OnOK();
    LoadingDialog loading;
    loading.DoModal();
    if (AddOnState.LastCopyFailed == 0) {
        RestartDialog restart;
        restart.DoModal();
    } else {
        // Another try, with fresh questions to the device.
        LanguageDialog again;
        again.DoModal();
    }
}

void LanguageDialog::OnCancel() {
    AddOnState.RestartOutcome = -1;
    ui::Dialog::OnCancel();
}

void LanguageDialog::OnClose() {
    AddOnState.RestartOutcome = -1;
    ui::Dialog::OnClose();
}

}  // namespace ofu
