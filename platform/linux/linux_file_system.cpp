#include "platform/linux/linux_file_system.h"

#include "base/ascii_case.h"
#include "platform/linux/local_file.h"
#include "platform/linux/offered_credentials.h"
#include "platform/linux/remote_name.h"
#include "platform/linux/smb_files.h"
#include "platform/linux/windows_path.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <string>

namespace ofu::platform {
namespace {

using linux_files::FileInfo;
using linux_files::OpenFile;
using linux_files::OpenMode;
using linux_files::PathKind;
using linux_files::WindowsPath;

// A copy holds this much of the file in memory at a time.
constexpr std::size_t kCopyChunkBytes = 1024 * 1024;

// Where a Windows path leads: a host path on drive C or a file or folder on a share.
struct Place {
    WindowsPath path;
    std::string hostPath;         // DriveC, except for the root
    linux_files::SmbTarget smb;   // Unc

    bool valid() const { return path.kind != PathKind::Invalid; }
    // A file can only be named without a trailing separator, and never by a root.
    bool namesFile() const { return valid() && !path.root() && !path.trailingSeparator; }
    bool driveC() const { return path.kind == PathKind::DriveC; }
};

Place Locate(LocalFiles& driveC, std::string_view text) {
    Place place;
    place.path = linux_files::ClassifyWindowsPath(text);
    if (place.path.kind == PathKind::DriveC && !place.path.root()) {
        place.hostPath = driveC.HostPath(linux_files::DriveCText(place.path));
        if (place.hostPath.empty()) place.path.kind = PathKind::Invalid;  // refused by drive C
    } else if (place.path.kind == PathKind::Unc) {
        place.smb.name = linux_files::UncName(place.path);
        place.smb.credentials = linux_drives::OfferedCredentials(place.path.server, place.path.share)
                                    .value_or(linux_drives::ShareCredentials{});  // a guest
    }
    return place;
}

// Whether two file places are one file, so that a copy would empty its own source. Shares
// compare names as Windows does, without regard to case.
bool SameFile(const Place& a, const Place& b) {
    if (a.path.kind != b.path.kind) return false;
    if (a.driveC()) return linux_files::SameLocalFile(a.hostPath, b.hostPath);
    return linux_drives::SameShare(linux_files::UncName(a.path), linux_files::UncName(b.path)) &&
           std::equal(a.path.parts.begin(), a.path.parts.end(), b.path.parts.begin(), b.path.parts.end(),
                      EqualsIgnoringAsciiCase);
}

std::optional<FileInfo> InfoAt(const Place& place) {
    if (place.driveC()) {
        if (place.path.root()) return FileInfo{false, true, 0};  // drive C is always there
        return linux_files::LocalFileInfo(place.hostPath);
    }
    return linux_files::SmbFileInfo(place.smb);
}

bool RemoveFileAt(const Place& place) {
    if (place.driveC()) return ::unlink(place.hostPath.c_str()) == 0;  // never a folder
    return linux_files::RemoveSmbFile(place.smb);
}

// Opens a file place; on drive C a file or folder right under the root makes the folder that
// stands for the drive first, since drive C itself always exists on Windows.
std::unique_ptr<OpenFile> OpenAt(LocalFiles& driveC, const Place& place, OpenMode mode) {
    if (!place.namesFile()) return nullptr;
    if (!place.driveC()) return linux_files::OpenSmbFile(place.smb, mode);
    if (mode != OpenMode::Read && place.path.parts.size() == 1 &&
        !driveC.PrepareFolders(linux_files::DriveCText(place.path)))
        return nullptr;
    return linux_files::OpenLocalFile(place.hostPath, mode);
}

}  // namespace

std::unique_ptr<WriteFile> LinuxFileSystem::OpenForWriting(std::string_view path) {
    return OpenAt(driveC_, Locate(driveC_, path), OpenMode::CreateOrTruncate);
}

bool LinuxFileSystem::Remove(std::string_view path) {
    const Place place = Locate(driveC_, path);
    return place.namesFile() && RemoveFileAt(place);
}

bool LinuxFileSystem::CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
    const Place source = Locate(driveC_, from);
    const Place target = Locate(driveC_, to);
    if (!source.namesFile() || !target.namesFile()) return false;
    const std::unique_ptr<OpenFile> input = OpenAt(driveC_, source, OpenMode::Read);
    if (!input || SameFile(source, target)) return false;
    const std::unique_ptr<OpenFile> output =
        OpenAt(driveC_, target, failIfExists ? OpenMode::CreateNew : OpenMode::CreateOrTruncate);
    if (!output) return false;

