#include "resources/payloads/codepage_stand_ins.h"

#include "resources/payloads/byte_order.h"
#include "resources/payloads/filler_bytes.h"

#include <charconv>
#include <stdexcept>
#include <string>

namespace ofu::payloads {
namespace {

constexpr std::size_t kDescriptorHeader = 8;
constexpr std::size_t kDescriptorEntry = 4;

std::uint16_t CodepageNumber(std::string_view text) {
    std::uint16_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc{} || end != text.data() + text.size())
        throw std::invalid_argument("\"" + std::string(text) + "\" is not a codepage number");
    return number;
}

std::string_view QuotedName(std::string_view description) {
    const std::size_t open = description.find('"');
    const std::size_t close = open == std::string_view::npos ? open : description.find('"', open + 1);
    if (close == std::string_view::npos || close == open + 1)
        throw std::invalid_argument("the description names no codepage in quotes");
    return description.substr(open + 1, close - open - 1);
}

}  // namespace

std::vector<std::uint8_t> MakeCodepageDescriptor(const PayloadEntry& row) {
    if (row.size < kDescriptorHeader || (row.size - kDescriptorHeader) % kDescriptorEntry != 0)
        throw std::length_error("a descriptor is an 8-byte header and 4-byte entries");
    std::vector<std::uint8_t> bytes(row.size, 0);
    bytes[0] = 0x01;
    bytes[1] = 0x00;
    Put16(bytes, 2, CodepageNumber(row.belongsTo), ByteOrder::Little);
    Put32(bytes, 4, row.size - static_cast<std::uint32_t>(kDescriptorHeader), ByteOrder::Little);
    // Each entry: a byte value of the codepage's upper half and the character it stands for.
    FillerBytes filler(row.id);
    for (std::size_t at = kDescriptorHeader, n = 0; at < bytes.size(); at += kDescriptorEntry, ++n) {
        Put16(bytes, at, static_cast<std::uint32_t>(0x80 + n % 0x80), ByteOrder::Little);
        Put16(bytes, at + 2, static_cast<std::uint32_t>(0x00A0 + filler.Next() % 0x2000), ByteOrder::Little);
    }
    return bytes;
}

std::vector<std::uint8_t> MakeUnicodeMap(const PayloadEntry& row) {
    const std::string_view name = QuotedName(row.description);
    if (row.size < 2 + name.size()) throw std::length_error("the map is too small for its header");
    std::vector<std::uint8_t> bytes(row.size, 0);
    bytes[0] = 0x01;
    bytes[1] = 0x80;
    std::copy(name.begin(), name.end(), bytes.begin() + 2);
    return bytes;
}

}  // namespace ofu::payloads
