// The LAN box of the main window: DHCP or a static address, netmask and gateway for the
// chosen device, checked field by field and as a whole, after the administrator login.
#include "app/login_dialog.h"
#include "app/main_dialog.h"
#include "protocol/commands.h"
#include "protocol/shared_texts.h"
#include "resources/control_ids.h"
#include "ui/message_box.h"

#include "protocol/device_list.h"

namespace ofu {
namespace {

using ui::MessageIcon;

struct FieldRange {
    int low;
    int high;
    const char* message;
};

// Allowed range and message of each field, per kind of box.
constexpr FieldRange kRanges[3][4] = {
    {{1, 254, "Invalid IP address in 1st digit. It should be 1-254."},
     {0, 254, "Invalid IP address in 2nd digit. It should be 0-254."},
     {0, 254, "Invalid IP address in 3rd digit. It should be 0-254."},
     {1, 254, "Invalid IP address in 4th digit. It should be 1-254."}},
    {{1, 255, "Invalid subnet mask address in 1st digit. It should be 1-255."},
     {0, 255, "Invalid subnet mask address in 2nd digit. It should be 0-255."},
     {0, 255, "Invalid subnet mask address in 3rd digit. It should be 0-255."},
     {0, 254, "Invalid subnet mask address in 4th digit. It should be 0-254."}},
    {{1, 255, "Invalid gateway IP address in 1st digit. It should be 1-255."},
     {0, 255, "Invalid gateway IP address in 2nd digit. It should be 0-255."},
     {0, 255, "Invalid gateway IP address in 3rd digit. It should be 0-255."},
     {1, 254, "Invalid gateway IP address in 4th digit. It should be 1-254."}},
};

constexpr int BoxOf(AddressKind kind) {
    return kind == AddressKind::Address ? ids::kAddressBox
           : kind == AddressKind::Netmask ? ids::kNetmaskBox
                                          : ids::kGatewayBox;
}

// The dotted text of a box's fields (each 0 to 255, as the control holds them).
BoundedText<16> DottedText(const std::array<int, 4>& f) {
    return BytesToDottedQuad({static_cast<std::uint8_t>(f[0]), static_cast<std::uint8_t>(f[1]),
                              static_cast<std::uint8_t>(f[2]), static_cast<std::uint8_t>(f[3])});
}

void SetAddressBoxesEnabled(ui::DialogSurface& surface, bool enabled) {
    surface.EnableItem(ids::kAddressBox, enabled);
    surface.EnableItem(ids::kGatewayBox, enabled);
    surface.EnableItem(ids::kNetmaskBox, enabled);
}

}  // namespace

int CheckNetmaskContiguous(int m0, int m1, int m2, int m3) {
    if (m0 == 0) return -1;
    bool zeroSeen = false;
    for (int field : {m0, m1, m2, m3}) {
        for (int bit = 7; bit >= 0; --bit) {
            const bool one = ((field >> bit) & 1) != 0;
            if (one && zeroSeen) return -1;  // a one after a zero
            if (!one) zeroSeen = true;
        }
    }
    return 0;
}

int CheckGatewayConsistent(const int (&a)[4], const int (&m)[4], const int (&g)[4]) {
    bool network = true;
    bool broadcast = true;
    bool otherSubnet = false;
    for (int k = 0; k < 4; ++k) {
        network = network && g[k] == (a[k] & m[k]);
        broadcast = broadcast && g[k] == (a[k] | (255 - m[k]));
        otherSubnet = otherSubnet || (a[k] & m[k]) != (g[k] & m[k]);
    }
    return network || broadcast || otherSubnet ? 1 : 0;
}

int MainDialog::ValidateAddressFields(AddressKind kind, int f0, int f1, int f2, int f3) {
    const int box = BoxOf(kind);
    if (kind == AddressKind::Gateway && Surface().IsAddressBlank(box)) return 1;
    const int fields[4] = {f0, f1, f2, f3};
    const auto& ranges = kRanges[static_cast<int>(kind)];
    for (int k = 0; k < 4; ++k) {
        if (fields[k] >= ranges[k].low && fields[k] <= ranges[k].high) continue;
        Surface().ShowMessage(ranges[k].message, "Error", MessageIcon::Information);
        Surface().FocusAddressField(box, k);
        return 0;
    }
    return 1;
}

void MainDialog::OnDhcpSelChange() {
    ui::DialogSurface& surface = Surface();
    const int selected = surface.GetCurSel(ids::kDhcpBox);
    const bool enable = selected >= 0 && surface.GetComboItemText(ids::kDhcpBox, selected) == "Enable";
    SetAddressBoxesEnabled(surface, !enable);
}

void MainDialog::OnApplyLan() {
    LoginDialog login;
    AdminLoginMode = 1;
    ui::DialogSurface& surface = Surface();
    if (DeviceChosen == 0) {
        surface.ShowMessage("Please select a device in the above section.", "Error", MessageIcon::Error);
        return;
    }
    const int selected = surface.GetCurSel(ids::kDhcpBox);
    if (selected < 0) return;
    if (surface.GetComboItemText(ids::kDhcpBox, selected) == "Enable")
        ApplyDhcp(login);
    else
        ApplyStatic(login);
}

void MainDialog::ApplyDhcp(LoginDialog& login) {
    ui::DialogSurface& surface = Surface();
    if (!RequireAdminLogin(login)) return;
    if (EnableDhcp() == 0) {
        surface.ShowMessage("Set to dhcp client fail.", "Error", MessageIcon::Error);
        return;
    }
    surface.ShowMessage("DHCP client enabled.", "Confirm", MessageIcon::Information);
    ClearAddressBoxes();
    SetAddressBoxesEnabled(surface, true);
    DeviceChosen = 0;
    SearchAndList();
}

void MainDialog::ApplyStatic(LoginDialog& login) {
    ui::DialogSurface& surface = Surface();
    if (surface.IsAddressBlank(ids::kAddressBox)) {
        surface.ShowMessage("Please input IP address!", "Warning", MessageIcon::Warning);
        return;
    }
    if (surface.IsAddressBlank(ids::kNetmaskBox)) {
        surface.ShowMessage("Please input net mask address!", "Warning", MessageIcon::Warning);
        return;
    }
    const auto a = surface.GetAddress(ids::kAddressBox).values;
    if (a[0] == 127) {
        surface.ShowMessage("IP address input error. Please try again.", "Warning", MessageIcon::Warning);
        return;
    }
    if (!ValidateAddressFields(AddressKind::Address, a[0], a[1], a[2], a[3])) return;
    NewDeviceAddress = DottedText(a);

    const auto m = surface.GetAddress(ids::kNetmaskBox).values;
    if (!ValidateAddressFields(AddressKind::Netmask, m[0], m[1], m[2], m[3])) return;
    NewNetmask = DottedText(m);

    const auto g = surface.GetAddress(ids::kGatewayBox).values;
    if (!ValidateAddressFields(AddressKind::Gateway, g[0], g[1], g[2], g[3])) return;

    if (CheckNetmaskContiguous(m[0], m[1], m[2], m[3]) == -1) {
        surface.ShowMessage("Netmask address input invalid. Please try again.", "Error", MessageIcon::Error);
        return;
    }
    const int address[4] = {a[0], a[1], a[2], a[3]};
    const int netmask[4] = {m[0], m[1], m[2], m[3]};
    const int gateway[4] = {g[0], g[1], g[2], g[3]};
    if (!surface.IsAddressBlank(ids::kGatewayBox) && CheckGatewayConsistent(address, netmask, gateway) == 1) {
        surface.ShowMessage("You enter incorrect TCP/IP configuration. Please try again.", "Error",
                            MessageIcon::Error);
        return;
    }
    const bool anyGateway = g[0] != 0 || g[1] != 0 || g[2] != 0 || g[3] != 0;
    NewGateway = anyGateway ? DottedText(g) : BoundedText<16>();

    if (!RequireAdminLogin(login)) return;
    SetStaticAddress();  // the new search below shows where the device now is

    ClearAddressBoxes();
    SearchAndList();
}

}  // namespace ofu
