// Files and folders on a share, through libsmbclient. Each call (and each open file) has a
// client context of its own (smb_context.h) with the credentials of its target, rather than
// one cached per share: the calls are few (a handful per add-on), a new session costs a few
// milliseconds on a LAN, and a cached one would outlive the restart of a device in the middle
// of an installation and fail or stall the next call on a dead connection.
// Every call first probes the server's TCP port 445 within about 1.5 s, so that a server that
// does not answer fails the call within that bound instead of the library's fixed 5 s connect
// time-out. Once a file is open, the library's own 5 s limit applies to each exchange: a
// server that dies in the middle of a write fails that write about 5 s later, and its close
// another 10 s later (measured in the lab).
#pragma once

#include "platform/linux/open_file.h"
#include "platform/linux/share_credentials.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace ofu::platform::linux_files {

// A file or folder on a share and how to reach it.
struct SmbTarget {
    std::string server;  // as probed and as in the address
    std::string url;     // smb://SERVER/SHARE/..., every part percent-encoded
    linux_drives::ShareCredentials credentials;
    std::filesystem::path configHome;  // the folder of the empty libsmbclient configuration
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
