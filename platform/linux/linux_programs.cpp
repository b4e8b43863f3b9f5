#include "platform/linux/linux_programs.h"

namespace ofu::platform {

unsigned LinuxPrograms::WinExec(std::string_view, int) { return kExecFileNotFound; }

std::intptr_t LinuxPrograms::ShellExecute(std::string_view, std::string_view, std::string_view, std::string_view,
                                          int) {
    return kExecFileNotFound;
}

}  // namespace ofu::platform
