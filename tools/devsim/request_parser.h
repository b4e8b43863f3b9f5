// Parses one received request datagram with a bounds check before every read. A request
// that does not parse carries the reason, for the journal.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "answer_builders.h"

namespace ofu::devsim {

struct LoginFields {
    std::string user;
    std::string password;
};

struct SetFields {
    std::string netmask;  // the 16-byte fields up to their first zero byte
    std::string gateway;
    std::string payload;  // the N payload bytes as received
};

struct ParsedRequest {
    std::uint8_t opcode = 0;
    ClientIdBytes clientId{};
    DeviceKeyBytes key{};      // opcodes 3 and 5
    std::uint8_t subcode = 0;  // opcodes 3 and 5
    std::optional<LoginFields> login;  // opcode 3, subcode 4
    std::optional<SetFields> set;      // opcode 5
};

struct RequestParseResult {
    bool ok = false;
    ParsedRequest request;  // opcode and ClientId are filled as far as the datagram holds them
    std::string error;      // why it does not parse
};

// Search: at least 11 bytes. Query: at least 28 bytes plus the value length at 24; a login
// (subcode 4) needs its user name, the 0x55 0xAA separator and the password inside that
// length. Set: at least 60 bytes plus the payload length at 56. Bytes after the counted
// length are tolerated.
RequestParseResult ParseRequest(std::span<const std::uint8_t> datagram);

}  // namespace ofu::devsim
