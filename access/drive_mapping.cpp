#include "access/drive_mapping.h"

#include "platform/services.h"
#include "protocol/commands.h"
#include "protocol/shared_texts.h"

#include <optional>

namespace ofu {
namespace {

constexpr int kNtAttempts = 6;

std::string Joined(std::string_view domain, std::string_view user) {
    std::string name(domain);
    name += '\\';
    name.append(user);
    return name;
}

}  // namespace

std::string FormRemoteName(std::string_view deviceName, std::string_view volumeName) {
    std::string remote = "\\\\";
    remote.append(deviceName);
    remote += '\\';
    remote.append(volumeName);
    return remote;
}

bool TakesNtPath(std::string_view versionName) { return versionName.find("NT") != std::string_view::npos; }

void DropOldConnection(std::string_view drive) {
    platform::Drives().CancelConnection(drive, platform::kConnectUpdateProfile, true);
}

platform::NetStatus ConnectStandardPath(const platform::NetResource& resource, std::string_view versionName,
                                        const CredentialPrompt& prompt) {
    DeviceDomain.clear();
    QueryDomain();

    // First attempt: the session's own credentials in the device's domain, or a guest.
    std::optional<std::string> user = std::string();
    std::optional<std::string> password = std::string();
    if (!DeviceDomain.empty()) {
        std::string sessionUser;
        if (platform::Drives().GetUser(sessionUser, kSessionUserBufferLength) != platform::NetStatus::Ok)
            sessionUser.clear();
        user = Joined(DeviceDomain.view(), sessionUser);
        password = std::nullopt;
    }
    platform::NetStatus status =
        platform::Drives().AddConnection(resource, password, user, platform::kConnectUpdateProfile);
    if (status == platform::NetStatus::Ok) return status;

    if (versionName.find("Vista") != std::string_view::npos) {
        // Vista and later: the system asks for the credentials itself.
        return platform::Drives().AddConnection(resource, std::string(), std::string(),
                                                platform::kConnectUpdateProfile | platform::kConnectInteractive);
    }
    if (!prompt()) return status;
    const std::string typedUser =
        DeviceDomain.empty() ? LoginUserName.str() : Joined(DeviceDomain.view(), LoginUserName.view());
    return platform::Drives().AddConnection(resource, LoginPassword.str(), typedUser, platform::kConnectUpdateProfile);
}

platform::NetStatus ConnectNtPath(const platform::NetResource& resource, const CredentialPrompt& prompt) {
    prompt();
    platform::NetStatus status = platform::NetStatus::Failed;
    for (int attempt = 0; attempt < kNtAttempts && status != platform::NetStatus::Ok; ++attempt)
        status = platform::Drives().AddConnection(resource, LoginPassword.str(), LoginUserName.str(),
                                                  platform::kConnectUpdateProfile);
    return status;
}

}  // namespace ofu
