// The workstation's local files that the utility names by Windows paths ("C:\ip.txt",
// "C:\bt\bt"). On Windows a path is used as it is; elsewhere every path under "C:\" lands in
// one per-user folder that stands for drive C.
#pragma once

#include <string>
#include <string_view>

namespace ofu::platform {

class LocalFiles {
public:
    virtual ~LocalFiles() = default;
    // The path of this system for the Windows path `windowsPath` (an absolute path on drive C,
    // with backslashes), or empty when it names no place under drive C (another drive, a
    // relative path, or ".." parts). Creates nothing.
    virtual std::string HostPath(std::string_view windowsPath) = 0;
    // Creates the folders above HostPath(windowsPath), so that the file can be created. False
    // when they cannot be made.
    virtual bool PrepareFolders(std::string_view windowsPath) = 0;
};

}  // namespace ofu::platform
