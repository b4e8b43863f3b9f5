// Files and folders on a share, through libsmbclient. Each call (and each open file) has a
// client context of its own (smb_context.h) with the credentials of its target, rather than
// one cached per share: the calls are few (a handful per add-on), a new session costs a few
// milliseconds on a LAN, and a cached one would outlive the restart of a device in the middle
// of an installation and fail or stall the next call on a dead connection.
// Every call first finds the server (its address and the port of its file service, 445 or
// 139; smb_server_location.h) within about 2 s, so that a server that does not answer fails
// the call within that bound instead of the library's fixed 5 s connect time-out. Once a file is open, the library's own 5 s limit applies to each exchange: a
// server that dies in the middle of a write fails that write about 5 s later, and its close
// another 10 s later (measured in the lab).
#pragma once

#include "platform/linux/open_file.h"
#include "platform/linux/remote_name.h"
#include "platform/linux/share_credentials.h"

#include <memory>
#include <optional>
#include <string>

namespace ofu::platform::linux_files {

// A file or folder on a share and how to reach it.
struct SmbTarget {
    linux_drives::RemoteName name;  // the server, the share and the path below it
    linux_drives::ShareCredentials credentials;
};

// Opens the file at `target`; null when the server does not answer, the share refuses, or
// the file cannot be opened as `mode` asks or is not a plain file.
std::unique_ptr<OpenFile> OpenSmbFile(const SmbTarget& target, OpenMode mode);

// What is at `target`; empty when nothing is or the share cannot be reached.
std::optional<FileInfo> SmbFileInfo(const SmbTarget& target);

// Removes the file at `target` (never a folder).
bool RemoveSmbFile(const SmbTarget& target);

// Makes the folder at `target`; false also when something of that name exists.
bool MakeSmbFolder(const SmbTarget& target);

// Removes the empty folder at `target`.
bool RemoveSmbFolder(const SmbTarget& target);

}  // namespace ofu::platform::linux_files
