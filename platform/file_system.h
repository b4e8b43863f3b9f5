// The C runtime's and the shell's file calls on Windows paths, as the add-on installation uses
// them: local paths on drive C ("C:\bt\bt") and UNC paths to a device's share
// ("\\10.77.1.10\HDD_a\.codepages\codepage.950"). On Windows these are the calls themselves;
// elsewhere drive C is the folder of LocalFiles and UNC paths go to the share over SMB with the
// credentials last offered for that share (a guest session when none were).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace ofu::platform {

// A file open for writing (fopen "wb"): created, or emptied when it exists.
class WriteFile {
public:
    virtual ~WriteFile() = default;
    // Writes all of `bytes` (one fwrite); false when not all of it was taken.
    virtual bool Write(std::span<const std::uint8_t> bytes) = 0;
    // fclose: false when the data could not be flushed.
    virtual bool Close() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // fopen(path, "wb"); empty when the file cannot be created.
    virtual std::unique_ptr<WriteFile> OpenForWriting(std::string_view path) = 0;
    // remove(path): false when it did not exist or could not be removed.
    virtual bool Remove(std::string_view path) = 0;
    // CopyFileA(from, to, failIfExists).
    virtual bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) = 0;
    // PathFileExistsA.
    virtual bool PathExists(std::string_view path) = 0;
    // The file's size in bytes; empty when it cannot be read.
    virtual std::optional<std::uint64_t> FileSize(std::string_view path) = 0;
    // The file's first `maxBytes` bytes; empty when it cannot be read.
    virtual std::optional<std::vector<std::uint8_t>> ReadFile(std::string_view path, std::size_t maxBytes) = 0;
    // _mkdir and _rmdir: false when the folder could not be made (also when it exists) or
    // removed (also when it is not empty or missing).
    virtual bool MakeDirectory(std::string_view path) = 0;
    virtual bool RemoveDirectory(std::string_view path) = 0;
};

}  // namespace ofu::platform
