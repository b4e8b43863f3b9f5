#include "local_interfaces.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>

#include <ifaddrs.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

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
        if (entry->ifa_netmask) {
            sockaddr_in mask{};
            std::memcpy(&mask, entry->ifa_netmask, sizeof mask);
            local.prefixLength = std::popcount(static_cast<std::uint32_t>(mask.sin_addr.s_addr));
        }
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

namespace {

// One RTM_NEWADDR or RTM_DELADDR request for address/32 on `ifindex`, and the kernel's
// acknowledgement read back.
bool ChangeHostAddress(std::uint16_t type, unsigned ifindex, const Ipv4Bytes& address, std::string& error) {
    struct Request {
        nlmsghdr header;
        ifaddrmsg message;
        alignas(NLMSG_ALIGNTO) unsigned char attributes[2 * RTA_SPACE(4)];
    } request{};
    request.header.nlmsg_type = type;
    request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_ACK;
    if (type == RTM_NEWADDR) request.header.nlmsg_flags |= NLM_F_CREATE | NLM_F_EXCL;
    request.header.nlmsg_seq = 1;
    request.message.ifa_family = AF_INET;
    request.message.ifa_prefixlen = 32;
    request.message.ifa_scope = RT_SCOPE_UNIVERSE;
    request.message.ifa_index = ifindex;
    unsigned char* next = request.attributes;
    for (const std::uint16_t kind : {static_cast<std::uint16_t>(IFA_LOCAL), static_cast<std::uint16_t>(IFA_ADDRESS)}) {
        rtattr attribute{};
        attribute.rta_type = kind;
        attribute.rta_len = RTA_LENGTH(4);
        std::memcpy(next, &attribute, sizeof attribute);
        std::memcpy(next + RTA_LENGTH(0), address.data(), 4);
        next += RTA_SPACE(4);
    }
    request.header.nlmsg_len = static_cast<std::uint32_t>(NLMSG_LENGTH(sizeof(ifaddrmsg)) + 2 * RTA_SPACE(4));

    const int fd = socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE);
    if (fd < 0) {
        error = std::string("netlink socket: ") + std::strerror(errno);
        return false;
    }
    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;
    bool ok = sendto(fd, &request, request.header.nlmsg_len, 0, reinterpret_cast<const sockaddr*>(&kernel),
                     sizeof kernel) >= 0;
    if (!ok) error = std::string("netlink send: ") + std::strerror(errno);
    alignas(nlmsghdr) unsigned char reply[4096];
    const ssize_t n = ok ? recv(fd, reply, sizeof reply, 0) : -1;
    if (ok && n < static_cast<ssize_t>(NLMSG_LENGTH(sizeof(nlmsgerr)))) {
        ok = false;
        error = n < 0 ? std::string("netlink receive: ") + std::strerror(errno) : "netlink: short answer";
    } else if (ok) {
        nlmsghdr header{};
        std::memcpy(&header, reply, sizeof header);
        nlmsgerr answer{};
        std::memcpy(&answer, reply + NLMSG_LENGTH(0), sizeof answer);
        if (header.nlmsg_type == NLMSG_ERROR && answer.error != 0) {
            ok = false;
            error = std::strerror(-answer.error);
        }
    }
    close(fd);
    return ok;
}

}  // namespace

bool AddHostAddress(unsigned ifindex, const Ipv4Bytes& address, std::string& error) {
    return ChangeHostAddress(RTM_NEWADDR, ifindex, address, error);
}

bool RemoveHostAddress(unsigned ifindex, const Ipv4Bytes& address, std::string& error) {
    return ChangeHostAddress(RTM_DELADDR, ifindex, address, error);
}

}  // namespace ofu::devsim
