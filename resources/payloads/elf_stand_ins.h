// Stand-ins for the device programs: kernel modules (relocatable objects) and ARM executables.
#pragma once

#include "addons/payload_catalogue.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace ofu::payloads {

// The kernel a module row is built for: "2.4.21" for PowerPC, "2.6.12" for the "_12.ko" names
// and the rows whose description says 2.6.12, otherwise "2.6.6".
std::string_view ModuleKernelVersion(const PayloadEntry& row);

// A 32-bit relocatable object with a .modinfo naming its kernel.
std::vector<std::uint8_t> MakeKernelModule(const PayloadEntry& row);

// A 32-bit little-endian ARM executable: 215 dynamically linked against the device's uClibc,
// every other one statically linked.
std::vector<std::uint8_t> MakeArmExecutable(const PayloadEntry& row);

}  // namespace ofu::payloads
