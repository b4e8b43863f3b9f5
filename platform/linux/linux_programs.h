// Starting programs on Linux: Windows command lines split by the Windows rules and started
// with an argument vector (never through a shell); "explorer" and documents open with the
// desktop's handler for their type.
#pragma once

#include "platform/programs.h"

namespace ofu::platform {

class LinuxPrograms final : public Programs {
public:
    unsigned WinExec(std::string_view commandLine, int showMode) override;
    std::intptr_t ShellExecute(std::string_view operation, std::string_view file, std::string_view parameters,
                               std::string_view directory, int showMode) override;
};

}  // namespace ofu::platform
