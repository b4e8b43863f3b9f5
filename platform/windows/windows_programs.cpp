#include "platform/windows/windows_programs.h"

#include "platform/windows/windows_api.h"
#include "platform/windows/zero_terminated.h"

namespace ofu::platform {
namespace {

using windows::ZeroTerminated;

// An empty text means the call's default (the default verb, no parameters, the current
// directory), which the call takes as null.
const char* OrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

unsigned WindowsPrograms::WinExec(std::string_view commandLine, int showMode) {
    const std::optional<std::string> command = ZeroTerminated(commandLine);
    if (!command) return kExecFileNotFound;
    return ::WinExec(command->c_str(), static_cast<UINT>(showMode));
}

std::intptr_t WindowsPrograms::ShellExecute(std::string_view operation, std::string_view file,
                                            std::string_view parameters, std::string_view directory, int showMode) {
    const std::optional<std::string> verb = ZeroTerminated(operation);
    const std::optional<std::string> target = ZeroTerminated(file);
    const std::optional<std::string> arguments = ZeroTerminated(parameters);
    const std::optional<std::string> folder = ZeroTerminated(directory);
    if (!verb || !target || !arguments || !folder) return static_cast<std::intptr_t>(kExecFileNotFound);
    const HINSTANCE result = ::ShellExecuteA(nullptr, OrNull(*verb), target->c_str(), OrNull(*arguments),
                                             OrNull(*folder), showMode);
    return reinterpret_cast<std::intptr_t>(result);
}

}  // namespace ofu::platform
