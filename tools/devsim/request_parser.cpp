#include "request_parser.h"

#include <algorithm>

namespace ofu::devsim {
namespace {

RequestParseResult Fail(RequestParseResult result, std::string error) {
    result.ok = false;
    result.error = std::move(error);
    return result;
}

std::string TextOf(std::span<const std::uint8_t> bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// A fixed-width request field: its text runs to the first zero byte or fills the field.
std::string FieldText(std::span<const std::uint8_t> field) {
    const auto zero = std::find(field.begin(), field.end(), std::uint8_t{0});
    return std::string(field.begin(), zero);
}

// The counted part that starts at `offset` must end inside the datagram. Lengths are
// compared in 64 bits so that a huge 32-bit length can't wrap around.
bool CountedPartFits(std::span<const std::uint8_t> datagram, std::size_t offset, std::uint32_t length) {
    return static_cast<std::uint64_t>(offset) + length <= datagram.size();
}

std::optional<LoginFields> SplitLogin(std::span<const std::uint8_t> text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == wire::kLoginSeparator1 && text[i + 1] == wire::kLoginSeparator2) {
            return LoginFields{TextOf(text.first(i)), TextOf(text.subspan(i + 2))};
        }
    }
    return std::nullopt;
}

RequestParseResult ParseQuery(std::span<const std::uint8_t> datagram, RequestParseResult result) {
    if (datagram.size() < wire::kQueryRequestSize) return Fail(std::move(result), "query shorter than 28 bytes");
    const std::uint32_t length = GetU32(datagram, wire::kValueLengthOffset);
    if (!CountedPartFits(datagram, wire::kLoginTextOffset, length)) {
        return Fail(std::move(result), "value length " + std::to_string(length) + " beyond the datagram");
    }
    if (result.request.subcode == wire::kQueryLogin) {
        auto login = SplitLogin(datagram.subspan(wire::kLoginTextOffset, length));
        if (!login) return Fail(std::move(result), "login without the 0x55 0xAA separator");
        result.request.login = std::move(login);
    }
    result.ok = true;
    return result;
}

RequestParseResult ParseSet(std::span<const std::uint8_t> datagram, RequestParseResult result) {
    if (datagram.size() < wire::kSetPayloadOffset) return Fail(std::move(result), "set request shorter than 60 bytes");
    const std::uint32_t length = GetU32(datagram, wire::kSetPayloadLengthOffset);
    if (!CountedPartFits(datagram, wire::kSetPayloadOffset, length)) {
        return Fail(std::move(result), "payload length " + std::to_string(length) + " beyond the datagram");
    }
    SetFields fields;
    fields.netmask = FieldText(datagram.subspan(wire::kSetNetmaskOffset, wire::kSetAddressFieldSize));
    fields.gateway = FieldText(datagram.subspan(wire::kSetGatewayOffset, wire::kSetAddressFieldSize));
    fields.payload = TextOf(datagram.subspan(wire::kSetPayloadOffset, length));
    result.request.set = std::move(fields);
    result.ok = true;
    return result;
}

}  // namespace

RequestParseResult ParseRequest(std::span<const std::uint8_t> datagram) {
    RequestParseResult result;
    if (datagram.empty()) return Fail(std::move(result), "empty datagram");
    result.request.opcode = datagram[wire::kOpcodeOffset];
    const std::size_t idBytes = std::min(wire::kClientIdSize, datagram.size() - 1);
    std::copy_n(datagram.begin() + wire::kClientIdOffset, idBytes, result.request.clientId.begin());

    const std::uint8_t opcode = result.request.opcode;
    if (opcode != wire::kOpSearch && opcode != wire::kOpQuery && opcode != wire::kOpSet) {
        return Fail(std::move(result), "unknown opcode " + std::to_string(opcode));
    }
    if (datagram.size() < wire::kSearchRequestSize) return Fail(std::move(result), "request shorter than 11 bytes");
    if (opcode == wire::kOpSearch) {
        result.ok = true;
        return result;
    }
    if (datagram.size() < wire::kSubcodeOffset + 1) return Fail(std::move(result), "request shorter than its subcode");
    std::copy_n(datagram.begin() + wire::kDeviceKeyOffset, wire::kDeviceKeySize, result.request.key.begin());
    result.request.subcode = datagram[wire::kSubcodeOffset];
    return opcode == wire::kOpQuery ? ParseQuery(datagram, std::move(result)) : ParseSet(datagram, std::move(result));
}

}  // namespace ofu::devsim
