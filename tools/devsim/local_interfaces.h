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
    int prefixLength = 32;
};

std::vector<LocalAddress> ListLocalAddresses();

bool HoldsAddress(const std::vector<LocalAddress>& addresses, const Ipv4Bytes& address);

// The first up, non-loopback interface; 0 when there is none.
unsigned FirstOutgoingInterface(const std::vector<LocalAddress>& addresses);

std::string InterfaceName(unsigned ifindex);

// Adds `address`/32 to interface `ifindex` of this namespace, or removes that /32 again
// (rtnetlink; needs CAP_NET_ADMIN). False with `error` set when the kernel refuses.
bool AddHostAddress(unsigned ifindex, const Ipv4Bytes& address, std::string& error);
bool RemoveHostAddress(unsigned ifindex, const Ipv4Bytes& address, std::string& error);

}  // namespace ofu::devsim
