#include "access/drive_table.h"
#include "protocol/shared_texts.h"
#include "protocol/transport.h"
#include "resources/resource_ids.h"
#include "tests/app/app_fixture.h"

namespace ofu {
namespace {

using namespace ofu::testing;
using ui::MessageIcon;

using MainWindow = AppTest;

TEST_F(MainWindow, OpensWithTheDevicesOfTheFirstSearch) {
    auto window = ui->Open(main);
    ui::DialogSurface& s = window.Surface();
    ASSERT_EQ(s.RowCount(ids::kDeviceList), 3);
    EXPECT_EQ(Cell(ids::kDeviceList, 0, 0), "NAS1");
    EXPECT_EQ(Cell(ids::kDeviceList, 0, 1), "10.77.1.10");
    EXPECT_EQ(Cell(ids::kDeviceList, 0, 2), "255.255.255.0");
    EXPECT_EQ(Cell(ids::kDeviceList, 0, 3), "10.77.1.1");
    EXPECT_EQ(Cell(ids::kDeviceList, 2, 0), "FAR");
    EXPECT_EQ(s.RowCount(ids::kVolumeList), 0);
    for (int box : {ids::kAddressBox, ids::kNetmaskBox, ids::kGatewayBox}) EXPECT_TRUE(s.IsAddressBlank(box));
    EXPECT_EQ(s.GetCurSel(ids::kDhcpBox), -1);
    EXPECT_EQ(s.GetComboItemText(ids::kDhcpBox, 0), "Disable");
    EXPECT_EQ(main.DeviceChosen, 0);
    // The hidden buttons stay hidden; the system menu has the About entry.
    for (int id : {ids::kLanguageButton, ids::kBitTorrentButton, ids::kWidgetButton}) EXPECT_FALSE(s.IsItemVisible(id));
    ASSERT_FALSE(window.SystemMenu().empty());
    EXPECT_EQ(window.SystemMenu().back().text, "About Network Storage Adapter(&A)...");
    EXPECT_EQ(window.SystemMenu().back().command, ui::kAboutSysCommand);
    EXPECT_EQ(window.WindowIcon(), ui::kApplicationIconId);
    ExpectNoFailures();
}

TEST_F(MainWindow, EmptyNetworkLeavesBothListsEmptyAndTheBoxesBlank) {
    network.setLocalAddresses({});
    StopTransport();
    StartTransport();
    auto window = ui->Open(main);
    EXPECT_EQ(window.Surface().RowCount(ids::kDeviceList), 0);
    EXPECT_EQ(window.Surface().RowCount(ids::kVolumeList), 0);
    EXPECT_TRUE(window.Surface().IsAddressBlank(ids::kAddressBox));
}

TEST_F(MainWindow, ClickShowsTheDevicesSettingsAndVolumesWithTheirLowestLetter) {
    platform.drives.connections = {{'Z', "\\\\NAS1\\HDD_a"}, {'K', "\\\\nas1\\hdd_A"}, {'M', "\\\\10.77.1.10\\USB1"},
                                   {'Y', "\\\\NAS1\\HDD_a\\Music"}};
    auto window = ui->Open(main);
    ClickDevice(window, "NAS1");
    ui::DialogSurface& s = window.Surface();
    EXPECT_EQ(main.DeviceChosen, 1);
    EXPECT_EQ(TargetDeviceAddress.view(), "10.77.1.10");
    EXPECT_EQ(SelectedDeviceAddress.view(), "10.77.1.10");
    EXPECT_EQ(main.SelectedDeviceModel.view(), "OFN-420");
    EXPECT_EQ(DeviceSslSetting.view(), "1");
    EXPECT_EQ(s.GetAddress(ids::kAddressBox).values, (std::array<int, 4>{10, 77, 1, 10}));
    EXPECT_EQ(s.GetAddress(ids::kNetmaskBox).values, (std::array<int, 4>{255, 255, 255, 0}));
    EXPECT_EQ(s.GetAddress(ids::kGatewayBox).values, (std::array<int, 4>{10, 77, 1, 1}));
    EXPECT_EQ(s.GetComboItemText(ids::kDhcpBox, s.GetCurSel(ids::kDhcpBox)), "Disable");
    EXPECT_TRUE(s.IsItemEnabled(ids::kAddressBox));
    EXPECT_EQ(s.FocusedItem(), ids::kDeviceList);

    ASSERT_EQ(s.RowCount(ids::kVolumeList), 2);
    EXPECT_EQ(Cell(ids::kVolumeList, 0, 0), "HDD_a");
    EXPECT_EQ(Cell(ids::kVolumeList, 0, 1), "K:");  // mapped as Z: and K: (any case)
    EXPECT_EQ(Cell(ids::kVolumeList, 1, 0), "USB1");
    EXPECT_EQ(Cell(ids::kVolumeList, 1, 1), "M:");  // mapped by address
    for (int id : {ids::kConnectButton, ids::kDisconnectButton, ids::kConfigurationButton}) EXPECT_TRUE(s.IsItemEnabled(id));
    ExpectNoFailures();
}

TEST_F(MainWindow, DhcpDeviceGreysTheBoxesAndAZeroGatewayStaysBlank) {
    auto window = ui->Open(main);
    ClickDevice(window, "NAS2");
    ui::DialogSurface& s = window.Surface();
    EXPECT_EQ(s.GetComboItemText(ids::kDhcpBox, s.GetCurSel(ids::kDhcpBox)), "Enable");
    for (int box : {ids::kAddressBox, ids::kNetmaskBox, ids::kGatewayBox}) EXPECT_FALSE(s.IsItemEnabled(box));
    EXPECT_EQ(s.GetAddress(ids::kAddressBox).values, (std::array<int, 4>{10, 77, 1, 11}));
    EXPECT_TRUE(s.IsAddressBlank(ids::kGatewayBox));
    EXPECT_TRUE(main.SelectedDeviceModel.empty());  // short-form answer: no model
}

TEST_F(MainWindow, DeviceOutsideTheSubnetOfItsLocalAddressDisablesTheDeviceButtons) {
    auto window = ui->Open(main);
    ClickDevice(window, "FAR");  // 10.77.9.10/24 answered on 10.77.2.1
    ui::DialogSurface& s = window.Surface();
    for (int id : {ids::kConnectButton, ids::kDisconnectButton, ids::kConfigurationButton, ids::kLanguageButton,
                   ids::kWidgetButton})
        EXPECT_FALSE(s.IsItemEnabled(id)) << id;
    ClickDevice(window, "NAS1");
    EXPECT_TRUE(s.IsItemEnabled(ids::kConnectButton));
}

TEST_F(MainWindow, ClickOnEmptySpaceOnlyMarksADeviceAsChosen) {
    auto window = ui->Open(main);
    const std::size_t sentBefore = network.sent().size();
    window.ClickRow(ids::kDeviceList, -1);
    EXPECT_EQ(main.DeviceChosen, 1);
    EXPECT_EQ(network.sent().size(), sentBefore);
    EXPECT_TRUE(window.Surface().IsAddressBlank(ids::kAddressBox));
    EXPECT_TRUE(TargetDeviceAddress.empty());
}

TEST_F(MainWindow, RowsAboveTheFirstVisibleRowAreNotLookedAt) {
    auto window = ui->Open(main);
    window.ClickRow(ids::kDeviceList, 0);
    TargetDeviceAddress.clear();
    window.ScrollList(ids::kDeviceList, 1);
    main.Dispatch({ids::kDeviceList, ui::Notification::ListClick, 0});
    EXPECT_TRUE(TargetDeviceAddress.empty());
}

TEST_F(MainWindow, RefreshClearsBoxesAndListsButKeepsDhcpBoxAndButtons) {
    auto window = ui->Open(main);
    ClickDevice(window, "FAR");
    ClickDevice(window, "NAS2");
    ui::DialogSurface& s = window.Surface();
    s.EnableItem(ids::kConnectButton, false);
    window.Click(ids::kRefreshButton);
    EXPECT_EQ(main.DeviceChosen, 0);
    EXPECT_EQ(s.RowCount(ids::kVolumeList), 0);
    EXPECT_EQ(s.RowCount(ids::kDeviceList), 3);
    EXPECT_TRUE(s.IsAddressBlank(ids::kAddressBox));
    EXPECT_EQ(s.GetCurSel(ids::kDhcpBox), 1);
    EXPECT_FALSE(s.IsItemEnabled(ids::kConnectButton));
    EXPECT_FALSE(s.IsItemEnabled(ids::kAddressBox));
    EXPECT_EQ(TargetDeviceAddress.view(), "10.77.1.11");
    EXPECT_TRUE(s.IsItemEnabled(ids::kRefreshButton));
    EXPECT_TRUE(ui->Log().Contains("DisableItem(1002)"));
}

TEST_F(MainWindow, VolumeNamesWithoutAnsiEquivalentShowTheDefaultCharacter) {
    auto config = HostedDevices::Config("UNI", "10.77.1.30", 0x09);
    config.volumes = {"M\xC3\xBCsik", "\xE6\x97\xA5\xE6\x9C\xAC", "\xF0\x9F\x98\x80x"};  // Müsik, 日本, an emoji and x
    hosted.add(config, {0});
    platform.drives.connections = {{'P', "\\\\UNI\\M\xFCsik"}};
    auto window = ui->Open(main);
    ClickDevice(window, "UNI");
    ASSERT_EQ(window.Surface().RowCount(ids::kVolumeList), 3);
    EXPECT_EQ(Cell(ids::kVolumeList, 0, 0), "M\xFCsik");
    EXPECT_EQ(Cell(ids::kVolumeList, 0, 1), "P:");
    EXPECT_EQ(Cell(ids::kVolumeList, 1, 0), "??");
    EXPECT_EQ(Cell(ids::kVolumeList, 2, 0), "?x");
}

TEST_F(MainWindow, ExitReleasesTheListAndClosesTheSockets) {
    auto window = ui->Open(main);
    window.Click(ids::kExitButton);
    EXPECT_FALSE(window.IsOpen());
    EXPECT_EQ(DeviceList.count(), 0);
    EXPECT_FALSE(TransportIsOpen());
}

TEST_F(MainWindow, CloseBoxClosesTheSocketsWhileEnterAndEscapeJustEnd) {
    {
        auto window = ui->Open(main);
        window.PressCloseBox();
        EXPECT_FALSE(window.IsOpen());
        EXPECT_FALSE(TransportIsOpen());
    }
    StartTransport();
    for (bool enter : {true, false}) {
        MainDialog another;
        auto window = ui->Open(another);
        window.ClickRow(ids::kDeviceList, 0);  // the focus in the device list
        enter ? window.PressEnter() : window.PressEscape();
        EXPECT_FALSE(window.IsOpen());
        EXPECT_TRUE(TransportIsOpen());
    }
}

TEST_F(MainWindow, AboutButtonAndSystemMenuShowTheSameBox) {
    auto window = ui->Open(main);
    ui->Script().ExpectDialog(ui::kAboutDialogId, [](ui::TestDialog& about) { about.Click(ui::kIdOk); });
    window.Click(ids::kAboutButton);
    ui->Script().ExpectDialog(ui::kAboutDialogId, [](ui::TestDialog& about) { about.PressEscape(); });
    window.ChooseSystemMenu(ui::kAboutSysCommand);
    EXPECT_TRUE(window.IsOpen());
    window.ChooseSystemMenu(ui::kSysCommandMinimize);
    EXPECT_TRUE(window.IsOpen());
    ExpectNoFailures();
}

}  // namespace
}  // namespace ofu
