#include "request_parser.h"

#include <algorithm>

namespace ofu::devsim {
namespace {

// The parse steps fill one result in place (moving a result with its optional parts around
// made GCC 12 warn of uninitialised strings at -O3).
void Fail(RequestParseResult& result, std::string error) {
    result.ok = false;
    result.error = std::move(error);
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

// Splits "user 0x55 0xAA password" at the first separator; false when there is none.
bool SplitLogin(std::span<const std::uint8_t> text, LoginFields& login) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == wire::kLoginSeparator1 && text[i + 1] == wire::kLoginSeparator2) {
            login.user = TextOf(text.first(i));
            login.password = TextOf(text.subspan(i + 2));
            return true;
        }
    }
    return false;
}

void ParseQuery(std::span<const std::uint8_t> datagram, RequestParseResult& result) {
    if (datagram.size() < wire::kQueryRequestSize) return Fail(result, "query shorter than 28 bytes");
    const std::uint32_t length = GetU32(datagram, wire::kValueLengthOffset);
    if (!CountedPartFits(datagram, wire::kLoginTextOffset, length)) {
        return Fail(result, "value length " + std::to_string(length) + " beyond the datagram");
    }
    if (result.request.subcode == wire::kQueryLogin) {
        const auto text = datagram.subspan(wire::kLoginTextOffset, length);
        if (!SplitLogin(text, result.request.login.emplace())) {
            result.request.login.reset();
            return Fail(result, "login without the 0x55 0xAA separator");
        }
    }
    result.ok = true;
}

void ParseSet(std::span<const std::uint8_t> datagram, RequestParseResult& result) {
    if (datagram.size() < wire::kSetPayloadOffset) return Fail(result, "set request shorter than 60 bytes");
    const std::uint32_t length = GetU32(datagram, wire::kSetPayloadLengthOffset);
    if (!CountedPartFits(datagram, wire::kSetPayloadOffset, length)) {
        return Fail(result, "payload length " + std::to_string(length) + " beyond the datagram");
    }
    SetFields& fields = result.request.set.emplace();
    fields.netmask = FieldText(datagram.subspan(wire::kSetNetmaskOffset, wire::kSetAddressFieldSize));
    fields.gateway = FieldText(datagram.subspan(wire::kSetGatewayOffset, wire::kSetAddressFieldSize));
    fields.payload = TextOf(datagram.subspan(wire::kSetPayloadOffset, length));
    result.ok = true;
}

}  // namespace

RequestParseResult ParseRequest(std::span<const std::uint8_t> datagram) {
    RequestParseResult result;
    if (datagram.empty()) {
        Fail(result, "empty datagram");
        return result;
    }
    result.request.opcode = datagram[wire::kOpcodeOffset];
    const std::size_t idBytes = std::min(wire::kClientIdSize, datagram.size() - 1);
    std::copy_n(datagram.begin() + wire::kClientIdOffset, idBytes, result.request.clientId.begin());

    const std::uint8_t opcode = result.request.opcode;
    if (opcode != wire::kOpSearch && opcode != wire::kOpQuery && opcode != wire::kOpSet) {
        Fail(result, "unknown opcode " + std::to_string(opcode));
    } else if (datagram.size() < wire::kSearchRequestSize) {
        Fail(result, "request shorter than 11 bytes");
    } else if (opcode == wire::kOpSearch) {
        result.ok = true;
    } else if (datagram.size() < wire::kSubcodeOffset + 1) {
        Fail(result, "request shorter than its subcode");
    } else {
        std::copy_n(datagram.begin() + wire::kDeviceKeyOffset, wire::kDeviceKeySize, result.request.key.begin());
        result.request.subcode = datagram[wire::kSubcodeOffset];
        if (opcode == wire::kOpQuery)
            ParseQuery(datagram, result);
        else
            ParseSet(datagram, result);
    }
    return result;
}

}  // namespace ofu::devsim
