#include "answer_builders.h"

#include <algorithm>

namespace ofu::devsim {
namespace {

std::vector<std::uint8_t> StartAnswer(std::size_t size, std::uint8_t type, const ClientIdBytes& clientId,
                                      const DeviceKeyBytes& key) {
    std::vector<std::uint8_t> bytes(size, 0);
    bytes[0] = type;
    std::copy(clientId.begin(), clientId.end(), bytes.begin() + wire::kClientIdOffset);
    std::copy(key.begin(), key.end(), bytes.begin() + wire::kDeviceKeyOffset);
    return bytes;
}

// Copies at most width - 1 characters so that the field keeps a terminator.
void PutTerminatedText(std::vector<std::uint8_t>& bytes, std::size_t offset, std::size_t width,
                       std::string_view text) {
    const std::size_t n = std::min(text.size(), width - 1);
    std::copy_n(text.begin(), n, bytes.begin() + static_cast<std::ptrdiff_t>(offset));
}

}  // namespace

void PutU32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t GetU32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(bytes[offset + i]) << (8 * i);
    return value;
}

DeviceKeyBytes MakeDeviceKey(const DeviceIdBytes& deviceId, const Ipv4Bytes& address) {
    DeviceKeyBytes key{};
    std::copy(deviceId.begin(), deviceId.end(), key.begin());
    std::copy(address.begin(), address.end(), key.begin() + wire::kDeviceIdSize);
    return key;
}

std::optional<wire::SearchAnswerLayout> SearchLayoutOf(std::uint8_t form) {
    switch (form) {
        case wire::kAnswerSearchShort: return wire::kShortFormLayout;
        case wire::kAnswerSearchMatched: return wire::kMatchedFormLayout;
        case wire::kAnswerSearchLong: return wire::kLongFormLayout;
        default: return std::nullopt;
    }
}

std::vector<std::uint8_t> BuildSearchAnswer(const SearchAnswerFields& fields) {
    const auto layout = SearchLayoutOf(fields.form);
    if (!layout) return {};
    auto bytes = StartAnswer(layout->nameOffset + fields.name.size(), fields.form, fields.clientId, fields.key);
    bytes[wire::kAnswerDhcpOffset] = static_cast<std::uint8_t>(fields.dhcpChar);
    PutTerminatedText(bytes, wire::kAnswerNetmaskOffset, wire::kAnswerAddressFieldSize, fields.netmask);
    PutTerminatedText(bytes, wire::kAnswerGatewayOffset, wire::kAnswerAddressFieldSize, fields.gateway);
    if (fields.form != wire::kAnswerSearchShort) {
        bytes[wire::kMatchByte1Offset] = fields.matchByte1;
        bytes[wire::kMatchByte2Offset] = fields.matchByte2;
    }
    if (fields.form == wire::kAnswerSearchLong) {
        PutTerminatedText(bytes, wire::kModelOffset, wire::kModelFieldSize, fields.model);
    }
    PutU32(bytes, layout->nameLengthOffset, static_cast<std::uint32_t>(fields.name.size()));
    std::copy(fields.name.begin(), fields.name.end(),
              bytes.begin() + static_cast<std::ptrdiff_t>(layout->nameOffset));
    return bytes;
}

std::vector<std::uint8_t> BuildSearchAnswer(std::uint8_t form, const ClientIdBytes& clientId,
                                            const DeviceKeyBytes& key, char dhcpChar,
                                            std::string_view netmask, std::string_view gateway,
                                            std::uint8_t matchByte1, std::uint8_t matchByte2,
                                            std::string_view model, std::string_view name) {
    SearchAnswerFields fields;
    fields.form = form;
    fields.clientId = clientId;
    fields.key = key;
    fields.dhcpChar = dhcpChar;
    fields.netmask = netmask;
    fields.gateway = gateway;
    fields.matchByte1 = matchByte1;
    fields.matchByte2 = matchByte2;
    fields.model = model;
    fields.name = name;
    return BuildSearchAnswer(fields);
}

std::vector<std::uint8_t> BuildQueryAnswer(const ClientIdBytes& clientId, const DeviceKeyBytes& key,
                                           std::string_view value) {
    auto bytes = StartAnswer(wire::kQueryValueOffset + value.size(), wire::kAnswerQuery, clientId, key);
    PutU32(bytes, wire::kValueLengthOffset, static_cast<std::uint32_t>(value.size()));
    std::copy(value.begin(), value.end(), bytes.begin() + wire::kQueryValueOffset);
    return bytes;
}

std::vector<std::uint8_t> BuildLoginAnswer(const ClientIdBytes& clientId, const DeviceKeyBytes& key,
                                           std::uint8_t result) {
    auto bytes = StartAnswer(wire::kLoginResultOffset + 1, wire::kAnswerQuery, clientId, key);
    PutU32(bytes, wire::kValueLengthOffset, 1);
    bytes[wire::kLoginResultOffset] = result;
    return bytes;
}

std::vector<std::uint8_t> BuildSetAnswer(const ClientIdBytes& clientId, const DeviceKeyBytes& key) {
    return StartAnswer(kAnswerHeaderSize, wire::kAnswerSet, clientId, key);
}

}  // namespace ofu::devsim
