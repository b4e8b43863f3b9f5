// Drive mapping, the web configuration launch and the widget launcher in the lab, through the
// real main window offscreen and through `ofu`: real sockets to the simulators, a real smbd
// and nmbd and a real web server per device (device names known only to NetBIOS, file servers
// that speak only SMB1), the recorder as the default browser. Runs once with a plain session
// and once with a private session bus (OFU_EXPECT_BUS=1), where the desktop's volume monitor
// must list a mapped drive's mount as the file manager shows it.
#include "app/main_dialog.h"
#include "platform/services.h"
#include "protocol/shared_texts.h"
#include "protocol/transport.h"
#include "resources/control_ids.h"
#include "resources/resource_ids.h"
#include "tests/e2e/lab_support.h"
#include "tests/e2e/qt_window_driver.h"
#include "ui/backend.h"
#include "ui/qt/qt_backend.h"
#include "ui/qt/qt_dialog_window.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

namespace ofu::e2e {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

bool ExpectBus() {
    const char* flag = std::getenv("OFU_EXPECT_BUS");
    return flag != nullptr && std::string_view(flag) == "1";
}

fs::path Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? fs::path(value) : fs::path();
}

// Every command line the recorder browser was started with so far.
std::vector<std::vector<std::string>> RecordedStarts() {
    std::vector<std::vector<std::string>> starts;
    std::ifstream in(Env("OFU_RECORDER_LOG"));
    for (std::string line; std::getline(in, line);) {
        const auto parsed = Json::parse(line, nullptr, false);
        if (!parsed.is_discarded()) starts.push_back(parsed.at("argv").get<std::vector<std::string>>());
    }
    return starts;
}

// The command lines recorded after the first `skip`, waiting up to two seconds for `count` of
// them (the browser is started without waiting for it).
std::vector<std::vector<std::string>> NewStarts(std::size_t skip, std::size_t count) {
    std::vector<std::vector<std::string>> starts;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    do {
        starts = RecordedStarts();
        starts.erase(starts.begin(), starts.begin() + static_cast<std::ptrdiff_t>(std::min(skip, starts.size())));
        if (starts.size() >= count) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (std::chrono::steady_clock::now() < deadline);
    return starts;
}

// The folder where the files of a connected letter are.
fs::path LetterFolder(char letter) { return platform::Drives().LocalFolder(std::string{letter, ':'}); }

bool FolderLists(const fs::path& folder, const std::string& name) {
    std::error_code error;
    return !folder.empty() && fs::exists(folder / name, error);
}

// What the desktop's volume monitor lists as mounts ("gio mount -l"), as file managers show them.
std::string DesktopMounts() {
    std::string listing;
    if (FILE* out = ::popen("gio mount -l 2>/dev/null", "r")) {
        char buffer[4096];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, out)) > 0;) listing.append(buffer, got);
        ::pclose(out);
    }
    return listing;
}

class LabAccess : public ::testing::Test {
protected:
    void SetUp() override { answers.emplace(*qt); }
    void TearDown() override {
        EXPECT_EQ(answers->Pending(), 0u) << "dialogs that did not appear";
        answers.reset();
        // Leave no connection behind for the next test.
        for (char letter = 'C'; letter <= 'Z'; ++letter)
            platform::Drives().CancelConnection(std::string{letter, ':'}, platform::kConnectUpdateProfile, true);
    }

    static void Click(ui::QtDialogWindow& window, int id) { ASSERT_TRUE(ClickButton(window, id)) << id; }
    static void Row(ui::QtDialogWindow& window, int listId, const std::string& text) {
        ASSERT_TRUE(ClickRow(window, listId, text)) << text << " is not listed in " << listId;
    }
    void Answer(int templateId, DialogAnswers::Answer action) { answers->Expect(templateId, std::move(action)); }
    void AnswerLogin(const std::string& user, const std::string& password) {
        Answer(ui::kLoginDialogId, [user, password](ui::QtDialogWindow& login) {
            TypeInto(login, ids::kUserNameEdit, user);
            TypeInto(login, ids::kPasswordEdit, password);
            Click(login, ui::kIdOk);
        });
    }
    std::string Location(const std::string& volume) {
        ui::DialogSurface& s = main.Surface();
        for (int row = 0; row < s.RowCount(ids::kVolumeList); ++row)
            if (s.GetCellText(ids::kVolumeList, row, 0) == volume) return s.GetCellText(ids::kVolumeList, row, 1);
        return "(not listed)";
    }
    std::string Connection(char letter) {
        std::string remote;
        platform::Drives().GetConnection(std::string{letter, ':'}, remote, 256);
        return remote;
    }
    // Chooses the drive letter box's row that starts with `drive`.
    void ChooseLetter(const std::string& drive) {
        ui::DialogSurface& s = main.Surface();
        for (int row = 0; row < s.ComboCount(ids::kDriveLetterBox); ++row)
            if (s.GetComboItemText(ids::kDriveLetterBox, row).rfind(drive, 0) == 0) s.SetCurSel(ids::kDriveLetterBox, row);
    }
    void Press(int button) { Click(open->Window(), button); }
    void OpenMain() { open.emplace(qt->Open(main)); }

