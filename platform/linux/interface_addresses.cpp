#include "platform/linux/interface_addresses.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <cstring>

namespace ofu::platform::linux_net {
namespace {

// The IPv4 address a kernel sockaddr holds; false when it holds none.
bool Ipv4Of(const sockaddr* source, in_addr& address) {
    if (source == nullptr || source->sa_family != AF_INET) return false;
    sockaddr_in copy{};
    static_assert(sizeof(copy) <= sizeof(sockaddr_storage));
    // Copy rather than cast: the kernel's sockaddr is only guaranteed to be a sockaddr.
    std::memcpy(&copy, source, sizeof(copy));
    address = copy.sin_addr;
    return true;
}

std::string DottedText(in_addr address) {
    char text[INET_ADDRSTRLEN] = {};
    if (inet_ntop(AF_INET, &address, text, sizeof(text)) == nullptr) return {};
    return text;
}

// The broadcast address set for the address; the subnet's highest address when none was
// set (`ip addr add` without `brd`: the kernel still routes the subnet's highest address as
// broadcast, but getifaddrs then reports the interface's own address in its place). Empty
// for a subnet too small to have one.
std::string BroadcastOf(const ifaddrs& entry, in_addr address, in_addr netmask) {
    in_addr broadcast{};
    if (Ipv4Of(entry.ifa_broadaddr, broadcast) && broadcast.s_addr != INADDR_ANY && broadcast.s_addr != address.s_addr)
        return DottedText(broadcast);
    if ((~ntohl(netmask.s_addr)) < 3) return {};  // a /31 or /32 subnet
    broadcast.s_addr = address.s_addr | ~netmask.s_addr;
    return DottedText(broadcast);
}

}  // namespace

std::vector<InterfaceAddress> ListInterfaceAddresses() {
    std::vector<InterfaceAddress> result;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return result;
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        in_addr address{};
        if (!Ipv4Of(entry->ifa_addr, address)) continue;
        const unsigned flags = entry->ifa_flags;
        if ((flags & IFF_LOOPBACK) != 0) continue;
        if ((flags & IFF_UP) == 0 || (flags & IFF_RUNNING) == 0) continue;
        const std::string text = DottedText(address);
        if (text.empty()) continue;
        in_addr netmask{};
        netmask.s_addr = INADDR_BROADCAST;  // a host route when the kernel gives no mask
        Ipv4Of(entry->ifa_netmask, netmask);
        InterfaceAddress item{text, if_nametoindex(entry->ifa_name), DottedText(netmask), {}};
        if ((flags & IFF_BROADCAST) != 0) item.broadcast = BroadcastOf(*entry, address, netmask);
        result.push_back(std::move(item));
    }
    freeifaddrs(list);
    return result;
}

}  // namespace ofu::platform::linux_net
