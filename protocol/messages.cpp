#include "protocol/messages.h"

#include "protocol/datagram_reader.h"
#include "protocol/shared_texts.h"
#include "protocol/transport.h"

#include <algorithm>
#include <cstring>

namespace ofu {
namespace {

void PutU32le(std::span<std::uint8_t> buffer, std::size_t offset, std::uint32_t value) {
    for (std::size_t k = 0; k < 4; ++k)
        buffer[offset + k] = static_cast<std::uint8_t>((value >> (8 * k)) & 0xFF);
}

void PutText(std::span<std::uint8_t> buffer, std::size_t offset, std::string_view text) {
    if (!text.empty()) std::memcpy(buffer.data() + offset, text.data(), text.size());
}

// Opcode, ClientId and four zero bytes.
void PutHeader(std::span<std::uint8_t> buffer, std::uint8_t opcode) {
    buffer[wire::kOpcodeOffset] = opcode;
    std::copy(ClientId.begin(), ClientId.end(), buffer.begin() + wire::kClientIdOffset);
    std::fill_n(buffer.begin() + wire::kClientIdOffset + wire::kClientIdSize,
                wire::kRequesterBlockSize - wire::kClientIdSize, 0);
}

// Header plus the target's key, the subcode and two zero bytes: the first 24 bytes of every
// device-addressed request. False when no listed device is the target or the buffer is
// shorter than `total`.
bool PutDevicePart(std::span<std::uint8_t> buffer, std::uint8_t opcode, std::uint8_t subcode,
                   std::size_t total) {
    const DeviceRecord* target = FindTargetRecord();
    if (target == nullptr || buffer.size() < total) return false;
    std::fill_n(buffer.begin(), total, 0);
    PutHeader(buffer, opcode);
    std::copy(target->key.bytes.begin(), target->key.bytes.end(),
              buffer.begin() + wire::kDeviceKeyOffset);
    buffer[wire::kSubcodeOffset] = subcode;
    return true;
}

}  // namespace

const DeviceRecord* FindTargetRecord() { return DeviceList.findByAddress(TargetDeviceAddress.view()); }

std::size_t BuildSearchRequest(std::span<std::uint8_t> buffer) {
    if (buffer.size() < wire::kSearchRequestSize) return 0;
    PutHeader(buffer, wire::kOpSearch);
    return wire::kSearchRequestSize;
}

std::size_t BuildQueryRequest(std::span<std::uint8_t> buffer, std::uint8_t subcode) {
    if (!PutDevicePart(buffer, wire::kOpQuery, subcode, wire::kQueryRequestSize)) return 0;
    PutU32le(buffer, wire::kValueLengthOffset, 0);
    return wire::kQueryRequestSize;
}

std::size_t BuildLoginRequest(std::span<std::uint8_t> buffer) {
    const std::string_view user = LoginUserName.view();
    const std::string_view password = LoginPassword.view();
    const std::size_t valueLength = user.size() + 2 + password.size();
    const std::size_t total = wire::kLoginTextOffset + valueLength;
    if (!PutDevicePart(buffer, wire::kOpQuery, wire::kQueryLogin, total)) return 0;
    PutU32le(buffer, wire::kValueLengthOffset, static_cast<std::uint32_t>(valueLength));
    std::size_t at = wire::kLoginTextOffset;
    PutText(buffer, at, user);
    at += user.size();
    buffer[at++] = wire::kLoginSeparator1;
    buffer[at++] = wire::kLoginSeparator2;
    PutText(buffer, at, password);
    return total;
}

std::size_t BuildSetRequest(std::span<std::uint8_t> buffer, std::uint8_t subcode,
                            std::string_view payload) {
    const std::size_t total = wire::kSetPayloadOffset + payload.size();
    if (!PutDevicePart(buffer, wire::kOpSet, subcode, total)) return 0;
    // Every set request carries both address fields, whatever its subcode.
    PutText(buffer, wire::kSetNetmaskOffset, NewNetmask.view());
    PutText(buffer, wire::kSetGatewayOffset, NewGateway.view());
    PutU32le(buffer, wire::kSetPayloadLengthOffset, static_cast<std::uint32_t>(payload.size()));
    PutText(buffer, wire::kSetPayloadOffset, payload);
    return total;
}

std::size_t BuildDhcpRequest(std::span<std::uint8_t> buffer) {
    if (!PutDevicePart(buffer, wire::kOpSet, wire::kSetDhcp, wire::kDhcpRequestSize)) return 0;
    return wire::kDhcpRequestSize;  // bytes 24 to 59 stay zero
}

bool MatchesClientId(std::span<const std::uint8_t> answer) {
    const auto id = DatagramReader(answer).bytesAt(wire::kClientIdOffset, wire::kClientIdSize);
    return !id.empty() && std::equal(id.begin(), id.end(), ClientId.begin());
}

std::optional<BoundedText<16>> AnswerAddressText(std::span<const std::uint8_t> answer) {
    const auto bytes = DatagramReader(answer).bytesAt(wire::kKeyAddressOffset, 4);
    if (bytes.empty()) return std::nullopt;
    return BytesToDottedQuad({bytes[0], bytes[1], bytes[2], bytes[3]});
}

std::optional<SearchAnswer> ParseSearchAnswer(std::span<const std::uint8_t> answer) {
    const DatagramReader reader(answer);
    const auto type = reader.byteAt(wire::kOpcodeOffset);
    if (!type) return std::nullopt;
    wire::SearchAnswerLayout layout{};
    switch (*type) {
        case wire::kAnswerSearchShort: layout = wire::kShortFormLayout; break;
        case wire::kAnswerSearchMatched: layout = wire::kMatchedFormLayout; break;
        case wire::kAnswerSearchLong: layout = wire::kLongFormLayout; break;
        default: return std::nullopt;
    }
    // Too short to hold the name's offset: not a search answer we can read.
    if (reader.size() < layout.nameOffset) return std::nullopt;

    SearchAnswer parsed;
    parsed.type = *type;
    parsed.address = *AnswerAddressText(answer);
    parsed.netmask = reader.textAt(wire::kAnswerNetmaskOffset, decltype(parsed.netmask)::kMaxLength);
    parsed.gateway = reader.textAt(wire::kAnswerGatewayOffset, decltype(parsed.gateway)::kMaxLength);
    parsed.dhcp = reader.textAt(wire::kAnswerDhcpOffset, 1);
    std::copy_n(answer.begin() + wire::kDeviceKeyOffset, wire::kDeviceKeySize, parsed.key.bytes.begin());
    // The model has a field of its own: an unterminated one ends there, never in the bytes
    // that follow it.
    if (*type == wire::kAnswerSearchLong) parsed.model = reader.textAt(wire::kModelOffset, wire::kModelFieldSize);

    // The name length is signed on the wire; a negative one gives an empty name, and the
    // name never runs past the datagram or the 255 characters a record holds.
    const auto rawLength = static_cast<std::int32_t>(*reader.u32le(layout.nameLengthOffset));
    const std::size_t nameLength =
        rawLength < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(rawLength),
                                                  decltype(parsed.name)::kMaxLength);
    parsed.name = reader.textAt(layout.nameOffset, nameLength);
    return parsed;
}

}  // namespace ofu
