#include "platform/linux/drive_connection_store.h"
#include "platform/linux/share_credentials.h"
#include "platform/linux/share_mount_process.h"
#include "platform/linux/smb_share_check.h"
#include "platform/linux/tcp_probe.h"

#include <gtest/gtest.h>

#include <ostream>

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>

namespace ofu::platform::linux_drives {
namespace {

class DriveConnectionStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/ofu-drive-store.XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
        store_ = std::make_unique<DriveConnectionStore>(dir_ / "drive-connections");
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    NetStatus Add(const std::string& local, const std::string& remote,
                  const std::optional<std::string>& password = std::string(),
                  const std::optional<std::string>& user = std::string()) {
        return store_->AddConnection({local, remote}, password, user, kConnectUpdateProfile);
    }

    std::filesystem::path dir_;
    std::unique_ptr<DriveConnectionStore> store_;
};

TEST_F(DriveConnectionStoreTest, CancelRemovesOnlyItsEntryAndRefusesFreeOrMalformedLetters) {
    EXPECT_EQ(store_->CancelConnection("Q:", kConnectUpdateProfile, true), NetStatus::NotConnected);
    EXPECT_EQ(store_->CancelConnection("C:", kConnectUpdateProfile, true), NetStatus::NotConnected);
    EXPECT_EQ(store_->CancelConnection("", kConnectUpdateProfile, true), NetStatus::BadDevice);
    EXPECT_EQ(store_->CancelConnection("QQ", kConnectUpdateProfile, true), NetStatus::BadDevice);
    ASSERT_TRUE(SaveTable(store_->path(), {{'Y', "\\\\NAS1\\HDD_a"}, {'Z', "\\\\NAS1\\HDD_a"}}));
    EXPECT_EQ(store_->CancelConnection("z:", kConnectUpdateProfile, false), NetStatus::Ok);
    EXPECT_EQ(LoadTable(store_->path()), (ConnectionTable{{'Y', "\\\\NAS1\\HDD_a"}}));
}

TEST_F(DriveConnectionStoreTest, AddRefusesBadLettersNamesAndCredentialsAndLettersInUse) {
    EXPECT_EQ(Add("1:", "\\\\NAS1\\HDD_a"), NetStatus::BadDevice);
    EXPECT_EQ(Add("Z:\\", "\\\\NAS1\\HDD_a"), NetStatus::BadDevice);
    EXPECT_EQ(Add("Z:", "//NAS1/HDD_a"), NetStatus::InvalidParameter);
    EXPECT_EQ(Add("Z:", "\\\\NAS1\\HDD_a", std::string("pass\0word", 9)), NetStatus::InvalidParameter);
    EXPECT_EQ(Add("Z:", "\\\\NAS1\\HDD_a", "", std::string(kMaxCredentialLength + 1, 'u')), NetStatus::InvalidParameter);
    EXPECT_EQ(Add("c:", "\\\\NAS1\\HDD_a"), NetStatus::AlreadyAssigned);
    ASSERT_TRUE(SaveTable(store_->path(), {{'Y', "\\\\NAS1\\HDD_a"}}));
    EXPECT_EQ(Add("y:", "\\\\NAS2\\HDD_b"), NetStatus::AlreadyAssigned);
    EXPECT_EQ(LoadTable(store_->path()), (ConnectionTable{{'Y', "\\\\NAS1\\HDD_a"}}));
}

TEST_F(DriveConnectionStoreTest, AnUnreachableServerFailsWithBadNetPathWithinTwoSeconds) {
    // Loopback only: nothing listens on this address's port 445, so the connect is refused.
    const std::string host = "127.0.0.77";
    if (linux_net::ProbeTcp(host, 445, 500) == linux_net::ProbeResult::Connected)
        GTEST_SKIP() << "something listens on " << host << ":445";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Add("Z:", "\\\\" + host + "\\HDD_a"), NetStatus::BadNetPath);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(store_->GetDriveType("Z:"), DriveType::NoRootDir);
}

