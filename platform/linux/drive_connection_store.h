// The per-user table of drive-letter connections that stands for the connections Windows
// remembers in the user profile. One line per connected letter: the drive ("Z:"), a tab,
// and the remote name ("\\NAS1\Volume_1"). Kept under the XDG state directory:
// $XDG_STATE_HOME/ostrel-ferrow-utility/drive-connections (default ~/.local/state/...).
#pragma once

#include "platform/drive_connections.h"

#include <filesystem>
#include <map>
#include <string>

namespace ofu::platform::linux_drives {

// Letter ('A' to 'Z') to remote name.
using ConnectionTable = std::map<char, std::string>;

std::filesystem::path DefaultTablePath();

// Reads the table; a missing or unreadable file is an empty table, and lines that do not
// name a letter and a remote name are skipped.
ConnectionTable LoadTable(const std::filesystem::path& path);
// Writes the table whole (through a temporary file, so a reader never sees half of it).
bool SaveTable(const std::filesystem::path& path, const ConnectionTable& table);

// C: is the fixed system drive, a letter in the table is a remote drive, every other letter
// is free.
class DriveConnectionStore final : public DriveConnections {
public:
    explicit DriveConnectionStore(std::filesystem::path path = DefaultTablePath()) : path_(std::move(path)) {}

    NetStatus GetConnection(std::string_view drive, std::string& remoteName, std::size_t bufferLength) override;
    DriveType GetDriveType(std::string_view root) override;
    NetStatus AddConnection(const NetResource& resource, const std::optional<std::string>& password,
                            const std::optional<std::string>& userName, unsigned flags) override;
    NetStatus CancelConnection(std::string_view localName, unsigned flags, bool force) override;
    NetStatus GetUser(std::string& userName, std::size_t bufferLength) override;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The letter of a drive text "Z:" (either case), or 0 when the text is not one.
char DriveLetterOf(std::string_view drive);

}  // namespace ofu::platform::linux_drives
