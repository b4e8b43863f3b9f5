// The file calls on drive C paths, in a drive C of the test's own (XDG_DATA_HOME).
#include "platform/linux/drive_connection_store.h"
#include "platform/linux/linux_file_system.h"
#include "platform/linux/linux_local_files.h"
#include "tests/platform/desktop/desktop_test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace ofu::platform {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

class DriveCFiles : public ::testing::Test {
protected:
    DriveCFiles() {
        env.Set("HOME", temp.path.string() + "/home");
        env.Set("XDG_DATA_HOME", temp.path.string() + "/data");
    }

    bool Write(const std::string& path, const std::string& text) {
        const auto file = disk.OpenForWriting(path);
        return file && file->Write(Bytes(text)) && file->Close();
    }
    std::string Read(const std::string& path) {
        const auto bytes = disk.ReadFile(path, 1 << 24);
        return bytes ? std::string(bytes->begin(), bytes->end()) : "<unreadable>";
    }

    testing::TempFolder temp;
    testing::ScopedEnvironment env;
    LinuxLocalFiles driveC;
    LinuxFileSystem disk{driveC};
    const std::string host = temp.path.string() + "/data/ostrel-ferrow-utility/drive_c";
};

TEST_F(DriveCFiles, AWriteCreatesTheFileInAFreshDriveCAndASecondOneTruncatesIt) {
    ASSERT_TRUE(Write("C:\\ip.txt", "10.77.1.10 and more"));
    EXPECT_EQ(Read("c:/ip.txt"), "10.77.1.10 and more");
    std::ifstream onDisk(host + "/ip.txt", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(onDisk), {}), "10.77.1.10 and more");

    ASSERT_TRUE(Write("C:\\ip.txt", "short"));
    EXPECT_EQ(Read("C:\\ip.txt"), "short");
    EXPECT_EQ(disk.FileSize("C:\\ip.txt"), 5u);
    EXPECT_EQ(disk.ReadFile("C:\\ip.txt", 3), Bytes("sho"));
    EXPECT_EQ(disk.ReadFile("C:\\ip.txt", 0), Bytes(""));
}

TEST_F(DriveCFiles, AClosedFileTakesNoMoreWritesAndAMissingFolderFailsTheOpen) {
    auto file = disk.OpenForWriting("C:\\ip.txt");
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->Close());
    EXPECT_FALSE(file->Write(Bytes("late")));
    EXPECT_FALSE(file->Close());
    EXPECT_EQ(disk.OpenForWriting("C:\\nosuch\\ip.txt"), nullptr);
    EXPECT_FALSE(disk.PathExists("C:\\nosuch"));
}

TEST_F(DriveCFiles, FolderCallsBehaveLikeMkdirAndRmdir) {
    EXPECT_TRUE(disk.MakeDirectory("C:\\bt\\"));
    EXPECT_FALSE(disk.MakeDirectory("C:\\bt")) << "an existing folder";
    EXPECT_FALSE(disk.MakeDirectory("C:\\a\\b")) << "the folder above is missing";
    EXPECT_FALSE(disk.MakeDirectory("C:\\"));
    EXPECT_TRUE(disk.PathExists("C:\\bt"));
    EXPECT_TRUE(disk.PathExists("C:\\bt\\"));
    EXPECT_TRUE(disk.PathExists("C:\\"));
    EXPECT_EQ(disk.FileSize("C:\\bt"), std::nullopt);
    EXPECT_EQ(disk.ReadFile("C:\\bt", 10), std::nullopt);
    EXPECT_FALSE(disk.Remove("C:\\bt")) << "remove takes files only";

    ASSERT_TRUE(Write("C:\\bt\\bt", "payload"));
    EXPECT_FALSE(disk.PathExists("C:\\bt\\bt\\")) << "a file is no folder";
    EXPECT_EQ(disk.OpenForWriting("C:\\bt\\"), nullptr);
    EXPECT_FALSE(disk.RemoveDirectory("C:\\bt\\bt")) << "rmdir takes folders only";
    EXPECT_FALSE(disk.RemoveDirectory("C:\\bt")) << "the folder is not empty";
    EXPECT_TRUE(disk.Remove("C:\\bt\\bt"));
    EXPECT_FALSE(disk.Remove("C:\\bt\\bt"));
    EXPECT_TRUE(disk.RemoveDirectory("C:\\bt\\"));
    EXPECT_FALSE(disk.RemoveDirectory("C:\\bt"));
    EXPECT_FALSE(disk.PathExists("C:\\bt"));
}

