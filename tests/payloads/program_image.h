// Where the payloads' bytes live: inside the running program's own file, mapped read-only.
#pragma once

#include <cstdint>
#include <span>

namespace ofu::test {

// True when every byte of `bytes` lies in a read-only mapping of this program's own file.
bool InReadOnlyImageOfTheProgram(std::span<const std::uint8_t> bytes);

}  // namespace ofu::test
