// Windows file paths on Linux: "C:\..." in the folder that stands for drive C, and UNC paths
// "\\SERVER\SHARE\..." on the share over SMB (libsmbclient), with the credentials last offered
// for that share through a connection without a letter (offered_credentials.h), or as a guest.
// Any other path fails. Each SMB call makes a client context of its own (smb_files.h).
#pragma once

#include "platform/file_system.h"
#include "platform/local_files.h"

namespace ofu::platform {

class LinuxFileSystem final : public FileSystem {
public:
    explicit LinuxFileSystem(LocalFiles& driveC) : driveC_(driveC) {}

    std::unique_ptr<WriteFile> OpenForWriting(std::string_view path) override;
    bool Remove(std::string_view path) override;
    // Copies in chunks; with `failIfExists` an existing target fails and stays as it was. A
    // copy that fails after the target was made removes it again, and a file is never copied
    // onto itself.
    bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) override;
    bool PathExists(std::string_view path) override;
    std::optional<std::uint64_t> FileSize(std::string_view path) override;
    std::optional<std::vector<std::uint8_t>> ReadFile(std::string_view path, std::size_t maxBytes) override;
    bool MakeDirectory(std::string_view path) override;
    bool RemoveDirectory(std::string_view path) override;

private:
    LocalFiles& driveC_;
};

}  // namespace ofu::platform
