#include "tests/support/memory_network.h"

#include <cstring>

namespace ofu::testing {

void MemoryNetwork::deliverAt(int slot, Bytes bytes, std::int64_t atMicros) {
    arrivals_[slot].emplace(std::make_pair(atMicros, sequence_++), Arrival{false, std::move(bytes)});
}

void MemoryNetwork::deliverAfter(int slot, Bytes bytes, int delayMillis) {
    deliverAt(slot, std::move(bytes), clock_.nowMicros() + static_cast<std::int64_t>(delayMillis) * 1000);
}

void MemoryNetwork::failReceiveAt(int slot, std::int64_t atMicros) {
    arrivals_[slot].emplace(std::make_pair(atMicros, sequence_++), Arrival{true, {}});
}

std::size_t MemoryNetwork::pending(int slot) const {
    const auto it = arrivals_.find(slot);
    return it == arrivals_.end() ? 0 : it->second.size();
}

int MemoryNetwork::receiveCalls(int slot) const {
    const auto it = receiveCalls_.find(slot);
    return it == receiveCalls_.end() ? 0 : it->second;
}

bool MemoryNetwork::receiverOpen(int slot) const {
    const auto it = receiverOpen_.find(slot);
    return it != receiverOpen_.end() && it->second;
}

void MemoryNetwork::openSender(int slot, const std::string&) {
    openOrder_.push_back("S" + std::to_string(slot));
}

void MemoryNetwork::openReceiver(int slot, const std::string&) {
    openOrder_.push_back("R" + std::to_string(slot));
    receiverOpen_[slot] = true;
}

void MemoryNetwork::closeSlot(int slot) { receiverOpen_[slot] = false; }

void MemoryNetwork::sendToGroup(int slot, std::span<const std::uint8_t> datagram) {
    sent_.push_back({slot, Bytes(datagram.begin(), datagram.end()), clock_.nowMicros()});
    for (const auto& responder : responders_) responder(slot, datagram);
}

platform::ReceiveResult MemoryNetwork::receive(int slot, std::span<std::uint8_t> buffer, int waitMillis) {
    ++receiveCalls_[slot];
    const std::int64_t deadline = clock_.nowMicros() + static_cast<std::int64_t>(waitMillis) * 1000;
    auto& queue = arrivals_[slot];
    const auto next = queue.begin();
    if (!receiverOpen(slot) || next == queue.end() || next->first.first > deadline) {
        clock_.advanceTo(deadline);
        return {};
    }
    clock_.advanceTo(next->first.first);
    const Arrival arrival = std::move(next->second);
    queue.erase(next);
    if (arrival.error || arrival.bytes.size() > buffer.size())
        return {platform::ReceiveStatus::Error, 0};
    if (!arrival.bytes.empty()) std::memcpy(buffer.data(), arrival.bytes.data(), arrival.bytes.size());
    return {platform::ReceiveStatus::Datagram, arrival.bytes.size()};
}

}  // namespace ofu::testing
