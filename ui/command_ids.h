// Command identifiers that the dialog manager itself produces or understands.
#pragma once

namespace ofu::ui {

inline constexpr int kIdOk = 1;      // Enter, the default button, the OK button
inline constexpr int kIdCancel = 2;  // Escape, the close box (by default), the Cancel button

// System-menu commands of the window itself; the low four bits are reserved for the system,
// so compare with (command & 0xFFF0).
inline constexpr unsigned kSysCommandMinimize = 0xF020;
inline constexpr unsigned kSysCommandClose = 0xF060;

}  // namespace ofu::ui
