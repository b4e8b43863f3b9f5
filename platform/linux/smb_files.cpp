#include "platform/linux/smb_files.h"

#include "platform/linux/smb_context.h"
#include "platform/linux/smb_server_location.h"
#include "platform/linux/smb_share_check.h"

#include <fcntl.h>
#include <libsmbclient.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <mutex>

namespace ofu::platform::linux_files {
namespace {

using linux_drives::LockSmbLibrary;
using linux_drives::SmbContext;
using linux_drives::SmbServerLocation;

// Each library read or write of up to the server's largest size (8 MiB for Samba) is one
// request, and the library's 5 s time-out covers the whole request: a 6.9 MB payload in one
// request fails on any link slower than about 11 Mbit/s. Slices of 256 KiB pass within the
// time-out down to about 0.4 Mbit/s and cost nothing measurable on a LAN (a round trip each).
constexpr std::size_t kSliceBytes = 256 * 1024;

// The server of a call, found within about 2 s; empty when it does not answer.
std::optional<SmbServerLocation> Locate(const SmbTarget& target) { return linux_drives::LocateSmbServer(target.name.server); }

FileInfo InfoOf(const struct stat& status) {
    FileInfo info;
    info.regular = S_ISREG(status.st_mode);
    info.folder = S_ISDIR(status.st_mode);
    info.size = info.regular ? static_cast<std::uint64_t>(status.st_size) : 0;
    return info;
}

// A context for one call; null when the library cannot make one. Call with the lock held.
std::unique_ptr<SmbContext> NewContext(const SmbTarget& target, const SmbServerLocation& server) {
    auto context = std::make_unique<SmbContext>(target.credentials, server.port);
    if (context->get() == nullptr) return nullptr;
    return context;
}

// Every call into the library, the freeing of the context included, holds the lock; between
// the calls of an open file it is free for other threads.
class SmbFile final : public OpenFile {
public:
    SmbFile(std::unique_ptr<SmbContext> context, SMBCFILE* file) : context_(std::move(context)), file_(file) {}
    ~SmbFile() override {
        const std::unique_lock<std::mutex> lock = LockSmbLibrary();
        if (file_ != nullptr) smbc_getFunctionClose(context_->get())(context_->get(), file_);
        context_.reset();
    }
    SmbFile(const SmbFile&) = delete;
    SmbFile& operator=(const SmbFile&) = delete;

    // Sent straight from `bytes`, in slices of kSliceBytes (see there).
    bool Write(std::span<const std::uint8_t> bytes) override {
        const std::unique_lock<std::mutex> lock = LockSmbLibrary();
        const smbc_write_fn write = smbc_getFunctionWrite(context_->get());
        while (file_ != nullptr && !bytes.empty()) {
            const std::size_t slice = std::min(bytes.size(), kSliceBytes);
            const ssize_t written = write(context_->get(), file_, bytes.data(), slice);
            if (written <= 0) break;
            bytes = bytes.subspan(std::min(static_cast<std::size_t>(written), bytes.size()));
        }
        if (!bytes.empty()) failed_ = true;
        return bytes.empty();
    }

    bool Close() override {
        const std::unique_lock<std::mutex> lock = LockSmbLibrary();
        if (file_ == nullptr) return false;
        const int closed = smbc_getFunctionClose(context_->get())(context_->get(), file_);
        file_ = nullptr;
        return closed == 0 && !failed_;
    }

    std::optional<std::size_t> Read(std::span<std::uint8_t> buffer) override {
        const std::unique_lock<std::mutex> lock = LockSmbLibrary();
        if (file_ == nullptr) return std::nullopt;
        const std::size_t slice = std::min(buffer.size(), kSliceBytes);
        const ssize_t got = smbc_getFunctionRead(context_->get())(context_->get(), file_, buffer.data(), slice);
        if (got < 0) return std::nullopt;
        return std::min(static_cast<std::size_t>(got), slice);
    }

    std::optional<FileInfo> Info() override {
        const std::unique_lock<std::mutex> lock = LockSmbLibrary();
        struct stat status{};
        if (file_ == nullptr || smbc_getFunctionFstat(context_->get())(context_->get(), file_, &status) != 0)
            return std::nullopt;
        return InfoOf(status);
    }

private:
    std::unique_ptr<SmbContext> context_;
    SMBCFILE* file_;
    bool failed_ = false;
};

// Runs `call(context, url)` in a context of its own; false when the server does not answer or
// the call fails.
template <typename Call>
bool WithContext(const SmbTarget& target, Call call) {
    const std::optional<SmbServerLocation> server = Locate(target);
    if (!server) return false;
    const std::string url = linux_drives::SmbUrlAt(target.name, *server);
    const std::unique_lock<std::mutex> lock = LockSmbLibrary();
    const std::unique_ptr<SmbContext> context = NewContext(target, *server);
    return context && call(context->get(), url.c_str());
}

}  // namespace

std::unique_ptr<OpenFile> OpenSmbFile(const SmbTarget& target, OpenMode mode) {
    const std::optional<SmbServerLocation> server = Locate(target);
    if (!server) return nullptr;
    const std::string url = linux_drives::SmbUrlAt(target.name, *server);
    std::unique_ptr<OpenFile> opened;
    {
        std::unique_lock<std::mutex> lock = LockSmbLibrary();
        std::unique_ptr<SmbContext> context = NewContext(target, *server);
        if (!context) return nullptr;
        SMBCFILE* file = smbc_getFunctionOpen(context->get())(context->get(), url.c_str(), OpenFlags(mode), 0644);
        if (file == nullptr) return nullptr;
        lock.unlock();  // the file takes the lock again for each call, its end included
        opened = std::make_unique<SmbFile>(std::move(context), file);
    }
    // The server refuses a folder itself (EISDIR). A handle opened only for writing has no
    // right to read the file's attributes, so only one opened for reading is asked.
    if (mode == OpenMode::Read) {
        const std::optional<FileInfo> info = opened->Info();
        if (!info || !info->regular) return nullptr;
    }
    return opened;
}

std::optional<FileInfo> SmbFileInfo(const SmbTarget& target) {
    struct stat status{};
    const bool found = WithContext(target, [&](SMBCCTX* context, const char* url) {
        return smbc_getFunctionStat(context)(context, url, &status) == 0;
    });
    if (!found) return std::nullopt;
    return InfoOf(status);
}

bool RemoveSmbFile(const SmbTarget& target) {
    // The library's unlink reports success for a folder too (and may remove an empty one).
    return WithContext(target, [](SMBCCTX* context, const char* url) {
        struct stat status{};
        return smbc_getFunctionStat(context)(context, url, &status) == 0 && S_ISREG(status.st_mode) &&
               smbc_getFunctionUnlink(context)(context, url) == 0;
    });
}

bool MakeSmbFolder(const SmbTarget& target) {
    return WithContext(target, [](SMBCCTX* context, const char* url) {
        return smbc_getFunctionMkdir(context)(context, url, 0755) == 0;
    });
}

bool RemoveSmbFolder(const SmbTarget& target) {
    return WithContext(target, [](SMBCCTX* context, const char* url) {
        return smbc_getFunctionRmdir(context)(context, url) == 0;
    });
}

}  // namespace ofu::platform::linux_files
