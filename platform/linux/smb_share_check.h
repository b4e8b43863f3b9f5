// Whether a share accepts a set of credentials: a session with the server through
// libsmbclient that opens the share's root (or the folder below it that the remote name
// names). This is the check that decides whether a drive connection succeeds.
#pragma once

#include "platform/drive_connections.h"
#include "platform/linux/remote_name.h"
#include "platform/linux/share_credentials.h"
#include "platform/linux/smb_server_location.h"

namespace ofu::platform::linux_drives {

// The connection status for an errno that libsmbclient left after a failed call.
NetStatus StatusOfSmbErrno(int error);

// Opens the share (and folder) of `name` on the server found at `server` with `credentials`,
// in a client context of its own with no fall-back to an anonymous session after refused
// credentials. Ok when the folder could be opened.
NetStatus CheckShare(const RemoteName& name, const ShareCredentials& credentials, const SmbServerLocation& server);

class SmbContext;
// The same check in a context of the caller's, which goes on being used when it passes. Call
// with the library lock held.
NetStatus CheckShareIn(const SmbContext& context, const std::string& url);

// The smb:// address of `name` (with its folders) on the host of `server`.
std::string SmbUrlAt(const RemoteName& name, const SmbServerLocation& server);

}  // namespace ofu::platform::linux_drives