    QtLabSession session;
    ui::QtBackend* qt = &session.Qt();
    std::vector<std::string>& messages = session.messages;
    std::vector<std::string>& captions = session.captions;
    std::optional<DialogAnswers> answers;
    MainDialog main;
    std::optional<ui::QtOpenDialog> open;
};

TEST_F(LabAccess, AGuestShareIsMappedUsedAndUnmappedFromItsVolumeRow) {
    OpenMain();
    Row(open->Window(), ids::kDeviceList, "E2E-SHORT");
    Row(open->Window(), ids::kVolumeList, "HDD_1");
    ChooseLetter("Z:");
    Press(ids::kConnectButton);
    ASSERT_EQ(messages, (std::vector<std::string>{"Successfully mapped drive."}));
    EXPECT_EQ(captions[0], "Confirm");
    EXPECT_EQ(Location("HDD_1"), "Z:");
    EXPECT_EQ(main.Surface().GetComboItemText(ids::kDriveLetterBox, 0), "Z: \\\\E2E-SHORT\\HDD_1");
    EXPECT_EQ(Connection('Z'), "\\\\E2E-SHORT\\HDD_1");
    const fs::path folder = LetterFolder('Z');
    EXPECT_TRUE(FolderLists(folder, "README.txt")) << folder;
    if (ExpectBus()) {
        EXPECT_NE(DesktopMounts().find("HDD_1 on E2E-SHORT (Z)"), std::string::npos) << DesktopMounts();
    }

    Row(open->Window(), ids::kVolumeList, "HDD_1");
    Press(ids::kDisconnectButton);
    EXPECT_EQ(messages.back(), "Successfully unmapped drive.");
    EXPECT_EQ(Location("HDD_1"), "");
    EXPECT_EQ(Connection('Z'), "");
    EXPECT_FALSE(fs::exists(folder));
}

TEST_F(LabAccess, AnSmb1DeviceKnownOnlyByNetbiosConnectsAndDisconnectsThroughTheWindow) {
    OpenMain();
    Row(open->Window(), ids::kDeviceList, "E2E-OLD");
    Row(open->Window(), ids::kVolumeList, "HDD_a");
    ChooseLetter("R:");
    const auto start = std::chrono::steady_clock::now();
    Press(ids::kConnectButton);
    std::printf("[ measured ] Connect to the SMB1 device: %lld ms\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                           std::chrono::steady_clock::now() - start)
                                           .count()));
    ASSERT_EQ(messages, (std::vector<std::string>{"Successfully mapped drive."}));
    EXPECT_EQ(Location("HDD_a"), "R:");
    EXPECT_TRUE(FolderLists(LetterFolder('R'), "README.txt"));

    Row(open->Window(), ids::kVolumeList, "HDD_a");
    Press(ids::kDisconnectButton);
    EXPECT_EQ(messages.back(), "Successfully unmapped drive.");
    EXPECT_EQ(Connection('R'), "");
}

TEST_F(LabAccess, APasswordShareTakesTheTypedCredentialsAndAWrongPasswordRecordsNothing) {
    OpenMain();
    Row(open->Window(), ids::kDeviceList, "E2E-LONG");
    Row(open->Window(), ids::kVolumeList, "USB1");
    ChooseLetter("Y:");
    AnswerLogin("e2euser", "not-it");
    Press(ids::kConnectButton);
    EXPECT_EQ(messages, (std::vector<std::string>{"Failed to map drive."}));
    EXPECT_EQ(Connection('Y'), "");
    EXPECT_EQ(Location("USB1"), "");

    Row(open->Window(), ids::kVolumeList, "USB1");
    ChooseLetter("Y:");
    AnswerLogin("e2euser", "e2e-pass");
    Press(ids::kConnectButton);
    EXPECT_EQ(messages.back(), "Successfully mapped drive.");
    EXPECT_EQ(Connection('Y'), "\\\\E2E-LONG\\USB1");
    EXPECT_EQ(Location("USB1"), "Y:");
    EXPECT_TRUE(FolderLists(LetterFolder('Y'), "README.txt"));
}

