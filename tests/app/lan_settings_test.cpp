#include "protocol/shared_texts.h"
#include "resources/resource_ids.h"
#include "tests/app/app_fixture.h"
#include "tests/support/crafted_answers.h"

namespace ofu {
namespace {

using namespace ofu::testing;
using ui::MessageIcon;
using Fields = std::array<std::string, 4>;

class LanSettings : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        window.emplace(ui->Open(main));
    }
    void TearDown() override {
        window.reset();
        AppTest::TearDown();
    }
    ui::TestDialog& W() { return *window; }
    ui::DialogSurface& S() { return W().Surface(); }

    // Chooses NAS1 (DHCP off) and types the three boxes.
    void Fill(const Fields& address, const Fields& netmask, const Fields& gateway) {
        ClickDevice(W(), "NAS1");
        W().TypeAddress(ids::kAddressBox, address);
        W().TypeAddress(ids::kNetmaskBox, netmask);
        W().TypeAddress(ids::kGatewayBox, gateway);
    }
    // Apply must stop at `message` with nothing sent to the device.
    void ExpectRefused(const std::string& message, const std::string& caption, MessageIcon icon) {
        const std::size_t sentBefore = network.sent().size();
        ui->Script().ExpectMessage(message, caption, icon);
        W().Click(ids::kApplyButton);
        EXPECT_EQ(network.sent().size(), sentBefore) << message;
        ExpectNoFailures();
    }

    std::optional<ui::TestDialog> window;
};

TEST_F(LanSettings, ApplyNeedsAChosenDeviceAndAChoiceInTheDhcpBox) {
    ExpectRefused("Please select a device in the above section.", "Error", MessageIcon::Error);
    EXPECT_EQ(AdminLoginMode, 1);
    W().ClickRow(ids::kDeviceList, -1);
    W().Click(ids::kApplyButton);  // no selection in the DHCP box: nothing at all
    EXPECT_TRUE(ui->Messages().size() == 1);
    ExpectNoFailures();
}

TEST_F(LanSettings, DhcpChoiceGreysTheBoxesUntilDisabledAgainAndSendsNothing) {
    ClickDevice(W(), "NAS1");
    const std::size_t sentBefore = network.sent().size();
    W().ChooseItem(ids::kDhcpBox, 1);
    for (int box : {ids::kAddressBox, ids::kNetmaskBox, ids::kGatewayBox}) EXPECT_FALSE(S().IsItemEnabled(box));
    W().ChooseItem(ids::kDhcpBox, 0);
    for (int box : {ids::kAddressBox, ids::kNetmaskBox, ids::kGatewayBox}) EXPECT_TRUE(S().IsItemEnabled(box));
    EXPECT_EQ(network.sent().size(), sentBefore);
}

TEST_F(LanSettings, BlankBoxesAndLoopbackAreRefusedWithWarnings) {
    ClickDevice(W(), "NAS1");
    S().ClearAddress(ids::kAddressBox);
    ExpectRefused("Please input IP address!", "Warning", MessageIcon::Warning);
    W().TypeAddress(ids::kAddressBox, {"10", "77", "1", "20"});
    S().ClearAddress(ids::kNetmaskBox);
    ExpectRefused("Please input net mask address!", "Warning", MessageIcon::Warning);
    W().TypeAddress(ids::kNetmaskBox, {"255", "255", "255", "0"});
    W().TypeAddress(ids::kAddressBox, {"127", "0", "0", "1"});
    ExpectRefused("IP address input error. Please try again.", "Warning", MessageIcon::Warning);
}

struct FieldCase {
    Fields address, netmask, gateway;
    const char* message;
    int box;
    int field;
};

// Printed as the message the case expects, not as bytes.
void PrintTo(const FieldCase& c, std::ostream* out) { *out << '"' << c.message << '"'; }

class FieldRanges : public LanSettings, public ::testing::WithParamInterface<FieldCase> {};

TEST_P(FieldRanges, FirstFieldOutOfRangeGetsItsMessageAndTheFocus) {
    const FieldCase& c = GetParam();
    Fill(c.address, c.netmask, c.gateway);
    ExpectRefused(c.message, "Error", MessageIcon::Information);
    EXPECT_EQ(S().FocusedItem(), c.box);
    EXPECT_TRUE(ui->Log().Contains("FocusAddressField(" + std::to_string(c.box) + ", " + std::to_string(c.field) + ")"))
        << ui->Log().Dump();
}

const Fields kAddr{"10", "0", "0", "5"};
const Fields kMask{"255", "255", "255", "0"};
const Fields kNoGateway{"", "", "", ""};

