// The desktop's own mount of a share: where the user's session runs GVFS, a connected drive
// letter is also mounted through GIO, so that file managers and other programs see the share
// and its files can be reached under a local folder (GVFS's FUSE folder). Mounting and
// unmounting run on a private main context with a time limit, so neither can hang the caller.
#pragma once

#include "platform/drive_connections.h"
#include "platform/linux/remote_name.h"
#include "platform/linux/share_credentials.h"

#include <string>
#include <string_view>

namespace ofu::platform::linux_drives {

inline constexpr int kMountLimitMillis = 10000;

// Whether the session mounts smb:// locations through GVFS: GIO's default VFS is the GVFS
// one and lists "smb". Without a session bus this is false at once, and nothing is started
// (no bus is launched, no daemon activated).
bool GvfsAvailable();

struct MountOutcome {
    NetStatus status = NetStatus::Failed;
    bool newlyMounted = false;  // false when the share was mounted already
};

// Mounts smb://SERVER/SHARE with the credentials: anonymous for an empty user name or an
// empty password, where the share allows it. A second password request for the same mount means the credentials were
// refused: AccessDenied. A share that is mounted already counts as success.
MountOutcome MountShare(const RemoteName& name, const ShareCredentials& credentials,
                        int limitMillis = kMountLimitMillis);

// Unmounts the share's mount (forced: even with files open). Ok also when it was not mounted.
NetStatus UnmountShare(const RemoteName& name, bool force, int limitMillis = kMountLimitMillis);

// The local folder of the mounted share (with the remote name's folders below it), or empty
// when the share is not mounted or has no local folder.
std::string MountedFolder(const RemoteName& name);

// The connection status for a failed mount: `ioErrorCode` is the GIO error code (GIOErrorEnum)
// and `message` its text, which alone tells the SMB failures apart (they all come as
// G_IO_ERROR_FAILED with the system's error text).
NetStatus StatusOfMountFailure(int ioErrorCode, std::string_view message);

}  // namespace ofu::platform::linux_drives
