// One datagram that a simulated device wants sent.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dotted_address.h"

namespace ofu::devsim {

struct SimAnswer {
    std::vector<std::uint8_t> bytes;
    int delayMs = 0;       // send this long after the request arrived
    bool toGroup = true;   // to 224.0.0.1:13579, else to the requester's address, port 13579
    std::string fault;     // empty for the genuine answer; else what was injected
    Ipv4Bytes deviceAddress{};  // the device's address when it answered (its sending address)
};

}  // namespace ofu::devsim
