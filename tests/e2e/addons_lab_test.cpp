// The add-on installation in the lab: real sockets to the simulators and their answer
// sequences, the lab's smbd with each family's folders, files checked byte for byte on the
// devices' disks; through ofu and through the real main window offscreen, with the full 90 s
// restart after each button.
#include "addons/addon_state.h"
#include "addons/codepage_plans.h"
#include "addons/payload_catalogue.h"
#include "app/main_dialog.h"
#include "platform/services.h"
#include "resources/control_ids.h"
#include "resources/payloads/embedded_payloads.h"
#include "resources/resource_ids.h"
#include "tests/e2e/lab_support.h"
#include "tests/e2e/qt_window_driver.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace ofu::e2e {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

fs::path Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? fs::path(value) : fs::path();
}

// The folder on a lab device's disk that holds its share `volume`.
fs::path ShareFolder(const std::string& device, const std::string& volume) {
    return Env("OFU_LAB_DIR") / "devices" / device / "shares" / ("vol-" + volume);
}

std::vector<std::uint8_t> FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::uint8_t> Payload(std::string_view type, int id) {
    const auto bytes = platform::OwnResources().Find(type, id);
    return {bytes.begin(), bytes.end()};
}

// Whether `folder` holds exactly the payloads `ids` of type `type`, under their device names.
void ExpectPayloadsIn(const fs::path& folder, std::string_view type, std::span<const std::uint16_t> ids) {
    for (const std::uint16_t id : ids) {
        const PayloadEntry* entry = FindPayloadEntry(type, id);
        ASSERT_NE(entry, nullptr) << id;
        EXPECT_TRUE(FileBytes(folder / std::string(entry->deviceName)) == Payload(type, id))
            << folder / std::string(entry->deviceName) << " does not hold payload " << id;
    }
}

class LabAddons : public ::testing::Test {
protected:
    static void SetUpTestSuite() { platform::RegisterEmbeddedResources(EmbeddedPayloads()); }
    void SetUp() override { platform::InitPlatformServices(); }
    void TearDown() override { platform::FreePlatformServices(); }
};

TEST_F(LabAddons, OfuInstallsALanguageOnEachFamilyIntoItsFolder) {
    auto result = RunOfu({"install-language", "10.77.1.60", "950", "--no-restart-wait"});
    ASSERT_EQ(result.status, 0) << result.err;
    ExpectPayloadsIn(ShareFolder("E2E-CP1", "HDD_a") / ".codepages", "Codepage", CodepagePlanAt(0)->familyOne);
    EXPECT_EQ(SetsAnswered("E2E-CP1", 10), (std::vector<std::string>{"rw"}));
    EXPECT_EQ(SetsAnswered("E2E-CP1", 8), (std::vector<std::string>{"950"}));

    // The family-2 device answers its disk state and codepage only at the second query.
    result = RunOfu({"install-language", "10.77.2.60", "Cyrillic", "--no-restart-wait"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("The device's language now: Central European (852)"), std::string::npos) << result.out;
    ExpectPayloadsIn(ShareFolder("E2E-CP2", "HDD_1") / ".systemfile" / ".codepages", "Codepage",
                     CodepagePlanAt(7)->familyTwo);
    EXPECT_EQ(SetsAnswered("E2E-CP2", 8), (std::vector<std::string>{"866"}));
}

// A device of the field: its file server speaks only SMB1 and its name is known only to
// NetBIOS. Mapped by that name, its letter's folder shows the files the Language setup
// writes (straight over SMB, by address); unmapping takes the folder away.
TEST_F(LabAddons, OfuMapsAnSmb1DeviceByItsNameInstallsALanguageThereAndUnmaps) {
    auto result = RunOfu({"map", "10.77.1.70", "HDD_a", "Q:"});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string prefix = "Q: is at ";
    const std::size_t at = result.out.find(prefix);
    ASSERT_NE(at, std::string::npos) << result.out;
    const fs::path folder = result.out.substr(at + prefix.size(), result.out.find('\n', at) - at - prefix.size());
    EXPECT_EQ(folder.filename(), "HDD_a on E2E-OLD (Q)");

    const auto start = std::chrono::steady_clock::now();
    result = RunOfu({"install-language", "10.77.1.70", "950", "--no-restart-wait"});
    ASSERT_EQ(result.status, 0) << result.err;
    std::printf("[ measured ] ofu install-language 950 on the SMB1 device: %lld ms\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                           std::chrono::steady_clock::now() - start)
                                           .count()));
    ExpectPayloadsIn(ShareFolder("E2E-OLD", "HDD_a") / ".codepages", "Codepage", CodepagePlanAt(0)->familyOne);
    ExpectPayloadsIn(folder / ".codepages", "Codepage", CodepagePlanAt(0)->familyOne);

    result = RunOfu({"unmap", "Q:"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_FALSE(fs::exists(folder));
}

TEST_F(LabAddons, OfuStopsAtTheFirstFileThatDoesNotArrive) {
    auto result = RunOfu({"install-language", "10.77.1.61", "850", "--no-restart-wait"});  // no folders
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("Please check hard drives."), std::string::npos) << result.err;
    EXPECT_EQ(SetsAnswered("E2E-NOFOLDER", 13), (std::vector<std::string>{"stop"}));

    // A folder in the way of the third file: the first two stay on the device.
    const fs::path folder = ShareFolder("E2E-CP1", "HDD_a") / ".codepages";
    fs::create_directories(folder / "nls_gb2312.o");
    result = RunOfu({"install-language", "10.77.1.60", "936", "--no-restart-wait"});
    EXPECT_EQ(result.status, 1);
    ExpectPayloadsIn(folder, "Codepage", CodepagePlanAt(1)->familyOne.first(2));
    EXPECT_EQ(SetsAnswered("E2E-CP1", 13), (std::vector<std::string>{"stop"}));
    fs::remove(folder / "nls_gb2312.o");
}

TEST_F(LabAddons, OfuInstallsBitTorrentThroughDriveCAndRefusesDevicesThatAreNotReady) {
    auto result = RunOfu({"install-bittorrent", "10.77.1.60", "--password-stdin", "--no-restart-wait"}, "addon-pw\n");
    ASSERT_EQ(result.status, 0) << result.err;
    const std::uint16_t programs[] = {215, 220};
    ExpectPayloadsIn(ShareFolder("E2E-CP1", "HDD_a") / "Nas_Prog" / "BT", "BT", programs);
    EXPECT_EQ(SetsAnswered("E2E-CP1", 14), (std::vector<std::string>{"BT"}));
    EXPECT_FALSE(fs::exists(Env("XDG_DATA_HOME") / "ostrel-ferrow-utility" / "drive_c" / "bt"));

    result = RunOfu({"install-bittorrent", "10.77.1.11", "--no-restart-wait"});  // E2E-SHORT: no disk
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("No hard drives were detected."), std::string::npos) << result.err;
    result = RunOfu({"install-bittorrent", "10.77.1.10", "--password-stdin", "--no-restart-wait"}, "e2e-secret\n");
    EXPECT_EQ(result.status, 1);  // E2E-LONG: no disk either, and firmware 2
    result = RunOfu({"install-bittorrent", "10.77.1.60", "--no-restart-wait"});
    EXPECT_NE(result.err.find("Wrong administrator password input!"), std::string::npos) << result.err;
}

