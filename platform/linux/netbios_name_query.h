// Finding a host by its NetBIOS name: a name query broadcast on every local IPv4 subnet
// (UDP port 137), answered by the host that holds the name. This is how a device whose
// name no DNS server knows is found on a LAN; the caller runs it beside the system
// resolver and takes whichever answers first.
#pragma once

#include <atomic>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ofu::platform::linux_net {

// The 16th byte of the name a host registers for its file server.
inline constexpr std::uint8_t kFileServerSuffix = 0x20;
// The UDP port hosts listen on for name queries.
inline constexpr std::uint16_t kNameServicePort = 137;

// Whether `name` can be asked for by a NetBIOS name query: 1 to 15 bytes of printable ASCII
// without '.', '*', blanks at either end or characters NetBIOS names cannot hold
// (\ / : ? " < > |). A name with a dot is a DNS name and is never asked for this way.
bool IsNetbiosName(std::string_view name);

// The name query datagram for NAME<suffix> (name upper-cased, padded with blanks to 15, the
// suffix as 16th byte, first-level encoded; broadcast flag and recursion desired set; one
// question of type NB, class IN), with transaction id `id`. Empty when `name` is not a
// NetBIOS name.
std::vector<std::uint8_t> BuildNameQuery(std::string_view name, std::uint8_t suffix, std::uint16_t id);

// The IPv4 address (dotted text) of a positive name query response to that query: response
// bit set, opcode query, rcode 0, the same transaction id, an answer record for the same name
// and suffix (full name or a compression pointer to an earlier copy of it, as servers that
// repeat the question send), type NB, class IN, RDLENGTH a multiple of 6; the address of the
// first unique (non-group) entry of the first such record. Empty for anything else, and when
// that address is 0.0.0.0 or 255.255.255.255.
std::string ParseNameQueryResponse(std::span<const std::uint8_t> datagram, std::string_view name,
                                   std::uint8_t suffix, std::uint16_t id);

// Asks for NAME<0x20> (the file server) by broadcast on the broadcast address of every local
// IPv4 interface that is up, running and broadcast-capable (loopback excluded), from one UDP
// socket bound to an ephemeral port, resending every 250 ms, and gives the first valid
// answer's address; empty when none came within `limitMillis`, when `stop` became true
// (looked at least every 50 ms) or when `name` is not a NetBIOS name. Never blocks past the
// limit; a random transaction id per call; changes no process-wide state.
std::string QueryNetbiosName(std::string_view name, int limitMillis, const std::atomic<bool>& stop);

}  // namespace ofu::platform::linux_net
