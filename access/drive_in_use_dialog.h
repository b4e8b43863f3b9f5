// "The drive letter has been used." The question Connect asks before it reuses a letter that
// is connected already. OK leaves 1 in DriveInUseResult, Cancel (or Escape) leaves 0.
#pragma once

#include "ui/dialog.h"

#include <cstdint>

namespace ofu {

extern std::int32_t DriveInUseResult;

class DriveInUseDialog final : public ui::Dialog {
public:
    DriveInUseDialog();
    void OnOK() override;
    void OnCancel() override;
};

}  // namespace ofu
