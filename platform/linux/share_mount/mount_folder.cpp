#include "platform/linux/share_mount/mount_folder.h"

#include <dirent.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

extern char** environ;

namespace ofu::share_mount {
namespace {

using platform::NetStatus;

bool IsEmptyFolder(const std::string& folder) {
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr) return false;
    bool empty = true;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name(entry->d_name);
        if (name != "." && name != "..") {
            empty = false;
            break;
        }
    }
    ::closedir(listing);
    return empty;
}

// A lazy unmount of a dead FUSE mount: directly where this process may (root), else through
// the system's setuid helper, started from an argument vector.
void UnmountDead(const std::string& folder) {
    if (::umount2(folder.c_str(), MNT_DETACH) == 0) return;
    const char* argv[] = {"fusermount3", "-u", "-z", "-q", "--", folder.c_str(), nullptr};
    pid_t pid = -1;
    if (::posix_spawnp(&pid, "fusermount3", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0) return;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace

NetStatus PrepareMountFolder(const std::string& folder) {
    std::error_code error;
    const std::filesystem::path parent = std::filesystem::path(folder).parent_path();
    std::filesystem::create_directories(parent, error);
    struct stat status {};
    if (::lstat(folder.c_str(), &status) != 0 && errno == ENOTCONN) UnmountDead(folder);
    if (::lstat(folder.c_str(), &status) != 0) {
        if (errno != ENOENT) return NetStatus::Failed;
        return ::mkdir(folder.c_str(), 0700) == 0 ? NetStatus::Ok : NetStatus::Failed;
    }
    if (!S_ISDIR(status.st_mode) || !IsEmptyFolder(folder)) return NetStatus::AlreadyAssigned;
    return NetStatus::Ok;
}

void RemoveMountFolder(const std::string& folder) {
    if (!IsEmptyFolder(folder) || ::rmdir(folder.c_str()) != 0) return;
    // The folder of the mounts goes with the last of them.
    const std::string parent = std::filesystem::path(folder).parent_path();
    if (IsEmptyFolder(parent)) ::rmdir(parent.c_str());
}

std::string EscapedOption(const std::string& option) {
    std::string escaped;
    for (const char c : option) {
        if (c == ',' || c == '\\') escaped += '\\';
        escaped += c;
    }
    return escaped;
}

std::string MountSource(const std::string& remoteName) {
    std::string source = remoteName;
    for (char& c : source)
        if (c == '\\') c = '/';
    return source;
}

}  // namespace ofu::share_mount
