#include "tools/ofu/device_output.h"

#include "protocol/transport.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <ostream>
#include <vector>

namespace ofu::cli {
namespace {

using Json = nlohmann::json;

// Device texts are 8-bit and may not be valid UTF-8: invalid bytes print as U+FFFD.
std::string Dump(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

bool DhcpOn(const DeviceRecord& record) { return !record.dhcp.empty() && record.dhcp.view()[0] == '1'; }

std::string LocalAddressOf(const DeviceRecord& record) {
    if (record.interfaceIndex < 0 || record.interfaceIndex >= localAddressCount) return {};
    return LocalAddressTable[static_cast<std::size_t>(record.interfaceIndex)].str();
}

}  // namespace

std::string Printable(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return result;
}

std::string KeyHex(const DeviceKey& key) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (std::uint8_t byte : key.bytes) {
        hex.push_back(kDigits[byte >> 4]);
        hex.push_back(kDigits[byte & 0x0F]);
    }
    return hex;
}

void WriteDeviceTable(const DeviceRecordList& devices, bool json, std::ostream& out) {
    if (json) {
        Json list = Json::array();
        for (const DeviceRecord& record : devices) {
            list.push_back({{"name", record.name.str()},
                            {"ip", record.ip.str()},
                            {"netmask", record.netmask.str()},
                            {"gateway", record.gateway.str()},
                            {"dhcp", DhcpOn(record)},
                            {"model", record.model.str()},
                            {"interface", record.interfaceIndex},
                            {"local_address", LocalAddressOf(record)},
                            {"key", KeyHex(record.key)}});
        }
        out << Dump(list) << "\n";
        return;
    }
    const std::array<std::string, 7> header = {"NAME", "ADDRESS", "NETMASK", "GATEWAY", "DHCP", "MODEL", "LOCAL ADDRESS"};
    std::vector<std::array<std::string, 7>> rows;
    for (const DeviceRecord& record : devices)
        rows.push_back({Printable(record.name.view()), record.ip.str(), Printable(record.netmask.view()),
                        Printable(record.gateway.view()), DhcpOn(record) ? "on" : "off",
                        Printable(record.model.view()), LocalAddressOf(record)});
    std::array<std::size_t, 7> widths{};
    for (std::size_t c = 0; c < widths.size(); ++c) {
        widths[c] = header[c].size();
        for (const auto& row : rows) widths[c] = std::max(widths[c], row[c].size());
    }
    const auto writeRow = [&](const std::array<std::string, 7>& row) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            line += row[c];
            if (c + 1 < row.size()) line += std::string(widths[c] - row[c].size() + 2, ' ');
        }
        out << line << "\n";
    };
    writeRow(header);
    for (const auto& row : rows) writeRow(row);
    if (rows.empty()) out << "(no devices found)\n";
}

void WriteVolumes(const VolumeEntryList& volumes, bool json, std::ostream& out) {
    if (json) {
        Json names = Json::array();
        for (const VolumeEntry& entry : volumes) names.push_back(entry.name.str());
        out << Dump(Json{{"volumes", names}}) << "\n";
        return;
    }
    for (const VolumeEntry& entry : volumes) out << Printable(entry.name.view()) << "\n";
}

void WriteValue(std::string_view value, bool json, std::ostream& out) {
    if (json) {
        out << Dump(Json{{"value", std::string(value)}}) << "\n";
        return;
    }
    out << Printable(value) << "\n";
}

}  // namespace ofu::cli