TEST_F(LabAccess, ALetterInUseIsAskedAboutAndTheComboRowUnmapsIt) {
    OpenMain();
    Row(open->Window(), ids::kDeviceList, "E2E-LONG");
    Row(open->Window(), ids::kVolumeList, "HDD_a");
    ChooseLetter("X:");
    Press(ids::kConnectButton);
    ASSERT_EQ(Connection('X'), "\\\\E2E-LONG\\HDD_a");

    Row(open->Window(), ids::kVolumeList, "USB2");
    ChooseLetter("X:");
    Answer(ui::kDriveInUseDialogId, [](ui::QtDialogWindow& d) { Click(d, ui::kIdCancel); });
    Press(ids::kConnectButton);
    EXPECT_EQ(messages.size(), 1u);  // nothing more after Cancel
    EXPECT_EQ(Connection('X'), "\\\\E2E-LONG\\HDD_a");

    ChooseLetter("X:");
    Answer(ui::kDriveInUseDialogId, [](ui::QtDialogWindow& d) { Click(d, ui::kIdOk); });
    Press(ids::kConnectButton);
    EXPECT_EQ(messages.back(), "Successfully mapped drive.");
    EXPECT_EQ(Connection('X'), "\\\\E2E-LONG\\USB2");
    EXPECT_EQ(Location("USB2"), "X:");
    EXPECT_EQ(Location("HDD_a"), "");

    Row(open->Window(), ids::kVolumeList, "");  // no volume: the combo row decides
    ChooseLetter("X:");
    Press(ids::kDisconnectButton);
    EXPECT_EQ(messages.back(), "Successfully unmapped drive.");
    EXPECT_EQ(Connection('X'), "");
}

TEST_F(LabAccess, ConfigurationOpensTheDevicePageInTheDefaultBrowserOrSaysTheDeviceIsGone) {
    const std::size_t before = RecordedStarts().size();
    OpenMain();
    Row(open->Window(), ids::kDeviceList, "E2E-SHORT");  // ssl "0"
    Press(ids::kConfigurationButton);
    Row(open->Window(), ids::kDeviceList, "E2E-LONG");  // ssl "1"
    Press(ids::kConfigurationButton);
    EXPECT_TRUE(messages.empty());
    const auto starts = NewStarts(before, 2);
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[0], (std::vector<std::string>{"--new-window", "http://10.77.1.11"}));
    EXPECT_EQ(starts[1], (std::vector<std::string>{"--new-window", "https://10.77.1.10"}));

    Row(open->Window(), ids::kDeviceList, "E2E-MID");  // no web server
    const auto start = std::chrono::steady_clock::now();
    Press(ids::kConfigurationButton);
    EXPECT_EQ(messages, (std::vector<std::string>{"Device is no longer available."}));
    EXPECT_EQ(main.DeviceChosen, 0);
    EXPECT_GT(main.Surface().RowCount(ids::kDeviceList), 3);  // searched again
    // The check is refused at once; the search that follows takes about a second per address.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2000 + 2 * 1300));
    EXPECT_EQ(NewStarts(before, 3).size(), 2u);
}

TEST_F(LabAccess, TheWidgetFileOfTheChosenModelOpensAndAMissingOneIsReported) {
    const fs::path folder = fs::temp_directory_path() / "ofu-widgets";
    fs::create_directories(folder);
    std::ofstream(folder / "OSTRELEu_QMR120_Widget.widget") << "widget for the QMR-120\n";
    const fs::path previousFolder = fs::current_path();
    fs::current_path(folder);
    const std::size_t before = RecordedStarts().size();
    OpenMain();
    main.Surface().ShowItem(ids::kWidgetButton, true);
    Row(open->Window(), ids::kDeviceList, "E2E-SHORT");  // no model text: asked for
    const auto chooseModel = [this](int radio) {
        Answer(ui::kWidgetEngineDialogId, [](ui::QtDialogWindow& d) { Click(d, ui::kIdCancel); });
        Answer(ui::kModelSelectDialogId, [radio](ui::QtDialogWindow& d) {
            Click(d, radio);
            Click(d, ui::kIdOk);
        });
    };
    chooseModel(ids::kModelRadio120);
    Press(ids::kWidgetButton);
    EXPECT_TRUE(messages.empty());
    const auto starts = NewStarts(before, 1);
    fs::current_path(previousFolder);
    ASSERT_EQ(starts.size(), 1u);
    ASSERT_EQ(starts[0].size(), 2u);
    EXPECT_EQ(fs::path(starts[0][1]).filename(), "OSTRELEu_QMR120_Widget.widget");
    std::ifstream address(Env("XDG_DATA_HOME") / "ostrel-ferrow-utility" / "drive_c" / "ip.txt");
    std::string written;
    std::getline(address, written);
    EXPECT_EQ(written, "10.77.1.11");

    chooseModel(ids::kModelRadio180);  // not in the folder
    Press(ids::kWidgetButton);
    EXPECT_EQ(messages, (std::vector<std::string>{"Execute widget file error!"}));
}

