// The simulator's one UDP socket: bound to 0.0.0.0:13579 (address reuse on), it receives
// the group requests of every interface together with the arrival interface, and sends the
// answers to the group out of a chosen interface or to a requester.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <netinet/in.h>

#include "dotted_address.h"

namespace ofu::devsim {

struct ReceivedDatagram {
    std::vector<std::uint8_t> bytes;  // exactly what was received
    sockaddr_in from{};
    unsigned ifindex = 0;  // arrival interface, 0 when unknown
};

class UdpEndpoint {
public:
    UdpEndpoint() = default;
    ~UdpEndpoint();
    UdpEndpoint(const UdpEndpoint&) = delete;
    UdpEndpoint& operator=(const UdpEndpoint&) = delete;

    bool open(std::string& error);
    int fd() const { return fd_; }

    // One waiting datagram, or nullopt when none waits (the socket does not block).
    std::optional<ReceivedDatagram> receive();

    // To 224.0.0.1:13579 out of interface `ifindex`. `source`, when given, must be an
    // address of this namespace: it becomes the sending address.
    bool sendToGroup(std::span<const std::uint8_t> bytes, unsigned ifindex,
                     const std::optional<Ipv4Bytes>& source, std::string& error);

    // To the requester's address, port 13579 (its own source port is an ephemeral one).
    bool sendToHost(std::span<const std::uint8_t> bytes, const sockaddr_in& requester,
                    const std::optional<Ipv4Bytes>& source, std::string& error);

private:
    int fd_ = -1;
    std::vector<std::uint8_t> buffer_ = std::vector<std::uint8_t>(65536);
};

std::string SocketAddressText(const sockaddr_in& address);  // "10.77.1.1:40000"

}  // namespace ofu::devsim
