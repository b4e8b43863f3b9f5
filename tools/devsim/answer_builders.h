// Builders of the device answers, byte for byte as the utility reads them. They are free
// functions so that the utility's own tests can craft answers (good and broken ones)
// without hosting a simulated device.
//
// Layouts (offsets from the start of the datagram; unlisted bytes are zero):
//   every answer   0 type, 1-6 ClientId of the request, 11-20 DeviceKey
//   search 2/7/8   21 DHCP character, 24 netmask (16, zero-terminated),
//                  40 gateway (16, zero-terminated)
//     form 2       56 name length N (32-bit little-endian), 60 name (N bytes, no terminator)
//     form 7       56/57 match bytes, 68 name length N, 72 name
//     form 8       56/57 match bytes, 68 model (32, zero-terminated), 100 name length N, 104 name
//   query 4        24 value length (32-bit little-endian), 28 value up to the datagram's end
//   login 4        24 value length 1, 28 result byte (0 refused, 1 accepted)
//   set 6          the 24 header bytes alone
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "byte_text.h"
#include "dotted_address.h"
#include "base/wire_format.h"

namespace ofu::devsim {

using ClientIdBytes = std::array<std::uint8_t, wire::kClientIdSize>;
using DeviceKeyBytes = std::array<std::uint8_t, wire::kDeviceKeySize>;

inline constexpr std::size_t kAnswerHeaderSize = 24;

DeviceKeyBytes MakeDeviceKey(const DeviceIdBytes& deviceId, const Ipv4Bytes& address);

// The name length and name offsets of a search answer form; nullopt for a type that is
// not a search answer.
std::optional<wire::SearchAnswerLayout> SearchLayoutOf(std::uint8_t form);

struct SearchAnswerFields {
    std::uint8_t form = wire::kAnswerSearchLong;
    ClientIdBytes clientId{};
    DeviceKeyBytes key{};
    char dhcpChar = '0';
    std::string netmask;
    std::string gateway;
    std::uint8_t matchByte1 = 3;
    std::uint8_t matchByte2 = 3;
    std::string model;  // form 8 only
    std::string name;   // written at its full length, also beyond 255 bytes
};

// Netmask and gateway are cut to 15 characters and the model to 31 so that each keeps its
// terminator inside its field. An unknown form gives an empty datagram.
std::vector<std::uint8_t> BuildSearchAnswer(const SearchAnswerFields& fields);
std::vector<std::uint8_t> BuildSearchAnswer(std::uint8_t form, const ClientIdBytes& clientId,
                                            const DeviceKeyBytes& key, char dhcpChar,
                                            std::string_view netmask, std::string_view gateway,
                                            std::uint8_t matchByte1, std::uint8_t matchByte2,
                                            std::string_view model, std::string_view name);

std::vector<std::uint8_t> BuildQueryAnswer(const ClientIdBytes& clientId, const DeviceKeyBytes& key,
                                           std::string_view value);
std::vector<std::uint8_t> BuildLoginAnswer(const ClientIdBytes& clientId, const DeviceKeyBytes& key,
                                           std::uint8_t result);
std::vector<std::uint8_t> BuildSetAnswer(const ClientIdBytes& clientId, const DeviceKeyBytes& key);

// Little-endian 32-bit field helpers shared by the builders and the request parser.
void PutU32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value);
std::uint32_t GetU32(std::span<const std::uint8_t> bytes, std::size_t offset);  // offset + 4 <= size

}  // namespace ofu::devsim
