// A share served as a FUSE file system: every file operation of the mount becomes the same
// operation on the share through one libsmbclient context, which the library reconnects by
// itself after the server went away for a moment. The mount runs one request at a time (the
// library's contexts are not made for several threads).
#pragma once

#include "platform/linux/remote_name.h"

#define FUSE_USE_VERSION 31
#include <fuse.h>

typedef struct _SMBCCTX SMBCCTX;  // as libsmbclient.h declares it

namespace ofu::share_mount {

struct ServedShare {
    SMBCCTX* context = nullptr;
    // The share root the mount shows: the located host, the share and its folders.
    platform::linux_drives::RemoteName root;
};

// The operations; each reads its ServedShare from the FUSE context's private data.
const fuse_operations& SmbFuseOperations();

// The smb:// address of `path` (a FUSE path: "/" or "/a/b") below `root`.
std::string UrlOf(const platform::linux_drives::RemoteName& root, const char* path);

}  // namespace ofu::share_mount
