// Real sockets on Linux.
//
// A socket bound to a unicast address does not receive group datagrams on Linux, so each
// local address gets two receiving sockets: one bound to the group and port (membership on
// that interface only, IP_MULTICAST_ALL off) and one bound to the address and port. Both
// report the arrival interface (IP_PKTINFO), and only datagrams that came in through the
// address's own interface are kept, which is what a receiver bound to the address gives
// on the platforms where the group is received that way. SO_REUSEPORT is never set: it
// would hand each group datagram to one socket only.
#include "platform/clock.h"
#include "platform/datagram_network.h"
#include "platform/linux/interface_addresses.h"
#include "base/wire_format.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace ofu::platform {
namespace {

constexpr int kSlots = 8;

struct Slot {
    int sender = -1;
    int groupReceiver = -1;
    int unicastReceiver = -1;
    unsigned interfaceIndex = 0;
    in_addr address{};
    bool preferUnicast = false;  // alternates which socket is read first when both are ready
};

void CloseIfOpen(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

void SetIntOption(int fd, int level, int name, int value) {
    ::setsockopt(fd, level, name, &value, sizeof(value));
}

sockaddr_in SocketAddress(in_addr address, std::uint16_t port) {
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_port = htons(port);
    result.sin_addr = address;
    return result;
}

bool Bind(int fd, in_addr address) {
    const sockaddr_in local = SocketAddress(address, wire::kPort);
    return ::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof(local)) == 0;
}

in_addr GroupAddress() {
    in_addr group{};
    ::inet_pton(AF_INET, wire::kGroupAddress, &group);
    return group;
}

// A receiving socket with address reuse and arrival-interface reporting, bound to `bindTo`.
int OpenReceiveSocket(in_addr bindTo) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    SetIntOption(fd, SOL_SOCKET, SO_REUSEADDR, 1);
    SetIntOption(fd, IPPROTO_IP, IP_PKTINFO, 1);
    if (!Bind(fd, bindTo)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

class LinuxDatagramNetwork final : public DatagramNetwork {
public:
    bool startup() override { return true; }
    void cleanup() override {
        for (int i = 0; i < kSlots; ++i) closeSlot(i);
    }

    std::vector<std::string> localAddresses() override {
        interfaces_ = linux_net::ListInterfaceAddresses();
        std::vector<std::string> texts;
        for (const auto& entry : interfaces_) texts.push_back(entry.address);
        return texts;
    }

    void openSender(int slot, const std::string& address) override {
        Slot* s = slotAt(slot);
        if (s == nullptr) return;
        CloseIfOpen(s->sender);
        ::inet_pton(AF_INET, address.c_str(), &s->address);
        s->sender = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        if (s->sender < 0) return;
        // The workstation must not hear its own requests.
        SetIntOption(s->sender, IPPROTO_IP, IP_MULTICAST_LOOP, 0);
    }

    void openReceiver(int slot, const std::string& address) override {
        Slot* s = slotAt(slot);
        if (s == nullptr) return;
        CloseIfOpen(s->groupReceiver);
        CloseIfOpen(s->unicastReceiver);
        in_addr local{};
        if (::inet_pton(AF_INET, address.c_str(), &local) != 1) return;
        s->address = local;
        s->interfaceIndex = interfaceIndexOf(address);

        s->groupReceiver = OpenReceiveSocket(GroupAddress());
        if (s->groupReceiver >= 0) {
            // Only the membership made below, not every group the host has joined.
            SetIntOption(s->groupReceiver, IPPROTO_IP, IP_MULTICAST_ALL, 0);
            ip_mreqn membership{};
            membership.imr_multiaddr = GroupAddress();
            membership.imr_address = local;
            membership.imr_ifindex = static_cast<int>(s->interfaceIndex);
            ::setsockopt(s->groupReceiver, IPPROTO_IP, IP_ADD_MEMBERSHIP, &membership,
                         sizeof(membership));
        }
        s->unicastReceiver = OpenReceiveSocket(local);
    }

    void closeSlot(int slot) override {
        Slot* s = slotAt(slot);
        if (s == nullptr) return;
        CloseIfOpen(s->sender);
        CloseIfOpen(s->groupReceiver);
        CloseIfOpen(s->unicastReceiver);
    }

    void sendToGroup(int slot, std::span<const std::uint8_t> datagram) override {
        Slot* s = slotAt(slot);
        if (s == nullptr || s->sender < 0) return;
        // The sending interface is set again before every send.
        ::setsockopt(s->sender, IPPROTO_IP, IP_MULTICAST_IF, &s->address, sizeof(s->address));
        const sockaddr_in group = SocketAddress(GroupAddress(), wire::kPort);
        ::sendto(s->sender, datagram.data(), datagram.size(), 0,
                 reinterpret_cast<const sockaddr*>(&group), sizeof(group));
    }

    ReceiveResult receive(int slot, std::span<std::uint8_t> buffer, int waitMillis) override {
        Slot* s = slotAt(slot);
        if (s == nullptr || (s->groupReceiver < 0 && s->unicastReceiver < 0)) {
            SteadyClock().sleepMillis(waitMillis);
            return {};
        }
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMillis);
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            std::array<pollfd, 2> fds{pollfd{s->groupReceiver, POLLIN, 0},
                                      pollfd{s->unicastReceiver, POLLIN, 0}};
            const int ready = ::poll(fds.data(), fds.size(),
                                     static_cast<int>(std::max<long long>(0, left.count())));
            if (ready < 0 && errno == EINTR) continue;
            if (ready <= 0) return {};
            const bool groupReady = (fds[0].revents & (POLLIN | POLLERR)) != 0;
            const bool unicastReady = (fds[1].revents & (POLLIN | POLLERR)) != 0;
            int fd = groupReady ? s->groupReceiver : s->unicastReceiver;
            if (groupReady && unicastReady && s->preferUnicast) fd = s->unicastReceiver;
            s->preferUnicast = !s->preferUnicast;

            const ReceiveResult result = receiveOne(fd, s->interfaceIndex, buffer);
            if (result.status != ReceiveStatus::Nothing) return result;
            // A datagram that came in through another interface is not this address's:
            // drop it and keep waiting for what is left of the wait.
            if (std::chrono::steady_clock::now() >= deadline) return {};
        }
    }

private:
    Slot* slotAt(int slot) {
        if (slot < 0 || slot >= kSlots) return nullptr;
        return &slots_[static_cast<std::size_t>(slot)];
    }

