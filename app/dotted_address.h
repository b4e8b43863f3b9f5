// Dotted IPv4 texts as the socket library reads them: the BSD inet_aton rules (one to four
// parts, each decimal, octal with a leading 0 or hexadecimal with 0x) and inet_addr, which
// gives 255.255.255.255 for a text that is no address.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace ofu {

using AddressOctets = std::array<std::uint8_t, 4>;

// True with the address in `octets` (first octet first, network order) when `text` follows
// the inet_aton rules; false otherwise (`octets` untouched).
bool ParseDottedAddress(std::string_view text, AddressOctets* octets = nullptr);

// The address of `text`, or 255.255.255.255 when it is none.
AddressOctets InetAddr(std::string_view text);

}  // namespace ofu
