// The workstation's drive letters and the network shares they are connected to: what the
// drive table, the drive mapping and the unmapping read and change. On Windows these are the
// network connections remembered in the user profile; elsewhere the platform keeps a per-user
// table that stands for them and checks each new connection against the share itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ofu::platform {

// Outcome of a connection call. The numbers are the Windows network error codes, so that the
// Windows layer passes its results through unchanged and a caller can say what went wrong.
enum class NetStatus : std::uint32_t {
    Ok = 0,                 // NO_ERROR; for GetConnection: the letter is connected to a share
    AccessDenied = 5,       // the share refused the credentials
    BadNetPath = 53,        // the server cannot be reached (absent, refused, unknown name)
    BadNetName = 67,        // the server has no such share
    AlreadyAssigned = 85,   // the letter is connected already
    InvalidPassword = 86,   // the password was rejected
    InvalidParameter = 87,  // a malformed remote name or argument
    MoreData = 234,         // the remote name does not fit the caller's buffer
    BadDevice = 1200,       // the local name is not a drive letter
    Failed = 1208,          // anything else (ERROR_EXTENDED_ERROR)
    Cancelled = 1223,       // the user cancelled a credential prompt
    NoNetwork = 1222,       // no network service to ask
    NotConnected = 2250,    // the letter is free or local
};

// What a status means, in a few words for a command-line user ("access denied").
std::string_view DescribeNetStatus(NetStatus status);

// Flags of AddConnection and CancelConnection, with the Windows values.
inline constexpr unsigned kConnectUpdateProfile = 0x1;
inline constexpr unsigned kConnectInteractive = 0x8;

// A disk resource to connect: a drive text ("Z:") and a remote name ("\\NAS1\Volume_1").
struct NetResource {
    std::string localName;
    std::string remoteName;
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

    // Connects the resource's letter to its share (WNetAddConnection2A). A null password means
    // the logged-on user's default credentials; a null user name means the logged-on user.
    // Empty texts for both ask for a guest session. Ok only when the share accepted.
    // An empty local name makes a connection without a letter (RESOURCETYPE_ANY, no local
    // device): the credentials are offered for the share of the remote name (which may go on
    // to a folder or file on it), for the file calls on UNC paths that follow; no letter is
    // recorded.
    virtual NetStatus AddConnection(const NetResource& resource, const std::optional<std::string>& password,
                                    const std::optional<std::string>& userName, unsigned flags) = 0;
    // Drops the letter's connection (WNetCancelConnection2A); `force` drops it even with files
    // open. NotConnected when the letter has none.
    virtual NetStatus CancelConnection(std::string_view localName, unsigned flags, bool force) = 0;
    // The name of the user of the current logon session (WNetGetUserA with no resource); at
    // most `bufferLength` - 1 characters, else MoreData.
    virtual NetStatus GetUser(std::string& userName, std::size_t bufferLength) = 0;

    // Where the files of the connected letter `drive` can be opened with the system's own file
    // tools ("Z:\" on Windows; a desktop mount's folder elsewhere); empty when there is none.
    virtual std::string LocalFolder(std::string_view drive) {
        (void)drive;
        return {};
    }
};

}  // namespace ofu::platform
