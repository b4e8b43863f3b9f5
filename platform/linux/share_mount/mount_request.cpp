#include "platform/linux/share_mount/mount_request.h"

#include <map>

namespace ofu::share_mount {
namespace {

using platform::linux_drives::kMaxCredentialLength;

// Longest mount point taken (the kernel's path limit).
constexpr std::size_t kMaxPathLength = 4095;

bool Fits(const std::string& text, std::size_t limit) {
    return text.size() <= limit && text.find('\0') == std::string::npos;
}

}  // namespace

std::optional<MountRequest> ParseMountRequest(const std::vector<std::string>& arguments) {
    static const std::map<std::string, bool> kOptions{{"--host", true},      {"--port", true},
                                                      {"--remote", true},    {"--mount-point", true},
                                                      {"--workgroup", true}, {"--user", true},
                                                      {"--kerberos", false}};
    std::map<std::string, std::string> given;
    for (std::size_t k = 0; k < arguments.size(); ++k) {
        const auto option = kOptions.find(arguments[k]);
        if (option == kOptions.end() || given.count(option->first) != 0) return std::nullopt;
        if (option->second && k + 1 >= arguments.size()) return std::nullopt;
        given[option->first] = option->second ? arguments[++k] : std::string();
    }
    for (const char* required : {"--host", "--port", "--remote", "--mount-point"})
        if (given.count(required) == 0) return std::nullopt;

    MountRequest request;
    request.server.host = given["--host"];
    const std::string& port = given["--port"];
    if (port == "445") {
        request.server.port = platform::linux_drives::kSmbDirectPort;
    } else if (port == "139") {
        request.server.port = platform::linux_drives::kNetbiosSessionPort;
    } else {
        return std::nullopt;
    }
    request.remoteName = given["--remote"];
    const auto share = platform::linux_drives::ParseRemoteName(request.remoteName);
    if (!share || request.server.host.empty() || !Fits(request.server.host, 255)) return std::nullopt;
    request.share = *share;
    request.mountPoint = given["--mount-point"];
    if (request.mountPoint.empty() || request.mountPoint.front() != '/' || !Fits(request.mountPoint, kMaxPathLength))
        return std::nullopt;
    request.credentials.workgroup = given["--workgroup"];
    request.credentials.user = given["--user"];
    request.credentials.useKerberos = given.count("--kerberos") != 0;
    if (!Fits(request.credentials.workgroup, kMaxCredentialLength) || !Fits(request.credentials.user, kMaxCredentialLength))
        return std::nullopt;
    return request;
}

}  // namespace ofu::share_mount