// ---- the real main window --------------------------------------------------------------

class LabAddonWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() { platform::RegisterEmbeddedResources(EmbeddedPayloads()); }
    void OpenWith(const std::string& device) {
        open.emplace(session.Qt().Open(main));
        main.Surface().ShowItem(ids::kLanguageButton, true);  // created hidden: shown for the test
        main.Surface().ShowItem(ids::kBitTorrentButton, true);
        ASSERT_TRUE(ClickRow(open->Window(), ids::kDeviceList, device)) << device;
    }
    QtLabSession session;
    DialogAnswers answers{session.Qt()};
    MainDialog main;
    std::optional<ui::QtOpenDialog> open;
};

TEST_F(LabAddonWindow, TheLanguageButtonInstallsAndWaitsTheWholeRestart) {
    OpenWith("E2E-CP1");
    answers.Expect(ui::kLanguageDialogId, [this](ui::QtDialogWindow& language) {
        language.Owner().Surface().SetCurSel(ids::kLanguageList, 8);  // Japanese SJIS
        ClickButton(language, ui::kIdOk);
    });
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(ClickButton(open->Window(), ids::kLanguageButton));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(answers.Pending(), 0u);
    EXPECT_TRUE(session.messages.empty()) << session.messages.front();
    EXPECT_GE(took, std::chrono::milliseconds(2000 + 90000));  // "Loading....." then the restart
    ExpectPayloadsIn(ShareFolder("E2E-CP1", "HDD_a") / ".codepages", "Codepage", CodepagePlanAt(8)->familyOne);
    EXPECT_EQ(AddOnState.RestartOutcome, 0);
    EXPECT_EQ(main.DeviceChosen, 0);  // the network was searched again
}

TEST_F(LabAddonWindow, TheBitTorrentButtonInstallsOnADeviceThatAnswersLate) {
    // E2E-CP2: administrator without a password; disk state and firmware answer only after
    // silent queries; family 2.
    OpenWith("E2E-CP2");
    ASSERT_TRUE(ClickButton(open->Window(), ids::kBitTorrentButton));
    EXPECT_TRUE(session.messages.empty()) << session.messages.front();
    const std::uint16_t programs[] = {215, 220};
    ExpectPayloadsIn(ShareFolder("E2E-CP2", "HDD_1") / "Nas_Prog" / "BT", "BT", programs);
    EXPECT_EQ(SetsAnswered("E2E-CP2", 14), (std::vector<std::string>{"BT"}));
    EXPECT_FALSE(fs::exists(Env("XDG_DATA_HOME") / "ostrel-ferrow-utility" / "drive_c" / "bt"));
    EXPECT_EQ(AddOnState.BitTorrentInstalled, 0);
    EXPECT_EQ(main.DeviceChosen, 0);
}

}  // namespace
}  // namespace ofu::e2e

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (ofu::e2e::RefusedOutsideLab()) return 2;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int toolkitArgc = 1;
    QApplication application(toolkitArgc, argv);
    return RUN_ALL_TESTS();
}
