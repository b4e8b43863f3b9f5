#include "platform/windows/windows_system_info.h"

#include "platform/windows/windows_api.h"

#include <vector>

namespace ofu::platform {
namespace {

// A user name has at most 256 characters (UNLEN) and its terminator.
constexpr DWORD kUserNameBytes = 257;

}  // namespace

std::optional<OsVersion> WindowsSystemInfo::GetVersion() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!::GetVersionExA(&info)) return std::nullopt;
    return OsVersion{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
}

std::optional<std::string> WindowsSystemInfo::GetUserName() {
    std::vector<char> buffer(kUserNameBytes, '\0');
    DWORD length = static_cast<DWORD>(buffer.size());
    if (!::GetUserNameA(buffer.data(), &length)) {
        // Too small after all: the call said how much it needs.
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || length <= buffer.size()) return std::nullopt;
        buffer.assign(length, '\0');
        if (!::GetUserNameA(buffer.data(), &length)) return std::nullopt;
    }
    buffer.back() = '\0';
    return std::string(buffer.data());
}

}  // namespace ofu::platform
