// Identifiers of the program's own resources: dialog templates, strings, the icon, and the
// system-menu command that the About entry sends.
#pragma once

namespace ofu::ui {

inline constexpr int kAboutDialogId = 100;
inline constexpr int kMainDialogId = 102;
inline constexpr int kLoginDialogId = 134;
inline constexpr int kLanguageDialogId = 139;
inline constexpr int kRestartDialogId = 141;
inline constexpr int kLoadingDialogId = 180;
inline constexpr int kDriveInUseDialogId = 229;
inline constexpr int kWidgetEngineDialogId = 231;
inline constexpr int kModelSelectDialogId = 232;

inline constexpr int kAboutMenuStringId = 101;
inline constexpr int kApplicationIconId = 128;

// The command that the system menu's About entry sends (low four bits are free for the system).
inline constexpr unsigned kAboutSysCommand = 16;

}  // namespace ofu::ui
