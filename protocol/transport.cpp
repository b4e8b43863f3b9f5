#include "protocol/transport.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace ofu {

std::array<AddressText, kMaxLocalAddresses> LocalAddressTable{};
std::int32_t localAddressCount = 0;
std::array<std::uint8_t, wire::kClientIdSize> ClientId{};

namespace {

platform::DatagramNetwork* installedNetwork = nullptr;
platform::Clock* installedClock = nullptr;
bool transportOpen = false;

platform::DatagramNetwork& Network() {
    return installedNetwork != nullptr ? *installedNetwork : platform::SystemDatagramNetwork();
}

bool ValidIndex(int index) { return index >= 0 && index < localAddressCount; }

}  // namespace

platform::Clock& TransportClock() {
    return installedClock != nullptr ? *installedClock : platform::SteadyClock();
}

void InstallTransportBackends(platform::DatagramNetwork* network, platform::Clock* clock) {
    installedNetwork = network;
    installedClock = clock;
}

std::array<std::uint8_t, wire::kClientIdSize> ChooseClientId(std::int64_t seconds) {
    std::srand(static_cast<unsigned>(seconds));
    std::array<std::uint8_t, wire::kClientIdSize> id{};
    for (auto& byte : id) byte = static_cast<std::uint8_t>(std::rand() & 0xFF);
    return id;
}

void ListLocalAddresses() {
    for (auto& slot : LocalAddressTable) slot.clear();
    localAddressCount = 0;
    for (const std::string& address : Network().localAddresses()) {
        if (localAddressCount == kMaxLocalAddresses) break;
        LocalAddressTable[static_cast<std::size_t>(localAddressCount)] = address;
        ++localAddressCount;
    }
    ClientId = ChooseClientId(TransportClock().wallClockSeconds());
}

void StartTransport() {
    if (!Network().startup()) std::exit(1);
    ListLocalAddresses();
    // Every sending side exists before the first receiving side.
    for (int i = 0; i < localAddressCount; ++i)
        Network().openSender(i, LocalAddressTable[static_cast<std::size_t>(i)].str());
    for (int i = 0; i < localAddressCount; ++i)
        Network().openReceiver(i, LocalAddressTable[static_cast<std::size_t>(i)].str());
    transportOpen = true;
}

void StopTransport() {
    if (!transportOpen) return;
    for (int i = 0; i < localAddressCount; ++i) Network().closeSlot(i);
    Network().cleanup();
    transportOpen = false;
}

bool TransportIsOpen() { return transportOpen; }

void SendRequest(int index, std::span<const std::uint8_t> request) {
    if (!transportOpen || !ValidIndex(index)) return;
    Network().sendToGroup(index, request);
}

platform::ReceiveStatus ReceiveAnswer(int index, AnswerBuffer& answer) {
    answer.length = 0;
    answer.bytes[0] = 0;
    if (!transportOpen || !ValidIndex(index)) {
        TransportClock().sleepMillis(kReceiveWaitMillis);
        return platform::ReceiveStatus::Nothing;
    }
    const auto result = Network().receive(
        index, std::span<std::uint8_t>(answer.bytes.data(), wire::kDatagramBufferSize),
        kReceiveWaitMillis);
    if (result.status == platform::ReceiveStatus::Datagram) {
        answer.length = std::min(result.length, wire::kDatagramBufferSize);
        answer.bytes[answer.length] = 0;
    }
    return result.status;
}

}  // namespace ofu
