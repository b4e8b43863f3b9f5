// Connect and Disconnect on the test backend: which credentials each path tries, when the user
// is asked, and how the drive views are refreshed.
#include "access/drive_in_use_dialog.h"
#include "app/login_dialog.h"
#include "protocol/shared_texts.h"
#include "resources/resource_ids.h"
#include "tests/app/app_fixture.h"

namespace ofu {
namespace {

using namespace ofu::testing;
using platform::NetStatus;
using ui::MessageIcon;

class DriveMapping : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        auto dom = HostedDevices::Config("DOM", "10.77.1.12", 0x05);
        dom.domain = "WORKGROUP";
        hosted.add(dom, {0});
    }
    // Opens the window, clicks `device` and its first volume.
    ui::TestDialog OpenAt(std::string_view device) {
        ui::TestDialog window = ui->Open(main);
        ClickDevice(window, device);
        window.ClickRow(ids::kVolumeList, 0);
        return window;
    }
    void FailWhenPasswordIsNull() {
        platform.drives.addResult = [](const FakeDrives::AddCall& call) {
            return call.password ? NetStatus::Ok : NetStatus::AccessDenied;
        };
    }
    void ExpectLogin(std::string user, std::string password) {
        ui->Script().ExpectDialog(ui::kLoginDialogId, [user, password](ui::TestDialog& login) {
            login.Type(ids::kUserNameEdit, user);
            login.Type(ids::kPasswordEdit, password);
            login.Click(ui::kIdOk);
        });
    }
    std::string ComboRow(int index) { return main.Surface().GetComboItemText(ids::kDriveLetterBox, index); }
};

TEST_F(DriveMapping, DomainDeviceMapsWithTheSessionUserAndTheViewsShowTheNewLetter) {
    auto window = OpenAt("DOM");
    ui->Script().ExpectMessage("Successfully mapped drive.", "Confirm", MessageIcon::Information);
    window.Click(ids::kConnectButton);
    ExpectNoFailures();

    ASSERT_EQ(platform.drives.cancels.size(), 1u);
    EXPECT_EQ(platform.drives.cancels[0].localName, "Z:");
    EXPECT_TRUE(platform.drives.cancels[0].force);
    ASSERT_EQ(platform.drives.adds.size(), 1u);
    const auto& add = platform.drives.adds[0];
    EXPECT_EQ(add.resource.localName, "Z:");
    EXPECT_EQ(add.resource.remoteName, "\\\\DOM\\HDD_a");
    EXPECT_EQ(add.userName, "WORKGROUP\\alice");
    EXPECT_FALSE(add.password.has_value());
    EXPECT_EQ(add.flags, platform::kConnectUpdateProfile);
    EXPECT_EQ(ComboRow(0), "Z: \\\\DOM\\HDD_a");
    EXPECT_EQ(main.Surface().GetCurSel(ids::kDriveLetterBox), 1);  // Y:, the next free letter
    EXPECT_EQ(Cell(ids::kVolumeList, 0, 1), "Z:");
}

TEST_F(DriveMapping, RefusedFirstAttemptAsksAndRetriesWithTheTypedCredentials) {
    struct Case {
        const char* device;
        const char* firstUser;
        const char* secondUser;
    };
    for (const Case c : {Case{"DOM", "WORKGROUP\\alice", "WORKGROUP\\bob"}, Case{"NAS1", "", "bob"}}) {
        SCOPED_TRACE(c.device);
        platform.drives.adds.clear();
        FailWhenPasswordIsNull();
        if (std::string_view(c.device) == "NAS1")  // no domain: a guest attempt first
            platform.drives.addResult = [](const FakeDrives::AddCall& call) {
                return call.userName == "bob" ? NetStatus::Ok : NetStatus::AccessDenied;
            };
        MainDialog another;
        auto window = ui->Open(another);
        ClickDevice(window, c.device);
        window.ClickRow(ids::kVolumeList, 1);
        ExpectLogin("bob", "pw");
        ui->Script().ExpectMessage("Successfully mapped drive.", "Confirm", MessageIcon::Information);
        window.Click(ids::kConnectButton);
        ExpectNoFailures();
        ASSERT_EQ(platform.drives.adds.size(), 2u);
        EXPECT_EQ(platform.drives.adds[0].userName, c.firstUser);
        EXPECT_EQ(platform.drives.adds[1].userName, c.secondUser);
        EXPECT_EQ(platform.drives.adds[1].password, "pw");
        EXPECT_EQ(platform.drives.adds[1].resource.remoteName, std::string("\\\\") + c.device + "\\USB1");
        platform.drives.connections.clear();
    }
}

