// Starting programs (WinExec) and opening documents (ShellExecuteA).
#pragma once

#include "platform/programs.h"

namespace ofu::platform {

class WindowsPrograms final : public Programs {
public:
    unsigned WinExec(std::string_view commandLine, int showMode) override;
    std::intptr_t ShellExecute(std::string_view operation, std::string_view file, std::string_view parameters,
                               std::string_view directory, int showMode) override;
};

}  // namespace ofu::platform
