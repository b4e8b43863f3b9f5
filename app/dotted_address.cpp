#include "app/dotted_address.h"

namespace ofu {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool ParseDottedAddress(std::string_view text, AddressOctets* octets) {
    std::uint32_t parts[4] = {};
    int count = 0;
    std::size_t pos = 0;
    for (;;) {
        // Each part starts with a digit; its base follows from its first characters.
        if (pos >= text.size() || text[pos] < '0' || text[pos] > '9') return false;
        unsigned base = 10;
        if (text[pos] == '0') {
            ++pos;
            base = 8;
            if (pos < text.size() && (text[pos] == 'x' || text[pos] == 'X')) {
                ++pos;
                base = 16;
            }
        }
        std::uint64_t value = 0;
        const std::size_t digitsStart = pos;
        for (; pos < text.size(); ++pos) {
            const int digit = DigitValue(text[pos]);
            // Decimal digits are taken in every base (8 and 9 in octal too); letters in hex only.
            if (digit < 0 || (digit >= 10 && base != 16)) break;
            value = value * base + static_cast<unsigned>(digit);
            if (value > 0xFFFFFFFFull) return false;
        }
        if (base == 16 && pos == digitsStart) return false;  // "0x" needs a digit after it
        parts[count++] = static_cast<std::uint32_t>(value);
        if (pos < text.size() && text[pos] == '.') {
            ++pos;
            if (count == 4) return false;  // at most three parts precede the last one
            continue;
        }
        break;
    }
    for (; pos < text.size(); ++pos)
        if (!IsSpace(text[pos])) return false;

    std::uint32_t address = parts[count - 1];
    for (int k = 0; k < count - 1; ++k) {
        if (parts[k] > 255) return false;
        address |= parts[k] << (24 - 8 * k);
    }
    // The last part fills the bytes the others left.
    static constexpr std::uint32_t kLastPartLimit[] = {0xFFFFFFFFu, 0xFFFFFFu, 0xFFFFu, 0xFFu};
    if (parts[count - 1] > kLastPartLimit[count - 1]) return false;
    if (octets != nullptr)
        *octets = {static_cast<std::uint8_t>(address >> 24), static_cast<std::uint8_t>(address >> 16),
                   static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address)};
    return true;
}

AddressOctets InetAddr(std::string_view text) {
    AddressOctets octets{255, 255, 255, 255};
    ParseDottedAddress(text, &octets);
    return octets;
}

}  // namespace ofu
