// The credentials a share connection is made with, worked out from what the caller passed:
// "DOMAIN\user" or "user", a password, or nothing for the session's own defaults.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace ofu::platform::linux_drives {

struct ShareCredentials {
    std::string workgroup;  // empty: the client library's default
    std::string user;       // empty with an empty password: a guest session
    std::string password;
    bool useKerberos = false;  // try the session's Kerberos ticket first

    bool guest() const { return user.empty() && password.empty() && !useKerberos; }
    bool operator==(const ShareCredentials&) const = default;
};

// Longest user name, workgroup or password the share client takes (its buffers hold 255
// bytes and a terminator); longer ones are refused rather than cut.
inline constexpr std::size_t kMaxCredentialLength = 255;

// Whether the session user has a Kerberos ticket cache: KRB5CCNAME is set, or
// /tmp/krb5cc_<uid> exists.
bool HasKerberosTicketCache();

// A null user name stands for `sessionUser`; "DOMAIN\user" splits at the first backslash.
// A null password means the session's default credentials: its Kerberos ticket when
// `kerberosTicket`, otherwise no password. Empty when a text is too long or holds a NUL byte.
std::optional<ShareCredentials> ResolveCredentials(const std::optional<std::string>& password,
                                                   const std::optional<std::string>& userName,
                                                   const std::string& sessionUser, bool kerberosTicket);

}  // namespace ofu::platform::linux_drives
