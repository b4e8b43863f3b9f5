// Answers crafted for protocol tests, built with the device simulator's answer builders and
// addressed to this run's ClientId unless a test says otherwise.
#pragma once

#include "protocol/transport.h"
#include "tools/devsim/answer_builders.h"

#include <array>
#include <string>

namespace ofu::testing {

using Octets = std::array<std::uint8_t, 4>;

inline devsim::DeviceKeyBytes KeyFor(const Octets& address, std::uint8_t idSeed = 0x10) {
    const devsim::DeviceIdBytes id = {0x00, 0x50, 0x43, idSeed, static_cast<std::uint8_t>(idSeed + 1),
                                      static_cast<std::uint8_t>(idSeed + 2)};
    return devsim::MakeDeviceKey(id, address);
}

inline devsim::SearchAnswerFields SearchFields(std::uint8_t form, const Octets& address,
                                               std::string name) {
    devsim::SearchAnswerFields fields;
    fields.form = form;
    fields.clientId = ClientId;
    fields.key = KeyFor(address);
    fields.dhcpChar = '0';
    fields.netmask = "255.255.255.0";
    fields.gateway = "10.77.1.254";
    fields.model = form == 8 ? "NS-2300" : "";
    fields.name = std::move(name);
    return fields;
}

inline std::vector<std::uint8_t> SearchAnswer(std::uint8_t form, const Octets& address, std::string name) {
    return devsim::BuildSearchAnswer(SearchFields(form, address, std::move(name)));
}

inline std::vector<std::uint8_t> QueryAnswer(const Octets& address, std::string_view value) {
    return devsim::BuildQueryAnswer(ClientId, KeyFor(address), value);
}

inline std::vector<std::uint8_t> SetAnswer(const Octets& address) {
    return devsim::BuildSetAnswer(ClientId, KeyFor(address));
}

inline std::vector<std::uint8_t> LoginAnswer(const Octets& address, std::uint8_t result) {
    return devsim::BuildLoginAnswer(ClientId, KeyFor(address), result);
}

// The same datagram as if another run of the utility had asked.
inline std::vector<std::uint8_t> ForeignCopy(std::vector<std::uint8_t> answer) {
    if (answer.size() > 1) answer[1] ^= 0xFF;
    return answer;
}

}  // namespace ofu::testing
