// `ofu payloads`, `payload`, `install-language` and `install-bittorrent` over simulated devices
// in memory, files in memory and virtual pauses.
#include "addons/addon_state.h"
#include "addons/payload_catalogue.h"
#include "tests/support/fake_platform.h"
#include "tests/support/hosted_devices.h"
#include "tests/support/protocol_fixture.h"
#include "tools/ofu/cli_run.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <fstream>
#include <numeric>
#include <sstream>

namespace ofu::cli {
namespace {

using namespace ofu::testing;

class CliAddons : public ProtocolTest {
protected:
    void SetUp() override {
        ProtocolTest::SetUp();
        AddOnState = {};
        auto nas = HostedDevices::Config("NAS1", "10.77.1.10", 0x01);
        nas.ideOk = "3";
        nas.codepage = "950";
        nas.adminPassword = "pw";
        device = &hosted.add(nas, {0});
        for (const PayloadEntry& entry : PayloadCatalogue())
            platform.resources.Add(std::string(entry.type), entry.id, std::vector<std::uint8_t>(4, static_cast<std::uint8_t>(entry.id)));
        platform.disk.AddFolder("\\\\10.77.1.10\\HDD_a\\.codepages");
        platform.disk.AddFolder("\\\\10.77.1.10\\HDD_a\\Nas_Prog/BT");
    }
    int Run(std::vector<std::string_view> args, std::string input = {}) {
        out.str({});
        err.str({});
        std::istringstream in(input);
        return RunCli(args, out, err, in);
    }
    int Paused() const {
        return std::accumulate(platform.threads.sleeps.begin(), platform.threads.sleeps.end(), 0);
    }

    FakePlatform platform;
    HostedDevices hosted{network};
    devsim::SimDevice* device = nullptr;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(CliAddons, PayloadsListTheCatalogueAndOneCanBeSaved) {
    ASSERT_EQ(Run({"payloads", "--json"}), kExitSuccess);
    const auto rows = nlohmann::json::parse(out.str());
    ASSERT_EQ(rows.size(), 49u);
    EXPECT_EQ(rows[0], (nlohmann::json{{"type", "BT"}, {"id", 215}, {"size", 6940408}, {"kind", "ARM executable"},
                                       {"name", "bt"}, {"codepage", "BitTorrent"}, {"family", "both"}}));

    const std::string file = (platform.files.root / "151.bin").string();
    ASSERT_EQ(Run({"payload", "151", "--output", file}), kExitSuccess) << err.str();
    std::ifstream saved(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), std::string(4, static_cast<char>(151)));
    EXPECT_EQ(Run({"payload", "152", "--output", file}), kExitUsage);
    EXPECT_EQ(Run({"payload", "151"}), kExitUsage);
}

TEST_F(CliAddons, InstallLanguageWritesThePlanSetsTheCodepageAndWaitsTheRestart) {
    ASSERT_EQ(Run({"install-language", "10.77.1.10", "western european"}), kExitSuccess) << err.str();
    EXPECT_NE(out.str().find("The device's language now: Traditional Chinese (950)"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("writing nls_cp850.o (2 of 3)"), std::string::npos) << out.str();
    EXPECT_TRUE(platform.disk.PathExists("\\\\10.77.1.10\\HDD_a\\.codepages\\unicode_map.850"));
    EXPECT_EQ(device->state().codepage, "850");
    EXPECT_NE(err.str().find("restarting: 100%"), std::string::npos);
    // One disk query, one codepage query, then the restart's 90 s.
    EXPECT_EQ(Paused(), 1000 + 1000 + 90000);

    EXPECT_EQ(Run({"install-language", "10.77.1.10", "857", "--no-restart-wait"}), kExitDeviceFailure);
    EXPECT_NE(err.str().find("This codepage does not supported in this firmware."), std::string::npos);
    EXPECT_EQ(Run({"install-language", "10.77.1.10", "klingon"}), kExitUsage);
    EXPECT_NE(err.str().find("unknown language 'klingon' (one of: 950 Traditional Chinese"), std::string::npos);
}

TEST_F(CliAddons, InstallLanguageSaysWhyAFolderlessDeviceFailed) {
    platform.disk.folders.clear();
    EXPECT_EQ(Run({"install-language", "10.77.1.10", "950", "--no-restart-wait"}), kExitDeviceFailure);
    EXPECT_NE(err.str().find("Please check hard drives."), std::string::npos);
    EXPECT_EQ(device->state().installControl, "stop");
}

TEST_F(CliAddons, InstallBitTorrentNeedsTheAdministrator) {
    EXPECT_EQ(Run({"install-bittorrent", "10.77.1.10", "--no-restart-wait"}), kExitDeviceFailure);
    EXPECT_NE(err.str().find("Wrong administrator password input!"), std::string::npos);
    ASSERT_EQ(Run({"install-bittorrent", "10.77.1.10", "--password-stdin", "--no-restart-wait"}, "pw\n"), kExitSuccess)
        << err.str();
    EXPECT_EQ(device->state().addOnName, "BT");
    EXPECT_TRUE(platform.disk.PathExists("\\\\10.77.1.10\\HDD_a\\Nas_Prog/BT\\bt"));
    EXPECT_FALSE(platform.disk.PathExists("C:\\bt"));

    // A run abandoned at its first file leaves no staging folder either.
    platform.disk.folders.clear();
    EXPECT_EQ(Run({"install-bittorrent", "10.77.1.10", "--password-stdin", "--no-restart-wait"}, "pw\n"),
              kExitDeviceFailure);
    EXPECT_NE(err.str().find("Please check hard drives."), std::string::npos);
    EXPECT_FALSE(platform.disk.PathExists("C:\\bt"));
}

}  // namespace
}  // namespace ofu::cli
