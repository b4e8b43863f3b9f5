// Widget on the test backend: the address file, the engine question and the model's widget.
#include "access/widget_dialogs.h"
#include "resources/resource_ids.h"
#include "tests/app/app_fixture.h"

#include <fstream>
#include <sstream>

namespace ofu {
namespace {

using namespace ofu::testing;
using ui::MessageIcon;

class WidgetLauncher : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        for (const auto& [name, ip, model] : {std::tuple{"Q140", "10.77.1.21", "QMR-140"},
                                              std::tuple{"Q140LOWER", "10.77.1.22", "qmr-140"}}) {
            auto config = HostedDevices::Config(name, ip, static_cast<std::uint8_t>(0x30 + ip[9]));
            config.model = model;
            hosted.add(config, {0});
        }
        // The Widget button is created hidden; the tests press it as the handler's callers would.
        widgetButtonShown = false;
    }
    std::string AddressFile() {
        std::ifstream in(platform.files.root / "ip.txt");
        std::stringstream text;
        text << in.rdbuf();
        return in ? text.str() : "(none)";
    }
    void PressWidget(ui::TestDialog& window, std::string_view device) {
        ClickDevice(window, device);
        if (!widgetButtonShown) window.Surface().ShowItem(ids::kWidgetButton, true);
        widgetButtonShown = true;
        window.Click(ids::kWidgetButton);
    }
    void AnswerEngine(std::function<void(ui::TestDialog&)> answer) {
        ui->Script().ExpectDialog(ui::kWidgetEngineDialogId, std::move(answer));
    }
    bool widgetButtonShown = false;
};

TEST_F(WidgetLauncher, AKnownModelOpensItsWidgetAfterNextOrEscape) {
    auto window = ui->Open(main);
    AnswerEngine([](ui::TestDialog& d) { d.Click(ui::kIdCancel); });  // "Next"
    PressWidget(window, "Q140");
    AnswerEngine([](ui::TestDialog& d) { d.PressEscape(); });
    window.Click(ids::kWidgetButton);
    ExpectNoFailures();
    EXPECT_EQ(platform.programs.opened,
              (std::vector<std::string>{"OSTRELEu_QMR140_Widget.widget", "OSTRELEu_QMR140_Widget.widget"}));
    EXPECT_EQ(AddressFile(), "10.77.1.21");  // exactly the address, no line end
    EXPECT_EQ(main.Surface().FocusedItem(), ids::kDeviceList);
}

TEST_F(WidgetLauncher, DownloadStartsTheEnginePageAfterWritingTheAddress) {
    auto window = ui->Open(main);
    AnswerEngine([](ui::TestDialog& d) { d.Click(ui::kIdOk); });
    PressWidget(window, "NAS2");
    ExpectNoFailures();
    EXPECT_EQ(WidgetEngineChoice, 1);
    EXPECT_EQ(platform.programs.started, (std::vector<std::string>{"explorer http://widgets.yahoo.com/download/"}));
    EXPECT_TRUE(platform.programs.opened.empty());
    EXPECT_EQ(AddressFile(), "10.77.1.11");
}

TEST_F(WidgetLauncher, AnUnrecognisedModelIsAskedForAndOkWithoutAChoiceEndsSilently) {
    auto window = ui->Open(main);
    AnswerEngine([](ui::TestDialog& d) { d.Click(ui::kIdCancel); });
    ui->Script().ExpectDialog(ui::kModelSelectDialogId, [](ui::TestDialog& d) {
        EXPECT_FALSE(d.Surface().IsChecked(ids::kModelRadio120));
        d.Click(ui::kIdOk);
    });
    PressWidget(window, "Q140LOWER");  // differs from QMR-140 only in case
    EXPECT_EQ(ModelChoice, -1);
    EXPECT_TRUE(platform.programs.opened.empty());

    AnswerEngine([](ui::TestDialog& d) { d.Click(ui::kIdCancel); });
    ui->Script().ExpectDialog(ui::kModelSelectDialogId, [](ui::TestDialog& d) {
        d.Click(ids::kModelRadio180);
        d.Click(ui::kIdOk);
    });
    window.Click(ids::kWidgetButton);
    ExpectNoFailures();
    EXPECT_EQ(platform.programs.opened, (std::vector<std::string>{"OSTRELEu_QMR180_Widget.widget"}));
}

TEST_F(WidgetLauncher, AWidgetThatCannotBeOpenedIsReported) {
    platform.programs.shellResult = 2;  // the widget file is missing
    auto window = ui->Open(main);
    AnswerEngine([](ui::TestDialog& d) { d.Click(ui::kIdCancel); });
    ui->Script().ExpectMessage("Execute widget file error!", "Warning", MessageIcon::Information);
    PressWidget(window, "Q140");
    ExpectNoFailures();
    EXPECT_EQ(AddressFile(), "10.77.1.21");
}

TEST_F(WidgetLauncher, NoDeviceOrNoAddressFileStartsNothing) {
    auto window = ui->Open(main);
    window.Surface().ShowItem(ids::kWidgetButton, true);
    ui->Script().ExpectMessage("Please select a server.", "Warning", MessageIcon::Warning);
    window.Click(ids::kWidgetButton);
    EXPECT_EQ(AddressFile(), "(none)");

    // An older device's address must not stay behind for the widget when the file cannot be written.
    std::ofstream(platform.files.root / "ip.txt") << "10.77.1.99";
    platform.files.failPrepare = true;
    ui->Script().ExpectMessage("Unable to save the device address for the widget.", "Error", MessageIcon::Error);
    PressWidget(window, "Q140");
    ExpectNoFailures();
    EXPECT_EQ(AddressFile(), "(none)");
    EXPECT_TRUE(platform.programs.opened.empty());
    EXPECT_TRUE(platform.programs.started.empty());
}

}  // namespace
}  // namespace ofu
