// The drive-letter connections on Linux. The per-user table (drive_table_file.h) stands for the
// connections Windows remembers in the user profile; a new connection is checked against the
// share itself (smb_share_check.h) and, where the session runs GVFS, mounted on the desktop
// too (gio_share_mount.h). The table is kept under the XDG state directory:
// $XDG_STATE_HOME/ostrel-ferrow-utility/drive-connections (default ~/.local/state/...).
#pragma once

#include "platform/drive_connections.h"
#include "platform/linux/drive_table_file.h"
#include "platform/linux/remote_name.h"
#include "platform/linux/share_credentials.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ofu::platform::linux_drives {

std::filesystem::path DefaultTablePath();

// C: is the fixed system drive, a letter in the table is a remote drive, every other letter
// is free.
class DriveConnectionStore final : public DriveConnections {
public:
    explicit DriveConnectionStore(std::filesystem::path path = DefaultTablePath()) : path_(std::move(path)) {}

    NetStatus GetConnection(std::string_view drive, std::string& remoteName, std::size_t bufferLength) override;
    DriveType GetDriveType(std::string_view root) override;
    // Checks in this order: the drive text (BadDevice), the remote name and credentials
    // (InvalidParameter), a letter in use (AlreadyAssigned), TCP port 445 of the server within
    // about 1.5 s (BadNetPath), the share with the credentials (AccessDenied, BadNetName, ...),
    // then the desktop mount where there is GVFS; only then is the letter recorded.
    // An empty local name offers the credentials for the share of the remote name (which may
    // go on to a folder or file): the same checks up to the share's root, and on Ok the
    // credentials are remembered for the file calls on UNC paths to that share
    // (offered_credentials.h); nothing is recorded in the table and nothing is mounted.
    NetStatus AddConnection(const NetResource& resource, const std::optional<std::string>& password,
                            const std::optional<std::string>& userName, unsigned flags) override;
    // Removes the letter's entry; the desktop mount of its share goes too unless another letter
    // still uses that share. Failed (and the entry kept) when the mount cannot be removed.
    NetStatus CancelConnection(std::string_view localName, unsigned flags, bool force) override;
    NetStatus GetUser(std::string& userName, std::size_t bufferLength) override;

    // The local folder where the files of the connected letter `drive` ("Z:") can be reached
    // when GVFS mounted its share (GVFS's FUSE folder, with the remote name's folders below
    // it); empty when the letter is not connected or the share has no such folder.
    std::string LocalFolder(std::string_view drive) override;

    const std::filesystem::path& path() const { return path_; }

private:
    // The folder of the empty libsmbclient configuration, beside the table.
    std::filesystem::path SmbConfigHome() const;
    // The credentials of an AddConnection call; empty when they are unacceptable.
    std::optional<ShareCredentials> CredentialsFor(const std::optional<std::string>& password,
                                                   const std::optional<std::string>& userName);
    // AddConnection without a local name.
    NetStatus OfferCredentials(std::string_view remoteName, const std::optional<std::string>& password,
                               const std::optional<std::string>& userName);

    std::filesystem::path path_;
};

}  // namespace ofu::platform::linux_drives
