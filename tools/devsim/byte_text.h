// Bytes as text: lower-case hex for the journal, and the "00:11:22:33:44:55" form of a
// device identifier.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace ofu::devsim {

using DeviceIdBytes = std::array<std::uint8_t, 6>;

std::string ToHex(std::span<const std::uint8_t> bytes);

// Six two-digit hex bytes separated by ":" (either case); nothing else is accepted.
std::optional<DeviceIdBytes> ParseDeviceId(std::string_view text);
std::string FormatDeviceId(const DeviceIdBytes& id);

}  // namespace ofu::devsim
