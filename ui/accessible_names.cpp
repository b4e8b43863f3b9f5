#include "ui/accessible_names.h"

#include <climits>

namespace ofu::ui {
namespace {

bool NeedsName(ControlKind kind) {
    switch (kind) {
        case ControlKind::Edit:
        case ControlKind::ListView:
        case ControlKind::ComboBox:
        case ControlKind::IpAddress:
        case ControlKind::ProgressBar:
            return true;
        default:
            return false;
    }
}

bool IsVisibleLabel(const ControlTemplate& c) {
    return c.kind == ControlKind::StaticText && !c.Has(kHidden) && !c.text.empty();
}

bool OverlapsVertically(const DialogRect& a, const DialogRect& b) {
    return a.y < b.y + b.height && b.y < a.y + a.height;
}

bool OverlapsHorizontally(const DialogRect& a, const DialogRect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width;
}

bool Contains(const DialogRect& outer, const DialogRect& inner) {
    return outer.x <= inner.x && outer.y <= inner.y && inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

// The label as spoken: "&&" is a literal "&", a single "&" only marks the mnemonic, and the
// colon that ends a label (with the blanks before it) is not part of the name.
std::string Spoken(const ControlTemplate& label) {
    std::string text;
    const std::string_view raw = label.text;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '&' && !label.Has(kNoPrefix)) {
            if (i + 1 < raw.size() && raw[i + 1] == '&') text.push_back('&'), ++i;
            continue;
        }
        text.push_back(raw[i]);
    }
    while (!text.empty() && (text.back() == ':' || text.back() == ' ')) text.pop_back();
    return text;
}

}  // namespace

const ControlTemplate* LabelFor(const DialogTemplate& dialog, const ControlTemplate& control) {
    if (!NeedsName(control.kind)) return nullptr;
    // A drop-down list's template height is that of its open list; it sits on one line.
    DialogRect at = control.rect;
    if (control.kind == ControlKind::ComboBox && at.height > 12) at.height = 12;

    const ControlTemplate* left = nullptr;
    const ControlTemplate* above = nullptr;
    int leftGap = INT_MAX, aboveGap = INT_MAX;
    for (const ControlTemplate& c : dialog.controls) {
        if (!IsVisibleLabel(c)) continue;
        const DialogRect& r = c.rect;
        const int gapLeft = at.x - (r.x + r.width);
        if (OverlapsVertically(r, at) && gapLeft >= -2 && gapLeft < leftGap) left = &c, leftGap = gapLeft;
        const int gapAbove = at.y - (r.y + r.height);
        if (OverlapsHorizontally(r, at) && gapAbove >= 0 && gapAbove <= 12 && gapAbove < aboveGap)
            above = &c, aboveGap = gapAbove;
    }
    if (left != nullptr) return left;
    if (above != nullptr) return above;

    const ControlTemplate* group = nullptr;
    for (const ControlTemplate& c : dialog.controls) {
        if (c.kind != ControlKind::GroupBox || c.text.empty() || !Contains(c.rect, at)) continue;
        if (group == nullptr || Contains(group->rect, c.rect)) group = &c;
    }
    return group;
}

std::string AccessibleNameFor(const DialogTemplate& dialog, const ControlTemplate& control) {
    const ControlTemplate* label = LabelFor(dialog, control);
    return label != nullptr ? Spoken(*label) : std::string{};
}

}  // namespace ofu::ui
