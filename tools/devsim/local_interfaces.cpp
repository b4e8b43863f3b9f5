#include "local_interfaces.h"

#include <algorithm>
#include <cstring>

#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

namespace ofu::devsim {

std::vector<LocalAddress> ListLocalAddresses() {
    std::vector<LocalAddress> result;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return result;
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET) continue;
        sockaddr_in in{};
        std::memcpy(&in, entry->ifa_addr, sizeof in);
        LocalAddress local;
        std::memcpy(local.address.data(), &in.sin_addr.s_addr, 4);
        local.interfaceName = entry->ifa_name ? entry->ifa_name : "";
        local.ifindex = if_nametoindex(local.interfaceName.c_str());
        local.loopback = (entry->ifa_flags & IFF_LOOPBACK) != 0;
        local.up = (entry->ifa_flags & IFF_UP) != 0 && (entry->ifa_flags & IFF_RUNNING) != 0;
        result.push_back(std::move(local));
    }
    freeifaddrs(list);
    return result;
}

bool HoldsAddress(const std::vector<LocalAddress>& addresses, const Ipv4Bytes& address) {
    return std::any_of(addresses.begin(), addresses.end(),
                       [&](const LocalAddress& local) { return local.address == address; });
}

unsigned FirstOutgoingInterface(const std::vector<LocalAddress>& addresses) {
    for (const auto& local : addresses) {
        if (local.up && !local.loopback && local.ifindex != 0) return local.ifindex;
    }
    return 0;
}

std::string InterfaceName(unsigned ifindex) {
    char name[IF_NAMESIZE] = {};
    if (ifindex == 0 || !if_indextoname(ifindex, name)) return {};
    return name;
}

}  // namespace ofu::devsim
