// The main window: the devices found on the local networks, the chosen device's LAN
// settings and DHCP state, and its volumes with the drive letters they are mapped to.
#pragma once

#include "access/access_host.h"
#include "access/selected_device.h"
#include "protocol/bounded_text.h"
#include "ui/dialog.h"
#include "ui/font_spec.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace ofu {

// The three address boxes the LAN settings check, in the order of their messages.
enum class AddressKind { Address, Netmask, Gateway };

class MainDialog final : public ui::Dialog, private AccessHost {
public:
    MainDialog();

    bool OnInitDialog() override;
    void OnClose() override;
    void OnSysCommand(unsigned command) override;

    // Device list.
    void RefreshDeviceList();
    void OnDeviceListClick(const ui::Notify& notify);
    void FillVolumeLocations(std::string_view deviceName, std::string_view deviceAddress);

    // LAN settings.
    void OnDhcpSelChange();
    void OnApplyLan();
    // Non-zero when the four fields of the box of `kind` are in range; 0 after the message
    // and with the focus in the first field out of range.
    int ValidateAddressFields(AddressKind kind, int f0, int f1, int f2, int f3);

    // Program shell.
    void OnExit();
    void OnAbout();

    // Handlers of the device access and add-on buttons.
    void OnConnect();
    void OnDisconnect();
    void OnConfiguration();
    void OnLanguage();
    void OnBitTorrent();
    void OnWidget();

    // 1 after any click in the device list; 0 after the list was refilled.
    std::int32_t DeviceChosen = 0;
    // The model of the device last clicked.
    BoundedText<34> SelectedDeviceModel;

protected:
    std::span<const ui::MessageBinding> Messages() const override;

private:
    // AccessHost: what the device access handlers use of the window.
    ui::DialogSurface& Window() override { return Surface(); }
    void UseLoginForShares() override;
    void RunShareLoginDialog() override;
    void SetDeviceChosen(std::int32_t chosen) override { DeviceChosen = chosen; }
    std::int32_t DeviceChosenFlag() const override { return DeviceChosen; }
    bool RequireAdministrator() override;
    std::string_view SelectedModel() const override { return SelectedDeviceModel.view(); }

private:
    // Rows of the device list from DeviceList, in list order.
    void FillDeviceRows();
    // Empties both lists, searches with the Refresh button disabled, and lists what was found.
    void SearchAndList();
    void ClearAddressBoxes();
    void ApplyDhcp(class LoginDialog& login);
    void ApplyStatic(class LoginDialog& login);

    ui::FontSpec VolumeListFont;
};

// Whether the netmask's bits are contiguous from the top: 0 when valid, -1 otherwise (also
// when the first field is 0).
int CheckNetmaskContiguous(int m0, int m1, int m2, int m3);

// 1 when the gateway is the network or the broadcast address of the address and netmask, or
// lies in another subnet; 0 when it fits.
int CheckGatewayConsistent(const int (&address)[4], const int (&netmask)[4], const int (&gateway)[4]);

}  // namespace ofu
