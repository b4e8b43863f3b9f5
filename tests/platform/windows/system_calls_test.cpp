// The network connection calls, the system facts and the threads, as far as they can be
// checked without a share: each call answers with a code of its own and never crashes.
#include "platform/services.h"
#include "platform/windows/windows_system_info.h"
#include "platform/windows/wnet_drive_connections.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>

namespace ofu::platform {
namespace {

// A letter with nothing behind it, searched from the top as the drive table does.
std::string FreeLetter(DriveConnections& drives) {
    for (char letter = 'Z'; letter > 'C'; --letter)
        if (drives.GetDriveType(std::string{letter, ':'}) == DriveType::NoRootDir) return std::string{letter, ':'};
    return {};
}

TEST(WNetDriveConnections, ReportsAFreeLetterAsNotConnected) {
    WNetDriveConnections drives;
    EXPECT_EQ(drives.GetDriveType("C:"), DriveType::Fixed);
    const std::string drive = FreeLetter(drives);
    ASSERT_FALSE(drive.empty());
    std::string remote = "stale";
    EXPECT_NE(drives.GetConnection(drive, remote, 256), NetStatus::Ok);
    EXPECT_EQ(remote, "");
    EXPECT_EQ(drives.LocalFolder(drive), "");
    EXPECT_NE(drives.CancelConnection(drive, kConnectUpdateProfile, true), NetStatus::Ok);
}

TEST(WNetDriveConnections, FailsAConnectionToAShareThatIsNotThere) {
    WNetDriveConnections drives;
    EXPECT_NE(drives.AddConnection({"", "\\\\127.0.0.1\\ofu-no-such-share\\x"}, std::string(), std::string(), 0),
              NetStatus::Ok);
    EXPECT_NE(drives.AddConnection({FreeLetter(drives), "\\\\127.0.0.1\\ofu-no-such-share"}, std::nullopt,
                                   std::nullopt, kConnectUpdateProfile),
              NetStatus::Ok);
    EXPECT_EQ(drives.AddConnection({std::string("Y:\0", 3), "\\\\h\\s"}, std::nullopt, std::nullopt, 0),
              NetStatus::BadDevice);
}

TEST(WNetDriveConnections, GivesTheSessionUserOnlyWithRoomForItsTerminator) {
    WNetDriveConnections drives;
    std::string user;
    ASSERT_EQ(drives.GetUser(user, 260), NetStatus::Ok);
    ASSERT_FALSE(user.empty());
    std::string again;
    EXPECT_EQ(drives.GetUser(again, user.size()), NetStatus::MoreData);
    EXPECT_EQ(drives.GetUser(again, user.size() + 1), NetStatus::Ok);
    EXPECT_EQ(again, user);
}

TEST(WindowsSystemInfo, ReportsAnNtVersionAndTheUser) {
    WindowsSystemInfo system;
    const std::optional<OsVersion> version = system.GetVersion();
    ASSERT_TRUE(version);
    EXPECT_EQ(version->platformId, 2u);
    EXPECT_GE(version->major, 5u);
    EXPECT_FALSE(system.GetUserName().value_or("").empty());
}

TEST(WorkerThreads, HaveEndedWhenTheServicesAreFreed) {
    InitPlatformServices();
    std::atomic<int> ended{0};
    for (int i = 0; i < 3; ++i)
        Threading().Start([&ended, &threads = Threading()] {
            threads.Sleep(50);
            ++ended;
        });
    FreePlatformServices();
    EXPECT_EQ(ended.load(), 3);
}

}  // namespace
}  // namespace ofu::platform
