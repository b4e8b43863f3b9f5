// Builders and style combinations for the dialog templates, so that each control reads as one
// line: kind, id, text, rectangle and extra styles.
#pragma once

#include "resources/dialog_template.h"

namespace ofu::ui::build {

inline constexpr std::uint32_t kReportList =
    kReportView | kSingleSelection | kShowSelectionAlways | kBorder | kTabStop;
inline constexpr std::uint32_t kEditField = kAutoHScroll | kBorder | kTabStop;
inline constexpr std::uint32_t kDropList = kDropDownList | kVScroll | kTabStop;

// A small dialog with an empty title bar and no system menu, so it has no close box.
inline constexpr std::uint32_t kBareDialog = kPopup | kCaption | kModalFrame;
// A dialog with a title bar, a system menu and with it a close box.
inline constexpr std::uint32_t kMenuDialog = kPopup | kCaption | kSystemMenu | kModalFrame;

constexpr ControlTemplate Control(int id, ControlKind kind, std::uint32_t style,
                                  std::string_view text, DialogRect rect) {
    ControlTemplate control;
    control.id = id;
    control.kind = kind;
    control.style = style;
    control.text = text;
    control.rect = rect;
    return control;
}

constexpr ControlTemplate Label(std::string_view text, DialogRect rect,
                                std::uint32_t style = kStyleNone) {
    return Control(-1, ControlKind::StaticText, style, text, rect);
}

constexpr ControlTemplate GroupBox(std::string_view text, DialogRect rect) {
    return Control(-1, ControlKind::GroupBox, kStyleNone, text, rect);
}

constexpr ControlTemplate IconControl(int iconId, DialogRect rect) {
    ControlTemplate control = Control(-1, ControlKind::Icon, kStyleNone, {}, rect);
    control.imageId = iconId;
    return control;
}

constexpr ControlTemplate Button(int id, std::string_view text, DialogRect rect,
                                 std::uint32_t style = kStyleNone) {
    return Control(id, ControlKind::PushButton, kTabStop | style, text, rect);
}

constexpr ControlTemplate DefaultButton(int id, std::string_view text, DialogRect rect,
                                        std::uint32_t style = kStyleNone) {
    return Control(id, ControlKind::DefaultPushButton, kTabStop | style, text, rect);
}

constexpr ControlTemplate Edit(int id, DialogRect rect, std::uint32_t style = kStyleNone) {
    return Control(id, ControlKind::Edit, kEditField | style, {}, rect);
}

constexpr ControlTemplate ReportList(int id, DialogRect rect) {
    return Control(id, ControlKind::ListView, kReportList, {}, rect);
}

constexpr ControlTemplate DropList(int id, DialogRect rect, std::uint32_t style = kStyleNone,
                                   std::span<const std::string_view> items = {}) {
    ControlTemplate control = Control(id, ControlKind::ComboBox, kDropList | style, {}, rect);
    control.initialItems = items;
    return control;
}

constexpr ControlTemplate AddressBox(int id, DialogRect rect) {
    return Control(id, ControlKind::IpAddress, kTabStop, {}, rect);
}

constexpr ControlTemplate ProgressBar(int id, DialogRect rect, std::uint32_t style = kStyleNone) {
    return Control(id, ControlKind::ProgressBar, style, {}, rect);
}

constexpr ControlTemplate Radio(int id, std::string_view text, DialogRect rect,
                                std::uint32_t style = kStyleNone) {
    return Control(id, ControlKind::RadioButton, kAutoRadio | style, text, rect);
}

constexpr DialogTemplate Dialog(int id, std::string_view caption, std::string_view fontFace,
                                int fontPoints, int width, int height, std::uint32_t style,
                                std::span<const ControlTemplate> controls) {
    DialogTemplate dialog;
    dialog.id = id;
    dialog.caption = caption;
    dialog.fontFace = fontFace;
    dialog.fontPoints = fontPoints;
    dialog.width = width;
    dialog.height = height;
    dialog.style = style;
    dialog.controls = controls;
    return dialog;
}

}  // namespace ofu::ui::build