TEST_F(DriveCFiles, CopyFileKeepsAnExistingTargetWhenToldToFailAndOverwritesItOtherwise) {
    ASSERT_TRUE(disk.MakeDirectory("C:\\bt"));
    // More than one chunk of the copy, so that the loop is exercised.
    std::string big(3 * 1024 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>((i * 131) >> 3);
    ASSERT_TRUE(Write("C:\\bt\\bt", big));
    ASSERT_TRUE(Write("C:\\bt\\old", "old"));

    EXPECT_TRUE(disk.CopyFile("C:\\bt\\bt", "C:\\bt\\copy", true));
    EXPECT_TRUE(Read("C:\\bt\\copy") == big);
    EXPECT_FALSE(disk.CopyFile("C:\\bt\\bt", "C:\\bt\\old", true));
    EXPECT_EQ(Read("C:\\bt\\old"), "old");
    EXPECT_TRUE(disk.CopyFile("C:\\bt\\bt", "C:\\bt\\old", false));
    EXPECT_TRUE(Read("C:\\bt\\old") == big);
}

TEST_F(DriveCFiles, CopyFileLeavesTheTargetAloneWhenTheSourceIsMissingOrIsTheTargetItself) {
    ASSERT_TRUE(Write("C:\\keep", "keep"));
    EXPECT_FALSE(disk.CopyFile("C:\\missing", "C:\\keep", false));
    EXPECT_EQ(Read("C:\\keep"), "keep");
    EXPECT_FALSE(disk.CopyFile("C:\\keep", "c:/keep", false));
    EXPECT_EQ(Read("C:\\keep"), "keep");
    EXPECT_FALSE(disk.CopyFile("C:\\keep", "C:\\nosuch\\keep", false));
    EXPECT_FALSE(disk.CopyFile("C:\\keep", "D:\\keep", false));
}

TEST_F(DriveCFiles, PathsOutsideDriveCAndSharesFailWithoutTouchingAnything) {
    for (const char* path : {"D:\\ip.txt", "ip.txt", "\\ip.txt", "C:\\..\\ip.txt", "//NAS1/HDD_a/x", "C:"}) {
        EXPECT_EQ(disk.OpenForWriting(path), nullptr) << path;
        EXPECT_FALSE(disk.PathExists(path)) << path;
        EXPECT_FALSE(disk.MakeDirectory(path)) << path;
        EXPECT_FALSE(disk.Remove(path)) << path;
    }
    EXPECT_FALSE(std::filesystem::exists(temp.path / "ip.txt"));
}

TEST(DevicelessConnection, RefusesARemoteNameThatIsNoUncPathBeforeAnyNetworkCall) {
    testing::TempFolder temp;
    linux_drives::DriveConnectionStore store(temp.path / "drive-connections");
    for (const char* remote : {"C:\\bt\\bt", "\\\\NAS1", "\\\\NAS1\\HDD_a\\..\\x", ""})
        EXPECT_EQ(store.AddConnection({"", remote}, std::string(), std::string(), 0), NetStatus::InvalidParameter)
            << remote;
    EXPECT_FALSE(std::filesystem::exists(temp.path / "drive-connections"));
}

}  // namespace
}  // namespace ofu::platform
