// "Loading.....": the window shown while an add-on is installed. Two seconds after it opens, its
// timer (1 for a codepage run, 2 for a BitTorrent run, by InstallMode) fires once and the whole
// installation runs in that timer message; the window then closes. Enter and Escape do nothing.
#pragma once

#include "ui/dialog.h"

namespace ofu {

class LoadingDialog final : public ui::Dialog {
public:
    LoadingDialog();

    bool OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnTimer(int timerId) override;

    // The installation, for the timer that fired.
    void RunInstallation(int timerId);
};

}  // namespace ofu
