// The real main window, offscreen, in the lab: real sockets against ofu-devsim, real Qt
// widgets clicked with QTest.
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
#include "ui/qt/qt_surface.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace ofu::e2e {
namespace {

class LabGui : public ::testing::Test {
protected:
    static QWidget* Widget(ui::QtDialogWindow& window, int id) { return WidgetOf(window, id); }
    // Clicks the row of `name` in the device list with the mouse.
    static void ClickDevice(ui::QtDialogWindow& window, const std::string& name) {
        ASSERT_TRUE(ClickRow(window, ids::kDeviceList, name)) << name << " is not listed";
    }
    static void Click(ui::QtDialogWindow& window, int id) { ASSERT_TRUE(ClickButton(window, id)) << id; }
    static std::vector<std::string> Column(ui::DialogSurface& surface, int list, int column) {
        std::vector<std::string> cells;
        for (int row = 0; row < surface.RowCount(list); ++row) cells.push_back(surface.GetCellText(list, row, column));
        return cells;
    }
    static bool Contains(const std::vector<std::string>& cells, const std::string& text) {
        return std::find(cells.begin(), cells.end(), text) != cells.end();
    }

    QtLabSession session;
    ui::QtBackend* qt = &session.Qt();
    std::vector<std::string>& messages = session.messages;
};

TEST_F(LabGui, ListsTheDevicesAndAClickShowsTheVolumes) {
    MainDialog main;
    ui::QtOpenDialog open = qt->Open(main);
    ui::DialogSurface& surface = main.Surface();
    const auto names = Column(surface, ids::kDeviceList, 0);
    for (const char* name : {"E2E-LONG", "E2E-SHORT", "E2E-MID", "E2E-BOTH"}) EXPECT_TRUE(Contains(names, name)) << name;
    EXPECT_FALSE(Contains(names, "E2E-FILTERED"));

    ClickDevice(open.Window(), "E2E-LONG");
    EXPECT_EQ(main.DeviceChosen, 1);
    EXPECT_EQ(Column(surface, ids::kVolumeList, 0), (std::vector<std::string>{"HDD_a", "USB1", "USB2"}));
    EXPECT_EQ(surface.GetAddress(ids::kAddressBox).values, (std::array<int, 4>{10, 77, 1, 10}));
    EXPECT_EQ(surface.GetComboItemText(ids::kDhcpBox, surface.GetCurSel(ids::kDhcpBox)), "Disable");
    EXPECT_EQ(DeviceSslSetting.view(), "1");
    EXPECT_TRUE(messages.empty());

    // A double-click is one click for the list: the device is asked for its volumes once.
    ASSERT_TRUE(DoubleClickRow(open.Window(), ids::kDeviceList, "E2E-SHORT"));
    int volumeQueries = 0;
    for (const auto& line : ReadJournals())
        volumeQueries += line.value("dir", "") == "in" && line.value("device", "") == "E2E-SHORT" &&
                         line.value("op", 0) == 3 && line.value("sub", 0) == 3 &&
                         line.value("status", "") == "answered";
    EXPECT_EQ(volumeQueries, 1);
    EXPECT_EQ(Column(surface, ids::kVolumeList, 0), (std::vector<std::string>{"HDD_1"}));
}

TEST_F(LabGui, ApplyOfAStaticAddressReachesTheDeviceAndTheListIsSearchedAgain) {
    MainDialog main;
    ui::QtOpenDialog open = qt->Open(main);
    ClickDevice(open.Window(), "E2E-STATIC");
    main.Surface().SetAddress(ids::kAddressBox, {10, 77, 1, 33});
    Click(open.Window(), ids::kApplyButton);
    EXPECT_TRUE(messages.empty());

    bool reached = false;
    for (const auto& line : ReadJournals())
        reached = reached || (line.value("device", "") == "E2E-STATIC" && line.value("op", 0) == 5 &&
                              line.value("sub", 0) == 1 && line.value("payload", "") == "10.77.1.33" &&
                              line.value("status", "") == "answered");
    EXPECT_TRUE(reached);
    EXPECT_TRUE(Contains(Column(main.Surface(), ids::kDeviceList, 1), "10.77.1.33"));
    EXPECT_FALSE(Contains(Column(main.Surface(), ids::kDeviceList, 1), "10.77.1.30"));
}

TEST_F(LabGui, WrongAdministratorPasswordShowsTheMessage) {
    MainDialog main;
    ui::QtOpenDialog open = qt->Open(main);
    ClickDevice(open.Window(), "E2E-DHCP");  // administrator password "dhcp-pw"
    main.Surface().SetAddress(ids::kAddressBox, {10, 77, 2, 31});

    // The login dialog runs modally inside Apply: answer it from a timer.
    bool loginSeen = false;
    DialogAnswers answers(*qt);
    answers.Expect(ui::kLoginDialogId, [&](ui::QtDialogWindow& front) {
        loginSeen = true;
        EXPECT_FALSE(Widget(front, ids::kUserNameEdit)->isEnabled());
        TypeInto(front, ids::kPasswordEdit, "not-it");
        Click(front, ui::kIdOk);
    });
    Click(open.Window(), ids::kApplyButton);
    EXPECT_TRUE(loginSeen);
    EXPECT_EQ(messages, (std::vector<std::string>{"Wrong administrator password input!"}));
    for (const auto& line : ReadJournals())
        EXPECT_FALSE(line.value("device", "") == "E2E-DHCP" && line.value("op", 0) == 5) << line.dump();
}

}  // namespace
}  // namespace ofu::e2e

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (ofu::e2e::RefusedOutsideLab()) return 2;
    // A drive table of its own, never the user's.
    const auto state = std::filesystem::temp_directory_path() / "ofu-gui-lab-state";
    std::filesystem::create_directories(state);
    setenv("XDG_STATE_HOME", state.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int toolkitArgc = 1;
    QApplication application(toolkitArgc, argv);
    return RUN_ALL_TESTS();
}