TEST_F(LabAccess, ADeviceGoneSilentFailsEachStepWithinItsBound) {
    using Clock = std::chrono::steady_clock;
    OpenMain();
    Row(open->Window(), ids::kDeviceList, "E2E-GONE");  // answers the protocol, nothing else
    Row(open->Window(), ids::kVolumeList, "HDD_a");
    ChooseLetter("T:");
    Answer(ui::kLoginDialogId, [](ui::QtDialogWindow& login) { Click(login, ui::kIdCancel); });
    auto start = Clock::now();
    Press(ids::kConnectButton);
    // Two attempts (before and after the login dialog), each bounded at about 2 s: its name
    // is asked for by NetBIOS, and nobody answers.
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(2 * 2000));
    EXPECT_EQ(messages, (std::vector<std::string>{"Failed to map drive."}));
    EXPECT_EQ(Connection('T'), "");

    start = Clock::now();
    Press(ids::kConfigurationButton);
    EXPECT_EQ(messages.back(), "Device is no longer available.");
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(2100 + 2 * 1300));  // the wait, then a search
}

// ---- the same operations through ofu -----------------------------------------------------

TEST(LabOfuAccess, MapListsUnmapsAndNamesWhyAMapFailed) {
    auto result = RunOfu({"map", "10.77.1.11", "hdd_1", "W:"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out.rfind("Successfully mapped drive.\n", 0), 0u) << result.out << result.err;
    result = RunOfu({"drives", "--json"});
    ASSERT_EQ(result.status, 0);
    const auto rows = Json::parse(result.out);
    bool listed = false;
    for (const auto& row : rows) {
        if (row["drive"] != "W:") continue;
        listed = row["server"] == "E2E-SHORT" && row["share"] == "HDD_1";
        // The letter's files are in the folder ofu names.
        EXPECT_TRUE(FolderLists(row["path"].get<std::string>(), "README.txt")) << row.dump();
    }
    EXPECT_TRUE(listed) << result.out;

    result = RunOfu({"map", "10.77.1.10", "USB1", "V:", "--user", "e2euser", "--password-stdin"}, "wrong\n");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("Failed to map drive."), std::string::npos);
    EXPECT_NE(result.err.find("access denied"), std::string::npos) << result.err;
    result = RunOfu({"map", "10.77.1.10", "USB1", "V:", "--user", "e2euser", "--password-stdin"}, "e2e-pass\n");
    EXPECT_EQ(result.status, 0) << result.err;
    result = RunOfu({"map", "10.77.1.10", "NOSUCH", "U:"});
    EXPECT_EQ(result.status, 1);

    // A file server that listens only on the NetBIOS session port, known only by NetBIOS.
    result = RunOfu({"map", "10.77.2.70", "HDD_1", "T:"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("T: is at "), std::string::npos) << result.out;
    EXPECT_EQ(RunOfu({"unmap", "T:"}).status, 0);

    result = RunOfu({"map", "10.77.1.50", "HDD_a", "U:"});  // E2E-GONE: nobody at its address
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("the device cannot be reached"), std::string::npos) << result.err;

    for (const char* drive : {"W:", "V:"}) EXPECT_EQ(RunOfu({"unmap", drive}).status, 0) << drive;
    result = RunOfu({"unmap", "W:"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("not connected"), std::string::npos);
}

TEST(LabOfuAccess, WebPrintsTheBrowserCommandLineAndAnAbsentWebServerFails) {
    auto result = RunOfu({"web", "10.77.1.10", "--print"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("--new-window https://10.77.1.10\n"), std::string::npos) << result.out;
    result = RunOfu({"web", "10.77.2.10"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("Device is no longer available."), std::string::npos) << result.err;
}

}  // namespace
}  // namespace ofu::e2e

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (ofu::e2e::RefusedOutsideLab()) return 2;
    if (std::getenv("OFU_RECORDER_LOG") == nullptr) {
        std::fprintf(stderr, "refusing to run: start me through private_desktop.sh\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int toolkitArgc = 1;
    QApplication application(toolkitArgc, argv);
    return RUN_ALL_TESTS();
}