TEST_F(DriveMapping, BothAttemptsFailingSaysSoAndRefreshesNothing) {
    platform.drives.addResult = [](const FakeDrives::AddCall&) { return NetStatus::AccessDenied; };
    auto window = OpenAt("DOM");
    ui->Script().ExpectDialog(ui::kLoginDialogId, [](ui::TestDialog& login) { login.Click(ui::kIdCancel); });
    ui->Script().ExpectMessage("Failed to map drive.", "Error", MessageIcon::Error);
    const std::size_t resetsBefore = ui->Log().Count("ResetContent(1013)");
    window.Click(ids::kConnectButton);
    ExpectNoFailures();
    ASSERT_EQ(platform.drives.adds.size(), 2u);
    EXPECT_EQ(platform.drives.adds[1].userName, "WORKGROUP\\");  // Cancel leaves the texts empty
    EXPECT_EQ(ui->Log().Count("ResetContent(1013)"), resetsBefore);
    EXPECT_EQ(Cell(ids::kVolumeList, 0, 1), "");
}

TEST_F(DriveMapping, VistaLetsTheSystemAskInsteadOfTheLoginDialog) {
    platform.system.version = platform::OsVersion{2, 6, 1, 7601};
    FailWhenPasswordIsNull();
    platform.drives.addResult = [](const FakeDrives::AddCall& call) {
        return call.flags & platform::kConnectInteractive ? NetStatus::Ok : NetStatus::AccessDenied;
    };
    auto window = OpenAt("DOM");
    ui->Script().ExpectMessage("Successfully mapped drive.", "Confirm", MessageIcon::Information);
    window.Click(ids::kConnectButton);
    ExpectNoFailures();
    ASSERT_EQ(platform.drives.adds.size(), 2u);
    EXPECT_EQ(platform.drives.adds[1].userName, "");
    EXPECT_EQ(platform.drives.adds[1].password, "");
    EXPECT_EQ(platform.drives.adds[1].flags, platform::kConnectUpdateProfile | platform::kConnectInteractive);
}

TEST_F(DriveMapping, NtFourAsksFirstAndGivesUpAfterSixAttempts) {
    platform.system.version = platform::OsVersion{2, 4, 0, 1381};
    platform.drives.addResult = [](const FakeDrives::AddCall&) { return NetStatus::InvalidPassword; };
    auto window = OpenAt("DOM");
    ExpectLogin("bob", "wrong");
    ui->Script().ExpectMessage("Failed to map drive.", "Error", MessageIcon::Error);
    window.Click(ids::kConnectButton);
    ExpectNoFailures();
    ASSERT_EQ(platform.drives.adds.size(), 6u);
    for (const auto& add : platform.drives.adds) {
        EXPECT_EQ(add.userName, "bob");
        EXPECT_EQ(add.password, "wrong");
    }
    EXPECT_TRUE(DeviceDomain.empty());
}

TEST_F(DriveMapping, AConnectedLetterIsReusedOnlyAfterOk) {
    platform.drives.connections = {{'Z', "\\\\NAS2\\HDD_a"}};
    for (const int answer : {ui::kIdCancel, ui::kIdOk}) {
        platform.drives.cancels.clear();
        MainDialog another;
        auto window = ui->Open(another);
        ClickDevice(window, "DOM");
        window.ClickRow(ids::kVolumeList, 0);
        window.ChooseItem(ids::kDriveLetterBox, 0);  // Z: \\NAS2\HDD_a
        ui->Script().ExpectDialog(ui::kDriveInUseDialogId, [answer](ui::TestDialog& d) { d.Click(answer); });
        if (answer == ui::kIdOk)
            ui->Script().ExpectMessage("Successfully mapped drive.", "Confirm", MessageIcon::Information);
        window.Click(ids::kConnectButton);
        ExpectNoFailures();
        EXPECT_EQ(DriveInUseResult, answer == ui::kIdOk ? 1 : 0);
        EXPECT_EQ(platform.drives.cancels.size(), answer == ui::kIdOk ? 1u : 0u);
    }
    EXPECT_EQ(platform.drives.connections['Z'], "\\\\DOM\\HDD_a");
}