    unsigned interfaceIndexOf(const std::string& address) {
        for (const auto& entry : interfaces_)
            if (entry.address == address) return entry.interfaceIndex;
        for (const auto& entry : linux_net::ListInterfaceAddresses())
            if (entry.address == address) return entry.interfaceIndex;
        return 0;
    }

    static ReceiveResult receiveOne(int fd, unsigned interfaceIndex,
                                    std::span<std::uint8_t> buffer) {
        iovec io{buffer.data(), buffer.size()};
        alignas(cmsghdr) std::array<char, CMSG_SPACE(sizeof(in_pktinfo))> control{};
        sockaddr_in sender{};
        msghdr message{};
        message.msg_name = &sender;
        message.msg_namelen = sizeof(sender);
        message.msg_iov = &io;
        message.msg_iovlen = 1;
        message.msg_control = control.data();
        message.msg_controllen = control.size();
        const ssize_t received = ::recvmsg(fd, &message, MSG_DONTWAIT);
        if (received < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) return {};
            return {ReceiveStatus::Error, 0};
        }
        unsigned arrivedOn = 0;
        for (cmsghdr* c = CMSG_FIRSTHDR(&message); c != nullptr; c = CMSG_NXTHDR(&message, c)) {
            if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) {
                in_pktinfo info{};
                std::memcpy(&info, CMSG_DATA(c), sizeof(info));
                arrivedOn = static_cast<unsigned>(info.ipi_ifindex);
            }
        }
        if (interfaceIndex != 0 && arrivedOn != interfaceIndex) return {};
        // A datagram larger than the buffer cannot be taken whole: a receive error.
        if ((message.msg_flags & MSG_TRUNC) != 0) return {ReceiveStatus::Error, 0};
        return {ReceiveStatus::Datagram, static_cast<std::size_t>(received)};
    }

    std::array<Slot, kSlots> slots_{};
    std::vector<linux_net::InterfaceAddress> interfaces_;
};

}  // namespace

DatagramNetwork& SystemDatagramNetwork() {
    static LinuxDatagramNetwork network;
    return network;
}

}  // namespace ofu::platform
