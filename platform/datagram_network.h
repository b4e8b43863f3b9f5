// What the protocol needs from the operating system's sockets: the workstation's own IPv4
// addresses, and per local address one way to send a request to the device group and one
// way to receive the answers that arrive through that address's interface.
//
// The protocol addresses everything by the index of a local address (its slot in the
// local address table). How the sockets behind a slot are created, bound and filtered is
// the platform's business; the protocol never looks at a socket.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ofu::platform {

enum class ReceiveStatus {
    Nothing,   // nothing arrived within the wait
    Error,     // the receive itself failed (the datagram, if any, is lost)
    Datagram,  // `length` bytes were stored at the start of the buffer
};

struct ReceiveResult {
    ReceiveStatus status = ReceiveStatus::Nothing;
    std::size_t length = 0;
};

class DatagramNetwork {
public:
    virtual ~DatagramNetwork() = default;

    // Starts the socket library. False means it cannot be used at all.
    virtual bool startup() = 0;
    virtual void cleanup() = 0;

    // The workstation's IPv4 addresses as dotted texts, in the platform's order. May list
    // more than the protocol uses; the caller keeps the first ones.
    virtual std::vector<std::string> localAddresses() = 0;

    // Creates the sending side of slot `slot`, for the local address `address`.
    virtual void openSender(int slot, const std::string& address) = 0;
    // Creates the receiving side of slot `slot`: it delivers the datagrams that reach the
    // device port through that address's interface, sent to the group or to the address.
    virtual void openReceiver(int slot, const std::string& address) = 0;
    virtual void closeSlot(int slot) = 0;

    // Sends one datagram to the device group out of the slot's address.
    virtual void sendToGroup(int slot, std::span<const std::uint8_t> datagram) = 0;

    // Waits up to `waitMillis` for one datagram on the slot's receiving side and stores it
    // in `buffer`. A datagram longer than the buffer is a receive error.
    virtual ReceiveResult receive(int slot, std::span<std::uint8_t> buffer, int waitMillis) = 0;
};

// The network of this platform, with real sockets.
DatagramNetwork& SystemDatagramNetwork();

}  // namespace ofu::platform
