// Dotted IPv4 texts and their 4-byte wire form (first octet first).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ofu::devsim {

using Ipv4Bytes = std::array<std::uint8_t, 4>;

// Strict parse of "a.b.c.d": four decimal octets 0-255 of one to three digits, no signs,
// no spaces, no leading zeros (a leading zero would read as octal in some parsers, so the
// same text could mean two addresses).
std::optional<Ipv4Bytes> ParseDottedAddress(std::string_view text);

// "%d.%d.%d.%d" of the four bytes.
std::string FormatDottedAddress(const Ipv4Bytes& address);

// An address a device may take as its own: not 0.x.x.x, not loopback, not multicast or
// reserved (224 and above).
bool IsUsableHostAddress(const Ipv4Bytes& address);

}  // namespace ofu::devsim
