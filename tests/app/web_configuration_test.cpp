// Configuration on the test backend: the reachability check and its numbering, and the browser
// command lines formed from the registry.
#include "access/reachability.h"
#include "protocol/shared_texts.h"
#include "tests/app/app_fixture.h"

namespace ofu {
namespace {

using namespace ofu::testing;
using ui::MessageIcon;

constexpr const char* kBrowserKey = "Software\\Clients\\StartMenuInternet";

class WebConfiguration : public AppTest {
protected:
    void UseBrowser(const std::string& name, const std::string& command) {
        platform.registry.values[kBrowserKey] = name;
        platform.registry.values[std::string(kBrowserKey) + "\\" + name + "\\shell\\open\\command"] = command;
    }
    // Opens the window and presses Configuration for `device`.
    void Press(ui::TestDialog& window, std::string_view device) {
        ClickDevice(window, device);
        window.Click(ids::kConfigurationButton);
    }
    int Searches() const {
        int count = 0;
        for (const auto& datagram : network.sent())
            if (!datagram.bytes.empty() && datagram.bytes[0] == 1) ++count;
        return count;
    }
};

TEST_F(WebConfiguration, ReachableDeviceOpensInTheRegisteredBrowserWithItsScheme) {
    UseBrowser("fx.desktop", "\"/opt/my fx/firefox\" --new-window");
    auto window = ui->Open(main);
    Press(window, "NAS2");  // ssl answer empty: http
    Press(window, "NAS1");  // ssl "1": https, but the check is always http
    ExpectNoFailures();
    EXPECT_EQ(platform.programs.started,
              (std::vector<std::string>{"\"/opt/my fx/firefox\" --new-window http://10.77.1.11",
                                        "\"/opt/my fx/firefox\" --new-window https://10.77.1.10"}));
    EXPECT_EQ(platform.internet.checked, (std::vector<std::string>{"http://10.77.1.11", "http://10.77.1.10"}));
    EXPECT_EQ(platform.threads.sleeps, (std::vector<int>{1000, 1000}));  // the answer came in the first second
}

TEST_F(WebConfiguration, ABrowserNameWithCapitalIeOpensTheExplorer) {
    for (const char* name : {"IEXPLORE.EXE", "NOTIE"}) {
        platform.programs.started.clear();
        UseBrowser(name, "\"C:\\ie.exe\"");
        auto window = ui->Open(main);
        Press(window, "NAS2");
        EXPECT_EQ(platform.programs.started, (std::vector<std::string>{"explorer http://10.77.1.11"})) << name;
    }
}

TEST_F(WebConfiguration, ABrowserThatCannotStartFallsBackToTheExplorerOnlyForMissingPrograms) {
    UseBrowser("gone.desktop", "/nowhere/browser");
    for (const unsigned result : {2u, 3u, 11u, 0u}) {
        platform.programs.started.clear();
        platform.programs.execResult = [result](const std::string&) { return result; };
        auto window = ui->Open(main);
        Press(window, "NAS1");
        std::vector<std::string> expected{"/nowhere/browser https://10.77.1.10"};
        if (result != 0) expected.push_back("explorer https://10.77.1.10");
        EXPECT_EQ(platform.programs.started, expected) << result;
    }
    // No browser registered at all: the empty command cannot start, the explorer follows.
    platform.registry.values.clear();
    platform.programs.started.clear();
    platform.programs.execResult = [](const std::string& line) { return line.rfind(' ', 0) == 0 ? 2u : 33u; };
    auto window = ui->Open(main);
    Press(window, "NAS2");
    EXPECT_EQ(platform.programs.started,
              (std::vector<std::string>{" http://10.77.1.11", "explorer http://10.77.1.11"}));
}

TEST_F(WebConfiguration, AnUnreachableDeviceIsReportedAndTheNetworkSearchedAgain) {
    platform.internet.reachable = false;
    auto window = ui->Open(main);
    ClickDevice(window, "NAS1");
    const int searchesBefore = Searches();
    ui->Script().ExpectMessage("Device is no longer available.", "Warning", MessageIcon::Warning);
    window.Click(ids::kConfigurationButton);
    ExpectNoFailures();
    EXPECT_TRUE(platform.programs.started.empty());
    EXPECT_EQ(platform.threads.sleeps, (std::vector<int>{1000}));  // -1 seen at the second look
    EXPECT_GT(Searches(), searchesBefore);
    EXPECT_EQ(main.DeviceChosen, 0);
    EXPECT_EQ(window.Surface().RowCount(ids::kVolumeList), 0);

    // No thread to run the check on: the same message, at the first look, and no crash.
    platform.internet.reachable = true;
    platform.threads.failStarts = true;
    platform.threads.sleeps.clear();
    ClickDevice(window, "NAS1");
    ui->Script().ExpectMessage("Device is no longer available.", "Warning", MessageIcon::Warning);
    window.Click(ids::kConfigurationButton);
    ExpectNoFailures();
    EXPECT_TRUE(platform.threads.sleeps.empty());
    EXPECT_TRUE(platform.programs.started.empty());
}

TEST_F(WebConfiguration, ASilentCheckGivesUpAfterTwoSecondsAndItsLateAnswerDecidesNoLaterPress) {
    platform.threads.runAtSleep = false;
    auto window = ui->Open(main);
    ClickDevice(window, "NAS1");
    ui->Script().ExpectMessage("Device is no longer available.", "Warning", MessageIcon::Warning);
    window.Click(ids::kConfigurationButton);  // the first check never answers in time
    EXPECT_EQ(platform.threads.sleeps, (std::vector<int>{1000, 1000}));
    ASSERT_EQ(platform.threads.pending.size(), 1u);

    // The second press: the first check's worker answers "reachable" during the first pause,
    // the second check's worker "unreachable" during the next one. Only the second may decide.
    platform.internet.answers = {true, false};
    platform.threads.onSleep = [this](int) { platform.threads.RunOldest(); };
    ClickDevice(window, "NAS1");
    ui->Script().ExpectMessage("Device is no longer available.", "Warning", MessageIcon::Warning);
    window.Click(ids::kConfigurationButton);
    ExpectNoFailures();
    EXPECT_TRUE(platform.programs.started.empty());
    EXPECT_EQ(platform.internet.checked.size(), 2u);
}

TEST_F(WebConfiguration, NoSelectedDeviceIsAWarning) {
    auto window = ui->Open(main);
    ui->Script().ExpectMessage("Please select a device to configure.", "Warning", MessageIcon::Warning);
    window.Click(ids::kConfigurationButton);
    ExpectNoFailures();
    EXPECT_TRUE(platform.threads.pending.empty());
    EXPECT_TRUE(platform.internet.checked.empty());
}

}  // namespace
}  // namespace ofu
