#include "udp_endpoint.h"

#include <cerrno>
#include <cstring>

#include <arpa/inet.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include "base/wire_format.h"

namespace ofu::devsim {
namespace {

std::string ErrorText(const std::string& what) { return what + ": " + std::strerror(errno); }

in_addr ToInAddr(const Ipv4Bytes& address) {
    in_addr in{};
    std::memcpy(&in.s_addr, address.data(), 4);
    return in;
}

}  // namespace

std::string SocketAddressText(const sockaddr_in& address) {
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
    return std::string(text) + ":" + std::to_string(ntohs(address.sin_port));
}

UdpEndpoint::~UdpEndpoint() {
    if (fd_ >= 0) close(fd_);
}

bool UdpEndpoint::open(std::string& error) {
    fd_ = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0) {
        error = ErrorText("socket");
        return false;
    }
    const int on = 1;
    const int off = 0;
    // Our own group answers must not come back to us as requests.
    if (setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        setsockopt(fd_, IPPROTO_IP, IP_PKTINFO, &on, sizeof on) != 0 ||
        setsockopt(fd_, IPPROTO_IP, IP_MULTICAST_LOOP, &off, sizeof off) != 0) {
        error = ErrorText("setsockopt");
        return false;
    }
    sockaddr_in any{};
    any.sin_family = AF_INET;
    any.sin_port = htons(wire::kPort);
    any.sin_addr.s_addr = htonl(INADDR_ANY);
    if (bind(fd_, reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0) {
        error = ErrorText("bind 0.0.0.0:13579");
        return false;
    }
    return true;
}

std::optional<ReceivedDatagram> UdpEndpoint::receive() {
    ReceivedDatagram datagram;
    iovec iov{buffer_.data(), buffer_.size()};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    msghdr msg{};
    msg.msg_name = &datagram.from;
    msg.msg_namelen = sizeof datagram.from;
    msg.msg_iov = &iov;
    msg.msg_iovlen = 1;
    msg.msg_control = control;
    msg.msg_controllen = sizeof control;
    const ssize_t n = recvmsg(fd_, &msg, 0);
    if (n < 0) return std::nullopt;
    const std::size_t size = std::min(static_cast<std::size_t>(n), buffer_.size());
    datagram.bytes.assign(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(size));
    for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c; c = CMSG_NXTHDR(&msg, c)) {
        if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) {
            in_pktinfo info{};
            std::memcpy(&info, CMSG_DATA(c), sizeof info);
            datagram.ifindex = static_cast<unsigned>(info.ipi_ifindex);
        }
    }
    return datagram;
}

bool UdpEndpoint::sendToGroup(std::span<const std::uint8_t> bytes, unsigned ifindex,
                              const std::optional<Ipv4Bytes>& source, std::string& error) {
    ip_mreqn outgoing{};
    outgoing.imr_ifindex = static_cast<int>(ifindex);
    if (source) outgoing.imr_address = ToInAddr(*source);
    if (setsockopt(fd_, IPPROTO_IP, IP_MULTICAST_IF, &outgoing, sizeof outgoing) != 0) {
        error = ErrorText("IP_MULTICAST_IF");
        return false;
    }
    sockaddr_in group{};
    group.sin_family = AF_INET;
    group.sin_port = htons(wire::kPort);
    inet_pton(AF_INET, wire::kGroupAddress, &group.sin_addr);
    if (sendto(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&group), sizeof group) < 0) {
        error = ErrorText("sendto group");
        return false;
    }
    return true;
}

bool UdpEndpoint::sendToHost(std::span<const std::uint8_t> bytes, const sockaddr_in& requester,
                             const std::optional<Ipv4Bytes>& source, std::string& error) {
    sockaddr_in to = requester;
    to.sin_port = htons(wire::kPort);
    iovec iov{const_cast<std::uint8_t*>(bytes.data()), bytes.size()};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    msghdr msg{};
    msg.msg_name = &to;
    msg.msg_namelen = sizeof to;
    msg.msg_iov = &iov;
    msg.msg_iovlen = 1;
    if (source) {
        // The device's own address as the sending address.
        msg.msg_control = control;
        msg.msg_controllen = sizeof control;
        cmsghdr* c = CMSG_FIRSTHDR(&msg);
        c->cmsg_level = IPPROTO_IP;
        c->cmsg_type = IP_PKTINFO;
        c->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
        in_pktinfo info{};
        info.ipi_spec_dst = ToInAddr(*source);
        std::memcpy(CMSG_DATA(c), &info, sizeof info);
    }
    if (sendmsg(fd_, &msg, 0) < 0) {
        error = ErrorText("sendmsg " + SocketAddressText(to));
        return false;
    }
    return true;
}

}  // namespace ofu::devsim
