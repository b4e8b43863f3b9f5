// The Language and BitTorrent setups on the test backend: what the device is asked, how often,
// what the user is told, and when the main window is refreshed.
#include "resources/resource_ids.h"
#include "tests/app/addon_fixture.h"

namespace ofu {
namespace {

using namespace ofu::testing;
using ui::MessageIcon;

class LanguageSetup : public AddonTest {
protected:
    int Searches() const {
        int count = 0;
        for (const auto& datagram : network.sent()) count += !datagram.bytes.empty() && datagram.bytes[0] == 1;
        return count;
    }
};

TEST_F(LanguageSetup, AnExtendedDeviceOffersItsCodepageAndTheInstallEndsWithARestartAndARefresh) {
    auto window = OpenWith("CP2");  // disk state 5, codepage 852
    const int searchesBefore = Searches();
    ui->Script()
        .ExpectDialog(ui::kLanguageDialogId,
                      [](ui::TestDialog& d) {
                          EXPECT_EQ(d.Surface().GetCurSel(ids::kLanguageList), 4);  // Central European
                          d.Click(ui::kIdOk);
                      })
        .ExpectDialog(ui::kLoadingDialogId)
        .ExpectDialog(ui::kRestartDialogId);
    window.Click(ids::kLanguageButton);
    ExpectNoFailures();
    EXPECT_EQ(AddOnState.ExtendedCodepages, 1);
    EXPECT_EQ(SetsSent(wire::kSetCodepage), (std::vector<std::string>{"852"}));
    EXPECT_TRUE(platform.disk.opened.empty());  // 852 is set without files
    EXPECT_EQ(AddOnState.RestartOutcome, 0);
    EXPECT_EQ(main.DeviceChosen, 0);
    EXPECT_GT(Searches(), searchesBefore);
}

TEST_F(LanguageSetup, ABasicFirmwareRefusesTurkishAtOnceAndOnOk) {
    auto window = OpenWith("CP1");  // disk state 3, codepage 437
    const std::string refused(
        "This codepage does not supported in this firmware.\nPlease download the latest firmware from the support link.");
    ui->Script().ExpectDialog(ui::kLanguageDialogId, [&](ui::TestDialog& d) {
        EXPECT_EQ(d.Surface().GetCurSel(ids::kLanguageList), 2);  // 437 is none of them: Western European
        ui->Script().ExpectMessage(refused).ExpectMessage(refused);
        d.ChooseItem(ids::kLanguageList, 5);
        d.Click(ui::kIdOk);
        EXPECT_TRUE(d.IsOpen());
        d.Click(ui::kIdCancel);
    });
    window.Click(ids::kLanguageButton);
    ExpectNoFailures();
    EXPECT_EQ(AddOnState.RestartOutcome, -1);
    EXPECT_EQ(main.DeviceChosen, 1);  // no refresh
    EXPECT_TRUE(SetsSent(wire::kSetCodepage).empty());
}

TEST_F(LanguageSetup, ADeviceThatIsNotReadyIsToldAboutWithoutTheDialog) {
    struct Case {
        const char* ideOk;
        const char* message;
    };
    const Case cases[] = {
        {"1", "No hard drives were detected.\nPlease verify that the hard drives are properly connected before continuing."},
        {"2", "Please format hard drive."},
        {"4", "This device supports Unicode."},
        {"", "Multi-language options are not supported on this device."},
    };
    std::uint8_t seed = 0x50;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        auto config = HostedDevices::Config(std::string("DISK") + c.ideOk, "10.77.1." + std::to_string(seed), seed);
        config.ideOk = c.ideOk;
        hosted.add(config, {0});
        platform.threads.sleeps.clear();
        MainDialog another;
        auto window = ui->Open(another);
        ClickDevice(window, config.name);
        window.Surface().ShowItem(ids::kLanguageButton, true);
        ui->Script().ExpectDialog(ui::kLanguageDialogId).ExpectMessage(c.message, "Ostrel Ferrow Utility");
        window.Click(ids::kLanguageButton);
        ExpectNoFailures();
        EXPECT_EQ(AddOnState.RestartOutcome, -1);
        EXPECT_EQ(platform.threads.sleeps.size(), c.ideOk[0] == '\0' ? 10u : 1u);  // 10 attempts without an answer
        ++seed;
    }
    EXPECT_EQ(platform.programs.started, (std::vector<std::string>{"explorer http://10.77.1.81"}));
}

TEST_F(LanguageSetup, AFailedCopyOffersTheDialogAgainAndNothingIsRefreshedAfterCancel) {
    auto window = OpenWith("CP1");
    platform.disk.readOnly.insert("\\\\10.77.1.13\\HDD_a\\.codepages\\codepage.950");
    ui->Script()
        .ExpectDialog(ui::kLanguageDialogId,
                      [](ui::TestDialog& d) {
                          d.ChooseItem(ids::kLanguageList, 0);
                          d.Click(ui::kIdOk);
                      })
        .ExpectDialog(ui::kLoadingDialogId)
        .ExpectMessage("Please check hard drives.")
        .ExpectDialog(ui::kLanguageDialogId, [](ui::TestDialog& d) { d.PressEscape(); });
    window.Click(ids::kLanguageButton);
    ExpectNoFailures();
    EXPECT_EQ(AddOnState.LastCopyFailed, 1);
    EXPECT_EQ(AddOnState.RestartOutcome, -1);
    EXPECT_EQ(main.DeviceChosen, 1);
    EXPECT_EQ(QueriesSent(wire::kQueryIdeOk), 2);  // the second dialog asked afresh
}

TEST_F(LanguageSetup, WithoutAChosenDeviceBothSetupsSaySo) {
    auto window = ui->Open(main);
    window.Surface().ShowItem(ids::kLanguageButton, true);
    window.Surface().ShowItem(ids::kBitTorrentButton, true);
    ui->Script()
        .ExpectMessage("Please select a device.", "Error", MessageIcon::Error)
        .ExpectMessage("Please select a device.", "Error", MessageIcon::Error);
    window.Click(ids::kLanguageButton);
    window.Click(ids::kBitTorrentButton);
    ExpectNoFailures();
    EXPECT_EQ(AddOnState.InstallMode, 0);
}

using BitTorrentSetup = AddonTest;

TEST_F(BitTorrentSetup, ACompletedInstallRestartsRefreshesAndRemovesTheLocalFolder) {
    auto window = OpenWith("CP2");  // disk state 5 counts as ready here; admin with no password
    ui->Script().ExpectDialog(ui::kLoadingDialogId).ExpectDialog(ui::kRestartDialogId);
    window.Click(ids::kBitTorrentButton);
    ExpectNoFailures();
    EXPECT_EQ(familyTwo->state().addOnName, "BT");
    EXPECT_FALSE(platform.disk.PathExists("C:\\bt"));
    EXPECT_EQ(AddOnState.InstallMode, 0);
    EXPECT_EQ(AddOnState.BitTorrentInstalled, 0);
    EXPECT_EQ(main.DeviceChosen, 0);
    EXPECT_EQ(PausedMillis(), 2000 + 1000 + 2000);  // one disk query, two firmware queries
}

TEST_F(BitTorrentSetup, ARefusedLoginSendsNothingFurther) {
    auto window = OpenWith("NAS2");  // administrator password "pw"
    ui->Script()
        .ExpectDialog(ui::kLoginDialogId,
                      [](ui::TestDialog& d) {
                          d.Type(ids::kPasswordEdit, "wrong");
                          d.Click(ui::kIdOk);
                      })
        .ExpectMessage("Wrong administrator password input!", "Error", MessageIcon::Error);
    window.Click(ids::kBitTorrentButton);
    ExpectNoFailures();
    EXPECT_EQ(AddOnState.InstallMode, 0);
    EXPECT_EQ(QueriesSent(wire::kQueryIdeOk), 0);
}

TEST_F(BitTorrentSetup, TheReadinessCheckRefusesWithItsMessageAfterItsAttempts) {
    struct Case {
        const char* ideOk;
        const char* firmware;
        const char* message;
        int firmwareQueries;
    };
    const char* refused = "BitTorrent does not supported on this device now.";
    const Case cases[] = {
        {"3", "2", refused, 1},   // the firmware said no: asked once
        {"3", "0", refused, 16},  // never a yes: 1 + 15 queries
        {"1", "1", "No hard drives were detected.\nPlease verify that the hard drives are properly connected before continuing.", 2},
        {"2", "1", "Please format hard drive.", 2},
        {"7", "1", refused, 2},
    };
    std::uint8_t seed = 0x60;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.ideOk) + "/" + c.firmware);
        auto config = HostedDevices::Config(std::string("BT") + std::to_string(seed), "10.77.1." + std::to_string(seed), seed);
        config.ideOk = c.ideOk;
        config.btFirmware = c.firmware;
        config.adminPassword = "";
        hosted.add(config, {0});
        AddOnState.RestartOutcome = 0;
        const int before = QueriesSent(wire::kQueryBtFirmware);
        platform.threads.sleeps.clear();
        MainDialog another;
        auto window = ui->Open(another);
        ClickDevice(window, config.name);
        window.Surface().ShowItem(ids::kBitTorrentButton, true);
        ui->Script().ExpectMessage(c.message, "Ostrel Ferrow Utility");
        window.Click(ids::kBitTorrentButton);
        ExpectNoFailures();
        EXPECT_EQ(QueriesSent(wire::kQueryBtFirmware) - before, c.firmwareQueries);
        EXPECT_EQ(AddOnState.RestartOutcome, -1);
        EXPECT_EQ(AddOnState.InstallMode, 0);
        EXPECT_TRUE(another.Surface().IsItemVisible(ids::kBitTorrentButton)) << "the main window must stay";
        if (c.firmwareQueries == 16) {
            EXPECT_EQ(PausedMillis(), 2000 + 1000 + 15 * 2000);
        }
        ++seed;
    }
}

}  // namespace
}  // namespace ofu
