#include "app/main_dialog.h"

#include "access/drive_table.h"
#include "access/volume_locations.h"
#include "addons/addon_handlers.h"
#include "app/login_dialog.h"
#include "app/about_dialog.h"
#include "app/dotted_address.h"
#include "platform/services.h"
#include "protocol/commands.h"
#include "protocol/device_list.h"
#include "protocol/discovery.h"
#include "protocol/shared_texts.h"
#include "protocol/transport.h"
#include "protocol/volume_list.h"
#include "resources/control_ids.h"
#include "resources/resource_ids.h"
#include "resources/string_table.h"

#include <algorithm>
#include <array>

namespace ofu {

namespace {

constexpr std::uint8_t kSearchFilter = 3;
constexpr int kDhcpDisable = 0;
constexpr int kDhcpEnable = 1;

// The buttons that the subnet test of a device click enables or disables.
constexpr int kSubnetButtons[] = {ids::kConnectButton, ids::kDisconnectButton, ids::kConfigurationButton,
                                  ids::kLanguageButton, ids::kWidgetButton};

}  // namespace

MainDialog::MainDialog() : ui::Dialog(ui::kMainDialogId) {}

std::span<const ui::MessageBinding> MainDialog::Messages() const {
    static constexpr ui::MessageBinding kMessages[] = {
        ui::OnListClick<&MainDialog::OnDeviceListClick>(ids::kDeviceList),
        ui::OnClicked<&MainDialog::RefreshDeviceList>(ids::kRefreshButton),
        ui::OnClicked<&MainDialog::OnConfiguration>(ids::kConfigurationButton),
        ui::OnClicked<&MainDialog::OnApplyLan>(ids::kApplyButton),
        ui::OnClicked<&MainDialog::OnConnect>(ids::kConnectButton),
        ui::OnClicked<&MainDialog::OnDisconnect>(ids::kDisconnectButton),
        ui::OnClicked<&MainDialog::OnExit>(ids::kExitButton),
        ui::OnSelectionChange<&MainDialog::OnDhcpSelChange>(ids::kDhcpBox),
        ui::OnClicked<&MainDialog::OnAbout>(ids::kAboutButton),
        ui::OnClicked<&MainDialog::OnLanguage>(ids::kLanguageButton),
        ui::OnClicked<&MainDialog::OnBitTorrent>(ids::kBitTorrentButton),
        ui::OnClicked<&MainDialog::OnWidget>(ids::kWidgetButton),
    };
    return kMessages;
}

bool MainDialog::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    ui::DialogSurface& surface = Surface();

    // The About entry of the system menu.
    if (surface.HasSystemMenu()) {
        const std::string_view about = ui::LoadStringResource(ui::kAboutMenuStringId);
        if (!about.empty()) {
            surface.AppendSystemMenuSeparator();
            surface.AppendSystemMenuItem(ui::kAboutSysCommand, about);
        }
    }
    surface.SetWindowIcon(ui::kApplicationIconId);

    VolumeListFont = ui::FontSpec{"ITC Officina Sans", 12, 100, false};

    surface.InsertColumn(ids::kDeviceList, 0, "Name", 94);
    surface.InsertColumn(ids::kDeviceList, 1, "IP", 81);
    surface.InsertColumn(ids::kDeviceList, 2, "Netmask", 81);
    surface.InsertColumn(ids::kDeviceList, 3, "Gateway", 81);

    surface.SetItemFont(ids::kVolumeList, VolumeListFont);
    surface.InsertColumn(ids::kVolumeList, 0, "Volume Name", 120);
    surface.InsertColumn(ids::kVolumeList, 1, "Location", 100);

    ReadDriveTable();
    FillDriveLetterCombo(surface);
    RefreshDeviceList();

    DeviceChosen = 0;
    return true;
}

void MainDialog::FillDeviceRows() {
    ui::DialogSurface& surface = Surface();
    int row = 0;
    for (const DeviceRecord& record : DeviceList) {
        surface.InsertRow(ids::kDeviceList, row, "");
        surface.SetCellText(ids::kDeviceList, row, 0, record.name.view());
        surface.SetCellText(ids::kDeviceList, row, 1, record.ip.view());
        surface.SetCellText(ids::kDeviceList, row, 2, record.netmask.view());
        surface.SetCellText(ids::kDeviceList, row, 3, record.gateway.view());
        ++row;
    }
}

void MainDialog::SearchAndList() {
    ui::DialogSurface& surface = Surface();
    surface.DeleteAllRows(ids::kDeviceList);
    surface.DeleteAllRows(ids::kVolumeList);
    surface.EnableItem(ids::kRefreshButton, false);
    SearchDevices(kSearchFilter, kSearchFilter);
    surface.EnableItem(ids::kRefreshButton, true);
    FillDeviceRows();
}

void MainDialog::ClearAddressBoxes() {
    ui::DialogSurface& surface = Surface();
    surface.ClearAddress(ids::kAddressBox);
    surface.ClearAddress(ids::kNetmaskBox);
    surface.ClearAddress(ids::kGatewayBox);
}

