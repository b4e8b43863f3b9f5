#include "tools/ofu/cli_run.h"
#include "tests/support/hosted_devices.h"
#include "tests/support/protocol_fixture.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <sstream>

namespace ofu::cli {
namespace {

using namespace ofu::testing;

class CliRun : public ProtocolTest {
protected:
    void SetUp() override {
        ProtocolTest::SetUp();
        auto nas1 = HostedDevices::Config("NAS1", "10.77.1.10", 0x01);
        nas1.adminPassword = "secret";
        nas1.dhcpAddress = "10.77.1.150";
        hosted.add(nas1, {0, 1});
        auto nas2 = HostedDevices::Config("NAS2", "10.77.2.20", 0x02);
        nas2.answerForm = 2;
        nas2.dhcp = true;
        hosted.add(nas2, {1});
    }

    int Run(std::vector<std::string_view> args, std::string input = {}) {
        out.str({});
        err.str({});
        std::istringstream in(input);
        return RunCli(args, out, err, in);
    }

    HostedDevices hosted{network};
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(CliRun, DiscoverListsEachDeviceOnceWithItsLocalAddress) {
    ASSERT_EQ(Run({"discover", "--json"}), kExitSuccess) << err.str();
    const auto devices = nlohmann::json::parse(out.str());
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0]["name"], "NAS1");
    EXPECT_EQ(devices[0]["interface"], 0);
    EXPECT_EQ(devices[0]["local_address"], "10.77.1.1");
    EXPECT_EQ(devices[0]["model"], "NS-2300");
    EXPECT_EQ(devices[0]["key"], "00504300000" "10a4d010a");
    EXPECT_EQ(devices[0]["dhcp"], false);
    EXPECT_EQ(devices[1]["name"], "NAS2");
    EXPECT_EQ(devices[1]["dhcp"], true);
    EXPECT_EQ(devices[1]["model"], "");

    ASSERT_EQ(Run({"discover"}), kExitSuccess);
    EXPECT_NE(out.str().find("NAS2  10.77.2.20"), std::string::npos) << out.str();
    EXPECT_FALSE(TransportIsOpen());
}

TEST_F(CliRun, QueriesPrintTheValueAndVolumes) {
    ASSERT_EQ(Run({"query", "10.77.1.10", "volumes"}), kExitSuccess) << err.str();
    EXPECT_EQ(out.str(), "HDD_a\nUSB1\n");
    ASSERT_EQ(Run({"query", "10.77.1.10", "volumes", "--json"}), kExitSuccess);
    EXPECT_EQ(out.str(), "{\"volumes\":[\"HDD_a\",\"USB1\"]}\n");
    ASSERT_EQ(Run({"query", "10.77.2.20", "codepage", "--json"}), kExitSuccess);
    EXPECT_EQ(out.str(), "{\"value\":\"850\"}\n");
    EXPECT_EQ(Run({"query", "10.77.9.9", "ssl"}), kExitDeviceFailure);
    EXPECT_NE(err.str().find("no device answered at 10.77.9.9"), std::string::npos);
}

TEST_F(CliRun, LoginAndAddressChangesNeedTheAdministratorPassword) {
    EXPECT_EQ(Run({"login", "10.77.1.10", "--password-stdin"}, "secret\n"), kExitSuccess);
    EXPECT_EQ(out.str(), "accepted\n");
    EXPECT_EQ(Run({"login", "10.77.1.10"}), kExitDeviceFailure);
    EXPECT_EQ(out.str(), "refused\n");

    EXPECT_EQ(Run({"set-static", "10.77.1.10", "10.77.1.77", "--netmask", "255.255.255.0"}), kExitDeviceFailure);
    EXPECT_NE(err.str().find("refused the administrator login"), std::string::npos);
    ASSERT_EQ(Run({"set-static", "10.77.1.10", "10.77.1.77", "--netmask", "255.255.255.0", "--password-stdin"},
                  "secret"),
              kExitSuccess)
        << err.str();
    EXPECT_EQ(out.str(), "10.77.1.77\n");
    ASSERT_EQ(Run({"set-dhcp", "10.77.1.77", "--password-stdin"}, "secret\n"), kExitSuccess) << err.str();
    EXPECT_EQ(out.str(), "10.77.1.150\n");
    ASSERT_EQ(Run({"query", "10.77.1.150", "sharename"}), kExitSuccess);
    EXPECT_EQ(out.str(), "HDD_a\n");
}

TEST_F(CliRun, SetValuesAreCheckedBeforeAnythingIsSent) {
    ASSERT_EQ(Run({"set", "10.77.2.20", "codepage", "932"}), kExitSuccess) << err.str();
    ASSERT_EQ(Run({"query", "10.77.2.20", "codepage"}), kExitSuccess);
    EXPECT_EQ(out.str(), "932\n");

    const std::size_t sentBefore = network.sent().size();
    EXPECT_EQ(Run({"set", "10.77.2.20", "access-mode", "read-write"}), kExitUsage);
    EXPECT_NE(err.str().find("access-mode value holds at most 7 characters"), std::string::npos);
    EXPECT_EQ(Run({"login", "10.77.2.20", "--password-stdin"}, std::string(17, 'p')), kExitUsage);
    EXPECT_EQ(network.sent().size(), sentBefore);
}

}  // namespace
}  // namespace ofu::cli
