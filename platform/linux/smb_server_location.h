// Where a share's server is reached: its address and the port of its file service, found the
// way Windows networking finds them on a LAN, within a bound that keeps an absent device from
// stalling the caller.
//
// The name is looked up by the system resolver and, at the same time, by a NetBIOS name query
// broadcast on every local subnet (small networks often have no DNS for their devices, which
// announce their names only over NetBIOS). The server is then asked on port 445 and on the
// NetBIOS session port 139 at once; 445 wins when it answers, and the oldest file servers,
// which listen only on 139, are reached there.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ofu::platform::linux_drives {

inline constexpr std::uint16_t kSmbDirectPort = 445;
inline constexpr std::uint16_t kNetbiosSessionPort = 139;

// The whole search ends within this bound, so that an attempt at an absent device fails
// within about 2 s rather than after the client library's fixed 5 s connect time-out.
inline constexpr int kLocateLimitMillis = 1900;

struct SmbServerLocation {
    // What the client library connects to: the name as given when it is an address or the
    // system resolver knows it (so that a Kerberos ticket for that name can still be used),
    // else the address the NetBIOS name query gave.
    std::string host;
    std::uint16_t port = kSmbDirectPort;

    bool operator==(const SmbServerLocation&) const = default;
};

// Empty when the name has no address or no file service answers there in time.
std::optional<SmbServerLocation> LocateSmbServer(std::string_view server, int limitMillis = kLocateLimitMillis);

}  // namespace ofu::platform::linux_drives
