#include "platform/windows/crt_file_system.h"

#include "platform/windows/windows_api.h"
#include "platform/windows/zero_terminated.h"

#include <direct.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

namespace ofu::platform {
namespace {

using windows::ZeroTerminated;

constexpr std::size_t kReadChunkBytes = 64 * 1024;

class CrtWriteFile final : public WriteFile {
public:
    explicit CrtWriteFile(std::FILE* file) : file_(file) {}
    ~CrtWriteFile() override {
        if (file_ != nullptr) std::fclose(file_);
    }
    CrtWriteFile(const CrtWriteFile&) = delete;
    CrtWriteFile& operator=(const CrtWriteFile&) = delete;

    bool Write(std::span<const std::uint8_t> bytes) override {
        if (file_ == nullptr) return false;
        if (bytes.empty()) return true;
        return std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
    }
    bool Close() override {
        if (file_ == nullptr) return false;
        const bool closed = std::fclose(file_) == 0;
        file_ = nullptr;
        return closed;
    }

private:
    std::FILE* file_;
};

// Closes a file opened for reading when the read ends.
struct ReadHandle {
    std::FILE* file;
    ~ReadHandle() {
        if (file != nullptr) std::fclose(file);
    }
};

}  // namespace

std::unique_ptr<WriteFile> CrtFileSystem::OpenForWriting(std::string_view path) {
    const std::optional<std::string> name = ZeroTerminated(path);
    if (!name) return nullptr;
    std::FILE* file = std::fopen(name->c_str(), "wb");
    if (file == nullptr) return nullptr;
    return std::make_unique<CrtWriteFile>(file);
}

bool CrtFileSystem::Remove(std::string_view path) {
    const std::optional<std::string> name = ZeroTerminated(path);
    return name && std::remove(name->c_str()) == 0;
}

bool CrtFileSystem::CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
    const std::optional<std::string> source = ZeroTerminated(from);
    const std::optional<std::string> target = ZeroTerminated(to);
    if (!source || !target) return false;
    // A file is never copied onto itself: the open source keeps the target from being opened
    // for writing (ERROR_SHARING_VIOLATION), whatever name the target has.
    return ::CopyFileA(source->c_str(), target->c_str(), failIfExists ? TRUE : FALSE) != FALSE;
}

bool CrtFileSystem::PathExists(std::string_view path) {
    const std::optional<std::string> name = ZeroTerminated(path);
    return name && ::PathFileExistsA(name->c_str()) != FALSE;
}

std::optional<std::uint64_t> CrtFileSystem::FileSize(std::string_view path) {
    const std::optional<std::string> name = ZeroTerminated(path);
    if (!name) return std::nullopt;
    struct _stat64 info {};
    if (::_stat64(name->c_str(), &info) != 0 || (info.st_mode & _S_IFREG) == 0) return std::nullopt;
    return static_cast<std::uint64_t>(info.st_size);
}

std::optional<std::vector<std::uint8_t>> CrtFileSystem::ReadFile(std::string_view path, std::size_t maxBytes) {
    const std::optional<std::string> name = ZeroTerminated(path);
    if (!name) return std::nullopt;
    const ReadHandle input{std::fopen(name->c_str(), "rb")};
    if (input.file == nullptr) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    while (bytes.size() < maxBytes) {
        const std::size_t filled = bytes.size();
        bytes.resize(filled + std::min(kReadChunkBytes, maxBytes - filled));
        const std::size_t got = std::fread(bytes.data() + filled, 1, bytes.size() - filled, input.file);
        bytes.resize(filled + got);
        if (got == 0) break;
    }
    if (std::ferror(input.file) != 0) return std::nullopt;
    return bytes;
}

bool CrtFileSystem::MakeDirectory(std::string_view path) {
    const std::optional<std::string> name = ZeroTerminated(path);
    return name && ::_mkdir(name->c_str()) == 0;
}

bool CrtFileSystem::RemoveDirectory(std::string_view path) {
    const std::optional<std::string> name = ZeroTerminated(path);
    return name && ::_rmdir(name->c_str()) == 0;
}

}  // namespace ofu::platform
