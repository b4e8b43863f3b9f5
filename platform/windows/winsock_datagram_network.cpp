// Windows Sockets 1.1 as the device protocol uses them. Per local address: a sending socket,
// not bound, whose sending interface is set to the address before every send, and a receiving
// socket bound to the address and the device port with address reuse and membership of the
// device group on that address. Windows delivers the group's datagrams that arrive through the
// address's interface to a socket bound that way, so no further filter is needed.
#include "platform/clock.h"
#include "platform/datagram_network.h"
#include "platform/windows/windows_api.h"
#include "base/wire_format.h"

#include <algorithm>
#include <array>
#include <climits>

namespace ofu::platform {
namespace {

constexpr int kSlots = 8;
constexpr WORD kWinsockVersion = 0x0101;
constexpr int kHostNameBytes = 128;

struct Slot {
    SOCKET sender = INVALID_SOCKET;
    SOCKET receiver = INVALID_SOCKET;
    in_addr address{};
};

void CloseIfOpen(SOCKET& socket) {
    if (socket != INVALID_SOCKET) ::closesocket(socket);
    socket = INVALID_SOCKET;
}

void SetIntOption(SOCKET socket, int level, int name, int value) {
    ::setsockopt(socket, level, name, reinterpret_cast<const char*>(&value), sizeof(value));
}

sockaddr_in SocketAddress(in_addr address, std::uint16_t port) {
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_port = ::htons(port);
    result.sin_addr = address;
    return result;
}

in_addr ParseAddress(const std::string& text) {
    in_addr address{};
    address.s_addr = ::inet_addr(text.c_str());
    return address;
}

// The longest piece of a caller's buffer that one socket call can take.
int CallLength(std::size_t length) { return static_cast<int>(std::min<std::size_t>(length, INT_MAX)); }

class WinsockDatagramNetwork final : public DatagramNetwork {
public:
    bool startup() override {
        WSADATA data{};
        if (::WSAStartup(kWinsockVersion, &data) != 0) return false;
        ++startups_;
        return true;
    }

    void cleanup() override {
        for (int i = 0; i < kSlots; ++i) closeSlot(i);
        if (startups_ == 0) return;
        --startups_;
        ::WSACleanup();
    }

    std::vector<std::string> localAddresses() override {
        std::vector<std::string> texts;
        std::array<char, kHostNameBytes> name{};
        if (::gethostname(name.data(), static_cast<int>(name.size())) != 0) return texts;
        name.back() = '\0';
        const hostent* host = ::gethostbyname(name.data());
        if (host == nullptr || host->h_addrtype != AF_INET || host->h_length != 4 || host->h_addr_list == nullptr)
            return texts;
        for (char** entry = host->h_addr_list; *entry != nullptr; ++entry) {
            in_addr address{};
            std::copy_n(*entry, sizeof(address), reinterpret_cast<char*>(&address));
            // inet_ntoa answers in one static buffer: copy it before the next call.
            texts.emplace_back(::inet_ntoa(address));
        }
        return texts;
    }

    void openSender(int slot, const std::string& address) override {
        Slot* s = slotAt(slot);
        if (s == nullptr) return;
        CloseIfOpen(s->sender);
        s->address = ParseAddress(address);
        s->sender = ::socket(AF_INET, SOCK_DGRAM, 0);
        // The workstation must not hear its own requests.
        SetIntOption(s->sender, IPPROTO_IP, IP_MULTICAST_LOOP, 0);
    }

    void openReceiver(int slot, const std::string& address) override {
        Slot* s = slotAt(slot);
        if (s == nullptr) return;
        CloseIfOpen(s->receiver);
        s->address = ParseAddress(address);
        s->receiver = ::socket(AF_INET, SOCK_DGRAM, 0);
        SetIntOption(s->receiver, SOL_SOCKET, SO_REUSEADDR, 1);
        const sockaddr_in local = SocketAddress(s->address, wire::kPort);
        ::bind(s->receiver, reinterpret_cast<const sockaddr*>(&local), sizeof(local));
        ip_mreq membership{};
        membership.imr_multiaddr = ParseAddress(wire::kGroupAddress);
        membership.imr_interface = s->address;
        ::setsockopt(s->receiver, IPPROTO_IP, IP_ADD_MEMBERSHIP, reinterpret_cast<const char*>(&membership),
                     sizeof(membership));
        SetIntOption(s->receiver, IPPROTO_IP, IP_MULTICAST_LOOP, 0);
    }

    void closeSlot(int slot) override {
        Slot* s = slotAt(slot);
        if (s == nullptr) return;
        CloseIfOpen(s->sender);
        CloseIfOpen(s->receiver);
    }

    void sendToGroup(int slot, std::span<const std::uint8_t> datagram) override {
        Slot* s = slotAt(slot);
        if (s == nullptr || s->sender == INVALID_SOCKET || datagram.size() > INT_MAX) return;
        // The sending interface is set again before every send.
        ::setsockopt(s->sender, IPPROTO_IP, IP_MULTICAST_IF, reinterpret_cast<const char*>(&s->address),
                     sizeof(s->address));
        const sockaddr_in group = SocketAddress(ParseAddress(wire::kGroupAddress), wire::kPort);
        ::sendto(s->sender, reinterpret_cast<const char*>(datagram.data()), static_cast<int>(datagram.size()), 0,
                 reinterpret_cast<const sockaddr*>(&group), sizeof(group));
    }

    ReceiveResult receive(int slot, std::span<std::uint8_t> buffer, int waitMillis) override {
        Slot* s = slotAt(slot);
        if (s == nullptr || s->receiver == INVALID_SOCKET) {
            SteadyClock().sleepMillis(waitMillis);
            return {};
        }
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(s->receiver, &readable);
        const int wait = std::max(waitMillis, 0);
        timeval timeout{wait / 1000, (wait % 1000) * 1000};
        if (::select(0, &readable, nullptr, nullptr, &timeout) <= 0) return {};

        sockaddr_in sender{};
        int senderLength = sizeof(sender);
        // A datagram longer than the buffer fails with WSAEMSGSIZE: a receive error.
        const int received = ::recvfrom(s->receiver, reinterpret_cast<char*>(buffer.data()), CallLength(buffer.size()),
                                        0, reinterpret_cast<sockaddr*>(&sender), &senderLength);
        if (received == SOCKET_ERROR) return {ReceiveStatus::Error, 0};
        return {ReceiveStatus::Datagram, static_cast<std::size_t>(received)};
    }

private:
    Slot* slotAt(int slot) {
        if (slot < 0 || slot >= kSlots) return nullptr;
        return &slots_[static_cast<std::size_t>(slot)];
    }

    std::array<Slot, kSlots> slots_{};
    int startups_ = 0;
};

}  // namespace

DatagramNetwork& SystemDatagramNetwork() {
    static WinsockDatagramNetwork network;
    return network;
}

}  // namespace ofu::platform
