// The workstation facts on Linux: there is no Windows version to report, and the user name
// is the account name of the process's user.
#include "platform/linux/linux_system_info.h"

#include <pwd.h>
#include <unistd.h>

#include <vector>

namespace ofu::platform {

std::optional<OsVersion> LinuxSystemInfo::GetVersion() { return std::nullopt; }

std::optional<std::string> LinuxSystemInfo::GetUserName() {
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(4096);
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr)
        return std::nullopt;
    return std::string(found->pw_name);
}

}  // namespace ofu::platform
