// Control identifiers of the dialogs, as their templates give them.
#pragma once

namespace ofu::ids {

// Main window.
inline constexpr int kDeviceList = 1000;
inline constexpr int kVolumeList = 1001;
inline constexpr int kRefreshButton = 1002;
inline constexpr int kConnectButton = 1003;
inline constexpr int kDisconnectButton = 1004;
inline constexpr int kAddressBox = 1006;
inline constexpr int kApplyButton = 1007;
inline constexpr int kConfigurationButton = 1008;
inline constexpr int kExitButton = 1009;
inline constexpr int kNetmaskBox = 1010;
inline constexpr int kGatewayBox = 1011;
inline constexpr int kDriveLetterBox = 1013;
inline constexpr int kDhcpBox = 1015;
inline constexpr int kAboutButton = 1021;
inline constexpr int kLanguageButton = 1022;
inline constexpr int kBitTorrentButton = 1025;
inline constexpr int kWidgetButton = 1026;

// Login dialog.
inline constexpr int kUserNameEdit = 1016;
inline constexpr int kPasswordEdit = 1017;

// Model selection dialog: the radio group of the three models.
inline constexpr int kModelRadio120 = 1028;
inline constexpr int kModelRadio140 = 1029;
inline constexpr int kModelRadio180 = 1030;

// Language dialog: the drop-down list of the nine languages.
inline constexpr int kLanguageList = 1022;

// Restart dialog: the progress bar.
inline constexpr int kRestartProgress = 1023;

}  // namespace ofu::ids