void MainDialog::RefreshDeviceList() {
    ClearAddressBoxes();
    SearchAndList();
    DeviceChosen = 0;
}

void MainDialog::OnDeviceListClick(const ui::Notify&) {
    ui::DialogSurface& surface = Surface();
    const int firstVisible = surface.FirstVisibleRow(ids::kDeviceList);
    DeviceChosen = 1;
    surface.SetFocusTo(ids::kDeviceList);

    // The row count is read again on every step: the handlers below never change the list,
    // but nothing above the first visible row is looked at.
    for (int row = std::max(firstVisible, 0); row < surface.RowCount(ids::kDeviceList); ++row) {
        if (!surface.IsRowSelected(ids::kDeviceList, row)) continue;

        const std::string address = surface.GetCellText(ids::kDeviceList, row, 1);
        TargetDeviceAddress = address;
        surface.SetAddress(ids::kAddressBox, InetAddr(address));

        int interfaceIndex = -1;
        for (const DeviceRecord& record : DeviceList) {
            if (record.ip != address) continue;  // the last matching record decides
            interfaceIndex = record.interfaceIndex;
            const bool dhcpOn = !record.dhcp.empty() && record.dhcp.view()[0] == '1';
            surface.SetCurSel(ids::kDhcpBox, dhcpOn ? kDhcpEnable : kDhcpDisable);
            surface.EnableItem(ids::kAddressBox, !dhcpOn);
            surface.EnableItem(ids::kGatewayBox, !dhcpOn);
            surface.EnableItem(ids::kNetmaskBox, !dhcpOn);
            SelectedDeviceModel = record.model;
        }

        surface.SetAddress(ids::kNetmaskBox, InetAddr(surface.GetCellText(ids::kDeviceList, row, 2)));

        // Connect and the other device buttons need the device in the subnet of the local
        // address it answered on, by the device's own netmask. A row without a record (the
        // list changed without a refill) leaves them as they are.
        if (interfaceIndex >= 0 && interfaceIndex < localAddressCount) {
            const auto a = surface.GetAddress(ids::kAddressBox).values;
            const auto m = surface.GetAddress(ids::kNetmaskBox).values;
            AddressOctets local{};
            ParseDottedAddress(LocalAddressTable[static_cast<std::size_t>(interfaceIndex)].view(), &local);
            bool sameSubnet = true;
            for (std::size_t k = 0; k < 4; ++k) sameSubnet = sameSubnet && ((m[k] & local[k]) == (m[k] & a[k]));
            for (int id : kSubnetButtons) surface.EnableItem(id, sameSubnet);
        }

        const AddressOctets gateway = InetAddr(surface.GetCellText(ids::kDeviceList, row, 3));
        if (gateway == AddressOctets{0, 0, 0, 0})
            surface.ClearAddress(ids::kGatewayBox);
        else
            surface.SetAddress(ids::kGatewayBox, gateway);

        QueryVolumes();
        DeviceSslSetting.clear();
        QuerySsl();

        surface.DeleteAllRows(ids::kVolumeList);
        const std::string name = surface.GetCellText(ids::kDeviceList, row, 0);
        const std::string deviceAddress = surface.GetCellText(ids::kDeviceList, row, 1);
        SelectedDeviceAddress = deviceAddress;
        FillVolumeLocations(name, deviceAddress);
    }
}

void MainDialog::FillVolumeLocations(std::string_view deviceName, std::string_view deviceAddress) {
    FillVolumeRows(Surface(), deviceName, deviceAddress, ServerMatch::IgnoringCase);
}

void MainDialog::OnExit() {
    FreeDeviceList();
    StopTransport();
    EndDialog(ui::kIdCancel);
}

void MainDialog::OnClose() {
    StopTransport();
    ui::Dialog::OnClose();
}

void MainDialog::OnAbout() {
    AboutDialog about;
    about.DoModal();
}

void MainDialog::OnSysCommand(unsigned command) {
    if ((command & 0xFFF0) == ui::kAboutSysCommand) {
        OnAbout();
        return;
    }
    ui::Dialog::OnSysCommand(command);
}

void MainDialog::UseLoginForShares() { AdminLoginMode = 0; }

void MainDialog::RunShareLoginDialog() {
    AdminLoginMode = 0;
    LoginDialog login;
    login.DoModal();
}

bool MainDialog::RequireAdministrator() {
    LoginDialog login;
    return RequireAdminLogin(login);
}

void MainDialog::OnConnect() { ofu::OnConnect(*this); }
void MainDialog::OnDisconnect() { ofu::OnDisconnect(*this); }
void MainDialog::OnConfiguration() { ofu::OnConfiguration(*this); }
void MainDialog::OnWidget() { ofu::OnWidget(*this); }

void MainDialog::OnLanguage() { ofu::OnLanguage(*this); }
void MainDialog::OnBitTorrent() { ofu::OnBitTorrent(*this); }

}  // namespace ofu
