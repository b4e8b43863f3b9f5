// The file that holds the per-user table of drive-letter connections. One line per connected
// letter: the drive ("Z:"), a tab, and the remote name exactly as it was connected
// ("\\NAS1\HDD_a"); when the connection mounted the share, three more tab-separated fields
// say which mount is the letter's own: the serving process's ID, its start time and the
// mount's folder (last, as the only field that may hold blanks). Several programs of the same user may change it at once, so a change is
// a read-modify-write under an exclusive lock on a lock file beside the table
// ("drive-connections.lock"), and every write replaces the file whole through a uniquely
// named temporary file in the same folder: a reader never sees half a table, and no writer
// loses another's entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

namespace ofu::platform::linux_drives {

// The mount that a letter's connection made: its folder and the process that serves it,
// known by its ID and its start time (in clock ticks after boot), so that a later process
// that happens to get the same ID is never taken for it.
struct ShareMount {
    std::string folder;  // an absolute path; empty when nothing was mounted
    int pid = 0;
    std::uint64_t startTime = 0;

    bool empty() const { return folder.empty(); }
    bool operator==(const ShareMount&) const = default;
};

struct DriveConnection {
    std::string remoteName;
    ShareMount mount;

    DriveConnection() = default;
    // NOLINTNEXTLINE(google-explicit-constructor): a table is written as letters and names
    DriveConnection(std::string remote, ShareMount made = {}) : remoteName(std::move(remote)), mount(std::move(made)) {}
    DriveConnection(const char* remote) : remoteName(remote) {}  // NOLINT(google-explicit-constructor)
    bool operator==(const DriveConnection&) const = default;
};

// Letter ('A' to 'Z', never 'C') to its connection.
using ConnectionTable = std::map<char, DriveConnection>;

// Bytes of the table file that are read at most; a longer file is cut there.
inline constexpr std::size_t kMaxTableFileBytes = 1 << 20;

// Reads the table; a missing or unreadable file is an empty table. Lines that do not hold a
// drive letter, a tab and a valid remote name are skipped (the next write drops them), and so
// is a mount record that is not a process ID, a start time and an absolute folder (the
// letter then keeps its connection without one); of two lines for one letter the first counts.
ConnectionTable LoadTable(const std::filesystem::path& path);

// Writes the table whole: a temporary file in the table's folder, flushed to disk, then
// renamed over the table. False (and the old table kept) when any entry is not a drive
// letter with a valid remote name and, if any, a valid mount record, or the file cannot be
// written.
bool SaveTable(const std::filesystem::path& path, const ConnectionTable& table);

// The exclusive lock for one read-modify-write of a table, held from construction to
// destruction (flock on "<table>.lock", which is created when missing).
class DriveTableLock {
public:
    explicit DriveTableLock(const std::filesystem::path& tablePath);
    ~DriveTableLock();
    DriveTableLock(const DriveTableLock&) = delete;
    DriveTableLock& operator=(const DriveTableLock&) = delete;

    // False when the lock file could not be opened or locked.
    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

}  // namespace ofu::platform::linux_drives
