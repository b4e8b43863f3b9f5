// The file calls on a folder of their own under the temporary folder on drive C.
#include "platform/windows/crt_file_system.h"
#include "platform/windows/windows_local_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace ofu::platform {
namespace {

using Bytes = std::vector<std::uint8_t>;

class CrtFileSystemTest : public testing::Test {
protected:
    void SetUp() override {
        folder_ = (std::filesystem::temp_directory_path() /
                   ("ofu-fs-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name())))
                      .string();
        ASSERT_EQ(folder_.substr(0, 3), "C:\\");
        std::filesystem::remove_all(folder_);
        ASSERT_TRUE(disk_.MakeDirectory(folder_));
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string At(const std::string& name) const { return folder_ + "\\" + name; }
    bool Write(const std::string& path, const Bytes& bytes) {
        const auto file = disk_.OpenForWriting(path);
        return file && file->Write(bytes) && file->Close();
    }

    std::string folder_;
    CrtFileSystem disk_;
};

TEST_F(CrtFileSystemTest, WritesAFileThatReadsBackWithItsSize) {
    const Bytes bytes{0x01, 0x00, 0xB6, 0x03, 0, 0, 0, 0};
    ASSERT_TRUE(Write(At("codepage.950"), bytes));
    EXPECT_EQ(disk_.FileSize(At("codepage.950")), 8u);
    EXPECT_EQ(disk_.ReadFile(At("codepage.950"), 100), bytes);
    EXPECT_EQ(disk_.ReadFile(At("codepage.950"), 3), Bytes(bytes.begin(), bytes.begin() + 3));
    ASSERT_TRUE(Write(At("codepage.950"), {0x42}));
    EXPECT_EQ(disk_.FileSize(At("codepage.950")), 1u);
    // Nothing to size or read in a folder or a missing file, and no file in a missing folder.
    EXPECT_EQ(disk_.FileSize(folder_), std::nullopt);
    EXPECT_EQ(disk_.ReadFile(At("missing"), 10), std::nullopt);
    EXPECT_EQ(disk_.OpenForWriting(At("missing\\file")), nullptr);
    EXPECT_EQ(disk_.OpenForWriting(At(std::string("bt\0x", 4))), nullptr);
}

TEST_F(CrtFileSystemTest, CopiesOnlyWhenTheTargetMayBeReplaced) {
    ASSERT_TRUE(Write(At("bt"), {1, 2, 3}));
    EXPECT_TRUE(disk_.CopyFile(At("bt"), At("copy"), true));
    ASSERT_TRUE(Write(At("bt"), {4, 5}));
    EXPECT_FALSE(disk_.CopyFile(At("bt"), At("copy"), true));
    EXPECT_EQ(disk_.ReadFile(At("copy"), 10), (Bytes{1, 2, 3}));
    EXPECT_TRUE(disk_.CopyFile(At("bt"), At("copy"), false));
    EXPECT_EQ(disk_.ReadFile(At("copy"), 10), (Bytes{4, 5}));
    EXPECT_FALSE(disk_.CopyFile(At("missing"), At("other"), false));
    EXPECT_FALSE(disk_.PathExists(At("other")));
}

TEST_F(CrtFileSystemTest, NeverCopiesAFileOntoItself) {
    ASSERT_TRUE(Write(At("bt"), {1, 2, 3}));
    for (const std::string& self : {At("bt"), At("BT"), folder_ + "\\.\\bt"})
        EXPECT_FALSE(disk_.CopyFile(At("bt"), self, false)) << self;
    EXPECT_EQ(disk_.ReadFile(At("bt"), 10), (Bytes{1, 2, 3}));
}

TEST_F(CrtFileSystemTest, MakesAndRemovesOnlyWhatTheFolderRulesAllow) {
    EXPECT_TRUE(disk_.MakeDirectory(At("bt")));
    EXPECT_TRUE(disk_.PathExists(At("bt")));
    EXPECT_FALSE(disk_.MakeDirectory(At("bt")));
    ASSERT_TRUE(Write(At("bt\\bt"), {1}));
    EXPECT_FALSE(disk_.RemoveDirectory(At("bt")));
    EXPECT_FALSE(disk_.Remove(At("bt")));
    EXPECT_TRUE(disk_.Remove(At("bt\\bt")));
    EXPECT_FALSE(disk_.Remove(At("bt\\bt")));
    EXPECT_TRUE(disk_.RemoveDirectory(At("bt")));
    EXPECT_FALSE(disk_.RemoveDirectory(At("bt")));
}

TEST_F(CrtFileSystemTest, PreparesTheFoldersAboveAFileOnDriveC) {
    WindowsLocalFiles files;
    ASSERT_TRUE(files.PrepareFolders(At("a\\b\\ip.txt")));
    EXPECT_TRUE(disk_.PathExists(At("a\\b")));
    EXPECT_FALSE(disk_.PathExists(At("a\\b\\ip.txt")));
    EXPECT_TRUE(files.PrepareFolders(At("a\\b\\ip.txt")));
    ASSERT_TRUE(Write(At("a\\file"), {1}));
    EXPECT_FALSE(files.PrepareFolders(At("a\\file\\ip.txt")));
}

TEST(WindowsLocalFiles, UseAPathAsItIsOnlyWhenItNamesAPlaceOnDriveC) {
    WindowsLocalFiles files;
    for (const char* path : {"C:\\bt\\bt", "c:/ip.txt"}) EXPECT_EQ(files.HostPath(path), path);
    for (const char* path :
         {"D:\\ip.txt", "bt\\bt", "C:\\", "C:\\bt\\..\\ip.txt", "C:\\bt\\\\bt", "\\\\10.77.1.10\\HDD_a\\x"})
        EXPECT_EQ(files.HostPath(path), "") << path;
}

}  // namespace
}  // namespace ofu::platform
