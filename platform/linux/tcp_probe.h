// A bounded TCP connect: whether a server listens at a host and port, answered within a time
// limit of the caller's choosing (the system's own connect time-outs run to seconds or minutes).
// Used before a share connection and by the web reachability check.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ofu::platform::linux_net {

enum class ProbeResult {
    Connected,    // a server accepted the connection
    Refused,      // the host answered, nobody listens on the port
    Unreachable,  // no route, or the host did not answer the neighbour lookup
    TimedOut,     // no answer within the limit
    Unresolved,   // the host name has no IPv4 address (or its lookup outlasted the limit)
};

const char* ProbeResultName(ProbeResult result);

// Resolves `host` (a dotted address or a name) and connects to `port`, all within
// `limitMillis`. The connection is closed again at once.
ProbeResult ProbeTcp(std::string_view host, std::uint16_t port, int limitMillis);

// Connects to each of `ports` of `host` at once, all within `limitMillis`, and gives each
// port's result in the same order. It returns as soon as the first port has connected, or when
// every port has its answer; a port still waiting then counts as TimedOut. So a server is
// asked on all its ports in the time of one, and the first port is preferred when it answers.
std::vector<ProbeResult> ProbeTcpPorts(std::string_view host, std::span<const std::uint16_t> ports, int limitMillis);

// The IPv4 address of `host` as dotted text, looked up within `limitMillis`; empty when there
// is none in time.
std::string ResolveIpv4(std::string_view host, int limitMillis);

}  // namespace ofu::platform::linux_net
