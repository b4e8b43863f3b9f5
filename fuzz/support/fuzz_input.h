// Reading a fuzzer's input front to back, and the checks a fuzz target makes on what the code
// under test gave back. Every read is bounded: past the end, numbers read as 0 and byte runs
// come back shorter, so any input is a valid input.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string_view>

// A property that must hold whatever the input was; a violation ends the run the way a
// sanitizer report does, so that libFuzzer keeps the input.
#define OFU_FUZZ_CHECK(condition)                                                          \
    do {                                                                                   \
        if (!(condition)) ::ofu::fuzz::CheckFailed(#condition, __FILE__, __LINE__);        \
    } while (false)

namespace ofu::fuzz {

[[noreturn]] inline void CheckFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: fuzz check failed: %s\n", file, line, condition);
    std::abort();
}

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : bytes_(data, size) {}

    bool empty() const { return bytes_.empty(); }
    std::size_t remaining() const { return bytes_.size(); }

    std::uint8_t byte() {
        if (bytes_.empty()) return 0;
        const std::uint8_t value = bytes_.front();
        bytes_ = bytes_.subspan(1);
        return value;
    }
    std::uint16_t u16le() {
        const std::uint16_t low = byte();
        return static_cast<std::uint16_t>(low | (byte() << 8));
    }
    // The next `count` bytes, or all that are left when fewer are.
    std::span<const std::uint8_t> take(std::size_t count) {
        const std::span<const std::uint8_t> part = bytes_.first(std::min(count, bytes_.size()));
        bytes_ = bytes_.subspan(part.size());
        return part;
    }
    std::span<const std::uint8_t> rest() { return take(bytes_.size()); }

private:
    std::span<const std::uint8_t> bytes_;
};

inline std::string_view AsText(std::span<const std::uint8_t> bytes) {
    return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

}  // namespace ofu::fuzz
