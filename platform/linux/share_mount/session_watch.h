// Ends the mount with the user's session: where the session has a message bus (as every
// desktop session has), the helper holds a connection to it and asks itself to end (SIGTERM,
// as an unmap does) when that connection closes, so that a mount never outlives the session
// that made it, like the desktop's own network mounts.
#pragma once

namespace ofu::share_mount {

// Starts the watch on a thread of its own, when DBUS_SESSION_BUS_ADDRESS names a bus; nothing
// otherwise (no bus is ever launched). The thread never takes the termination signals, so
// they reach the thread that serves the mount. False when a bus is named but cannot be reached.
bool WatchSessionEnd();

}  // namespace ofu::share_mount