TEST_F(DriveMapping, NothingSelectedWarnsAndNoLetterStopsSilently) {
    auto window = ui->Open(main);
    ClickDevice(window, "DOM");
    AdminLoginMode = 1;  // left by an administrator login
    LoginUserName = "admin";
    ui->Script().ExpectMessage("Please select a device in the above section.", "Warning", MessageIcon::Warning);
    window.Click(ids::kConnectButton);  // no volume row
    // Even a press that stops at once leaves the login for share credentials.
    EXPECT_EQ(AdminLoginMode, 0);
    EXPECT_TRUE(LoginUserName.empty());

    // A selected volume scrolled above the visible rows is not found either.
    window.ClickRow(ids::kVolumeList, 0);
    window.ScrollList(ids::kVolumeList, 1);
    ui->Script().ExpectMessage("Please select a device in the above section.", "Warning", MessageIcon::Warning);
    window.Click(ids::kConnectButton);

    window.ScrollList(ids::kVolumeList, 0);
    main.Surface().SetCurSel(ids::kDriveLetterBox, -1);
    window.Click(ids::kConnectButton);
    ExpectNoFailures();
    EXPECT_TRUE(platform.drives.adds.empty());
    EXPECT_TRUE(platform.drives.cancels.empty());
}

TEST_F(DriveMapping, LocationAfterConnectComparesTheServerExactlyAndAfterDisconnectInAnyCase) {
    // M is the exact name, D the same device in lower case; both are nearer A than Z.
    platform.drives.connections = {{'M', "\\\\DOM\\HDD_a"}, {'D', "\\\\dom\\HDD_a"}};
    auto window = OpenAt("DOM");
    window.ChooseItem(ids::kDriveLetterBox, 0);
    ASSERT_EQ(ComboRow(0), "Z:");
    ui->Script().ExpectMessage("Successfully mapped drive.", "Confirm", MessageIcon::Information);
    window.Click(ids::kConnectButton);
    EXPECT_EQ(Cell(ids::kVolumeList, 0, 1), "M:");

    // Disconnect Z through its combo row (no volume selected): the refresh then finds D.
    window.ClickRow(ids::kVolumeList, -1);
    window.ChooseItem(ids::kDriveLetterBox, 0);
    ui->Script().ExpectMessage("Successfully unmapped drive.", "Confirm", MessageIcon::Information);
    window.Click(ids::kDisconnectButton);
    ExpectNoFailures();
    EXPECT_EQ(platform.drives.connections.count('Z'), 0u);
    EXPECT_EQ(Cell(ids::kVolumeList, 0, 1), "D:");
}

TEST_F(DriveMapping, ASelectedVolumeWithoutLetterWinsOverTheComboAndFails) {
    platform.drives.connections = {{'Z', "\\\\NAS2\\HDD_a"}};
    auto window = OpenAt("DOM");
    window.ChooseItem(ids::kDriveLetterBox, 0);
    ui->Script().ExpectMessage(
        "Unable to disconnect this drive.\nPlease select a drive to disconnect and verify that the drive is not "
        "being accessed.",
        "Error", MessageIcon::Error);
    window.Click(ids::kDisconnectButton);
    ExpectNoFailures();
    ASSERT_EQ(platform.drives.cancels.size(), 1u);
    EXPECT_EQ(platform.drives.cancels[0].localName, "");
    EXPECT_EQ(platform.drives.connections.count('Z'), 1u);
}

TEST_F(DriveMapping, ComboRowDisconnectsWithoutADeviceAndLeavesTheVolumeList) {
    platform.drives.connections = {{'Z', "\\\\NAS1\\HDD_a"}, {'Y', "\\\\NAS1\\USB1"}};
    auto window = ui->Open(main);
    window.ChooseItem(ids::kDriveLetterBox, 1);
    const std::size_t clearsBefore = ui->Log().Count("DeleteAllRows(1001)");
    ui->Script().ExpectMessage("Successfully unmapped drive.", "Confirm", MessageIcon::Information);
    window.Click(ids::kDisconnectButton);
    ExpectNoFailures();
    EXPECT_EQ(platform.drives.cancels[0].localName, "Y:");
    EXPECT_EQ(platform.drives.cancels[0].flags, platform::kConnectUpdateProfile);
    EXPECT_TRUE(platform.drives.cancels[0].force);
    EXPECT_EQ(ComboRow(0), "Z: \\\\NAS1\\HDD_a");
    EXPECT_EQ(ComboRow(1), "Y:");
    EXPECT_EQ(ui->Log().Count("DeleteAllRows(1001)"), clearsBefore);

    main.Surface().SetCurSel(ids::kDriveLetterBox, -1);
    window.Click(ids::kDisconnectButton);  // nothing chosen: silent
    EXPECT_EQ(platform.drives.cancels.size(), 1u);
}

}  // namespace
}  // namespace ofu
