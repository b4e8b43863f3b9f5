#include "platform/linux/smb_server_location.h"

#include "platform/linux/deadline.h"
#include "platform/linux/netbios_name_query.h"
#include "platform/linux/tcp_probe.h"

#include <arpa/inet.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <future>
#include <system_error>

namespace ofu::platform::linux_drives {
namespace {

using linux_net::Clock;
using linux_net::MillisLeft;
using linux_net::ProbeResult;

// Of the whole bound, the name lookup may take this share; the probes get the rest, which
// is plenty for a server on the LAN (it answers within a millisecond).
constexpr double kLookupShare = 0.6;

bool IsDottedAddress(std::string_view text) {
    in_addr address{};
    const std::string copy(text);
    return ::inet_pton(AF_INET, copy.c_str(), &address) == 1;
}

// The address to probe and the host to give the library: the system resolver's answer wins;
// the NetBIOS answer counts only when the resolver has none.
std::optional<std::pair<std::string, std::string>> Resolve(std::string_view server, Clock::time_point deadline) {
    if (IsDottedAddress(server)) return std::pair{std::string(server), std::string(server)};
    const std::string name(server);
    std::atomic<bool> stop{false};
    std::future<std::string> netbios;
    if (linux_net::IsNetbiosName(name)) {
        try {
            netbios = std::async(std::launch::async, [name, deadline, &stop] {
                return linux_net::QueryNetbiosName(name, MillisLeft(deadline), stop);
            });
        } catch (const std::system_error&) {
            // No thread to spare: the system resolver alone.
        }
    }
    const std::string resolved = linux_net::ResolveIpv4(name, MillisLeft(deadline));
    if (!resolved.empty()) {
        stop = true;  // the query ends within its own poll interval; the future's end waits for it
        return std::pair{resolved, name};
    }
    if (!netbios.valid()) return std::nullopt;
    const std::string found = netbios.get();
    if (found.empty()) return std::nullopt;
    return std::pair{found, found};
}

}  // namespace

std::optional<SmbServerLocation> LocateSmbServer(std::string_view server, int limitMillis) {
    const auto start = Clock::now();
    const auto deadline = start + std::chrono::milliseconds(std::max(limitMillis, 0));
    const auto lookupDeadline =
        start + std::chrono::milliseconds(static_cast<int>(std::max(limitMillis, 0) * kLookupShare));
    const auto resolved = Resolve(server, lookupDeadline);
    if (!resolved) return std::nullopt;
    const auto& [address, host] = *resolved;

    constexpr std::array<std::uint16_t, 2> ports{kSmbDirectPort, kNetbiosSessionPort};
    const std::vector<ProbeResult> results = linux_net::ProbeTcpPorts(address, ports, MillisLeft(deadline));
    for (std::size_t k = 0; k < ports.size(); ++k)
        if (results[k] == ProbeResult::Connected) return SmbServerLocation{host, ports[k]};
    return std::nullopt;
}

}  // namespace ofu::platform::linux_drives