// The table, the mounts and the client library's settings are the user's own: with neither
// HOME nor XDG_STATE_HOME the account's home from the password database holds them, and no
// share check changes the environment (another thread may be reading it).
TEST_F(DriveConnectionStoreTest, PerUserFilesStayInTheAccountsHomeAndTheEnvironmentIsLeftAlone) {
    const passwd* account = ::getpwuid(::getuid());
    ASSERT_NE(account, nullptr);
    const std::string accountHome = account->pw_dir;
    const char* home = std::getenv("HOME");
    const char* state = std::getenv("XDG_STATE_HOME");
    const std::optional<std::string> savedHome = home ? std::optional<std::string>(home) : std::nullopt;
    const std::optional<std::string> savedState = state ? std::optional<std::string>(state) : std::nullopt;
    ::unsetenv("HOME");
    ::unsetenv("XDG_STATE_HOME");
    const std::filesystem::path table = DefaultTablePath();
    const std::filesystem::path folder = MountFolderFor('Z', *ParseRemoteName("\\\\NAS1\\HDD_a\\backup"));
    if (savedHome) ::setenv("HOME", savedHome->c_str(), 1);
    if (savedState) ::setenv("XDG_STATE_HOME", savedState->c_str(), 1);
    EXPECT_EQ(table, std::filesystem::path(accountHome) / ".local/state/ostrel-ferrow-utility/drive-connections");
    EXPECT_EQ(folder, std::filesystem::path(accountHome) / "Network drives" / "backup on NAS1 (Z)");
    EXPECT_EQ(MountFolderFor('Y', *ParseRemoteName("\\\\NAS1\\" + std::string(250, 's'))).filename(), "Y");

    // Straight to the client library, past the server search: loopback, refused at once.
    if (linux_net::ProbeTcp("127.0.0.77", 445, 500) == linux_net::ProbeResult::Connected)
        GTEST_SKIP() << "something listens on 127.0.0.77:445";
    const std::string homeBefore = savedHome.value_or("");
    ShareCredentials credentials;
    credentials.user = "alice";
    EXPECT_EQ(CheckShare(*ParseRemoteName("\\\\127.0.0.77\\HDD_a"), credentials, {"127.0.0.77", 445}),
              NetStatus::BadNetPath);
    home = std::getenv("HOME");
    EXPECT_EQ(home != nullptr ? home : "", homeBefore);
}

TEST_F(DriveConnectionStoreTest, GetUserGivesTheAccountNameOrMoreDataWhenItDoesNotFit) {
    const passwd* account = ::getpwuid(::geteuid());
    ASSERT_NE(account, nullptr);
    const std::string expected = account->pw_name;
    std::string name;
    EXPECT_EQ(store_->GetUser(name, expected.size() + 1), NetStatus::Ok);
    EXPECT_EQ(name, expected);
    EXPECT_EQ(store_->GetUser(name, expected.size()), NetStatus::MoreData);
}

TEST(ShareCredentials, SplitTheDomainAndStandForTheSessionWhenNull) {
    const auto given = ResolveCredentials(std::string("pw"), std::string("WORKGROUP\\alice"), "root", true);
    EXPECT_TRUE(given && given->workgroup == "WORKGROUP" && given->user == "alice" && given->password == "pw" &&
                !given->useKerberos);
    const auto session = ResolveCredentials(std::nullopt, std::nullopt, "bob", true);
    EXPECT_TRUE(session && session->workgroup.empty() && session->user == "bob" && session->useKerberos);
    EXPECT_FALSE(ResolveCredentials(std::nullopt, std::nullopt, "bob", false)->useKerberos);
    EXPECT_TRUE(ResolveCredentials(std::string(), std::string(), "bob", true)->guest());
}

struct ErrnoCase {
    const char* label;
    int error;
    NetStatus status;
};

// How a case appears in test listings: by its label, not as bytes.
void PrintTo(const ErrnoCase& c, std::ostream* out) { *out << c.label; }

class SmbErrnoMapping : public ::testing::TestWithParam<ErrnoCase> {};

TEST_P(SmbErrnoMapping, GivesTheConnectionStatus) { EXPECT_EQ(StatusOfSmbErrno(GetParam().error), GetParam().status); }

INSTANTIATE_TEST_SUITE_P(Errors, SmbErrnoMapping,
                         ::testing::Values(ErrnoCase{"AccessRefused", EACCES, NetStatus::AccessDenied},
                                           ErrnoCase{"NotPermitted", EPERM, NetStatus::AccessDenied},
                                           ErrnoCase{"NoSuchShare", ENOENT, NetStatus::BadNetName},
                                           ErrnoCase{"NoSuchDevice", ENODEV, NetStatus::BadNetName},
                                           ErrnoCase{"FolderIsAFile", ENOTDIR, NetStatus::BadNetName},
                                           ErrnoCase{"Refused", ECONNREFUSED, NetStatus::BadNetPath},
                                           ErrnoCase{"HostUnreachable", EHOSTUNREACH, NetStatus::BadNetPath},
                                           ErrnoCase{"NetworkUnreachable", ENETUNREACH, NetStatus::BadNetPath},
                                           ErrnoCase{"TimedOut", ETIMEDOUT, NetStatus::BadNetPath},
                                           ErrnoCase{"NameNotFound", EINVAL, NetStatus::BadNetPath},
                                           ErrnoCase{"AnythingElse", EIO, NetStatus::Failed}),
                         [](const ::testing::TestParamInfo<ErrnoCase>& param) { return std::string(param.param.label); });

}  // namespace
}  // namespace ofu::platform::linux_drives
