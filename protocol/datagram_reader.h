// Bounds-checked reading of a received datagram: every accessor looks only at the bytes
// that were received and says so when a field lies beyond them.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace ofu {

class DatagramReader {
public:
    explicit DatagramReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t size() const { return bytes_.size(); }
    bool covers(std::size_t offset, std::size_t width) const {
        return offset <= bytes_.size() && width <= bytes_.size() - offset;
    }

    std::optional<std::uint8_t> byteAt(std::size_t offset) const {
        if (!covers(offset, 1)) return std::nullopt;
        return bytes_[offset];
    }

    std::optional<std::uint32_t> u32le(std::size_t offset) const {
        if (!covers(offset, 4)) return std::nullopt;
        return static_cast<std::uint32_t>(bytes_[offset]) |
               static_cast<std::uint32_t>(bytes_[offset + 1]) << 8 |
               static_cast<std::uint32_t>(bytes_[offset + 2]) << 16 |
               static_cast<std::uint32_t>(bytes_[offset + 3]) << 24;
    }

    // The bytes from `offset` up to (not including) the first zero byte, at most
    // `maxLength` of them, never past the end of the datagram.
    std::string_view textAt(std::size_t offset, std::size_t maxLength) const {
        if (offset >= bytes_.size()) return {};
        const std::size_t available = std::min(bytes_.size() - offset, maxLength);
        const auto* start = reinterpret_cast<const char*>(bytes_.data() + offset);
        std::size_t length = 0;
        while (length < available && start[length] != '\0') ++length;
        return std::string_view(start, length);
    }

    std::span<const std::uint8_t> bytesAt(std::size_t offset, std::size_t width) const {
        if (!covers(offset, width)) return {};
        return bytes_.subspan(offset, width);
    }

private:
    std::span<const std::uint8_t> bytes_;
};

}  // namespace ofu