INSTANTIATE_TEST_SUITE_P(
    EveryField, FieldRanges,
    ::testing::Values(
        FieldCase{{"", "77", "1", "5"}, kMask, kNoGateway, "Invalid IP address in 1st digit. It should be 1-254.", ids::kAddressBox, 0},
        FieldCase{{"255", "0", "0", "5"}, kMask, kNoGateway, "Invalid IP address in 1st digit. It should be 1-254.", ids::kAddressBox, 0},
        FieldCase{{"10", "255", "0", "5"}, kMask, kNoGateway, "Invalid IP address in 2nd digit. It should be 0-254.", ids::kAddressBox, 1},
        FieldCase{{"10", "0", "255", "5"}, kMask, kNoGateway, "Invalid IP address in 3rd digit. It should be 0-254.", ids::kAddressBox, 2},
        FieldCase{{"10", "0", "0", "255"}, kMask, kNoGateway, "Invalid IP address in 4th digit. It should be 1-254.", ids::kAddressBox, 3},
        FieldCase{{"10", "0", "0", "0"}, kMask, kNoGateway, "Invalid IP address in 4th digit. It should be 1-254.", ids::kAddressBox, 3},
        FieldCase{kAddr, {"0", "255", "255", "0"}, kNoGateway, "Invalid subnet mask address in 1st digit. It should be 1-255.", ids::kNetmaskBox, 0},
        FieldCase{kAddr, {"255", "255", "255", "255"}, kNoGateway, "Invalid subnet mask address in 4th digit. It should be 0-254.", ids::kNetmaskBox, 3},
        FieldCase{kAddr, kMask, {"0", "0", "0", "0"}, "Invalid gateway IP address in 1st digit. It should be 1-255.", ids::kGatewayBox, 0},
        FieldCase{{"192", "168", "1", "10"}, kMask, {"192", "168", "1", "0"}, "Invalid gateway IP address in 4th digit. It should be 1-254.", ids::kGatewayBox, 3},
        FieldCase{{"192", "168", "1", "10"}, kMask, {"192", "168", "1", "255"}, "Invalid gateway IP address in 4th digit. It should be 1-254.", ids::kGatewayBox, 3}),
    // Names such as "GatewayField3Holds255": the box, the field refused and its text.
    [](const ::testing::TestParamInfo<FieldCase>& param) {
        const FieldCase& c = param.param;
        const Fields& fields = c.box == ids::kAddressBox ? c.address : c.box == ids::kNetmaskBox ? c.netmask : c.gateway;
        const std::string box = c.box == ids::kAddressBox ? "Address" : c.box == ids::kNetmaskBox ? "Netmask" : "Gateway";
        const std::string& text = fields[static_cast<std::size_t>(c.field)];
        return box + "Field" + std::to_string(c.field) + (text.empty() ? "Blank" : "Holds" + text);
    });

TEST_F(LanSettings, NetmaskAndGatewayMustFitTheAddress) {
    Fill(kAddr, {"255", "0", "255", "0"}, kNoGateway);
    ExpectRefused("Netmask address input invalid. Please try again.", "Error", MessageIcon::Error);
    EXPECT_EQ(NewDeviceAddress.view(), "10.0.0.5");  // written as soon as its box passed
    for (const Fields& gateway : {Fields{"10", "0", "0", "4"}, Fields{"10", "0", "0", "7"}, Fields{"10", "0", "1", "6"}}) {
        Fill(kAddr, {"255", "255", "255", "252"}, gateway);
        ExpectRefused("You enter incorrect TCP/IP configuration. Please try again.", "Error", MessageIcon::Error);
    }
}

TEST_F(LanSettings, NetmaskAndGatewayChecks) {
    EXPECT_EQ(CheckNetmaskContiguous(255, 255, 255, 0), 0);
    EXPECT_EQ(CheckNetmaskContiguous(255, 255, 255, 252), 0);
    EXPECT_EQ(CheckNetmaskContiguous(128, 0, 0, 0), 0);
    EXPECT_EQ(CheckNetmaskContiguous(0, 0, 0, 0), -1);
    EXPECT_EQ(CheckNetmaskContiguous(255, 0, 255, 0), -1);
    EXPECT_EQ(CheckNetmaskContiguous(255, 255, 253, 0), -1);
    EXPECT_EQ(CheckNetmaskContiguous(254, 255, 0, 0), -1);
    const int a[4] = {10, 0, 0, 5};
    const int m[4] = {255, 255, 255, 252};
    EXPECT_EQ(CheckGatewayConsistent(a, m, {10, 0, 0, 6}), 0);
    EXPECT_EQ(CheckGatewayConsistent(a, m, {10, 0, 0, 4}), 1);
    EXPECT_EQ(CheckGatewayConsistent(a, m, {10, 0, 0, 7}), 1);
    EXPECT_EQ(CheckGatewayConsistent(a, m, {10, 0, 1, 6}), 1);
}

