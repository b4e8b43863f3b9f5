// The two kinds of Windows path the file calls take, split into their parts: a path on drive C
// ("C:\bt\bt", "c:/bt/bt") and a UNC path to a share ("\\10.77.1.10\HDD_a\.codepages\x",
// where "/" may stand for "\" after the leading two backslashes, as Windows accepts it).
#pragma once

#include "platform/linux/remote_name.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ofu::platform::linux_files {

enum class PathKind {
    Invalid,  // another drive, a relative path, an empty, "." or ".." part, a control character
    DriveC,
    Unc,
};

struct WindowsPath {
    PathKind kind = PathKind::Invalid;
    std::string server;              // Unc only
    std::string share;               // Unc only
    std::vector<std::string> parts;  // below the drive root or the share root; empty for the root
    bool trailingSeparator = false;  // the path ended in one "\" or "/" ("C:\bt\")

    bool root() const { return parts.empty(); }
};

// Longest path taken; the Windows calls themselves stop far below it.
inline constexpr std::size_t kMaxWindowsPathLength = 1024;

// Splits `path`. One trailing separator is allowed (and noted); any other empty part is not.
WindowsPath ClassifyWindowsPath(std::string_view path);

// "C:\part\part" with backslashes, as LocalFiles::HostPath takes it ("C:\" for the root).
std::string DriveCText(const WindowsPath& path);

// The share of a UNC path with the parts below it as folders, for SmbUrl and SameShare.
linux_drives::RemoteName UncName(const WindowsPath& path);

}  // namespace ofu::platform::linux_files
