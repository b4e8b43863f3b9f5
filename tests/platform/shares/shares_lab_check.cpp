// Drive connections against the lab's smbd (lab-shares.json), run in the lab's workstation
// namespace with a private desktop: OFU_SHARES_SERVER names the device (guest share HDD_a and
// password share HDD_p for shruser/secret1, each with the lab's README.txt), known to the
// workstation only by NetBIOS; OFU_SHARES_OLD_SERVER a device whose file server speaks only
// SMB1 and only on port 139 (guest share HDD_1); OFU_SHARES_ABSENT a device address where
// nothing answers TCP.
#include "platform/linux/drive_connection_store.h"
#include "platform/linux/share_mount_process.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <tuple>

namespace ofu::platform::linux_drives {
namespace {

using Clock = std::chrono::steady_clock;

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

long long MillisSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

void Report(const char* what, long long millis) { std::printf("[ measured ] %s: %lld ms\n", what, millis); }

// The mount's folder lists `name`.
bool FolderListsWithin(const std::string& folder, const std::string& name, int seconds) {
    const auto deadline = Clock::now() + std::chrono::seconds(seconds);
    do {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
            if (entry.path().filename() == name) return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    } while (Clock::now() < deadline);
    return false;
}

class LabShares : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(server_.empty()) << "run through the lab (ctest -R lab.platform_shares)";
        char pattern[] = "/tmp/ofup-shares.XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
        store_ = std::make_unique<DriveConnectionStore>(dir_ / "drive-connections");
    }
    void TearDown() override {
        if (store_) {
            for (const auto& [letter, remote] : LoadTable(store_->path()))
                store_->CancelConnection(std::string(1, letter) + ":", kConnectUpdateProfile, true);
        }
        std::error_code error;
        std::filesystem::remove_all(dir_, error);
    }

    std::string Remote(const std::string& share) const { return "\\\\" + server_ + "\\" + share; }
    NetStatus Add(const std::string& letter, const std::string& remote, const std::optional<std::string>& password,
                  const std::optional<std::string>& user) {
        return store_->AddConnection({letter, remote}, password, user, kConnectUpdateProfile);
    }
    std::string Connection(const std::string& letter) {
        std::string remote;
        return store_->GetConnection(letter, remote, 260) == NetStatus::Ok ? remote : "";
    }

    const std::string server_ = Env("OFU_SHARES_SERVER");
    std::filesystem::path dir_;
    std::unique_ptr<DriveConnectionStore> store_;
};

TEST_F(LabShares, AGuestShareConnectsIsMountedAsItsLetterAndCancelsOnModernAndSmb1Servers) {
    const std::string old = Env("OFU_SHARES_OLD_SERVER");
    for (const auto& [server, share, label] : {std::tuple{server_, std::string("HDD_a"), "modern server by NetBIOS name"},
                                               std::tuple{old, std::string("HDD_1"), "SMB1 server on port 139"}}) {
        SCOPED_TRACE(label);
        const std::string remote = "\\\\" + server + "\\" + share;
        const auto start = Clock::now();
        ASSERT_EQ(Add("z:", remote, "", ""), NetStatus::Ok);
        Report((std::string("guest AddConnection, ") + label).c_str(), MillisSince(start));
        EXPECT_EQ(Connection("Z:"), remote);
        EXPECT_EQ(store_->GetDriveType("Z:\\"), DriveType::Remote);

        // The letter's files are in its folder, written there and read back through the share.
        const std::string folder = store_->LocalFolder("Z:");
        EXPECT_EQ(std::filesystem::path(folder).filename(), share + " on " + server + " (Z)");
        EXPECT_TRUE(FolderListsWithin(folder, "README.txt", 1)) << folder;
        const std::string written = folder + "/written-through-the-mount.txt";
        std::ofstream(written) << "through the mount\n";
        std::string back;
        std::getline(std::ifstream(written), back);
        EXPECT_EQ(back, "through the mount");
        EXPECT_TRUE(std::filesystem::remove(written));

        EXPECT_EQ(store_->CancelConnection("Z:", kConnectUpdateProfile, true), NetStatus::Ok);
        EXPECT_EQ(Connection("Z:"), "");
        EXPECT_FALSE(std::filesystem::exists(folder)) << "the mount outlived its letter";
        EXPECT_EQ(store_->CancelConnection("Z:", kConnectUpdateProfile, true), NetStatus::NotConnected);
    }
}

TEST_F(LabShares, APasswordShareTakesItsPasswordAndNothingElse) {
    EXPECT_EQ(Add("X:", Remote("HDD_p"), "wrong", "shruser"), NetStatus::AccessDenied);
    EXPECT_EQ(Add("X:", Remote("HDD_p"), "", ""), NetStatus::AccessDenied);
    EXPECT_EQ(Connection("X:"), "");
    EXPECT_EQ(store_->GetDriveType("X:"), DriveType::NoRootDir);

    ASSERT_EQ(Add("Y:", Remote("HDD_p"), "secret1", "WORKGROUP\\shruser"), NetStatus::Ok);
    EXPECT_EQ(Connection("Y:"), Remote("HDD_p"));
    EXPECT_TRUE(FolderListsWithin(store_->LocalFolder("Y:"), "README.txt", 1));
}

