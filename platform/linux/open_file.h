// A file open for reading or writing, on drive C or on a share: what the file calls on
// Windows paths are made of (linux_file_system.h).
#pragma once

#include "platform/file_system.h"

#include <fcntl.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace ofu::platform::linux_files {

enum class OpenMode {
    Read,
    CreateOrTruncate,  // fopen "wb"
    CreateNew,         // fails when the file exists, which then stays as it was
};

// The open(2) flags of a mode, for local files and libsmbclient alike.
inline int OpenFlags(OpenMode mode) {
    switch (mode) {
        case OpenMode::Read: return O_RDONLY;
        case OpenMode::CreateOrTruncate: return O_WRONLY | O_CREAT | O_TRUNC;
        case OpenMode::CreateNew: return O_WRONLY | O_CREAT | O_EXCL;
    }
    return O_RDONLY;
}

struct FileInfo {
    bool regular = false;  // a plain file (not a folder, device or pipe)
    bool folder = false;
    std::uint64_t size = 0;
};

class OpenFile : public WriteFile {
public:
    // Reads up to `buffer.size()` bytes into `buffer`: how many were read, 0 at the end of the
    // file, empty on a failure.
    virtual std::optional<std::size_t> Read(std::span<std::uint8_t> buffer) = 0;
    // What the open file is; empty when that cannot be learnt.
    virtual std::optional<FileInfo> Info() = 0;
};

}  // namespace ofu::platform::linux_files
