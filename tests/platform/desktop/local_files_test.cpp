#include "desktop_test_support.h"
#include "platform/linux/linux_local_files.h"

#include <gtest/gtest.h>

namespace ofu::testing {
namespace {

class DriveC : public ::testing::Test {
protected:
    DriveC() {
        env.Set("HOME", temp.path.string() + "/home");
        env.Set("XDG_DATA_HOME", temp.path.string() + "/data");
    }
    TempFolder temp;
    ScopedEnvironment env;
    platform::LinuxLocalFiles files;
    const std::string drive = temp.path.string() + "/data/ostrel-ferrow-utility/drive_c";
};

TEST_F(DriveC, MapsPathsOnDriveCIntoTheUsersFolder) {
    EXPECT_EQ(files.HostPath(R"(C:\ip.txt)"), drive + "/ip.txt");
    EXPECT_EQ(files.HostPath(R"(C:\bt\bt)"), drive + "/bt/bt");
    EXPECT_EQ(files.HostPath("c:/bt/btdog"), drive + "/bt/btdog");
    env.Set("XDG_DATA_HOME", "relative/data");
    EXPECT_EQ(files.HostPath(R"(C:\ip.txt)"), temp.path.string() + "/home/.local/share/ostrel-ferrow-utility/drive_c/ip.txt");
}

TEST_F(DriveC, NamesNoPlaceForOtherPaths) {
    for (const char* path : {R"(D:\ip.txt)", "ip.txt", R"(\ip.txt)", "C:ip.txt", "C:", R"(C:\)", R"(C:\bt\)",
                             R"(C:\bt\\bt)", R"(C:\..\ip.txt)", R"(C:\bt\..\..\x)", R"(C:\.\ip.txt)", ""})
        EXPECT_EQ(files.HostPath(path), "") << path;
}

TEST_F(DriveC, PreparesTheFoldersAboveAFileForThisUserOnly) {
    ASSERT_TRUE(files.PrepareFolders(R"(C:\bt\bt)"));
    struct stat info {};
    ASSERT_EQ(::stat((drive + "/bt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    ASSERT_EQ(::stat(drive.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_FALSE(std::filesystem::exists(drive + "/bt/bt"));
    EXPECT_TRUE(files.PrepareFolders(R"(C:\bt\btdog)"));  // already there
    EXPECT_FALSE(files.PrepareFolders(R"(C:\..\x)"));
    temp.Write("data/ostrel-ferrow-utility/drive_c/file", "");
    EXPECT_FALSE(files.PrepareFolders(R"(C:\file\x)"));  // a file stands where the folder should be
}

}  // namespace
}  // namespace ofu::testing
