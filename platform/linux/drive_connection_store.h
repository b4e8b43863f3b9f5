// The drive-letter connections on Linux. The per-user table (drive_table_file.h) stands for the
// connections Windows remembers in the user profile; a new connection finds its server
// (smb_server_location.h), is checked against the share itself (smb_share_check.h), and its
// share is mounted in a folder of the user's home by a helper of its own
// (share_mount_process.h), which the letter's entry records: the letter's files are there for
// file managers and every other program until it is unmapped. The table is kept under the XDG
// state directory: $XDG_STATE_HOME/ostrel-ferrow-utility/drive-connections (default
// ~/.local/state/..., with the home folder from the password database when HOME is unset).
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

// Empty when no home folder is known: the table is then never read or written, rather than
// kept in a folder that other users share.
std::filesystem::path DefaultTablePath();

// C: is the fixed system drive, a letter in the table is a remote drive, every other letter
// is free.
class DriveConnectionStore final : public DriveConnections {
public:
    explicit DriveConnectionStore(std::filesystem::path path = DefaultTablePath()) : path_(std::move(path)) {}

    NetStatus GetConnection(std::string_view drive, std::string& remoteName, std::size_t bufferLength) override;
    DriveType GetDriveType(std::string_view root) override;
    // Checks in this order: the drive text (BadDevice), the remote name and credentials
    // (InvalidParameter), a letter in use (AlreadyAssigned), the server's name and file
    // service within about 2 s (BadNetPath), the share with the credentials (AccessDenied,
    // BadNetName, ...), then the mount (NoNetwork without FUSE); only then is the letter
    // recorded, with its mount.
    // An empty local name offers the credentials for the share of the remote name (which may
    // go on to a folder or file): the same checks up to the share's root, and on Ok the
    // credentials are remembered for the file calls on UNC paths to that share
    // (offered_credentials.h); nothing is recorded in the table and nothing is mounted.
    NetStatus AddConnection(const NetResource& resource, const std::optional<std::string>& password,
                            const std::optional<std::string>& userName, unsigned flags) override;
    // Removes the letter's entry and the mount its connection made (even with files open); a
    // mount of the same share that the letter did not make (the user's own, another letter's)
    // stays.
    NetStatus CancelConnection(std::string_view localName, unsigned flags, bool force) override;
    NetStatus GetUser(std::string& userName, std::size_t bufferLength) override;

    // The folder where the files of the connected letter `drive` ("Z:") are, while its mount
    // is served; empty when the letter is not connected or its mount has ended.
    std::string LocalFolder(std::string_view drive) override;

    const std::filesystem::path& path() const { return path_; }

private:
    // The credentials of an AddConnection call; empty when they are unacceptable.
    std::optional<ShareCredentials> CredentialsFor(const std::optional<std::string>& password,
                                                   const std::optional<std::string>& userName);
    // AddConnection without a local name.
    NetStatus OfferCredentials(std::string_view remoteName, const std::optional<std::string>& password,
                               const std::optional<std::string>& userName);

    std::filesystem::path path_;
};

}  // namespace ofu::platform::linux_drives
