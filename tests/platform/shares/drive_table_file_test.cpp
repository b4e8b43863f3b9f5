#include "platform/linux/drive_table_file.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace ofu::platform::linux_drives {
namespace {

class DriveTableFile : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/ofu-drive-table.XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
        path_ = dir_ / "state" / "drive-connections";
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string Content() const {
        std::ifstream in(path_, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void Write(const std::string& content) const {
        std::filesystem::create_directories(path_.parent_path());
        std::ofstream(path_, std::ios::binary) << content;
    }

    std::filesystem::path dir_;
    std::filesystem::path path_;
};

TEST_F(DriveTableFile, RoundTripsEntriesAsGivenAndRefusesOnesThatWouldBreakALine) {
    const ShareMount mount{"/home/u/Network drives/USB1 on NAS1 (X)", 4242, 123456};
    const ConnectionTable table{{'Z', "\\\\NAS1\\HDD_a"},
                                {'A', "\\\\nas2\\Volume_1\\Backup"},
                                {'X', DriveConnection("\\\\NAS1\\USB1", mount)}};
    ASSERT_TRUE(SaveTable(path_, table));
    EXPECT_EQ(LoadTable(path_), table);
    EXPECT_EQ(Content(), "A:\t\\\\nas2\\Volume_1\\Backup\n"
                         "X:\t\\\\NAS1\\USB1\t4242\t123456\t/home/u/Network drives/USB1 on NAS1 (X)\n"
                         "Z:\t\\\\NAS1\\HDD_a\n");

    EXPECT_FALSE(SaveTable(path_, {{'Y', "\\\\NAS1\\HDD_a\nB:\t\\\\EVIL\\x"}}));
    EXPECT_FALSE(SaveTable(path_, {{'Y', DriveConnection("\\\\NAS1\\HDD_a", {"/a\nB:\t\\\\EVIL\\x", 1, 1})}}));
    EXPECT_EQ(LoadTable(path_), table) << "a refused write must keep the old table";
    EXPECT_TRUE(LoadTable(dir_ / "missing").empty());
}

TEST_F(DriveTableFile, SkipsCorruptAndCutLinesAndTheNextWriteRepairsTheFile) {
    Write(std::string("junk without a tab\n") + "Q:\tnot a share\n" + "C:\t\\\\NAS1\\HDD_a\n" +
          "ZZ:\t\\\\NAS1\\HDD_a\n" + std::string("\0\x01\xff\t\n", 5) + "Y:\t\\\\NAS1\\HDD_a\n" +
          "Y:\t\\\\NAS9\\second\n" +
          // Mount records that are not a process, a start time and an absolute folder: the
          // letters keep their connections without them.
          "W:\t\\\\NAS1\\USB1\tpid\t1\t/m\n" + "V:\t\\\\NAS1\\USB1\t7\t8\trelative\n" +
          "U:\t\\\\NAS1\\USB1\t0\t8\t/m\n" + "X:\t\\\\NAS1\\HD");  // the last line was cut mid-write
    const ConnectionTable table = LoadTable(path_);
    EXPECT_EQ(table, (ConnectionTable{{'Y', "\\\\NAS1\\HDD_a"}, {'W', "\\\\NAS1\\USB1"}, {'V', "\\\\NAS1\\USB1"},
                                      {'U', "\\\\NAS1\\USB1"}}));

    ASSERT_TRUE(SaveTable(path_, table));
    EXPECT_EQ(Content(), "U:\t\\\\NAS1\\USB1\nV:\t\\\\NAS1\\USB1\nW:\t\\\\NAS1\\USB1\nY:\t\\\\NAS1\\HDD_a\n");
    for (const auto& entry : std::filesystem::directory_iterator(path_.parent_path())) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name == "drive-connections" || name == "drive-connections.lock") << "left behind: " << name;
    }
}

// Each process sets its own twelve letters over and over, each change a locked
// read-modify-write; whenever it reads the table, its own letters must hold what it last
// wrote there. A write that lost the other process's change would show up on its next read.
int ChangeOwnLetters(const std::filesystem::path& path, const std::string& letters, const std::string& tag) {
    ConnectionTable mine;
    for (int i = 0; i < 50; ++i) {
        const char letter = letters[static_cast<std::size_t>(i) % letters.size()];
        const DriveTableLock lock(path);
        if (!lock.held()) return 2;
        ConnectionTable table = LoadTable(path);
        for (const auto& [own, remote] : mine) {
            const auto it = table.find(own);
            if (it == table.end() || it->second != remote) return 3;
        }
        mine[letter] = table[letter] = "\\\\NAS1\\" + tag + std::to_string(i);
        if (!SaveTable(path, table)) return 4;
    }
    return 0;
}

TEST_F(DriveTableFile, TwoProcessesChangingTheTableAtOnceLoseNothing) {
    const std::string letters[2] = {"ABDEFGHIJKLM", "NOPQRSTUVWXY"};
    pid_t children[2];
    for (int child = 0; child < 2; ++child) {
        children[child] = ::fork();
        ASSERT_GE(children[child], 0);
        if (children[child] == 0) ::_exit(ChangeOwnLetters(path_, letters[child], child == 0 ? "first" : "second"));
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a process found its entries changed";
    }
    const ConnectionTable table = LoadTable(path_);
    ASSERT_EQ(table.size(), 24u);
    // The last round of each process: i = 38..49 over its twelve letters.
    EXPECT_EQ(table.at('A'), "\\\\NAS1\\first48");
    EXPECT_EQ(table.at('Y'), "\\\\NAS1\\second47");
}

}  // namespace
}  // namespace ofu::platform::linux_drives
