#include "fuzz/support/protocol_session.h"

#include "protocol/device_list.h"
#include "protocol/shared_texts.h"
#include "protocol/trace.h"
#include "protocol/transport.h"
#include "protocol/volume_list.h"

#include <algorithm>

namespace ofu::fuzz {
namespace {

void ResetProtocolState() {
    FreeDeviceList();
    VolumeList.clear();
    ClearSharedTexts();
}

}  // namespace

ProtocolSession::ProtocolSession(int count) : count_(count) {
    ResetProtocolState();
    std::vector<std::string> addresses;
    for (int i = 0; i < count; ++i) addresses.push_back("10.77." + std::to_string(i + 1) + ".1");
    network.setLocalAddresses(std::move(addresses));
    InstallTransportBackends(&network, &clock);
    SetTraceSink([this](std::string_view line) { traces.emplace_back(line); });
    StartTransport();
}

ProtocolSession::~ProtocolSession() {
    StopTransport();
    InstallTransportBackends(nullptr, nullptr);
    SetTraceSink({});
    ResetProtocolState();
}

std::vector<ScheduledDatagram> ScheduleDatagramScript(FuzzInput& input, ProtocolSession& session,
                                                      const ScriptTiming& timing,
                                                      const std::optional<std::array<std::uint8_t, 4>>& deviceAddress) {
    std::vector<ScheduledDatagram> datagrams;
    while (!input.empty()) {
        const std::uint8_t control = input.byte();
        const std::uint8_t time = input.byte();
        const int slot = (control & 0x07) % session.addressCount();
        const std::int64_t at = timing.startMicros + slot * timing.slotMicros + time * timing.stepMicros;
        if (control & kEventReceiveError) {
            session.network.failReceiveAt(slot, at);
            continue;
        }
        const std::uint16_t length = input.u16le();
        const auto bytes = input.take(length);
        testing::Bytes datagram(bytes.begin(), bytes.end());
        if (!(control & kEventKeepClientId) && datagram.size() >= wire::kClientIdOffset + wire::kClientIdSize)
            std::copy(ClientId.begin(), ClientId.end(), datagram.begin() + wire::kClientIdOffset);
        if (!(control & kEventKeepAddress) && deviceAddress && datagram.size() >= wire::kKeyAddressOffset + 4)
            std::copy(deviceAddress->begin(), deviceAddress->end(), datagram.begin() + wire::kKeyAddressOffset);
        datagrams.push_back({slot, datagram});
        session.network.deliverAt(slot, std::move(datagram), at);
    }
    return datagrams;
}

std::vector<std::uint8_t> ScriptEvent(std::uint8_t control, std::uint8_t time,
                                      const std::vector<std::uint8_t>& datagram) {
    std::vector<std::uint8_t> event{control, time};
    if (control & kEventReceiveError) return event;
    const auto length = static_cast<std::uint16_t>(std::min<std::size_t>(datagram.size(), 0xFFFF));
    event.push_back(static_cast<std::uint8_t>(length & 0xFF));
    event.push_back(static_cast<std::uint8_t>(length >> 8));
    event.insert(event.end(), datagram.begin(), datagram.begin() + length);
    return event;
}

}  // namespace ofu::fuzz
