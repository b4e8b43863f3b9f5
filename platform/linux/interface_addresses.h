// The workstation's IPv4 interface addresses as the kernel lists them.
#pragma once

#include <string>
#include <vector>

namespace ofu::platform::linux_net {

struct InterfaceAddress {
    std::string address;         // dotted text
    unsigned interfaceIndex = 0; // kernel interface index
    std::string netmask;         // dotted text
    // The subnet's broadcast address as dotted text; empty when the interface cannot
    // broadcast (a point-to-point link, for one).
    std::string broadcast;
};

// IPv4 addresses of interfaces that are up and running, loopback excluded, in the order
// getifaddrs lists them (by interface index; primary addresses before secondaries).
std::vector<InterfaceAddress> ListInterfaceAddresses();

}  // namespace ofu::platform::linux_net
