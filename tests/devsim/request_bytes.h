// Request datagrams as the utility sends them, laid out by hand for the simulator's tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "answer_builders.h"

namespace ofu::devsim::test {

inline const ClientIdBytes kClient{0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6};

inline std::vector<std::uint8_t> Header(std::uint8_t opcode, const ClientIdBytes& client = kClient) {
    std::vector<std::uint8_t> bytes(11, 0);
    bytes[0] = opcode;
    std::copy(client.begin(), client.end(), bytes.begin() + 1);
    return bytes;
}

inline std::vector<std::uint8_t> DeviceRequest(std::uint8_t opcode, const DeviceKeyBytes& key, std::uint8_t subcode) {
    auto bytes = Header(opcode);
    bytes.insert(bytes.end(), key.begin(), key.end());
    bytes.insert(bytes.end(), {subcode, 0, 0});
    return bytes;
}

inline void AppendU32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

inline void AppendText(std::vector<std::uint8_t>& bytes, const std::string& text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
}

inline std::vector<std::uint8_t> SearchRequest(const ClientIdBytes& client = kClient) { return Header(1, client); }

inline std::vector<std::uint8_t> QueryRequest(const DeviceKeyBytes& key, std::uint8_t subcode) {
    auto bytes = DeviceRequest(3, key, subcode);
    AppendU32(bytes, 0);
    return bytes;
}

inline std::vector<std::uint8_t> LoginRequest(const DeviceKeyBytes& key, const std::string& user,
                                              const std::string& password) {
    auto bytes = DeviceRequest(3, key, 4);
    AppendU32(bytes, static_cast<std::uint32_t>(user.size() + password.size() + 2));
    AppendText(bytes, user);
    bytes.insert(bytes.end(), {0x55, 0xAA});
    AppendText(bytes, password);
    return bytes;
}

inline std::vector<std::uint8_t> SetRequest(const DeviceKeyBytes& key, std::uint8_t subcode, const std::string& payload,
                                            const std::string& netmask = "", const std::string& gateway = "") {
    auto bytes = DeviceRequest(5, key, subcode);
    for (const auto* field : {&netmask, &gateway}) {
        std::string padded = *field;
        padded.resize(16, '\0');
        AppendText(bytes, padded);
    }
    AppendU32(bytes, static_cast<std::uint32_t>(payload.size()));
    AppendText(bytes, payload);
    return bytes;
}

inline std::vector<std::uint8_t> DhcpRequest(const DeviceKeyBytes& key) {
    auto bytes = DeviceRequest(5, key, 2);
    bytes.resize(56, 0);
    AppendU32(bytes, 0);
    return bytes;
}

}  // namespace ofu::devsim::test
