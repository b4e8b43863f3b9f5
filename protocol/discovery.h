// Discovery: the search request out of every local address and the device list it fills.
#pragma once

#include <cstdint>

namespace ofu {

inline constexpr int kSearchPollsPerAddress = 32;
inline constexpr int kSearchPauseAfterSendMillis = 50;
inline constexpr int kSearchPauseBetweenPollsMillis = 20;

// Replaces DeviceList with the devices that answer the search. A filter value of 0 accepts
// any match byte; the utility passes 3 and 3.
void SearchDevices(std::uint8_t filter1, std::uint8_t filter2);

}  // namespace ofu
