// The IPv4 addresses and interfaces of the network namespace the simulator runs in,
// read fresh when asked (addresses come and go while the lab runs).
#pragma once

#include <string>
#include <vector>

#include "dotted_address.h"

namespace ofu::devsim {

struct LocalAddress {
    Ipv4Bytes address{};
    unsigned ifindex = 0;
    std::string interfaceName;
    bool loopback = false;
    bool up = false;
};

std::vector<LocalAddress> ListLocalAddresses();

bool HoldsAddress(const std::vector<LocalAddress>& addresses, const Ipv4Bytes& address);

// The first up, non-loopback interface; 0 when there is none.
unsigned FirstOutgoingInterface(const std::vector<LocalAddress>& addresses);

std::string InterfaceName(unsigned ifindex);

}  // namespace ofu::devsim
