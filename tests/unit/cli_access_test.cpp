// `ofu drives`, `map`, `unmap` and `web` over simulated devices in memory and fake platform
// services.
#include "tests/support/fake_platform.h"
#include "tests/support/hosted_devices.h"
#include "tests/support/protocol_fixture.h"
#include "tools/ofu/cli_run.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <sstream>

namespace ofu::cli {
namespace {

using namespace ofu::testing;
using platform::NetStatus;

class CliAccess : public ProtocolTest {
protected:
    void SetUp() override {
        ProtocolTest::SetUp();
        auto nas1 = HostedDevices::Config("NAS1", "10.77.1.10", 0x01);
        nas1.domain = "WORKGROUP";
        nas1.ssl = "1";
        hosted.add(nas1, {0});
    }
    int Run(std::vector<std::string_view> args, std::string input = {}) {
        out.str({});
        err.str({});
        std::istringstream in(input);
        return RunCli(args, out, err, in);
    }

    FakePlatform platform;
    HostedDevices hosted{network};
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(CliAccess, DrivesListsTheLettersAsTheComboBoxDoes) {
    platform.drives.connections = {{'Z', "\\\\NAS1\\HDD_a"}};
    platform.drives.types = {{'D', platform::DriveType::CdRom}};
    ASSERT_EQ(Run({"drives"}), kExitSuccess);
    EXPECT_EQ(out.str().substr(0, 28), "  Z: \\\\NAS1\\HDD_a\n* Y:\n  X:\n");
    EXPECT_EQ(out.str().find("D:"), std::string::npos);

    ASSERT_EQ(Run({"drives", "--json"}), kExitSuccess);
    const auto rows = nlohmann::json::parse(out.str());
    ASSERT_EQ(rows.size(), 23u);  // C to Z without D
    EXPECT_EQ(rows[0], (nlohmann::json{
                           {"drive", "Z:"}, {"server", "NAS1"}, {"share", "HDD_a"}, {"selected", false}, {"path", ""}}));
    EXPECT_EQ(rows[1]["selected"], true);
    EXPECT_TRUE(network.sent().empty());  // nothing is sent for the drive table
}

TEST_F(CliAccess, MapTriesTheSessionFirstThenTheGivenUserInTheDevicesDomain) {
    platform.drives.addResult = [](const FakeDrives::AddCall& call) {
        return call.password ? NetStatus::Ok : NetStatus::AccessDenied;
    };
    ASSERT_EQ(Run({"map", "10.77.1.10", "usb1", "x:", "--user", "bob", "--password-stdin"}, "pw\n"), kExitSuccess)
        << err.str();
    EXPECT_EQ(out.str(), "Successfully mapped drive.\n");
    ASSERT_EQ(platform.drives.adds.size(), 2u);
    EXPECT_EQ(platform.drives.adds[0].userName, "WORKGROUP\\alice");
    EXPECT_EQ(platform.drives.adds[1].userName, "WORKGROUP\\bob");
    EXPECT_EQ(platform.drives.adds[1].password, "pw");
    EXPECT_EQ(platform.drives.adds[1].resource.remoteName, "\\\\NAS1\\USB1");  // the device's spelling
    EXPECT_EQ(platform.drives.adds[1].resource.localName, "X:");
}

TEST_F(CliAccess, MapReportsWhyItFailedAndNeedsForceForALetterInUse) {
    platform.drives.addResult = [](const FakeDrives::AddCall&) { return NetStatus::BadNetName; };
    EXPECT_EQ(Run({"map", "10.77.1.10", "HDD_a", "Y:"}), kExitDeviceFailure);
    EXPECT_NE(err.str().find("Failed to map drive. \\\\NAS1\\HDD_a: the device has no such share"), std::string::npos)
        << err.str();
    EXPECT_EQ(platform.drives.adds.size(), 1u);  // no --user: no second attempt

    platform.drives.addResult = [](const FakeDrives::AddCall&) { return NetStatus::Ok; };
    platform.drives.connections = {{'Z', "\\\\OLD\\HDD_a"}};
    EXPECT_EQ(Run({"map", "10.77.1.10", "HDD_a", "Z:"}), kExitDeviceFailure);
    EXPECT_NE(err.str().find("drive Z: is in use (\\\\OLD\\HDD_a); add --force"), std::string::npos) << err.str();
    ASSERT_EQ(Run({"map", "10.77.1.10", "HDD_a", "Z:", "--force"}), kExitSuccess) << err.str();
    EXPECT_EQ(platform.drives.connections['Z'], "\\\\NAS1\\HDD_a");

    EXPECT_EQ(Run({"map", "10.77.1.10", "NOPE", "W:"}), kExitDeviceFailure);
    EXPECT_NE(err.str().find("has no volume 'NOPE' (its volumes: HDD_a, USB1)"), std::string::npos) << err.str();
    platform.drives.types = {{'C', platform::DriveType::Fixed}};
    EXPECT_EQ(Run({"map", "10.77.1.10", "HDD_a", "C:"}), kExitUsage);
    EXPECT_NE(err.str().find("drive C: is a local drive"), std::string::npos);
    EXPECT_EQ(Run({"map", "10.77.9.9", "HDD_a", "W:"}), kExitDeviceFailure);
}

TEST_F(CliAccess, UnmapDropsALetterAndSaysWhenThereIsNone) {
    platform.drives.connections = {{'Z', "\\\\NAS1\\HDD_a"}};
    ASSERT_EQ(Run({"unmap", "z"}), kExitSuccess);
    EXPECT_EQ(out.str(), "Successfully unmapped drive.\n");
    EXPECT_TRUE(platform.drives.connections.empty());
    EXPECT_EQ(Run({"unmap", "Z:"}), kExitDeviceFailure);
    EXPECT_EQ(err.str(), "Unable to disconnect this drive. Z: the drive letter is not connected\n");
}

TEST_F(CliAccess, WebPrintsOrStartsTheBrowserOnlyWhenTheDeviceAnswers) {
    platform.registry.values = {{"Software\\Clients\\StartMenuInternet", "rec.desktop"},
                                {"Software\\Clients\\StartMenuInternet\\rec.desktop\\shell\\open\\command", "rec"}};
    ASSERT_EQ(Run({"web", "10.77.1.10", "--print"}), kExitSuccess) << err.str();
    EXPECT_EQ(out.str(), "rec https://10.77.1.10\n");
    EXPECT_TRUE(platform.programs.started.empty());
    ASSERT_EQ(Run({"web", "10.77.1.10"}), kExitSuccess) << err.str();
    EXPECT_EQ(platform.programs.started, (std::vector<std::string>{"rec https://10.77.1.10"}));

    platform.internet.reachable = false;
    EXPECT_EQ(Run({"web", "10.77.1.10"}), kExitDeviceFailure);
    EXPECT_NE(err.str().find("Device is no longer available."), std::string::npos);
    EXPECT_EQ(platform.programs.started.size(), 1u);
}

}  // namespace
}  // namespace ofu::cli
