// The sockets of one slot on the loopback address, with a plain socket as the device. Runs only
// where every local address is a lab address (a private network namespace under wine): it never
// sends anything where real networks could hear it.
#include "platform/datagram_network.h"
#include "platform/windows/windows_api.h"
#include "base/wire_format.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <string>

namespace ofu::platform {
namespace {

constexpr const char* kLoopback = "127.0.0.1";

sockaddr_in Address(const char* text) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = ::htons(wire::kPort);
    address.sin_addr.s_addr = ::inet_addr(text);
    return address;
}

// The device's side: a socket of its own, closed at the end of the test.
struct Device {
    SOCKET socket = ::socket(AF_INET, SOCK_DGRAM, 0);
    ~Device() { ::closesocket(socket); }
    void SendTo(const std::string& bytes, const char* to) const {
        const sockaddr_in target = Address(to);
        ::sendto(socket, bytes.data(), static_cast<int>(bytes.size()), 0, reinterpret_cast<const sockaddr*>(&target),
                 sizeof(target));
    }
};

class WinsockDatagramNetwork : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(network_.startup());
        for (const std::string& address : network_.localAddresses())
            if (!address.starts_with("127.") && !address.starts_with("10.77.") && !address.starts_with("10.80."))
                GTEST_SKIP() << "local address " << address << " is not a lab address";
        network_.openSender(0, kLoopback);
        network_.openReceiver(0, kLoopback);
    }
    void TearDown() override { network_.cleanup(); }

    // Polls the slot as discovery does, 10 ms at a time.
    ReceiveResult Receive(std::span<std::uint8_t> buffer) {
        for (int poll = 0; poll < 50; ++poll)
            if (const ReceiveResult result = network_.receive(0, buffer, 10); result.status != ReceiveStatus::Nothing)
                return result;
        return {};
    }

    DatagramNetwork& network_ = SystemDatagramNetwork();
};

TEST_F(WinsockDatagramNetwork, WaitsForADatagramToTheSlotsAddressAndRefusesOneTooLong) {
    std::array<std::uint8_t, 100> buffer{};
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(network_.receive(0, buffer, 30).status, ReceiveStatus::Nothing);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(25));

    Device device;
    device.SendTo("answer", kLoopback);
    const ReceiveResult result = Receive(buffer);
    ASSERT_EQ(result.status, ReceiveStatus::Datagram);
    EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(result.length)), "answer");
    device.SendTo(std::string(200, 'x'), kLoopback);
    EXPECT_EQ(Receive(buffer).status, ReceiveStatus::Error);
}

TEST_F(WinsockDatagramNetwork, SendsToTheGroupOutOfTheSlotsAddress) {
    // The device listens on the group as the devices do; address reuse lets it share the port
    // with the slot's receiver.
    Device device;
    const BOOL reuse = TRUE;
    ::setsockopt(device.socket, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse), sizeof(reuse));
    const sockaddr_in any = Address("0.0.0.0");
    ASSERT_EQ(::bind(device.socket, reinterpret_cast<const sockaddr*>(&any), sizeof(any)), 0);
    ip_mreq membership{};
    membership.imr_multiaddr.s_addr = ::inet_addr(wire::kGroupAddress);
    membership.imr_interface.s_addr = ::inet_addr(kLoopback);
    ASSERT_EQ(::setsockopt(device.socket, IPPROTO_IP, IP_ADD_MEMBERSHIP, reinterpret_cast<const char*>(&membership),
                           sizeof(membership)),
              0);

    network_.sendToGroup(0, std::array<std::uint8_t, 3>{'r', 'e', 'q'});
    const DWORD wait = 1000;
    ::setsockopt(device.socket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&wait), sizeof(wait));
    std::array<char, 16> got{};
    sockaddr_in from{};
    int fromLength = sizeof(from);
    ASSERT_EQ(::recvfrom(device.socket, got.data(), 16, 0, reinterpret_cast<sockaddr*>(&from), &fromLength), 3);
    EXPECT_EQ(std::string(got.data(), 3), "req");
    EXPECT_EQ(from.sin_addr.s_addr, ::inet_addr(kLoopback));
}

}  // namespace
}  // namespace ofu::platform
