// Writing payloads, the loading dialog's installation run and the restart progress, on the test
// backend with files in memory and virtual time.
#include "addons/loading_dialog.h"
#include "addons/restart_dialog.h"
#include "addons/write_payload.h"
#include "access/selected_device.h"
#include "resources/resource_ids.h"
#include "tests/app/addon_fixture.h"

namespace ofu {
namespace {

using namespace ofu::testing;
using platform::NetStatus;

constexpr const char* kCodepages1 = "\\\\10.77.1.13\\HDD_a\\.codepages\\";
constexpr const char* kCodepages2 = "\\\\10.77.1.14\\hdd_1\\.systemfile\\.codepages\\";

using WritingPayloads = AddonTest;

TEST_F(WritingPayloads, ADirectWriteArrivesOnlyWhenTheDestinationHoldsThePayload) {
    const std::string target = std::string(kCodepages1) + "codepage.950";
    ASSERT_EQ(WritePayload("Codepage", 151, target, ""), 1);
    EXPECT_EQ(AddOnState.LastCopyFailed, 0);
    EXPECT_EQ(platform.disk.files[target], std::vector<std::uint8_t>(8, 151));

    // An older file that cannot be overwritten does not count as the payload arriving.
    platform.disk.files[target] = {1, 2, 3};
    platform.disk.readOnly.insert(target);
    EXPECT_EQ(WritePayload("Codepage", 151, target, ""), 0);
    EXPECT_EQ(AddOnState.LastCopyFailed, 1);
    // Nor does half of it, nor a missing folder, nor a payload the program lacks.
    const std::string other = std::string(kCodepages1) + "nls_cp950.o";
    platform.disk.failingWrites.insert(other);
    EXPECT_EQ(WritePayload("Codepage", 153, other, ""), 0);
    EXPECT_EQ(WritePayload("Codepage", 151, "\\\\10.77.1.13\\HDD_a\\nowhere\\codepage.950", ""), 0);
    // A payload the program lacks leaves the destination's file as it was.
    const std::string kept = std::string(kCodepages1) + "x";
    platform.disk.files[FakeFileSystem::Key(kept)] = {7, 7};
    EXPECT_EQ(WritePayload("Codepage", 9999, kept, ""), 0);
    EXPECT_EQ(platform.disk.files[FakeFileSystem::Key(kept)], (std::vector<std::uint8_t>{7, 7}));
    ASSERT_EQ(WritePayload("codepage", 0x10000 + 151, std::string(kCodepages1) + "again", ""), 1);  // low 16 bits

    // Each write first offers the share as a guest, up to six times when refused.
    platform.drives.adds.clear();
    platform.drives.addResult = [](const FakeDrives::AddCall&) { return NetStatus::BadNetPath; };
    WritePayload("Codepage", 151, target, "");
    ASSERT_EQ(platform.drives.adds.size(), 6u);
    EXPECT_EQ(platform.drives.adds[0].resource.localName, "");
    EXPECT_EQ(platform.drives.adds[0].resource.remoteName, target);
    EXPECT_EQ(platform.drives.adds[0].userName, "");
    EXPECT_EQ(platform.drives.adds[0].password, "");
}

TEST_F(WritingPayloads, AStagedWriteReplacesTheRemoteFileAndLeavesNoLocalCopy) {
    platform.disk.AddFolder("C:\\bt");
    const std::string remote = "\\\\10.77.1.13\\HDD_a\\Nas_Prog/BT\\bt";
    platform.disk.files[FakeFileSystem::Key(remote)] = {9, 9};  // an old bt never blocks the copy
    ASSERT_EQ(WritePayload("BT", 215, "C:\\bt\\bt", remote), 1);
    EXPECT_EQ(platform.disk.files[FakeFileSystem::Key(remote)], std::vector<std::uint8_t>(16, 215 & 0xFF));
    EXPECT_FALSE(platform.disk.PathExists("C:\\bt\\bt"));

    EXPECT_EQ(WritePayload("BT", 220, "C:\\bt\\btdog", "\\\\10.77.1.13\\HDD_a\\missing\\btdog"), 0);
    EXPECT_EQ(AddOnState.LastCopyFailed, 1);
    EXPECT_FALSE(platform.disk.PathExists("C:\\bt\\btdog"));
}

class LoadingRun : public AddonTest {
protected:
    // Runs the loading dialog for the device at `address` and returns how long it was open;
    // `aborts`: the run ends with "Please check hard drives.".
    std::int64_t Run(const char* address, bool aborts = false) {
        SelectedDeviceAddress = address;
        TargetDeviceAddress = address;
        LoadingDialog loading;
        const std::int64_t start = ui->Now();
        ui->Script().ExpectDialog(ui::kLoadingDialogId, [this](ui::TestDialog& d) {
            d.PressEnter();
            d.PressEscape();
            ui->AdvanceTime(1990);
            EXPECT_TRUE(d.IsOpen()) << "the run started before 2000 ms";
        });
        if (aborts) ui->Script().ExpectMessage("Please check hard drives.", "Ostrel Ferrow Utility", ui::MessageIcon::None);
        loading.DoModal();
        return ui->Now() - start;
    }
};

TEST_F(LoadingRun, ACodepageRunWritesItsFamilysFilesInOrderAndSetsTheCodepage) {
    auto window = ui->Open(main);  // the devices must be listed for the commands
    AddOnState.SelectedCodepageIndex = 8;  // Japanese SJIS
    EXPECT_EQ(Run("10.77.1.13"), 2000);
    EXPECT_EQ(Written(kCodepages1), (std::vector<std::string>{"codepage.932", "nls_cp932.o", "nls_euc-jp.o",
                                                                "nls_sjis.o", "unicode_map.932"}));
    EXPECT_EQ(SetsSent(wire::kSetAccessMode), (std::vector<std::string>{"rw"}));
    EXPECT_EQ(SetsSent(wire::kSetCodepage), (std::vector<std::string>{"932"}));
    EXPECT_STREQ(AddOnState.CodepageName, "932");
    EXPECT_EQ(familyOne->state().codepage, "932");

    platform.disk.opened.clear();
    AddOnState.SelectedCodepageIndex = 7;  // Cyrillic, on the device that spells its share hdd_1
    Run("10.77.1.14");
    EXPECT_EQ(Written(kCodepages2),
              (std::vector<std::string>{"codepage.866", "nls_cp866.ko", "nls_koi8-r.ko", "nls_cp866_12.ko",
                                        "nls_koi8-r_12.ko", "unicode_map.866", "unicode_map.KOI8-R"}));
    EXPECT_EQ(ui->Messages().size(), 0u);

    // The entries without files only set the codepage.
    platform.disk.opened.clear();
    AddOnState.SelectedCodepageIndex = 5;
    Run("10.77.1.13");
    EXPECT_TRUE(platform.disk.opened.empty());
    EXPECT_EQ(SetsSent(wire::kSetCodepage).back(), "857");
    ExpectNoFailures();
}

TEST_F(LoadingRun, AFailedThirdFileStopsTheRunAndLeavesTheFirstTwo) {
    auto window = ui->Open(main);
    AddOnState.SelectedCodepageIndex = 0;
    platform.disk.readOnly.insert(std::string(kCodepages1) + "nls_big5.o");
    Run("10.77.1.13", true);
    ExpectNoFailures();
    EXPECT_EQ(Written(kCodepages1), (std::vector<std::string>{"codepage.950", "nls_cp950.o", "nls_big5.o"}));
    EXPECT_TRUE(platform.disk.PathExists(std::string(kCodepages1) + "nls_cp950.o"));
    EXPECT_EQ(AddOnState.LastCopyFailed, 1);
    EXPECT_EQ(familyOne->state().installControl, "stop");
    EXPECT_TRUE(SetsSent(wire::kSetCodepage).empty());
}

TEST_F(LoadingRun, AShareOfAnotherNameIsNeverWrittenAndASilentOneCountsAsHddA) {
    auto other = HostedDevices::Config("ODD", "10.77.1.15", 0x43);
    other.shareName = "VOLUME1";
    auto& odd = hosted.add(other, {0});
    auto silent = HostedDevices::Config("MUTE", "10.77.1.16", 0x44);
    silent.shareName = "";
    hosted.add(silent, {0});
    platform.disk.AddFolder("\\\\10.77.1.16\\HDD_a\\.codepages");
    auto window = ui->Open(main);

    AddOnState.SelectedCodepageIndex = 2;
    Run("10.77.1.15", true);
    EXPECT_TRUE(platform.disk.opened.empty());
    EXPECT_EQ(AddOnState.LastCopyFailed, 1);
    EXPECT_EQ(odd.state().installControl, "stop");
    EXPECT_EQ(QueriesSent(wire::kQueryShareName), 10);

    Run("10.77.1.16");
    EXPECT_EQ(Written("\\\\10.77.1.16\\HDD_a\\.codepages\\"),
              (std::vector<std::string>{"codepage.850", "nls_cp850.o", "unicode_map.850"}));
    EXPECT_EQ(AddOnState.LastCopyFailed, 0);
    ExpectNoFailures();
}

TEST_F(LoadingRun, ABitTorrentRunGoesThroughDriveCAndTellsTheDeviceItsName) {
    auto window = ui->Open(main);
    AddOnState.InstallMode = 1;
    Run("10.77.1.14");
    EXPECT_EQ(AddOnState.InstallMode, 0);
    EXPECT_EQ(AddOnState.BitTorrentInstalled, 1);
    EXPECT_EQ(platform.disk.copies, (std::vector<std::string>{"C:\\bt\\bt -> \\\\10.77.1.14\\HDD_1\\Nas_Prog\\BT\\bt",
                                                              "C:\\bt\\btdog -> \\\\10.77.1.14\\HDD_1\\Nas_Prog\\BT\\btdog"}));
    EXPECT_FALSE(platform.disk.PathExists("C:\\bt\\bt"));
    EXPECT_TRUE(platform.disk.PathExists("C:\\bt"));  // removed by the setup after the restart
    EXPECT_EQ(familyTwo->state().addOnName, "BT");

    // A second payload that fails: "stop", and BitTorrentInstalled as it was.
    AddOnState = {};
    AddOnState.InstallMode = 1;
    platform.disk.readOnly.insert("\\\\10.77.1.14\\HDD_1\\Nas_Prog\\BT\\btdog");
    Run("10.77.1.14", true);
    EXPECT_EQ(AddOnState.BitTorrentInstalled, 0);
    EXPECT_EQ(familyTwo->state().installControl, "stop");
    ExpectNoFailures();
}

TEST(RestartProgress, FillsTheBarIn99StepsAndClosesAfter90SecondsWithTheOutcomeSet) {
    ui::TestBackend& ui = ui::InstallTestBackend();
    AddOnState.RestartOutcome = -1;
    RestartDialog restart;
    int startedAt = 0, barAt89s = 0;
    ui.Script().ExpectDialog(ui::kRestartDialogId, [&](ui::TestDialog& d) {
        startedAt = d.Surface().GetProgressPos(ids::kRestartProgress);
        d.PressEnter();
        d.PressEscape();
        ui.AdvanceTime(89'000);
        barAt89s = d.Surface().GetProgressPos(ids::kRestartProgress);
        EXPECT_TRUE(d.IsOpen());
    });
    const std::int64_t start = ui.Now();
    restart.DoModal();
    EXPECT_EQ(ui.Now() - start, 90'000);
    EXPECT_EQ(startedAt, 2);  // range 1 to 100, the first step taken at once
    EXPECT_EQ(barAt89s, 100);
    EXPECT_EQ(ui.Log().Count("StepProgress(1023)"), 99u);
    EXPECT_EQ(AddOnState.RestartOutcome, 0);

    // A system without a thread to spare: the bar stands still and the dialog still closes on
    // its timer.
    AddOnState.RestartOutcome = -1;
    ui.Scheduler().SetWorkerStartsFail(true);
    RestartDialog stalled;
    ui.Script().ExpectDialog(ui::kRestartDialogId, [](ui::TestDialog&) {});
    const std::int64_t stalledStart = ui.Now();
    stalled.DoModal();
    EXPECT_EQ(ui.Now() - stalledStart, 90'000);
    EXPECT_EQ(AddOnState.RestartOutcome, 0);
    EXPECT_TRUE(ui.Failures().empty()) << ui.FailureText();
    ui::FreeBackend();
}

}  // namespace
}  // namespace ofu
