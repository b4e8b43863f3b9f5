// Stand-ins for the codepage files: descriptors and unicode maps.
#pragma once

#include "addons/payload_catalogue.h"

#include <cstdint>
#include <vector>

namespace ofu::payloads {

// 01 00, the codepage (the row's belongsTo) as 16-bit LE, the 32-bit LE count of the bytes after
// the 8-byte header, then 4-byte entries up to the row's size.
std::vector<std::uint8_t> MakeCodepageDescriptor(const PayloadEntry& row);

// 01 80, the codepage's name (the quoted text of the row's description), zero padding.
std::vector<std::uint8_t> MakeUnicodeMap(const PayloadEntry& row);

}  // namespace ofu::payloads
