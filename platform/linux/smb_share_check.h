// Whether a share accepts a set of credentials: a session with the server through
// libsmbclient that opens the share's root (or the folder below it that the remote name
// names). This is the check that decides whether a drive connection succeeds.
#pragma once

#include "platform/drive_connections.h"
#include "platform/linux/remote_name.h"
#include "platform/linux/share_credentials.h"

#include <filesystem>

namespace ofu::platform::linux_drives {

// The connection status for an errno that libsmbclient left after a failed call.
NetStatus StatusOfSmbErrno(int error);

// Opens the share (and folder) of `name` with `credentials` in a client context of its own,
// configured only by the empty file `configHome`/.smb/smb.conf (created when missing), so
// that neither ~/.smb nor the system's Samba configuration applies, and with no fall-back to
// an anonymous session after refused credentials. Ok when the folder could be opened.
NetStatus CheckShare(const RemoteName& name, const ShareCredentials& credentials,
                     const std::filesystem::path& configHome);

}  // namespace ofu::platform::linux_drives
