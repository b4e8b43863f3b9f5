// The four fields of an IPv4 address control as a handler reads them.
#pragma once

#include <array>
#include <cstdint>

namespace ofu::ui {

using AddressBytes = std::array<std::uint8_t, 4>;

struct AddressFields {
    std::array<int, 4> values{};  // a blank field reads as 0
    int nonBlank = 0;             // how many of the four fields hold a number

    bool IsBlank() const { return nonBlank == 0; }
};

}  // namespace ofu::ui
