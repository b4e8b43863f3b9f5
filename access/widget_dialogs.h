// The two questions of the widget launcher: whether to download the widget engine first
// (WidgetEngineChoice 1 after Download, 0 after Next or Escape), and which model a device is
// when its model text is not recognised (ModelChoice 0, 1 or 2 for QMR-120, QMR-140 and
// QMR-180; -1 when none was checked or the dialog was cancelled).
#pragma once

#include "ui/dialog.h"

#include <cstdint>

namespace ofu {

extern std::int32_t WidgetEngineChoice;
extern std::int32_t ModelChoice;

class WidgetEngineDialog final : public ui::Dialog {
public:
    WidgetEngineDialog();
    void OnOK() override;
    void OnCancel() override;
};

class ModelSelectDialog final : public ui::Dialog {
public:
    ModelSelectDialog();
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
};

}  // namespace ofu
