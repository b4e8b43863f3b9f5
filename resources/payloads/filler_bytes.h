// The deterministic bytes that fill the bodies of the stand-in payloads: a fixed generator
// (SplitMix64) seeded from the payload's id, so every build writes the same bytes.
#pragma once

#include <cstdint>
#include <span>

namespace ofu::payloads {

class FillerBytes {
public:
    explicit FillerBytes(std::uint64_t seed) : state_(seed ^ 0x6F66752D7061796CULL) {}

    void Fill(std::span<std::uint8_t> out) {
        std::uint64_t word = 0;
        for (std::size_t i = 0; i < out.size(); ++i) {
            if (i % 8 == 0) word = Next();
            out[i] = static_cast<std::uint8_t>(word >> (8 * (i % 8)));
        }
    }

    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

private:
    std::uint64_t state_;
};

}  // namespace ofu::payloads
