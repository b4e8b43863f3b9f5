// The folder a share is mounted on, made before the mount and removed after it.
#pragma once

#include "platform/drive_connections.h"

#include <string>

namespace ofu::share_mount {

// Makes the folder (0700, its parents 0755) or takes an empty one that exists. A mount left
// behind there by a helper that was killed ("transport endpoint is not connected") is
// unmounted first. AlreadyAssigned when something else is in the way (a file, a folder with
// files, a live mount).
platform::NetStatus PrepareMountFolder(const std::string& folder);

// Removes the folder when it is empty and nothing is mounted on it, and the folder that holds
// it when that is empty then.
void RemoveMountFolder(const std::string& folder);

// An option for the FUSE library's option parser: "," and "\" escaped with a backslash.
std::string EscapedOption(const std::string& option);

// The mount's source as mount tables list network file systems: "//SERVER/SHARE/folder".
std::string MountSource(const std::string& remoteName);

}  // namespace ofu::share_mount
