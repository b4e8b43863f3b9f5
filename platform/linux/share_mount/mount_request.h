// What the share mount helper is asked to do, from its command line:
//   ofu-share-mount --host HOST --port PORT --remote \\SERVER\SHARE[\folder...]
//                   --mount-point FOLDER [--workgroup NAME] [--user NAME] [--kerberos]
// The password comes on standard input, never on the command line, where every local user
// could read it.
#pragma once

#include "platform/linux/remote_name.h"
#include "platform/linux/share_credentials.h"
#include "platform/linux/smb_server_location.h"

#include <optional>
#include <string>
#include <vector>

namespace ofu::share_mount {

struct MountRequest {
    platform::linux_drives::SmbServerLocation server;
    std::string remoteName;                    // as connected: "\\NAS1\HDD_a"
    platform::linux_drives::RemoteName share;  // the same, split
    std::string mountPoint;                    // an absolute folder
    platform::linux_drives::ShareCredentials credentials;  // the password is read separately
};

// Empty when an option is unknown, missing its value, given twice, or a value is malformed
// (a port other than 445 or 139, a remote name that is not one, a relative mount point, a
// text longer than the share client takes).
std::optional<MountRequest> ParseMountRequest(const std::vector<std::string>& arguments);

}  // namespace ofu::share_mount
