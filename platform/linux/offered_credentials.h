// The credentials last offered for each share through a connection without a letter
// (AddConnection with an empty local name), which the file calls on UNC paths to that share
// use. Process-wide, as Windows keeps such connections for the logon session; the server and
// share names are compared without regard to ASCII letter case.
#pragma once

#include "platform/linux/share_credentials.h"

#include <optional>
#include <string_view>

namespace ofu::platform::linux_drives {

// Remembers `credentials` for SERVER+SHARE, replacing what was offered for it before.
void RememberOfferedCredentials(std::string_view server, std::string_view share, const ShareCredentials& credentials);

// What was last offered for SERVER+SHARE; empty when nothing was.
std::optional<ShareCredentials> OfferedCredentials(std::string_view server, std::string_view share);

// Forgets every offer (for tests).
void ForgetOfferedCredentials();

}  // namespace ofu::platform::linux_drives
