#include "dotted_address.h"

namespace ofu::devsim {

std::optional<Ipv4Bytes> ParseDottedAddress(std::string_view text) {
    Ipv4Bytes bytes{};
    std::size_t pos = 0;
    for (std::size_t octet = 0; octet < bytes.size(); ++octet) {
        if (octet > 0) {
            if (pos >= text.size() || text[pos] != '.') return std::nullopt;
            ++pos;
        }
        const std::size_t start = pos;
        unsigned value = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && pos - start < 3) {
            value = value * 10 + static_cast<unsigned>(text[pos] - '0');
            ++pos;
        }
        const std::size_t digits = pos - start;
        if (digits == 0 || value > 255) return std::nullopt;
        if (digits > 1 && text[start] == '0') return std::nullopt;
        bytes[octet] = static_cast<std::uint8_t>(value);
    }
    if (pos != text.size()) return std::nullopt;
    return bytes;
}

std::string FormatDottedAddress(const Ipv4Bytes& address) {
    std::string text;
    for (std::size_t i = 0; i < address.size(); ++i) {
        if (i > 0) text += '.';
        text += std::to_string(static_cast<unsigned>(address[i]));
    }
    return text;
}

bool IsUsableHostAddress(const Ipv4Bytes& address) {
    return address[0] != 0 && address[0] != 127 && address[0] < 224;
}

}  // namespace ofu::devsim
