// The devices found by the last search, in the order their first answer arrived, one
// record per device address.
#pragma once

#include "protocol/bounded_text.h"
#include "base/wire_format.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace ofu {

// The identity a device-addressed request carries: the device identifier as the device
// sent it, then its IPv4 address, first octet first.
struct DeviceKey {
    std::array<std::uint8_t, wire::kDeviceKeySize> bytes{};

    std::span<const std::uint8_t, wire::kDeviceIdSize> deviceId() const {
        return std::span<const std::uint8_t, wire::kDeviceIdSize>(bytes.data(), wire::kDeviceIdSize);
    }
    std::array<std::uint8_t, 4> address() const {
        return {bytes[6], bytes[7], bytes[8], bytes[9]};
    }
    void setAddress(const std::array<std::uint8_t, 4>& octets) {
        for (std::size_t k = 0; k < 4; ++k) bytes[6 + k] = octets[k];
    }
    friend bool operator==(const DeviceKey&, const DeviceKey&) = default;
};

struct DeviceRecord {
    BoundedText<256> name;
    BoundedText<16> ip;
    BoundedText<16> netmask;
    BoundedText<16> gateway;
    BoundedText<8> dhcp;
    DeviceKey key;
    BoundedText<34> model;
    std::int32_t interfaceIndex = 0;
};

// Owns its records; order of insertion; no two records share an `ip` text.
class DeviceRecordList {
public:
    using const_iterator = std::vector<DeviceRecord>::const_iterator;
    using iterator = std::vector<DeviceRecord>::iterator;

    std::int32_t count() const { return static_cast<std::int32_t>(records_.size()); }
    bool empty() const { return records_.empty(); }
    const_iterator begin() const { return records_.begin(); }
    const_iterator end() const { return records_.end(); }
    iterator begin() { return records_.begin(); }
    iterator end() { return records_.end(); }
    const DeviceRecord& at(std::size_t n) const { return records_.at(n); }

    // The first record whose `ip` equals `address` exactly, or null.
    DeviceRecord* findByAddress(std::string_view address);
    const DeviceRecord* findByAddress(std::string_view address) const;

    // Appends at the tail; false (and nothing appended) when the address is already listed.
    bool append(const DeviceRecord& record);
    void clear() { records_.clear(); }

private:
    std::vector<DeviceRecord> records_;
};

extern DeviceRecordList DeviceList;

// Builds a record from an accepted search answer received on local address `localIndex`
// and appends it unless its address is already listed. False when the answer is too short
// to be a search answer of its type or its address is listed.
bool AddDeviceRecord(std::span<const std::uint8_t> answer, std::int32_t localIndex);
// True when a record's `ip` equals `address` exactly.
bool FindDeviceByAddress(std::string_view address);
void FreeDeviceList();

// Parses the first four dotted numbers of `text` the way inet_addr does for a plain
// dotted quad; false when the text is not of the form a.b.c.d with parts of at most 255.
bool DottedQuadToBytes(std::string_view text, std::array<std::uint8_t, 4>& octets);
// "%d.%d.%d.%d" of four address bytes.
BoundedText<16> BytesToDottedQuad(const std::array<std::uint8_t, 4>& octets);

}  // namespace ofu
