// The drive letters' network connections through the Windows networking calls (mpr): the
// connections remembered in the user profile, passed through with the calls' own codes.
#pragma once

#include "platform/drive_connections.h"

namespace ofu::platform {

class WNetDriveConnections final : public DriveConnections {
public:
    NetStatus GetConnection(std::string_view drive, std::string& remoteName, std::size_t bufferLength) override;
    DriveType GetDriveType(std::string_view root) override;
    NetStatus AddConnection(const NetResource& resource, const std::optional<std::string>& password,
                            const std::optional<std::string>& userName, unsigned flags) override;
    NetStatus CancelConnection(std::string_view localName, unsigned flags, bool force) override;
    NetStatus GetUser(std::string& userName, std::size_t bufferLength) override;
    std::string LocalFolder(std::string_view drive) override;
};

}  // namespace ofu::platform
