// The workstation's drive letters and the network shares they are connected to: what the
// drive table and the drive mapping read and change. On Windows these are the network
// connections remembered in the user profile; elsewhere the platform keeps a per-user table
// that stands for them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ofu::platform {

// Outcome of a connection call, in the spirit of the Windows network error codes.
enum class NetStatus {
    Ok,            // done; for GetConnection: the letter is connected to a share
    NotConnected,  // the letter is free or local
    MoreData,      // the remote name does not fit the caller's buffer
    Failed,        // anything else
};

// Drive types as the operating system reports them (the numbers are the Windows codes).
enum class DriveType {
    Unknown = 0,
    NoRootDir = 1,  // a free letter
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    CdRom = 5,
    RamDisk = 6,
};

class DriveConnections {
public:
    virtual ~DriveConnections() = default;

    // The remote name ("\\host\share...") that `drive` ("Z:") is connected to. MoreData when
    // the name and its terminator need more than `bufferLength` bytes.
    virtual NetStatus GetConnection(std::string_view drive, std::string& remoteName,
                                    std::size_t bufferLength) = 0;
    // The type of the drive named by `root` ("Z:").
    virtual DriveType GetDriveType(std::string_view root) = 0;
};

}  // namespace ofu::platform
