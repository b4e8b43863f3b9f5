// The local mount of a connected share: a small helper program ("ofu-share-mount") that
// serves the share as a FUSE file system in a folder of the user's home, over the utility's
// own SMB client settings (so that the devices' SMB1 file servers are reached, without
// lowering anything for the desktop's other SMB mounts). It detaches from the caller and
// lives until its letter is unmapped (or the session's bus ends), like a Windows connection.
//
// Start-up handshake: the helper gets the password on its standard input (never on its
// command line) and writes one line to descriptor 3: "ready PID" once the folder is mounted
// and it has detached, or "failed STATUS" with a connection status number.
#pragma once

#include "platform/drive_connections.h"
#include "platform/linux/drive_table_file.h"
#include "platform/linux/remote_name.h"
#include "platform/linux/share_credentials.h"
#include "platform/linux/smb_server_location.h"

#include <filesystem>
#include <optional>
#include <string>

namespace ofu::platform::linux_drives {

// The helper's name as the kernel shows it (/proc/PID/comm, at most 15 characters).
inline constexpr const char* kShareMountProgram = "ofu-share-mount";

// A mount is ready within this bound (a LAN server answers in milliseconds; the share was
// checked just before).
inline constexpr int kMountLimitMillis = 10000;
// The helper unmounts and ends within this bound after it was asked to; it is killed after it.
inline constexpr int kUnmountLimitMillis = 5000;

// The helper: beside this program (the build folder), else in the installed layout's
// ../libexec/ostrel-ferrow-utility/ beside the program's folder. Empty when neither exists.
std::filesystem::path ShareMountProgram();

// The folder a letter's mount goes to: "$HOME/Network drives/LAST on SERVER (Z)", where LAST
// is the last name of the remote name (the share, or its last folder), as a file manager
// lists it; "$HOME/Network drives/Z" when that name would be too long. Empty without a home.
std::filesystem::path MountFolderFor(char letter, const RemoteName& name);

struct MountOutcome {
    NetStatus status = NetStatus::Failed;
    ShareMount mount;  // set when status is Ok
};

// Starts the helper for `remoteName` on `server` with `credentials`, mounting at `folder`,
// and waits for its handshake. NoNetwork when the helper or the system's FUSE support is
// missing, the connection status when the share refused, Failed otherwise.
MountOutcome MountShareAt(const std::string& remoteName, const SmbServerLocation& server,
                          const ShareCredentials& credentials, const std::filesystem::path& folder);

// Whether the mount's helper is still running (the same process: ID, start time and name).
bool MountAlive(const ShareMount& mount);

// Asks the mount's helper to unmount and end (SIGTERM), and waits for it; a helper that does
// not end in time is killed and its folder unmounted lazily. A helper that is gone already is
// no error.
void Unmount(const ShareMount& mount);

// The start time of process `pid` in clock ticks after boot; empty when it does not exist.
std::optional<std::uint64_t> ProcessStartTime(int pid);

}  // namespace ofu::platform::linux_drives
