// The file calls on UNC paths against the lab's smbd (lab-files.json), run in the lab's
// workstation namespace: OFU_FILES_SERVER is the device address (guest share HDD_a, password
// share HDD_p for filuser/secret1), OFU_FILES_OLD_SERVER the address of a device whose file
// server speaks only SMB1 (guest share HDD_a), OFU_FILES_SILENT the address of a device that
// never answers TCP.
#include "platform/linux/drive_connection_store.h"
#include "platform/linux/linux_file_system.h"
#include "platform/linux/linux_local_files.h"
#include "platform/linux/offered_credentials.h"
#include "tests/platform/desktop/desktop_test_support.h"

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

extern char** environ;

namespace ofu::platform {
namespace {

using Clock = std::chrono::steady_clock;

// The largest payload the add-on installation writes.
constexpr std::size_t kLargestPayload = 6'940'408;

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

long long MillisSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

void Report(const std::string& what, long long value, const char* unit) {
    std::printf("[ measured ] %s: %lld %s\n", what.c_str(), value, unit);
}

// A field of /proc/self/status in kB ("VmRSS", "VmHWM").
long long StatusKb(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field + ":", 0) == 0) return std::stoll(line.substr(field.size() + 1));
    return -1;
}

// Pseudo-random bytes in pages that are read-only once filled, as a payload in the program's
// own image is.
class ReadOnlyPayload {
public:
    explicit ReadOnlyPayload(std::size_t size) : size_(size) {
        void* pages = ::mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (pages == MAP_FAILED) return;
        data_ = static_cast<std::uint8_t*>(pages);
        std::mt19937 random(42);
        for (std::size_t i = 0; i < size_; ++i) data_[i] = static_cast<std::uint8_t>(random());
        ::mprotect(pages, size_, PROT_READ);
    }
    ~ReadOnlyPayload() {
        if (data_ != nullptr) ::munmap(data_, size_);
    }
    std::span<const std::uint8_t> bytes() const { return {data_, data_ != nullptr ? size_ : 0}; }

private:
    std::size_t size_;
    std::uint8_t* data_ = nullptr;
};

class LabFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(server_.empty()) << "run through the lab (ctest -R lab.platform_files)";
        env_.Set("XDG_DATA_HOME", temp_.path.string() + "/data");
        linux_drives::ForgetOfferedCredentials();
    }

    std::string Unc(const std::string& rest) const { return "\\\\" + server_ + "\\" + rest; }
    NetStatus Offer(const std::string& remote, const std::string& password, const std::string& user) {
        return store_.AddConnection({"", remote}, password, user, 0);
    }
    bool Write(const std::string& path, std::span<const std::uint8_t> bytes) {
        const auto file = disk_.OpenForWriting(path);
        return file && file->Write(bytes) && file->Close();
    }
    bool Write(const std::string& path, const std::string& text) {
        return Write(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    }
    std::string Read(const std::string& path) {
        const auto bytes = disk_.ReadFile(path, 1 << 20);
        return bytes ? std::string(bytes->begin(), bytes->end()) : "<unreadable>";
    }

    const std::string server_ = Env("OFU_FILES_SERVER");
    testing::TempFolder temp_;
    testing::ScopedEnvironment env_;
    linux_drives::DriveConnectionStore store_{temp_.path / "state" / "drive-connections"};
    LinuxLocalFiles driveC_;
    LinuxFileSystem disk_{driveC_};
};

TEST_F(LabFiles, TheDevicelessOfferTakesTheGuestShareAndThePasswordShareOnlyWithItsPassword) {
    EXPECT_EQ(Offer(Unc("HDD_a\\.codepages\\codepage.950"), "", ""), NetStatus::Ok);
    EXPECT_EQ(Offer(Unc("HDD_p\\offered.txt"), "wrong", "filuser"), NetStatus::AccessDenied);
    EXPECT_EQ(Offer(Unc("HDD_p\\offered.txt"), "", ""), NetStatus::AccessDenied);
    EXPECT_EQ(Offer(Unc("NoSuch\\x"), "", ""), NetStatus::BadNetName);
    EXPECT_EQ(Offer("\\\\10.77.1.2\\HDD_a\\x", "", ""), NetStatus::BadNetPath) << "a host without SMB";
    EXPECT_FALSE(disk_.OpenForWriting(Unc("HDD_p\\offered.txt"))) << "a refused offer must not open the share";

    ASSERT_EQ(Offer("\\\\" + server_ + "/hdd_P/offered.txt", "secret1", "filuser"), NetStatus::Ok);
    EXPECT_TRUE(Write(Unc("HDD_p\\offered.txt"), "with the offered password"));
    EXPECT_EQ(Read(Unc("HDD_p\\offered.txt")), "with the offered password");
    EXPECT_TRUE(disk_.Remove(Unc("HDD_p\\offered.txt")));
    EXPECT_FALSE(std::filesystem::exists(store_.path())) << "an offer records no letter";
}

