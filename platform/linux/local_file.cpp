#include "platform/linux/local_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace ofu::platform::linux_files {
namespace {

FileInfo InfoOf(const struct stat& status) {
    FileInfo info;
    info.regular = S_ISREG(status.st_mode);
    info.folder = S_ISDIR(status.st_mode);
    info.size = info.regular ? static_cast<std::uint64_t>(status.st_size) : 0;
    return info;
}

class LocalFile final : public OpenFile {
public:
    explicit LocalFile(int fd) : fd_(fd) {}
    ~LocalFile() override {
        if (fd_ >= 0) ::close(fd_);
    }
    LocalFile(const LocalFile&) = delete;
    LocalFile& operator=(const LocalFile&) = delete;

    bool Write(std::span<const std::uint8_t> bytes) override {
        while (fd_ >= 0 && !bytes.empty()) {
            const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) break;
            bytes = bytes.subspan(static_cast<std::size_t>(written));
        }
        if (!bytes.empty()) failed_ = true;
        return bytes.empty();
    }

    bool Close() override {
        if (fd_ < 0) return false;
        const int closed = ::close(fd_);
        fd_ = -1;
        // A write that was not all taken leaves a file that is not what the caller wrote.
        return closed == 0 && !failed_;
    }

    std::optional<std::size_t> Read(std::span<std::uint8_t> buffer) override {
        for (;;) {
            if (fd_ < 0) return std::nullopt;
            const ssize_t got = ::read(fd_, buffer.data(), buffer.size());
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) return std::nullopt;
            return static_cast<std::size_t>(got);
        }
    }

    std::optional<FileInfo> Info() override {
        struct stat status{};
        if (fd_ < 0 || ::fstat(fd_, &status) != 0) return std::nullopt;
        return InfoOf(status);
    }

private:
    int fd_;
    bool failed_ = false;
};

}  // namespace

std::unique_ptr<OpenFile> OpenLocalFile(const std::string& hostPath, OpenMode mode) {
    // O_NONBLOCK so that a pipe in the folder cannot block the open; it changes nothing for the
    // plain files that are all this takes.
    const int fd = ::open(hostPath.c_str(), OpenFlags(mode) | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) return nullptr;
    struct stat status{};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return std::make_unique<LocalFile>(fd);
}

std::optional<FileInfo> LocalFileInfo(const std::string& hostPath) {
    struct stat status{};
    if (::stat(hostPath.c_str(), &status) != 0) return std::nullopt;
    return InfoOf(status);
}

bool SameLocalFile(const std::string& a, const std::string& b) {
    struct stat first{};
    struct stat second{};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

}  // namespace ofu::platform::linux_files
