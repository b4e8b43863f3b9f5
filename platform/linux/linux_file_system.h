// Windows file paths on Linux: "C:\..." in the folder that stands for drive C, and UNC paths
// "\\SERVER\SHARE\..." on the share over SMB (libsmbclient), with the credentials last offered
// for that share through a connection without a letter, or as a guest.
#pragma once

#include "platform/file_system.h"
#include "platform/local_files.h"

namespace ofu::platform {

class LinuxFileSystem final : public FileSystem {
public:
    explicit LinuxFileSystem(LocalFiles& driveC) : driveC_(driveC) {}

    std::unique_ptr<WriteFile> OpenForWriting(std::string_view path) override;
    bool Remove(std::string_view path) override;
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
