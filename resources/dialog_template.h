// The data format of the dialog templates: a dialog's caption, font, size and styles and its
// controls in template order, all in dialog units. Templates are constant data; the backends
// build their windows from them and the test backend builds its control models from them.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace ofu::ui {

enum class ControlKind {
    StaticText,
    Icon,
    GroupBox,
    PushButton,
    DefaultPushButton,
    Edit,
    ListView,
    ComboBox,
    IpAddress,
    ProgressBar,
    RadioButton,
    CheckBox,
};

// Control style flags. Each names one window or control style of the template.
enum ControlStyle : std::uint32_t {
    kStyleNone = 0,
    kHidden = 1u << 0,               // created without the visible style
    kDisabled = 1u << 1,             // created disabled
    kTabStop = 1u << 2,              // reachable with Tab
    kGroupStart = 1u << 3,           // first control of a group (radio groups, Tab groups)
    kBorder = 1u << 4,               // thin border
    kNoPrefix = 1u << 5,             // static text: "&" is shown as it is, not as a mnemonic
    kPassword = 1u << 6,             // edit: shows bullets instead of the characters
    kAutoHScroll = 1u << 7,          // edit: scrolls horizontally while typing
    kReportView = 1u << 8,           // list view: rows and columns with a header
    kSingleSelection = 1u << 9,      // list view: at most one selected row
    kShowSelectionAlways = 1u << 10, // list view: selection stays visible without the focus
    kDropDownList = 1u << 11,        // combo box: a closed list without an edit field
    kSorted = 1u << 12,              // combo box: items are kept in alphabetical order
    kVScroll = 1u << 13,             // vertical scroll bar
    kSmooth = 1u << 14,              // progress bar: a continuous bar rather than blocks
    kAutoRadio = 1u << 15,           // radio button checks itself and unchecks its group
    kAutoCheck = 1u << 16,           // check box toggles itself when clicked
};

// Dialog (window) style flags.
enum DialogStyle : std::uint32_t {
    kDialogNone = 0,
    kPopup = 1u << 0,        // top-level popup window
    kCaption = 1u << 1,      // has a title bar (its text may be empty)
    kSystemMenu = 1u << 2,   // has a system menu and with it a close box
    kMinimizeBox = 1u << 3,  // has a minimise box
    kModalFrame = 1u << 4,   // dialog frame
    kAppWindow = 1u << 5,    // shown in the taskbar
};

// A rectangle in dialog units: horizontal units are a quarter of the font's average character
// width, vertical units an eighth of its height.
struct DialogRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct ControlTemplate {
    int id = -1;  // -1 for controls that nothing addresses
    ControlKind kind = ControlKind::StaticText;
    std::uint32_t style = kStyleNone;
    std::string_view text;  // label, button text or empty
    DialogRect rect;
    std::span<const std::string_view> initialItems = {};  // combo boxes: items added at creation
    int imageId = 0;                                        // icon controls: the icon resource

    constexpr bool Has(std::uint32_t flag) const { return (style & flag) == flag; }
};

struct DialogTemplate {
    int id = 0;
    std::string_view caption;
    std::string_view fontFace;
    int fontPoints = 8;
    int width = 0;   // client size in dialog units
    int height = 0;
    std::uint32_t style = kDialogNone;
    std::span<const ControlTemplate> controls = {};

    constexpr bool Has(std::uint32_t flag) const { return (style & flag) == flag; }

    // The first control with this id, or nullptr. Ids of -1 are never found.
    constexpr const ControlTemplate* FindControl(int controlId) const {
        if (controlId == -1) return nullptr;
        for (const ControlTemplate& control : controls) {
            if (control.id == controlId) return &control;
        }
        return nullptr;
    }
};

}  // namespace ofu::ui
