#include "protocol/device_list.h"

#include "protocol/messages.h"

#include <cstdio>

namespace ofu {

DeviceRecordList DeviceList;

DeviceRecord* DeviceRecordList::findByAddress(std::string_view address) {
    for (auto& record : records_)
        if (record.ip == address) return &record;
    return nullptr;
}

const DeviceRecord* DeviceRecordList::findByAddress(std::string_view address) const {
    for (const auto& record : records_)
        if (record.ip == address) return &record;
    return nullptr;
}

bool DeviceRecordList::append(const DeviceRecord& record) {
    if (findByAddress(record.ip.view()) != nullptr) return false;
    records_.push_back(record);
    return true;
}

bool AddDeviceRecord(std::span<const std::uint8_t> answer, std::int32_t localIndex) {
    const auto parsed = ParseSearchAnswer(answer);
    if (!parsed) return false;
    // The first answer for an address wins, also when the same device answers on two local
    // addresses or to both copies of the request.
    if (FindDeviceByAddress(parsed->address.view())) return false;
    DeviceRecord record;
    record.name = parsed->name;
    record.ip = parsed->address;
    record.netmask = parsed->netmask;
    record.gateway = parsed->gateway;
    record.dhcp = parsed->dhcp;
    record.key = parsed->key;
    record.model = parsed->model;
    record.interfaceIndex = localIndex;
    return DeviceList.append(record);
}

bool FindDeviceByAddress(std::string_view address) {
    return DeviceList.findByAddress(address) != nullptr;
}

void FreeDeviceList() { DeviceList.clear(); }

bool DottedQuadToBytes(std::string_view text, std::array<std::uint8_t, 4>& octets) {
    std::size_t pos = 0;
    for (std::size_t part = 0; part < 4; ++part) {
        if (part > 0) {
            if (pos >= text.size() || text[pos] != '.') return false;
            ++pos;
        }
        unsigned value = 0;
        std::size_t digits = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && digits < 4) {
            value = value * 10 + static_cast<unsigned>(text[pos] - '0');
            ++pos;
            ++digits;
        }
        if (digits == 0 || value > 255) return false;
        octets[part] = static_cast<std::uint8_t>(value);
    }
    return pos == text.size();
}

BoundedText<16> BytesToDottedQuad(const std::array<std::uint8_t, 4>& octets) {
    char text[16] = {};
    std::snprintf(text, sizeof(text), "%d.%d.%d.%d", octets[0], octets[1], octets[2], octets[3]);
    return BoundedText<16>(text);
}

}  // namespace ofu
