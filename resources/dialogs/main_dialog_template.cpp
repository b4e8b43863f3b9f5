#include "resources/dialog_templates.h"
#include "resources/dialogs/template_builders.h"

namespace ofu::ui {
namespace {

using namespace build;

constexpr std::string_view kDhcpItems[] = {"Disable", "Enable"};

constexpr ControlTemplate kControls[] = {
    ReportList(1000, {8, 13, 216, 68}),
    Button(1002, "Refresh", {227, 49, 45, 14}),
    Button(1008, "Configuration", {228, 67, 45, 14}),
    AddressBox(1006, {55, 105, 100, 13}),
    AddressBox(1010, {55, 123, 100, 13}),
    AddressBox(1011, {55, 142, 100, 13}),
    Button(1007, "Apply", {222, 136, 50, 14}),
    ReportList(1001, {8, 182, 164, 51}),
    Button(1003, "Connect", {182, 217, 43, 14}),
    Button(1004, "Disconnect", {230, 217, 43, 14}),
    Button(1009, "Exit", {234, 246, 43, 15}),
    GroupBox("Network Storage Device", {3, 2, 277, 87}),
    GroupBox("LAN", {3, 93, 277, 67}),
    Label("I P :", {13, 109, 14, 8}),
    Label("Netmask :", {13, 127, 32, 8}),
    Label("Gateway :", {13, 145, 38, 8}),
    GroupBox("Drive Mapping", {3, 163, 277, 77}),
    DropList(1013, {181, 191, 91, 110}),
    DropList(1015, {213, 107, 59, 49}, kSorted, kDhcpItems),
    Label("Receive DHCP :", {162, 109, 51, 8}),
    Label("Available Drive Letters :", {182, 181, 78, 8}),
    Button(1021, "About", {4, 246, 45, 15}),
    // Created without the visible style, under the Refresh and Configuration buttons.
    Button(1022, "Language", {227, 66, 45, 14}, kHidden),
    Button(1025, "BitTorrent", {227, 49, 45, 14}, kHidden),
    Button(1026, "Widget", {227, 67, 45, 14}, kHidden),
};

}  // namespace

const DialogTemplate kMainDialogTemplate =
    build::Dialog(kMainDialogId, "Ostrel Ferrow Utility", "Arial", 8, 285, 262,
                  build::kMenuDialog | kMinimizeBox | kAppWindow, kControls);

}  // namespace ofu::ui
