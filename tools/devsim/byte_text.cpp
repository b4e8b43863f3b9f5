#include "byte_text.h"

namespace ofu::devsim {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string ToHex(std::span<const std::uint8_t> bytes) {
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const std::uint8_t b : bytes) {
        text += kHexDigits[b >> 4];
        text += kHexDigits[b & 0x0F];
    }
    return text;
}

std::optional<DeviceIdBytes> ParseDeviceId(std::string_view text) {
    DeviceIdBytes id{};
    if (text.size() != id.size() * 3 - 1) return std::nullopt;
    for (std::size_t i = 0; i < id.size(); ++i) {
        const std::size_t at = i * 3;
        if (i > 0 && text[at - 1] != ':') return std::nullopt;
        const int high = HexValue(text[at]);
        const int low = HexValue(text[at + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        id[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return id;
}

std::string FormatDeviceId(const DeviceIdBytes& id) {
    std::string text;
    for (std::size_t i = 0; i < id.size(); ++i) {
        if (i > 0) text += ':';
        text += kHexDigits[id[i] >> 4];
        text += kHexDigits[id[i] & 0x0F];
    }
    return text;
}

}  // namespace ofu::devsim
