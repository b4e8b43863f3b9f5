// Windows file paths on Linux: "C:\..." in the folder that stands for drive C, and UNC paths
// "\\SERVER\SHARE\..." on the share over SMB (libsmbclient), with the credentials last offered
// for that share through a connection without a letter (offered_credentials.h), or as a guest.
// Any other path fails. Each SMB call makes a client context of its own (smb_files.h).
#pragma once

#include "platform/file_system.h"
#include "platform/local_files.h"

#include <filesystem>

namespace ofu::platform {

class LinuxFileSystem final : public FileSystem {
public:
    // `smbConfigHome` holds the empty libsmbclient configuration (by default beside the drive
    // table, where the share check keeps its own).
    explicit LinuxFileSystem(LocalFiles& driveC, std::filesystem::path smbConfigHome = DefaultSmbConfigHome())
        : driveC_(driveC), smbConfigHome_(std::move(smbConfigHome)) {}

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

    static std::filesystem::path DefaultSmbConfigHome();

private:
    LocalFiles& driveC_;
    std::filesystem::path smbConfigHome_;
};

}  // namespace ofu::platform