    std::vector<std::uint8_t> chunk(kCopyChunkBytes);
    bool copied = true;
    for (;;) {
        const std::optional<std::size_t> got = input->Read(chunk);
        if (!got) copied = false;
        if (!got || *got == 0) break;
        if (!output->Write(std::span<const std::uint8_t>(chunk.data(), *got))) {
            copied = false;
            break;
        }
    }
    copied = output->Close() && copied;
    // Half a file must not pass for the copy.
    if (!copied) RemoveFileAt(target);
    return copied;
}

bool LinuxFileSystem::PathExists(std::string_view path) {
    const Place place = Locate(driveC_, path);
    if (!place.valid()) return false;
    const std::optional<FileInfo> info = InfoAt(place);
    return info && (info->folder || !place.path.trailingSeparator);
}

std::optional<std::uint64_t> LinuxFileSystem::FileSize(std::string_view path) {
    const Place place = Locate(driveC_, path);
    if (!place.namesFile()) return std::nullopt;
    const std::optional<FileInfo> info = InfoAt(place);
    if (!info || !info->regular) return std::nullopt;
    return info->size;
}

std::optional<std::vector<std::uint8_t>> LinuxFileSystem::ReadFile(std::string_view path, std::size_t maxBytes) {
    const std::unique_ptr<OpenFile> input = OpenAt(driveC_, Locate(driveC_, path), OpenMode::Read);
    if (!input) return std::nullopt;
    const std::optional<FileInfo> info = input->Info();
    if (!info) return std::nullopt;
    // Room for what the file holds now; should it have grown meanwhile, the rest up to
    // maxBytes is appended as it comes.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::min<std::uint64_t>(info->size, maxBytes)));
    std::size_t filled = 0;
    while (filled < maxBytes) {
        if (filled < bytes.size()) {
            const std::optional<std::size_t> got = input->Read(std::span<std::uint8_t>(bytes).subspan(filled));
            if (!got) return std::nullopt;
            if (*got == 0) break;
            filled += *got;
            continue;
        }
        std::array<std::uint8_t, 4096> more{};
        const std::optional<std::size_t> got =
            input->Read(std::span<std::uint8_t>(more).first(std::min(more.size(), maxBytes - filled)));
        if (!got) return std::nullopt;
        if (*got == 0) break;
        bytes.insert(bytes.end(), more.begin(), more.begin() + static_cast<std::ptrdiff_t>(*got));
        filled += *got;
    }
    bytes.resize(filled);
    return bytes;
}

bool LinuxFileSystem::MakeDirectory(std::string_view path) {
    const Place place = Locate(driveC_, path);
    if (!place.valid() || place.path.root()) return false;  // a root always exists
    if (!place.driveC()) return linux_files::MakeSmbFolder(place.smb);
    if (place.path.parts.size() == 1 && !driveC_.PrepareFolders(linux_files::DriveCText(place.path))) return false;
    return ::mkdir(place.hostPath.c_str(), 0700) == 0;
}

bool LinuxFileSystem::RemoveDirectory(std::string_view path) {
    const Place place = Locate(driveC_, path);
    if (!place.valid() || place.path.root()) return false;
    if (!place.driveC()) return linux_files::RemoveSmbFolder(place.smb);
    return ::rmdir(place.hostPath.c_str()) == 0;
}

}  // namespace ofu::platform
