// The workstation's own files on Windows: a path on drive C is used as it is.
#pragma once

#include "platform/local_files.h"

namespace ofu::platform {

class WindowsLocalFiles final : public LocalFiles {
public:
    std::string HostPath(std::string_view windowsPath) override;
    // Makes each folder above the file with _mkdir, keeping those that exist.
    bool PrepareFolders(std::string_view windowsPath) override;
};

}  // namespace ofu::platform
