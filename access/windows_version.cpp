#include "access/windows_version.h"

#include "platform/services.h"

namespace ofu {

std::string WindowsVersionName(const platform::OsVersion& v) {
    const std::uint32_t build = v.buildNumber & 0xFFFF;
    switch (v.platformId) {
        case 1:  // Windows 95, 98 and ME
            if (v.major != 4) break;
            if (v.minor < 10) {
                if (build == 950) return "Windows 95";
                if (build > 950 && build <= 1080) return "Windows 95 SP1";
                if (build > 1080) return "Windows 95 OSR2";
            } else if (v.minor == 10) {
                if (build == 1998) return "Windows 98";
                if (build > 1998 && build < 2183) return "Windows 98 SP1";
                if (build >= 2183) return "Windows 98 SE";
            } else if (v.minor == 90) {
                return "Windows ME";
            }
            break;
        case 2:  // the NT family
            if (v.major == 3 && v.minor == 51) return "Windows NT 3.51";
            if (v.major == 4 && v.minor == 0) return "Windows NT 4";
            if (v.major == 5 && v.minor == 0) return "Windows 2000";
            if (v.major == 5 && v.minor == 1) return "Windows XP";
            if (v.major == 6) return "Vista";
            break;
        case 3:
            return "Windows CE";
        default:
            break;
    }
    return kUnknownWindowsVersion;
}

bool GetWindowsVersionName(std::string& name) {
    name = kUnknownWindowsVersion;
    const auto version = platform::System().GetVersion();
    if (!version) return false;
    name = WindowsVersionName(*version);
    return true;
}

}  // namespace ofu
