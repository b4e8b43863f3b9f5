#include "platform/windows/wnet_drive_connections.h"

#include "platform/windows/windows_api.h"
#include "platform/windows/zero_terminated.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace ofu::platform {
namespace {

using windows::ZeroTerminated;

// The error codes of the networking calls are the numbers of NetStatus.
NetStatus Status(DWORD code) { return static_cast<NetStatus>(code); }

// A caller's buffer length as the calls take it.
DWORD CallLength(std::size_t length) { return static_cast<DWORD>(std::min<std::size_t>(length, ULONG_MAX)); }

// An optional text as the calls take it: null when absent.
const char* OrNull(const std::optional<std::string>& text) { return text ? text->c_str() : nullptr; }

// Too small a buffer: ERROR_MORE_DATA from Windows; some implementations of the calls answer
// ERROR_INSUFFICIENT_BUFFER instead.
bool TooSmall(DWORD code) { return code == ERROR_MORE_DATA || code == ERROR_INSUFFICIENT_BUFFER; }

bool HasZero(const std::optional<std::string>& text) {
    return text && text->find('\0') != std::string::npos;
}

}  // namespace

NetStatus WNetDriveConnections::GetConnection(std::string_view drive, std::string& remoteName,
                                              std::size_t bufferLength) {
    remoteName.clear();
    const std::optional<std::string> local = ZeroTerminated(drive);
    if (!local) return NetStatus::BadDevice;
    if (bufferLength == 0) return NetStatus::MoreData;
    std::vector<char> buffer(bufferLength, '\0');
    DWORD length = CallLength(buffer.size());
    const DWORD result = ::WNetGetConnectionA(local->c_str(), buffer.data(), &length);
    if (TooSmall(result)) return NetStatus::MoreData;
    if (result != NO_ERROR) return Status(result);
    buffer.back() = '\0';
    remoteName = buffer.data();
    return NetStatus::Ok;
}

DriveType WNetDriveConnections::GetDriveType(std::string_view root) {
    const std::optional<std::string> path = ZeroTerminated(root);
    if (!path) return DriveType::NoRootDir;
    const UINT type = ::GetDriveTypeA(path->c_str());
    return type <= DRIVE_RAMDISK ? static_cast<DriveType>(type) : DriveType::Unknown;
}

NetStatus WNetDriveConnections::AddConnection(const NetResource& resource, const std::optional<std::string>& password,
                                              const std::optional<std::string>& userName, unsigned flags) {
    const std::optional<std::string> local = ZeroTerminated(resource.localName);
    const std::optional<std::string> remote = ZeroTerminated(resource.remoteName);
    if (!local) return NetStatus::BadDevice;
    if (!remote || HasZero(password) || HasZero(userName)) return NetStatus::InvalidParameter;
    NETRESOURCEA netResource{};
    // Without a letter the credentials are offered for the remote name, whatever it is.
    netResource.dwType = local->empty() ? RESOURCETYPE_ANY : RESOURCETYPE_DISK;
    netResource.lpLocalName = local->empty() ? nullptr : const_cast<char*>(local->c_str());
    netResource.lpRemoteName = const_cast<char*>(remote->c_str());
    netResource.lpProvider = nullptr;
    return Status(::WNetAddConnection2A(&netResource, OrNull(password), OrNull(userName), flags));
}

NetStatus WNetDriveConnections::CancelConnection(std::string_view localName, unsigned flags, bool force) {
    const std::optional<std::string> local = ZeroTerminated(localName);
    if (!local) return NetStatus::BadDevice;
    return Status(::WNetCancelConnection2A(local->c_str(), flags, force ? TRUE : FALSE));
}

NetStatus WNetDriveConnections::GetUser(std::string& userName, std::size_t bufferLength) {
    userName.clear();
    if (bufferLength == 0) return NetStatus::MoreData;
    std::vector<char> buffer(bufferLength, '\0');
    DWORD length = CallLength(buffer.size());
    const DWORD result = ::WNetGetUserA(nullptr, buffer.data(), &length);
    if (TooSmall(result)) return NetStatus::MoreData;
    if (result != NO_ERROR) return Status(result);
    buffer.back() = '\0';
    userName = buffer.data();
    return NetStatus::Ok;
}

std::string WNetDriveConnections::LocalFolder(std::string_view drive) {
    // Only a drive text ("Z:") names a letter whose root can be opened.
    const bool letter = drive.size() == 2 && drive[1] == ':' &&
                        ((drive[0] >= 'A' && drive[0] <= 'Z') || (drive[0] >= 'a' && drive[0] <= 'z'));
    if (!letter) return {};
    // A remote name too long for the buffer is a connection all the same.
    std::string remote;
    const NetStatus status = GetConnection(drive, remote, MAX_PATH);
    if (status != NetStatus::Ok && status != NetStatus::MoreData) return {};
    return std::string(drive) + "\\";
}

}  // namespace ofu::platform
