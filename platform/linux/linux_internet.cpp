#include "platform/linux/linux_internet.h"

#include "platform/linux/tcp_probe.h"
#include "base/ascii_case.h"

#include <cstdint>
#include <optional>
#include <string>

namespace ofu::platform {
namespace {


struct WebServer {
    std::string host;
    std::uint16_t port = 0;
};

std::optional<std::uint16_t> ParsePort(std::string_view text, std::uint16_t defaultPort) {
    if (text.empty()) return defaultPort;  // "host:" has the scheme's port
    if (text.size() > 5) return std::nullopt;
    unsigned value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value == 0 || value > 65535) return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

// "http://host[:port][/...]" or "https://..." (scheme in any case); user information before
// an '@' is skipped, and a bracketed host is taken without its brackets.
std::optional<WebServer> ParseWebUrl(std::string_view url) {
    std::uint16_t defaultPort = 0;
    if (url.size() >= 7 && EqualsIgnoringAsciiCase(url.substr(0, 7), "http://")) {
        defaultPort = 80;
        url.remove_prefix(7);
    } else if (url.size() >= 8 && EqualsIgnoringAsciiCase(url.substr(0, 8), "https://")) {
        defaultPort = 443;
        url.remove_prefix(8);
    } else {
        return std::nullopt;
    }
    std::string_view authority = url.substr(0, url.find_first_of("/?#"));
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) authority.remove_prefix(at + 1);
    std::string_view host;
    std::string_view port;
    if (!authority.empty() && authority.front() == '[') {
        const std::size_t close = authority.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        host = authority.substr(1, close - 1);
        const std::string_view after = authority.substr(close + 1);
        if (!after.empty() && after.front() != ':') return std::nullopt;
        if (!after.empty()) port = after.substr(1);
    } else {
        const std::size_t colon = authority.find(':');
        host = authority.substr(0, colon);
        if (colon != std::string_view::npos) port = authority.substr(colon + 1);
    }
    if (host.empty()) return std::nullopt;
    for (const char c : host)
        if (static_cast<unsigned char>(c) <= ' ' || c == 0x7f) return std::nullopt;
    const std::optional<std::uint16_t> number = ParsePort(port, defaultPort);
    if (!number) return std::nullopt;
    return WebServer{std::string(host), *number};
}

}  // namespace

bool LinuxInternet::CheckConnection(std::string_view url, unsigned) {
    // The connection is always tried: Linux keeps no "offline" state that could refuse it, so
    // FLAG_ICC_FORCE_CONNECTION changes nothing.
    const std::optional<WebServer> server = ParseWebUrl(url);
    if (!server) return false;
    return linux_net::ProbeTcp(server->host, server->port, kCheckConnectionLimitMillis) == linux_net::ProbeResult::Connected;
}

}  // namespace ofu::platform