TEST_F(LabFiles, APasswordShareWithoutOfferedCredentialsRefusesTheWrite) {
    EXPECT_FALSE(disk_.OpenForWriting(Unc("HDD_p\\guest.txt")));
    EXPECT_FALSE(disk_.PathExists(Unc("HDD_p\\README.txt")));
    EXPECT_TRUE(disk_.PathExists(Unc("HDD_a\\README.txt")));
}

TEST_F(LabFiles, TheLargestPayloadLandsByteExactAndAnOlderLongerFileIsTruncated) {
    const ReadOnlyPayload payload(kLargestPayload);
    ASSERT_EQ(payload.bytes().size(), kLargestPayload);
    const std::string path = Unc("HDD_a\\bt");
    ASSERT_TRUE(Write(path, std::string(kLargestPayload + 5000, 'x')));

    std::ofstream("/proc/self/clear_refs") << "5";  // the peak below is this write's
    const long long rssBefore = StatusKb("VmRSS");
    auto start = Clock::now();
    ASSERT_TRUE(Write(path, payload.bytes()));
    Report("6.9 MB write through the file layer (open, write, close)", MillisSince(start), "ms");
    Report("resident memory peak above the start of the write", StatusKb("VmHWM") - rssBefore, "kB");

    EXPECT_EQ(disk_.FileSize(path), kLargestPayload);
    const auto back = disk_.ReadFile(path, kLargestPayload + 1);
    ASSERT_TRUE(back);
    EXPECT_TRUE(std::equal(back->begin(), back->end(), payload.bytes().begin(), payload.bytes().end()));

    // The same payload to a file server of the devices' own age (SMB1 only), in the same run.
    const std::string old = "\\\\" + Env("OFU_FILES_OLD_SERVER") + "\\HDD_a\\bt";
    start = Clock::now();
    ASSERT_TRUE(Write(old, payload.bytes()));
    Report("the same write to an SMB1-only server", MillisSince(start), "ms");
    EXPECT_EQ(disk_.FileSize(old), kLargestPayload);
    EXPECT_TRUE(disk_.Remove(old));

    // The same file through the command-line client, for comparison.
    const std::string local = (temp_.path / "payload").string();
    std::ofstream(local, std::ios::binary)
        .write(reinterpret_cast<const char*>(payload.bytes().data()), static_cast<std::streamsize>(kLargestPayload));
    const std::string share = "//" + server_ + "/HDD_a";
    const std::string command = "put " + local + " bt-smbclient";
    const char* argv[] = {"smbclient", share.c_str(), "-N", "-c", command.c_str(), nullptr};
    pid_t child = 0;
    const auto spawned = Clock::now();
    if (::posix_spawnp(&child, "smbclient", nullptr, nullptr, const_cast<char**>(argv), environ) == 0) {
        int status = 0;
        ::waitpid(child, &status, 0);
        if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
            Report("the same file with smbclient -N -c put (whole program run)", MillisSince(spawned), "ms");
        EXPECT_EQ(disk_.FileSize(Unc("HDD_a\\bt-smbclient")), kLargestPayload);
        disk_.Remove(Unc("HDD_a\\bt-smbclient"));
    }
    EXPECT_TRUE(disk_.Remove(path));
}

