// The request builders, the check that tells this run's answers from other traffic, and
// the reading of search answers.
#pragma once

#include "protocol/bounded_text.h"
#include "protocol/device_list.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace ofu {

// Each builder writes into `buffer` (4096 bytes in the protocol's use) and returns the
// number of bytes to send; 0 means nothing is to be sent (no listed device has the address
// in TargetDeviceAddress, or the buffer is too small).
std::size_t BuildSearchRequest(std::span<std::uint8_t> buffer);
std::size_t BuildQueryRequest(std::span<std::uint8_t> buffer, std::uint8_t subcode);
std::size_t BuildLoginRequest(std::span<std::uint8_t> buffer);
std::size_t BuildSetRequest(std::span<std::uint8_t> buffer, std::uint8_t subcode,
                            std::string_view payload);
std::size_t BuildDhcpRequest(std::span<std::uint8_t> buffer);

// The record every device-addressed builder and command targets: the first one whose `ip`
// equals TargetDeviceAddress, or null.
const DeviceRecord* FindTargetRecord();

// True when bytes 1 to 6 of the answer equal ClientId.
bool MatchesClientId(std::span<const std::uint8_t> answer);

// The answering device's address, bytes 17 to 20 as "%d.%d.%d.%d"; empty when the answer
// is too short to carry it.
std::optional<BoundedText<16>> AnswerAddressText(std::span<const std::uint8_t> answer);

// What a search answer of type 2, 7 or 8 carries, cut to what a device record holds.
struct SearchAnswer {
    std::uint8_t type = 0;
    BoundedText<16> address;
    BoundedText<16> netmask;
    BoundedText<16> gateway;
    BoundedText<8> dhcp;
    DeviceKey key;
    BoundedText<34> model;
    BoundedText<256> name;
};

// Null when the datagram is not a search answer or is shorter than the offset of its name.
std::optional<SearchAnswer> ParseSearchAnswer(std::span<const std::uint8_t> answer);

}  // namespace ofu