TEST_F(LanSettings, StaticChangeReachesTheDeviceAndTheListIsSearchedAgain) {
    Fill({"10", "77", "1", "77"}, {"255", "255", "0", "0"}, kNoGateway);
    W().Click(ids::kApplyButton);
    ExpectNoFailures();
    EXPECT_TRUE(ui->Messages().empty());  // no message either way
    EXPECT_EQ(nas1Device->addressText(), "10.77.1.77");
    EXPECT_EQ(nas1Device->state().netmask, "255.255.0.0");
    EXPECT_EQ(NewGateway.view(), "");  // a blank gateway is sent as the empty text
    EXPECT_EQ(Cell(ids::kDeviceList, 0, 1), "10.77.1.77");
    for (int box : {ids::kAddressBox, ids::kNetmaskBox, ids::kGatewayBox}) EXPECT_TRUE(S().IsAddressBlank(box));
    EXPECT_EQ(main.DeviceChosen, 1);
    // The next Apply without a new click stops at the blank address box.
    ExpectRefused("Please input IP address!", "Warning", MessageIcon::Warning);
}

TEST_F(LanSettings, StaticChangeCarriesAGatewayThatFits) {
    Fill({"10", "77", "1", "78"}, kMask, {"10", "77", "1", "254"});
    W().Click(ids::kApplyButton);
    EXPECT_EQ(nas1Device->state().gateway, "10.77.1.254");
}

TEST_F(LanSettings, DhcpChangeConfirmsAndListsTheDeviceAtItsNewAddress) {
    ClickDevice(W(), "NAS1");
    W().ChooseItem(ids::kDhcpBox, 1);
    ui->Script().ExpectMessage("DHCP client enabled.", "Confirm", MessageIcon::Information);
    W().Click(ids::kApplyButton);
    ExpectNoFailures();
    EXPECT_EQ(main.DeviceChosen, 0);
    EXPECT_EQ(Cell(ids::kDeviceList, 0, 1), "10.77.1.150");
    EXPECT_EQ(S().RowCount(ids::kVolumeList), 0);
    for (int box : {ids::kAddressBox, ids::kNetmaskBox, ids::kGatewayBox}) {
        EXPECT_TRUE(S().IsAddressBlank(box));
        EXPECT_TRUE(S().IsItemEnabled(box));
    }
}

TEST_F(LanSettings, DhcpChangeWithoutConfirmationFails) {
    // A device that accepts the login but never confirms the change.
    network.addResponder([this](int slot, std::span<const std::uint8_t> request) {
        if (request.size() > 21 && request[0] == 3 && request[21] == 4)
            network.deliverAfter(slot, LoginAnswer({10, 77, 1, 40}, 1), 5);
    });
    DeviceRecord silent;
    silent.ip = "10.77.1.40";
    silent.key.bytes = KeyFor({10, 77, 1, 40});
    silent.dhcp = "0";
    DeviceList.append(silent);
    S().InsertRow(ids::kDeviceList, 3, "");
    S().SetCellText(ids::kDeviceList, 3, 1, "10.77.1.40");
    W().ClickRow(ids::kDeviceList, 3);
    W().ChooseItem(ids::kDhcpBox, 1);
    ui->Script().ExpectMessage("Set to dhcp client fail.", "Error", MessageIcon::Error);
    W().Click(ids::kApplyButton);
    ExpectNoFailures();
}

TEST_F(LanSettings, RefusedLoginTwiceChangesNothing) {
    ClickDevice(W(), "NAS2");  // password "pw"
    W().ChooseItem(ids::kDhcpBox, 0);
    W().TypeAddress(ids::kAddressBox, {"10", "77", "1", "99"});
    W().TypeAddress(ids::kNetmaskBox, {"255", "255", "255", "0"});
    ui->Script()
        .ExpectDialog(ui::kLoginDialogId, [](ui::TestDialog& login) { login.Click(ui::kIdCancel); })
        .ExpectMessage("Wrong administrator password input!", "Error", MessageIcon::Error);
    W().Click(ids::kApplyButton);
    ExpectNoFailures();
    EXPECT_EQ(SetRequestsSent(), 0);
    EXPECT_EQ(nas2Device->addressText(), "10.77.1.11");
}

TEST_F(LanSettings, PasswordTypedIntoTheLoginDialogIsUsed) {
    ClickDevice(W(), "NAS2");
    W().ChooseItem(ids::kDhcpBox, 0);
    W().TypeAddress(ids::kAddressBox, {"10", "77", "1", "98"});
    W().TypeAddress(ids::kNetmaskBox, {"255", "255", "255", "0"});
    ui->Script().ExpectDialog(ui::kLoginDialogId, [](ui::TestDialog& login) {
        EXPECT_EQ(login.Surface().GetItemText(ids::kUserNameEdit), "admin");
        EXPECT_FALSE(login.Surface().IsItemEnabled(ids::kUserNameEdit));
        EXPECT_EQ(login.Surface().GetItemText(ids::kPasswordEdit), "");
        login.Type(ids::kPasswordEdit, "pw");
        login.Click(ui::kIdOk);
    });
    W().Click(ids::kApplyButton);
    ExpectNoFailures();
    EXPECT_EQ(nas2Device->addressText(), "10.77.1.98");
    EXPECT_EQ(LoginPassword.view(), "pw");
}

}  // namespace
}  // namespace ofu
