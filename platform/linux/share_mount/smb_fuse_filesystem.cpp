#include "platform/linux/share_mount/smb_fuse_filesystem.h"

#include <fcntl.h>
#include <libsmbclient.h>
#include <sys/statvfs.h>
#include <sys/time.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

namespace ofu::share_mount {
namespace {

// Reads and writes go to the server in slices of this size: each is one request, and the
// library's time-out covers one request, so a slow link still passes (the same slicing the
// utility's own file calls use).
constexpr std::size_t kSliceBytes = 256 * 1024;

ServedShare& Served() { return *static_cast<ServedShare*>(fuse_get_context()->private_data); }

SMBCCTX* Context() { return Served().context; }

// The negative errno of the library call that just failed (EIO when it set none).
int Failure() { return errno != 0 ? -errno : -EIO; }

SMBCFILE* FileOf(const fuse_file_info* info) {
    return info != nullptr ? reinterpret_cast<SMBCFILE*>(static_cast<std::uintptr_t>(info->fh)) : nullptr;
}

// By the open file where there is one, else (and when the server refuses it: a handle opened
// only for writing may not read its file's attributes) by the name.
int GetAttributes(const char* path, struct stat* status, fuse_file_info* info) {
    errno = 0;
    if (SMBCFILE* file = FileOf(info); file != nullptr && smbc_getFunctionFstat(Context())(Context(), file, status) == 0)
        return 0;
    errno = 0;
    return smbc_getFunctionStat(Context())(Context(), UrlOf(Served().root, path).c_str(), status) == 0 ? 0 : Failure();
}

int ReadFolder(const char* path, void* buffer, fuse_fill_dir_t fill, off_t, fuse_file_info*, fuse_readdir_flags) {
    errno = 0;
    SMBCFILE* folder = smbc_getFunctionOpendir(Context())(Context(), UrlOf(Served().root, path).c_str());
    if (folder == nullptr) return Failure();
    const smbc_readdir_fn next = smbc_getFunctionReaddir(Context());
    for (const smbc_dirent* entry = next(Context(), folder); entry != nullptr; entry = next(Context(), folder)) {
        if (entry->smbc_type != SMBC_DIR && entry->smbc_type != SMBC_FILE && entry->smbc_type != SMBC_LINK) continue;
        if (fill(buffer, entry->name, nullptr, 0, static_cast<fuse_fill_dir_flags>(0)) != 0) break;
    }
    smbc_getFunctionClosedir(Context())(Context(), folder);
    return 0;
}

// Opens with the caller's access mode, creation and truncation; the kernel's other flags
// (O_LARGEFILE, O_CLOEXEC, O_NOFOLLOW...) mean nothing to the server, and O_APPEND is left out
// since every write comes with its offset (the end of the file for an appending writer).
int OpenWith(const char* path, int flags, mode_t mode, fuse_file_info* info) {
    errno = 0;
    SMBCFILE* file = smbc_getFunctionOpen(Context())(Context(), UrlOf(Served().root, path).c_str(),
                                                      flags & (O_ACCMODE | O_CREAT | O_EXCL | O_TRUNC), mode);
    if (file == nullptr) return Failure();
    info->fh = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(file));
    return 0;
}

int Open(const char* path, fuse_file_info* info) { return OpenWith(path, info->flags, 0, info); }

int Create(const char* path, mode_t mode, fuse_file_info* info) {
    return OpenWith(path, info->flags | O_CREAT, mode, info);
}

int Read(const char*, char* buffer, std::size_t size, off_t offset, fuse_file_info* info) {
    SMBCFILE* file = FileOf(info);
    errno = 0;
    if (smbc_getFunctionLseek(Context())(Context(), file, offset, SEEK_SET) < 0) return Failure();
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got =
            smbc_getFunctionRead(Context())(Context(), file, buffer + done, std::min(size - done, kSliceBytes));
        if (got < 0) return done > 0 ? static_cast<int>(done) : Failure();
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    return static_cast<int>(done);
}

int Write(const char*, const char* buffer, std::size_t size, off_t offset, fuse_file_info* info) {
    SMBCFILE* file = FileOf(info);
    errno = 0;
    if (smbc_getFunctionLseek(Context())(Context(), file, offset, SEEK_SET) < 0) return Failure();
    std::size_t done = 0;
    while (done < size) {
        const ssize_t written =
            smbc_getFunctionWrite(Context())(Context(), file, buffer + done, std::min(size - done, kSliceBytes));
        if (written <= 0) return done > 0 ? static_cast<int>(done) : Failure();
        done += static_cast<std::size_t>(written);
    }
    return static_cast<int>(done);
}

int Release(const char*, fuse_file_info* info) {
    errno = 0;
    return smbc_getFunctionClose(Context())(Context(), FileOf(info)) == 0 ? 0 : Failure();
}

int Truncate(const char* path, off_t size, fuse_file_info* info) {
    errno = 0;
    if (SMBCFILE* open = FileOf(info); open != nullptr)
        return smbc_getFunctionFtruncate(Context())(Context(), open, size) == 0 ? 0 : Failure();
    SMBCFILE* file = smbc_getFunctionOpen(Context())(Context(), UrlOf(Served().root, path).c_str(), O_WRONLY, 0);
    if (file == nullptr) return Failure();
    const int result = smbc_getFunctionFtruncate(Context())(Context(), file, size) == 0 ? 0 : Failure();
    smbc_getFunctionClose(Context())(Context(), file);
    return result;
}

int Unlink(const char* path) {
    errno = 0;
    return smbc_getFunctionUnlink(Context())(Context(), UrlOf(Served().root, path).c_str()) == 0 ? 0 : Failure();
}

int MakeFolder(const char* path, mode_t mode) {
    errno = 0;
    return smbc_getFunctionMkdir(Context())(Context(), UrlOf(Served().root, path).c_str(), mode) == 0 ? 0 : Failure();
}

int RemoveFolder(const char* path) {
    errno = 0;
    return smbc_getFunctionRmdir(Context())(Context(), UrlOf(Served().root, path).c_str()) == 0 ? 0 : Failure();
}

int Rename(const char* from, const char* to, unsigned int flags) {
    const std::string target = UrlOf(Served().root, to);
    if ((flags & RENAME_EXCHANGE) != 0) return -EINVAL;  // SMB cannot swap two names
    if ((flags & RENAME_NOREPLACE) != 0) {
        struct stat status {};
        if (smbc_getFunctionStat(Context())(Context(), target.c_str(), &status) == 0) return -EEXIST;
    }
    errno = 0;
    return smbc_getFunctionRename(Context())(Context(), UrlOf(Served().root, from).c_str(), Context(), target.c_str()) == 0
               ? 0
               : Failure();
}

int SetTimes(const char* path, const timespec times[2], fuse_file_info*) {
    const std::string url = UrlOf(Served().root, path);
    struct stat status {};
    const bool omitted = times != nullptr && (times[0].tv_nsec == UTIME_OMIT || times[1].tv_nsec == UTIME_OMIT);
    if (omitted && smbc_getFunctionStat(Context())(Context(), url.c_str(), &status) != 0) return Failure();
    timeval now{};
    ::gettimeofday(&now, nullptr);
    timeval values[2];
    for (int k = 0; k < 2; ++k) {
        if (times == nullptr || times[k].tv_nsec == UTIME_NOW) {
            values[k] = now;
        } else if (times[k].tv_nsec == UTIME_OMIT) {
            values[k] = {k == 0 ? status.st_atime : status.st_mtime, 0};
        } else {
            values[k] = {times[k].tv_sec, times[k].tv_nsec / 1000};
        }
    }
    errno = 0;
    return smbc_getFunctionUtimes(Context())(Context(), url.c_str(), values) == 0 ? 0 : Failure();
}

// SMB keeps no Unix owner or permission bits: accepted and left as the server shows them,
// so that copying tools that set them do not fail.
int ChangeMode(const char*, mode_t, fuse_file_info*) { return 0; }
int ChangeOwner(const char*, uid_t, gid_t, fuse_file_info*) { return 0; }

int FileSystemStatus(const char* path, struct statvfs* status) {
    std::string url = UrlOf(Served().root, path);
    errno = 0;
    return smbc_getFunctionStatVFS(Context())(Context(), url.data(), status) == 0 ? 0 : Failure();
}

void* Initialise(fuse_conn_info*, fuse_config* config) {
    // Another program may change the share at any time: names and attributes are kept for a
    // second only, file contents are read again at every open.
    config->entry_timeout = 1;
    config->attr_timeout = 1;
    config->negative_timeout = 0;
    config->kernel_cache = 0;
    return fuse_get_context()->private_data;
}

fuse_operations MakeOperations() {
    fuse_operations operations{};
    operations.init = Initialise;
    operations.getattr = GetAttributes;
    operations.readdir = ReadFolder;
    operations.open = Open;
    operations.create = Create;
    operations.read = Read;
    operations.write = Write;
    operations.release = Release;
    operations.truncate = Truncate;
    operations.unlink = Unlink;
    operations.mkdir = MakeFolder;
    operations.rmdir = RemoveFolder;
    operations.rename = Rename;
    operations.utimens = SetTimes;
    operations.chmod = ChangeMode;
    operations.chown = ChangeOwner;
    operations.statfs = FileSystemStatus;
    return operations;
}

}  // namespace

std::string UrlOf(const platform::linux_drives::RemoteName& root, const char* path) {
    platform::linux_drives::RemoteName name = root;
    std::string_view rest(path);
    while (!rest.empty()) {
        const std::size_t slash = rest.find('/');
        if (slash != 0) name.folders.emplace_back(rest.substr(0, slash));
        if (slash == std::string_view::npos) break;
        rest.remove_prefix(slash + 1);
    }
    return platform::linux_drives::SmbUrl(name, true);
}

const fuse_operations& SmbFuseOperations() {
    static const fuse_operations operations = MakeOperations();
    return operations;
}

}  // namespace ofu::share_mount
