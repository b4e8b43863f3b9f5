// The workstation's IPv4 interface addresses as the kernel lists them.
#pragma once

#include <string>
#include <vector>

namespace ofu::platform::linux_net {

struct InterfaceAddress {
    std::string address;         // dotted text
    unsigned interfaceIndex = 0; // kernel interface index
};

// IPv4 addresses of interfaces that are up and running, loopback excluded, in the order
// getifaddrs lists them (by interface index; primary addresses before secondaries).
std::vector<InterfaceAddress> ListInterfaceAddresses();

}  // namespace ofu::platform::linux_net
