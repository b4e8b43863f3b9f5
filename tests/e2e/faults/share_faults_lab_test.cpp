// The add-on installation against shares that fail: an smbd stopped in the middle of the
// 6.9 MB payload write on a slowed link, a share that fills up, a read-only share; and two
// real ofu processes mapping drive letters at once.
#include "platform/services.h"
#include "tests/e2e/faults/fault_lab_support.h"
#include "tests/e2e/lab_support.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace ofu::e2e {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

fs::path ShareFolder(const std::string& device) {
    return fs::path(std::getenv("OFU_LAB_DIR")) / "devices" / device / "shares" / "vol-HDD_a";
}

// An installation that failed the usual way: "Please check hard drives.", "stop" sent, and
// the device never told to apply anything.
void ExpectAborted(const std::string& device, int status, const std::string& err, std::size_t stopsBefore) {
    EXPECT_EQ(status, 1);
    EXPECT_NE(err.find("Please check hard drives."), std::string::npos) << err;
    EXPECT_EQ(SetsAnswered(device, 13).size(), stopsBefore + 1) << "\"stop\" sent once";
    EXPECT_TRUE(SetsAnswered(device, 8).empty()) << "no codepage applied";
    EXPECT_TRUE(SetsAnswered(device, 14).empty()) << "no add-on applied";
}

TEST(ShareFaults, SmbdStoppedInTheMiddleOfThePayloadWriteAbortsTheInstallation) {
    // About 3.5 s for the 6.9 MB program at 16 Mbit/s.
    ASSERT_EQ(Lab({"netem", "dev1", "ws", "rate", "16000"}), 0);
    Background install({OfuPath(), "install-bittorrent", "10.77.1.10", "--no-restart-wait"});
    ASSERT_TRUE(install.WaitForOutput("writing bt (1 of 2)", 30)) << install.out() << install.err();
    ::usleep(1000 * 1000);
    const Stopwatch sinceStop;
    ASSERT_EQ(Lab({"server", "F-ONE", "smbd", "stop"}), 0);
    const double stopTook = sinceStop.Seconds();
    const int status = install.Finish();
    const double reported = sinceStop.Seconds();
    std::printf("smbd stopped 1 s into the payload write (the stop took %.2f s): failure reported %.2f s after it\n",
                stopTook, reported);
    ExpectAborted("F-ONE", status, install.err(), 0);
    EXPECT_EQ(install.out().find("BitTorrent is installed"), std::string::npos) << install.out();
    EXPECT_LT(reported, 20.0);
    // The stop came in the middle of the copy: part of the program is on the device.
    const fs::path partial = ShareFolder("F-ONE") / "Nas_Prog" / "BT" / "bt";
    ASSERT_TRUE(fs::exists(partial));
    std::printf("bytes of bt on the device when smbd stopped: %ju of 6940408\n",
                static_cast<std::uintmax_t>(fs::file_size(partial)));
    EXPECT_GT(fs::file_size(partial), 0u);
    EXPECT_LT(fs::file_size(partial), 6940408u);
    Lab({"netem", "dev1", "off"});
}

TEST(ShareFaults, AFullShareFailsTheInstallationAndNeverReportsSuccess) {
    // F-FULL's add-on folders hold 256 KiB: the unicode map (262,174 bytes) does not fit.
    auto result = RunOfu({"install-language", "10.77.1.30", "936", "--no-restart-wait"});
    EXPECT_NE(result.out.find("writing unicode_map.936 (4 of 4)"), std::string::npos) << result.out;
    ExpectAborted("F-FULL", result.status, result.err, 0);
    result = RunOfu({"install-bittorrent", "10.77.1.30", "--no-restart-wait"});
    ExpectAborted("F-FULL", result.status, result.err, 1);
}

TEST(ShareFaults, AReadOnlyShareFailsTheInstallationEvenOverAnOlderFile) {
    // An older codepage.850 in the folder: it exists, but it is not the payload.
    {
        std::ofstream old(ShareFolder("F-RO") / ".codepages" / "codepage.850", std::ios::binary);
        old << "an older descriptor";
    }
    auto result = RunOfu({"install-language", "10.77.1.40", "850", "--no-restart-wait"});
    ExpectAborted("F-RO", result.status, result.err, 0);
    EXPECT_EQ(fs::file_size(ShareFolder("F-RO") / ".codepages" / "codepage.850"), 19u);
    result = RunOfu({"install-bittorrent", "10.77.1.40", "--no-restart-wait"});
    ExpectAborted("F-RO", result.status, result.err, 1);
    EXPECT_FALSE(fs::exists(ShareFolder("F-RO") / "Nas_Prog" / "BT" / "bt"));
}

Json Drives() {
    const auto drives = RunOfu({"drives", "--json"});
    EXPECT_EQ(drives.status, 0) << drives.err;
    return Json::parse(drives.out, nullptr, false);
}

std::string ShareOf(const Json& drives, const std::string& letter) {
    for (const auto& drive : drives)
        if (drive.value("drive", "") == letter && !drive.value("server", "").empty())
            return drive.value("server", "") + "/" + drive.value("share", "");
    return "";
}

TEST(DriveTable, TwoOfuProcessesMappingAndUnmappingAtOnceLoseNoLetter) {
    for (int round = 0; round < 3; ++round) {
        {
            Background first({OfuPath(), "map", "10.77.1.30", "HDD_a", "Y:"});
            Background second({OfuPath(), "map", "10.77.2.10", "HDD_1", "X:"});
            EXPECT_EQ(first.Finish(), 0) << first.err();
            EXPECT_EQ(second.Finish(), 0) << second.err();
        }
        const Json mapped = Drives();
        EXPECT_EQ(ShareOf(mapped, "Y:"), "F-FULL/HDD_a") << mapped.dump();
        EXPECT_EQ(ShareOf(mapped, "X:"), "F-TWO/HDD_1") << mapped.dump();
        {
            Background first({OfuPath(), "unmap", "Y:"});
            Background second({OfuPath(), "unmap", "X:"});
            EXPECT_EQ(first.Finish(), 0) << first.err();
            EXPECT_EQ(second.Finish(), 0) << second.err();
        }
        const Json unmapped = Drives();
        EXPECT_EQ(ShareOf(unmapped, "Y:"), "") << unmapped.dump();
        EXPECT_EQ(ShareOf(unmapped, "X:"), "") << unmapped.dump();
    }
}

}  // namespace
}  // namespace ofu::e2e

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (ofu::e2e::RefusedOutsideLab()) return 2;
    // The home, the drive table and drive C of this run only (set before any thread starts).
    char home[] = "/tmp/ofu-faults-home.XXXXXX";
    if (::mkdtemp(home) == nullptr) return 2;
    const std::string base = home;
    setenv("HOME", base.c_str(), 1);
    setenv("XDG_STATE_HOME", (base + "/state").c_str(), 1);
    setenv("XDG_DATA_HOME", (base + "/data").c_str(), 1);
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    const int result = RUN_ALL_TESTS();
    // A letter left mapped would leave its mount in the home: unmapped first, so that removing
    // the home never reaches into a share.
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        ofu::platform::Drives().CancelConnection(std::string{letter, ':'}, ofu::platform::kConnectUpdateProfile, true);
    std::filesystem::remove_all(base);
    return result;
}