TEST_F(LabShares, TheSessionDefaultsOpenAGuestShareButNotAPasswordShare) {
    // As the drive mapping's first attempt: the session user, or DOMAIN\user, and no password.
    EXPECT_EQ(Add("S:", Remote("HDD_a"), std::nullopt, std::nullopt), NetStatus::Ok);
    EXPECT_EQ(Add("T:", Remote("HDD_a"), std::nullopt, "WORKGROUP\\root"), NetStatus::Ok);
    EXPECT_EQ(Add("R:", Remote("HDD_p"), std::nullopt, "WORKGROUP\\shruser"), NetStatus::AccessDenied);
}

TEST_F(LabShares, AMissingShareOrFolderIsBadNetNameAndAPresentFolderConnects) {
    EXPECT_EQ(Add("M:", Remote("NoSuch"), "", ""), NetStatus::BadNetName);
    EXPECT_EQ(Add("M:", Remote("HDD_a") + "\\nosuch", "", ""), NetStatus::BadNetName);
    EXPECT_EQ(Connection("M:"), "");

    // A folder made on the device's disk: the lab keeps each share's folder in its state folder.
    std::error_code made;
    std::filesystem::create_directories(
        std::filesystem::path(Env("OFU_LAB_DIR")) / "devices" / server_ / "shares" / "vol-HDD_a" / "backup", made);
    std::ofstream(std::filesystem::path(Env("OFU_LAB_DIR")) / "devices" / server_ / "shares" / "vol-HDD_a" / "backup" /
                  "inside.txt")
        << "in the folder\n";
    ASSERT_EQ(Add("N:", Remote("HDD_a") + "\\backup", "", ""), NetStatus::Ok);
    EXPECT_TRUE(FolderListsWithin(store_->LocalFolder("N:"), "inside.txt", 1)) << "the mount shows the folder";
}

TEST_F(LabShares, AnAbsentDeviceOrOneWithoutSmbIsBadNetPathWithinTwoSeconds) {
    // By address (no name to look up: both ports probed at once), and by a name nobody
    // answers for (the system resolver and the NetBIOS broadcast query, then nothing).
    for (const auto& [server, label] : {std::pair{Env("OFU_SHARES_ABSENT"), "an absent device's address"},
                                        std::pair{std::string("SHRGONE"), "a name nobody answers for"}}) {
        const auto start = Clock::now();
        EXPECT_EQ(Add("P:", "\\\\" + server + "\\HDD_a", "", ""), NetStatus::BadNetPath) << label;
        const long long took = MillisSince(start);
        Report((std::string("BadNetPath for ") + label).c_str(), took);
        EXPECT_LT(took, 2000) << label;
    }
    // The device namespace's own address: the host answers, nothing listens on 445 or 139.
    EXPECT_EQ(Add("P:", "\\\\10.77.1.2\\HDD_a", "", ""), NetStatus::BadNetPath);
    EXPECT_EQ(Connection("P:"), "");
}

TEST_F(LabShares, EachLetterUnmountsOnlyItsOwnMountEvenWithAFileOpen) {
    ASSERT_EQ(Add("V:", Remote("HDD_a"), "", ""), NetStatus::Ok);
    ASSERT_EQ(Add("U:", "\\\\" + server_ + "\\hdd_A", "", ""), NetStatus::Ok);
    const std::string mine = store_->LocalFolder("V:");
    const std::string other = store_->LocalFolder("U:");
    ASSERT_NE(mine, other);
    ASSERT_TRUE(FolderListsWithin(mine, "README.txt", 1));
    const int open = ::open((mine + "/README.txt").c_str(), O_RDONLY | O_CLOEXEC);
    EXPECT_GE(open, 0);

    EXPECT_EQ(store_->CancelConnection("V:", kConnectUpdateProfile, true), NetStatus::Ok);
    EXPECT_EQ(store_->LocalFolder("V:"), "");
    EXPECT_TRUE(FolderListsWithin(other, "README.txt", 1)) << "cancelling V: took the other letter's mount";
    if (open >= 0) ::close(open);

    // A letter whose mount ended behind its back (its helper killed) keeps its connection,
    // shows no folder, and still cancels.
    const ShareMount mount = LoadTable(store_->path()).at('U').mount;
    ASSERT_TRUE(MountAlive(mount));
    ::kill(mount.pid, SIGKILL);
    const auto deadline = Clock::now() + std::chrono::seconds(2);
    while (MountAlive(mount) && Clock::now() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(store_->LocalFolder("U:"), "");
    EXPECT_EQ(Connection("U:"), "\\\\" + server_ + "\\hdd_A");
    EXPECT_EQ(store_->CancelConnection("U:", kConnectUpdateProfile, true), NetStatus::Ok);
}

}  // namespace
}  // namespace ofu::platform::linux_drives
