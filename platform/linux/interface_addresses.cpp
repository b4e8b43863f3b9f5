#include "platform/linux/interface_addresses.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <cstring>

namespace ofu::platform::linux_net {

std::vector<InterfaceAddress> ListInterfaceAddresses() {
    std::vector<InterfaceAddress> result;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return result;
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET) continue;
        const unsigned flags = entry->ifa_flags;
        if ((flags & IFF_LOOPBACK) != 0) continue;
        if ((flags & IFF_UP) == 0 || (flags & IFF_RUNNING) == 0) continue;
        sockaddr_in address{};
        static_assert(sizeof(address) <= sizeof(sockaddr_storage));
        // Copy rather than cast: the kernel's sockaddr is only guaranteed to be a sockaddr.
        std::memcpy(&address, entry->ifa_addr, sizeof(address));
        char text[INET_ADDRSTRLEN] = {};
        if (inet_ntop(AF_INET, &address.sin_addr, text, sizeof(text)) == nullptr) continue;
        result.push_back({text, if_nametoindex(entry->ifa_name)});
    }
    freeifaddrs(list);
    return result;
}

}  // namespace ofu::platform::linux_net
