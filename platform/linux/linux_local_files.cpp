#include "platform/linux/linux_local_files.h"

namespace ofu::platform {

std::string LinuxLocalFiles::HostPath(std::string_view) { return {}; }
bool LinuxLocalFiles::PrepareFolders(std::string_view) { return false; }

}  // namespace ofu::platform
