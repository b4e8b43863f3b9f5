// Drive connections against the lab's smbd (lab-shares.json), run in the lab's workstation
// namespace with a private desktop: OFU_SHARES_SERVER names the device (guest share HDD_a and
// password share HDD_p for shruser/secret1, each with the lab's README.txt),
// OFU_SHARES_ABSENT a device address where nothing answers TCP, and OFU_SHARES_EXPECT_GVFS=1
// says that the run has a session bus with GVFS.
#include "platform/linux/drive_connection_store.h"
#include "platform/linux/gio_share_mount.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

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

// The FUSE folder lists `name`; retried for a few seconds, since a fresh mount's folder can
// answer EIO for a moment.
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
    const bool gvfs_ = Env("OFU_SHARES_EXPECT_GVFS") == "1";
    std::filesystem::path dir_;
    std::unique_ptr<DriveConnectionStore> store_;
};

TEST_F(LabShares, TheSessionOffersGvfsExactlyWhenItHasABus) { EXPECT_EQ(GvfsAvailable(), gvfs_); }

TEST_F(LabShares, AGuestShareConnectsIsRecordedAsGivenAndCancels) {
    const auto start = Clock::now();
    ASSERT_EQ(Add("z:", Remote("HDD_a"), "", ""), NetStatus::Ok);
    Report(gvfs_ ? "guest AddConnection with GVFS" : "guest AddConnection without GVFS", MillisSince(start));
    EXPECT_EQ(Connection("Z:"), Remote("HDD_a"));
    EXPECT_EQ(store_->GetDriveType("Z:\\"), DriveType::Remote);

    const std::string folder = store_->LocalFolder("Z:");
    if (gvfs_) {
        EXPECT_TRUE(FolderListsWithin(folder, "README.txt", 5)) << folder;
    } else {
        EXPECT_EQ(folder, "");
    }

    EXPECT_EQ(store_->CancelConnection("Z:", kConnectUpdateProfile, true), NetStatus::Ok);
    EXPECT_EQ(Connection("Z:"), "");
    EXPECT_EQ(store_->CancelConnection("Z:", kConnectUpdateProfile, true), NetStatus::NotConnected);
    if (gvfs_) {
        EXPECT_EQ(MountedFolder(*ParseRemoteName(Remote("HDD_a"))), "") << "the mount outlived its letter";
    }
}

TEST_F(LabShares, APasswordShareTakesItsPasswordAndNothingElse) {
    EXPECT_EQ(Add("X:", Remote("HDD_p"), "wrong", "shruser"), NetStatus::AccessDenied);
    EXPECT_EQ(Add("X:", Remote("HDD_p"), "", ""), NetStatus::AccessDenied);
    EXPECT_EQ(Connection("X:"), "");
    EXPECT_EQ(store_->GetDriveType("X:"), DriveType::NoRootDir);

    ASSERT_EQ(Add("Y:", Remote("HDD_p"), "secret1", "WORKGROUP\\shruser"), NetStatus::Ok);
    EXPECT_EQ(Connection("Y:"), Remote("HDD_p"));
    if (gvfs_) {
        EXPECT_TRUE(FolderListsWithin(store_->LocalFolder("Y:"), "README.txt", 5));
    }
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
    ASSERT_EQ(Add("N:", Remote("HDD_a") + "\\backup", "", ""), NetStatus::Ok);
    if (gvfs_) {
        const std::string folder = store_->LocalFolder("N:");
        EXPECT_TRUE(folder.size() > 7 && folder.compare(folder.size() - 7, 7, "/backup") == 0) << folder;
    }
}

TEST_F(LabShares, AnAbsentDeviceOrOneWithoutSmbIsBadNetPathWithinTwoSeconds) {
    const auto start = Clock::now();
    EXPECT_EQ(Add("P:", "\\\\" + Env("OFU_SHARES_ABSENT") + "\\HDD_a", "", ""), NetStatus::BadNetPath);
    const long long absent = MillisSince(start);
    Report("BadNetPath for an absent device", absent);
    EXPECT_LT(absent, 2000);
    // The device namespace's own address: the host answers, nothing listens on 445.
    EXPECT_EQ(Add("P:", "\\\\10.77.1.2\\HDD_a", "", ""), NetStatus::BadNetPath);
    EXPECT_EQ(Connection("P:"), "");
}

TEST_F(LabShares, AWrongPasswordEndsTheDesktopMountWithAccessDeniedAtOnce) {
    if (!gvfs_) GTEST_SKIP() << "needs GVFS";
    ShareCredentials wrong;
    wrong.user = "shruser";
    wrong.password = "wrong";
    const auto start = Clock::now();
    EXPECT_EQ(MountShare(*ParseRemoteName(Remote("HDD_p")), wrong).status, NetStatus::AccessDenied);
    EXPECT_LT(MillisSince(start), 5000);
    EXPECT_EQ(MountedFolder(*ParseRemoteName(Remote("HDD_p"))), "");
}

TEST_F(LabShares, TheMountStaysUntilTheLastLetterOfItsShareGoesEvenWithAFileOpen) {
    if (!gvfs_) GTEST_SKIP() << "needs GVFS";
    const RemoteName share = *ParseRemoteName(Remote("HDD_a"));
    ASSERT_EQ(Add("V:", Remote("HDD_a"), "", ""), NetStatus::Ok);
    ASSERT_EQ(Add("U:", "\\\\" + server_ + "\\hdd_A", "", ""), NetStatus::Ok);

    EXPECT_EQ(store_->CancelConnection("V:", kConnectUpdateProfile, true), NetStatus::Ok);
    const std::string folder = MountedFolder(share);
    ASSERT_NE(folder, "") << "cancelling one of two letters removed the share's mount";
    ASSERT_TRUE(FolderListsWithin(folder, "README.txt", 5));
    const int open = ::open((folder + "/README.txt").c_str(), O_RDONLY | O_CLOEXEC);
    EXPECT_GE(open, 0);

    EXPECT_EQ(store_->CancelConnection("U:", kConnectUpdateProfile, true), NetStatus::Ok);
    EXPECT_EQ(MountedFolder(share), "");
    if (open >= 0) ::close(open);
}

}  // namespace
}  // namespace ofu::platform::linux_drives
