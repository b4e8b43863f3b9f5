// The payloads as the running program holds them: which ones it carries, and where their
// bytes live (inside the program's own file, mapped from it).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace ofu::test {

// True when every byte of `bytes` lies in a read-only mapping of this program's own file.
bool InReadOnlyImageOfTheProgram(std::span<const std::uint8_t> bytes);

// Every payload the program carries, as (type in capitals, id).
std::vector<std::pair<std::string, int>> CarriedPayloads();

}  // namespace ofu::test
