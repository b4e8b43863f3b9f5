#include "platform/linux/desktop_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace ofu::platform::desktop {
namespace {

class SystemFiles final : public DesktopFiles {
public:
    std::optional<std::string> ReadText(const std::string& path) const override {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        if (fd < 0) return std::nullopt;
        struct stat info {};
        std::optional<std::string> text;
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
            static_cast<unsigned long long>(info.st_size) <= kMaxSettingsFileBytes)
            text = ReadAll(fd);
        ::close(fd);
        return text;
    }

    bool IsFolder(const std::string& path) const override {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    }

    bool IsExecutableFile(const std::string& path) const override {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
    }

private:
    // Reads to the end, but never past the limit (the file may grow while it is read).
    static std::optional<std::string> ReadAll(int fd) {
        std::string text;
        char buffer[16384];
        while (true) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) return std::nullopt;
            if (got == 0) return text;
            if (text.size() + static_cast<std::size_t>(got) > kMaxSettingsFileBytes) return std::nullopt;
            text.append(buffer, static_cast<std::size_t>(got));
        }
    }
};

}  // namespace

const DesktopFiles& SystemDesktopFiles() {
    static const SystemFiles files;
    return files;
}

}  // namespace ofu::platform::desktop
