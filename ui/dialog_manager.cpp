#include "ui/dialog_manager.h"

#include <vector>

#include "ui/dialog.h"

namespace ofu::ui {
namespace {

bool IsPushButton(const ControlTemplate& control) {
    return control.kind == ControlKind::PushButton ||
           control.kind == ControlKind::DefaultPushButton;
}

std::vector<int> RadioGroup(const Dialog& dialog, int firstId) {
    std::vector<int> ids;
    bool inGroup = false;
    for (const ControlTemplate& control : dialog.Template().controls) {
        if (!inGroup) {
            if (control.id == firstId && control.kind == ControlKind::RadioButton) {
                inGroup = true;
                ids.push_back(control.id);
            }
            continue;
        }
        if (control.kind != ControlKind::RadioButton || control.Has(kGroupStart)) break;
        ids.push_back(control.id);
    }
    return ids;
}

}  // namespace

void InitDialog(Dialog& dialog) {
    const bool setFocus = dialog.OnInitDialog();
    if (!setFocus || !dialog.IsOpen()) return;
    const int first = FirstTabStop(dialog);
    if (first != 0) dialog.Surface().SetFocusTo(first);
}

int FirstTabStop(const Dialog& dialog) {
    const DialogSurface& surface = dialog.Surface();
    for (const ControlTemplate& control : dialog.Template().controls) {
        if (control.id == -1 || !control.Has(kTabStop)) continue;
        if (surface.IsItemVisible(control.id) && surface.IsItemEnabled(control.id)) {
            return control.id;
        }
    }
    return 0;
}

int PressEnter(Dialog& dialog) {
    const DialogTemplate& layout = dialog.Template();
    DialogSurface& surface = dialog.Surface();
    int target = kIdOk;
    const ControlTemplate* focused = layout.FindControl(surface.FocusedItem());
    if (focused != nullptr && IsPushButton(*focused)) {
        target = focused->id;
    } else {
        for (const ControlTemplate& control : layout.controls) {
            if (control.kind == ControlKind::DefaultPushButton && control.id != -1) {
                target = control.id;
                break;
            }
        }
    }
    if (layout.FindControl(target) != nullptr && !surface.IsItemEnabled(target)) return 0;
    dialog.DispatchCommand(target);
    return target;
}

void PressEscape(Dialog& dialog) { dialog.DispatchCommand(kIdCancel); }

void RequestClose(Dialog& dialog) { dialog.OnClose(); }

int CheckedRadioIndex(const Dialog& dialog, int firstId) {
    const std::vector<int> group = RadioGroup(dialog, firstId);
    for (std::size_t i = 0; i < group.size(); ++i) {
        if (dialog.Surface().IsChecked(group[i])) return static_cast<int>(i);
    }
    return -1;
}

void CheckRadioIndex(Dialog& dialog, int firstId, int index) {
    const std::vector<int> group = RadioGroup(dialog, firstId);
    for (std::size_t i = 0; i < group.size(); ++i) {
        dialog.Surface().SetChecked(group[i], static_cast<int>(i) == index);
    }
}

}  // namespace ofu::ui
