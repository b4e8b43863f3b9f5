// The file calls of the C runtime and the shell on Windows paths, local ("C:\bt\bt") and UNC
// ("\\10.77.1.10\HDD_a\.codepages\codepage.950") alike: fopen/fwrite/fclose, remove,
// CopyFileA, PathFileExistsA, _stat64, fread, _mkdir and _rmdir.
#pragma once

#include "platform/file_system.h"

namespace ofu::platform {

class CrtFileSystem final : public FileSystem {
public:
    std::unique_ptr<WriteFile> OpenForWriting(std::string_view path) override;
    bool Remove(std::string_view path) override;
    // CopyFileA; it refuses to copy a file onto itself, under any of its names.
    bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) override;
    bool PathExists(std::string_view path) override;
    std::optional<std::uint64_t> FileSize(std::string_view path) override;
    std::optional<std::vector<std::uint8_t>> ReadFile(std::string_view path, std::size_t maxBytes) override;
    bool MakeDirectory(std::string_view path) override;
    bool RemoveDirectory(std::string_view path) override;
};

}  // namespace ofu::platform
