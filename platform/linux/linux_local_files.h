// Drive C on Linux: one per-user folder, $XDG_DATA_HOME/ostrel-ferrow-utility/drive_c/
// (default ~/.local/share/...), holds every file the utility names under "C:\".
#pragma once

#include "platform/local_files.h"

namespace ofu::platform {

class LinuxLocalFiles final : public LocalFiles {
public:
    std::string HostPath(std::string_view windowsPath) override;
    bool PrepareFolders(std::string_view windowsPath) override;
};

}  // namespace ofu::platform
