#include "platform/linux/drive_table_file.h"

#include "platform/linux/remote_name.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string_view>
#include <system_error>

namespace ofu::platform::linux_drives {
namespace {

bool IsValidMount(const ShareMount& mount) {
    if (mount.empty()) return mount.pid == 0 && mount.startTime == 0;
    return mount.pid > 0 && mount.folder.front() == '/' &&
           std::none_of(mount.folder.begin(), mount.folder.end(), [](char c) { return c == '\n' || c == '\0'; });
}

bool IsValidEntry(char letter, const DriveConnection& connection) {
    return letter >= 'A' && letter <= 'Z' && letter != 'C' && ParseRemoteName(connection.remoteName).has_value() &&
           IsValidMount(connection.mount);
}

// A decimal number of at most 19 digits (no sign, no blanks); empty for anything else.
std::optional<std::uint64_t> NumberOf(std::string_view text) {
    if (text.empty() || text.size() > 19) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value;
}

// "PID<TAB>START<TAB>FOLDER"; an empty record for anything malformed.
ShareMount ParseMount(std::string_view fields) {
    const std::size_t first = fields.find('\t');
    const std::size_t second = first == std::string_view::npos ? first : fields.find('\t', first + 1);
    if (second == std::string_view::npos) return {};
    const auto pid = NumberOf(fields.substr(0, first));
    const auto start = NumberOf(fields.substr(first + 1, second - first - 1));
    ShareMount mount{std::string(fields.substr(second + 1)), pid ? static_cast<int>(*pid) : 0, start.value_or(0)};
    if (!pid || *pid > 0x7fffffff || !start || mount.empty() || !IsValidMount(mount)) return {};
    return mount;
}

std::string ReadBounded(const std::filesystem::path& path) {
    std::string content;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return content;
    char buffer[8192];
    while (content.size() < kMaxTableFileBytes) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        content.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    if (content.size() > kMaxTableFileBytes) content.resize(kMaxTableFileBytes);
    return content;
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Makes the rename itself durable: without this a crash right after it could bring the old
// table back.
void SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

ConnectionTable LoadTable(const std::filesystem::path& path) {
    ConnectionTable table;
    const std::string content = ReadBounded(path);
    std::string_view rest(content);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        // A last line without its line break is the sign of a cut file: its remote name may
        // be cut too, so it is not trusted.
        if (end == std::string_view::npos) break;
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) continue;
        const char letter = LocalNameLetterOf(line.substr(0, tab));
        const std::string_view fields = line.substr(tab + 1);
        const std::size_t mountTab = fields.find('\t');
        DriveConnection connection(std::string(fields.substr(0, mountTab)));
        if (mountTab != std::string_view::npos) connection.mount = ParseMount(fields.substr(mountTab + 1));
        if (!IsValidEntry(letter, connection)) continue;
        table.emplace(letter, std::move(connection));
    }
    return table;
}

bool SaveTable(const std::filesystem::path& path, const ConnectionTable& table) {
    std::string content;
    for (const auto& [letter, connection] : table) {
        if (!IsValidEntry(letter, connection)) return false;
        content += letter;
        content += ":\t";
        content += connection.remoteName;
        if (!connection.mount.empty()) {
            content += '\t' + std::to_string(connection.mount.pid) + '\t' + std::to_string(connection.mount.startTime);
            content += '\t' + connection.mount.folder;
        }
        content += '\n';
    }
    const std::filesystem::path folder = path.parent_path().empty() ? std::filesystem::path(".") : path.parent_path();
    std::error_code error;
    std::filesystem::create_directories(folder, error);

    std::string pattern = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) return false;
    const bool written = ::fchmod(fd, 0600) == 0 && WriteAll(fd, content) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(pattern.c_str(), path.c_str()) != 0) {
        ::unlink(pattern.c_str());
        return false;
    }
    SyncFolder(folder);
    return true;
}

DriveTableLock::DriveTableLock(const std::filesystem::path& tablePath) {
    std::error_code error;
    if (tablePath.has_parent_path()) std::filesystem::create_directories(tablePath.parent_path(), error);
    const std::string lockPath = tablePath.string() + ".lock";
    fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0) return;
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        ::close(fd_);
        fd_ = -1;
        return;
    }
}

DriveTableLock::~DriveTableLock() {
    if (fd_ >= 0) ::close(fd_);  // closing the only descriptor releases the lock
}

}  // namespace ofu::platform::linux_drives