TEST_F(LabFiles, FoldersAndFilesOnAShareExistRemoveAndSizeAsOnWindows) {
    const std::string folder = Unc("HDD_a\\files test");
    const std::string file = folder + "\\codepage.950";
    EXPECT_TRUE(disk_.MakeDirectory(folder + "\\"));
    EXPECT_FALSE(disk_.MakeDirectory(folder));
    ASSERT_TRUE(Write(file, std::string("\x01\x00\xb6\x03\x00\x00\x00\x00", 8)));

    EXPECT_TRUE(disk_.PathExists(folder));
    EXPECT_TRUE(disk_.PathExists(file));
    EXPECT_TRUE(disk_.PathExists(Unc("HDD_a")));
    EXPECT_FALSE(disk_.PathExists(Unc("NoSuch")));
    EXPECT_EQ(disk_.FileSize(file), 8u);
    EXPECT_EQ(disk_.FileSize(folder), std::nullopt);
    EXPECT_EQ(Read(file), std::string("\x01\x00\xb6\x03\x00\x00\x00\x00", 8));

    EXPECT_FALSE(disk_.Remove(folder)) << "remove takes files only";
    EXPECT_TRUE(disk_.MakeDirectory(folder + "\\empty"));
    EXPECT_FALSE(disk_.Remove(folder + "\\empty"));
    EXPECT_TRUE(disk_.RemoveDirectory(folder + "\\empty"));
    EXPECT_FALSE(disk_.RemoveDirectory(file)) << "rmdir takes folders only";
    EXPECT_FALSE(disk_.RemoveDirectory(folder)) << "the folder is not empty";
    EXPECT_TRUE(disk_.Remove(file));
    EXPECT_FALSE(disk_.Remove(file));
    EXPECT_FALSE(disk_.PathExists(file));
    EXPECT_EQ(disk_.FileSize(file), std::nullopt);
    EXPECT_TRUE(disk_.RemoveDirectory(folder));
    EXPECT_FALSE(disk_.PathExists(folder));
}

TEST_F(LabFiles, CopyFileToAShareKeepsAnExistingTargetOnlyWhenToldToFail) {
    ASSERT_TRUE(disk_.MakeDirectory("C:\\bt\\"));
    ASSERT_TRUE(Write("C:\\bt\\bt", "the new program"));
    const std::string target = Unc("HDD_a\\bt");
    disk_.Remove(target);

    EXPECT_TRUE(disk_.CopyFile("C:\\bt\\bt", target, true));
    EXPECT_EQ(Read(target), "the new program");
    ASSERT_TRUE(Write(target, "an old program, longer"));
    EXPECT_FALSE(disk_.CopyFile("C:\\bt\\bt", target, true));
    EXPECT_EQ(Read(target), "an old program, longer");
    EXPECT_TRUE(disk_.CopyFile("C:\\bt\\bt", target, false));
    EXPECT_EQ(Read(target), "the new program");

    EXPECT_TRUE(disk_.CopyFile(target, "C:\\bt\\back", true));
    EXPECT_EQ(Read("C:\\bt\\back"), "the new program");
    EXPECT_FALSE(disk_.CopyFile(target, Unc("hdd_a/BT"), false)) << "a file copied onto itself";
    EXPECT_EQ(Read(target), "the new program");
    EXPECT_TRUE(disk_.Remove(target));
}

TEST_F(LabFiles, AMissingRemoteFolderFailsTheOpenAndTheCopyAndLeavesNothing) {
    ASSERT_TRUE(Write("C:\\bt", "payload"));
    EXPECT_FALSE(disk_.OpenForWriting(Unc("HDD_a\\nosuch\\codepage.950")));
    EXPECT_FALSE(disk_.CopyFile("C:\\bt", Unc("HDD_a\\nosuch\\bt"), true));
    EXPECT_FALSE(disk_.PathExists(Unc("HDD_a\\nosuch")));
}

TEST_F(LabFiles, ASilentDeviceFailsEveryCallWithinAboutTwoSeconds) {
    const std::string silent = "\\\\" + Env("OFU_FILES_SILENT") + "\\HDD_a\\";
    ASSERT_TRUE(Write("C:\\bt", "payload"));
    const auto timed = [](const char* what, const auto& call) {
        const auto start = Clock::now();
        EXPECT_FALSE(call()) << what;
        const long long millis = MillisSince(start);
        Report(std::string("silent device: ") + what, millis, "ms");
        EXPECT_LT(millis, 2200) << what;
    };
    timed("deviceless offer", [&] { return Offer(silent + "codepage.950", "", "") == NetStatus::Ok; });
    timed("OpenForWriting", [&] { return disk_.OpenForWriting(silent + "codepage.950") != nullptr; });
    timed("PathExists", [&] { return disk_.PathExists(silent + "codepage.950"); });
    timed("CopyFile", [&] { return disk_.CopyFile("C:\\bt", silent + "bt", true); });
    timed("MakeDirectory", [&] { return disk_.MakeDirectory(silent + "x"); });
}

}  // namespace
}  // namespace ofu::platform
