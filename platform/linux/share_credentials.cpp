#include "platform/linux/share_credentials.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace ofu::platform::linux_drives {
namespace {

bool Acceptable(const std::string& text) {
    return text.size() <= kMaxCredentialLength && text.find('\0') == std::string::npos;
}

}  // namespace

bool HasKerberosTicketCache() {
    if (const char* cache = std::getenv("KRB5CCNAME"); cache != nullptr && cache[0] != '\0') return true;
    const std::string path = "/tmp/krb5cc_" + std::to_string(::getuid());
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0;
}

std::optional<ShareCredentials> ResolveCredentials(const std::optional<std::string>& password,
                                                   const std::optional<std::string>& userName,
                                                   const std::string& sessionUser, bool kerberosTicket) {
    ShareCredentials credentials;
    const std::string& user = userName ? *userName : sessionUser;
    if (const std::size_t slash = user.find('\\'); slash != std::string::npos) {
        credentials.workgroup = user.substr(0, slash);
        credentials.user = user.substr(slash + 1);
    } else {
        credentials.user = user;
    }
    if (password) {
        credentials.password = *password;
    } else {
        credentials.useKerberos = kerberosTicket;
    }
    if (!Acceptable(credentials.workgroup) || !Acceptable(credentials.user) || !Acceptable(credentials.password))
        return std::nullopt;
    return credentials;
}

}  // namespace ofu::platform::linux_drives
