// Writing 16- and 32-bit values into a byte buffer in a chosen byte order, with bounds checks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace ofu::payloads {

enum class ByteOrder { Little, Big };

inline void PutUnsigned(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value, std::size_t width,
                        ByteOrder order) {
    if (at > bytes.size() || width > bytes.size() - at) throw std::out_of_range("write past the end of a payload");
    for (std::size_t i = 0; i < width; ++i) {
        const std::size_t shift = 8 * (order == ByteOrder::Little ? i : width - 1 - i);
        bytes[at + i] = static_cast<std::uint8_t>(value >> shift);
    }
}

inline void Put16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value, ByteOrder order) {
    PutUnsigned(bytes, at, value, 2, order);
}

inline void Put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value, ByteOrder order) {
    PutUnsigned(bytes, at, value, 4, order);
}

}  // namespace ofu::payloads
