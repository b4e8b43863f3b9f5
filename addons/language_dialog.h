// The "Language :" dialog: asks the chosen device for its disk state and current codepage,
// offers the nine languages with the current one selected, refuses those the firmware cannot
// take, and installs the chosen one. A device that is not ready is told about without the
// dialog ever showing.
#pragma once

#include "ui/dialog.h"

namespace ofu {

class LanguageDialog final : public ui::Dialog {
public:
    LanguageDialog();

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnClose() override;
    void OnSelChange();

    // True when the firmware takes only the basic codepages and 865, 852 or 857 is selected.
    bool IsCodepageRefused() const;

protected:
    std::span<const ui::MessageBinding> Messages() const override;

private:
    // RestartOutcome -1 and the dialog closed with OK, before it is shown.
    void Leave();
};

}  // namespace ofu
