// The stand-in bytes of one catalogue row, and the file name under which the build keeps a
// payload (the same name that a folder of real payloads uses).
#pragma once

#include "addons/payload_catalogue.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ofu::payloads {

// Exactly row.size bytes of the row's kind, the same on every call. A row described as "same
// bytes as N" gets the bytes of row N of its type. Throws std::exception when the row cannot
// be made (a size too small for its kind, a description without the codepage's name ...).
std::vector<std::uint8_t> MakeStandIn(const PayloadEntry& row);

// "<id>.bin", e.g. "215.bin".
std::string PayloadFileName(const PayloadEntry& row);

}  // namespace ofu::payloads
