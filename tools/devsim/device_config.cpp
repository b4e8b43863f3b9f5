#include "device_config.h"

#include "dotted_address.h"

namespace ofu::devsim {
namespace {

std::string Problem(const DeviceConfig& config, std::string_view field, std::string_view what) {
    return "device \"" + config.name + "\": field \"" + std::string(field) + "\": " + std::string(what);
}

std::string Quoted(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted.push_back('"');
    quoted.append(text);
    quoted.push_back('"');
    return quoted;
}

std::string CheckAddress(const DeviceConfig& config, std::string_view field, const std::string& text,
                         bool mustBeHost) {
    const auto address = ParseDottedAddress(text);
    if (!address) return Problem(config, field, Quoted(text) + " is not a dotted IPv4 address");
    if (mustBeHost && !IsUsableHostAddress(*address)) {
        return Problem(config, field, Quoted(text) + " is not a usable host address");
    }
    return {};
}

std::string CheckTextWidth(const DeviceConfig& config, std::string_view field, const std::string& text,
                           std::size_t maxLength) {
    if (text.size() > maxLength) {
        return Problem(config, field, "longer than " + std::to_string(maxLength) + " characters");
    }
    if (text.find('\0') != std::string::npos) return Problem(config, field, "contains a zero byte");
    return {};
}

}  // namespace

std::string ValidateDeviceConfig(const DeviceConfig& config) {
    if (config.name.empty()) return "a device: field \"name\": missing or empty";
    if (auto e = CheckTextWidth(config, "name", config.name, 255); !e.empty()) return e;
    if (auto e = CheckAddress(config, "ip", config.ip, true); !e.empty()) return e;
    if (!config.netmask.empty()) {
        if (auto e = CheckAddress(config, "netmask", config.netmask, false); !e.empty()) return e;
    }
    if (!config.gateway.empty()) {
        if (auto e = CheckAddress(config, "gateway", config.gateway, false); !e.empty()) return e;
    }
    if (!config.dhcpAddress.empty()) {
        if (auto e = CheckAddress(config, "dhcp_address", config.dhcpAddress, true); !e.empty()) return e;
    }
    if (config.answerForm != 2 && config.answerForm != 7 && config.answerForm != 8) {
        return Problem(config, "answer_form", std::to_string(config.answerForm) + " is not 2, 7 or 8");
    }
    if (auto e = CheckTextWidth(config, "model", config.model, wire::kModelFieldSize - 1); !e.empty()) return e;
    if (config.link != "dev1" && config.link != "dev2" && config.link != "both") {
        return Problem(config, "link", Quoted(config.link) + " is not \"dev1\", \"dev2\" or \"both\"");
    }
    // A query value fills the rest of the utility's 4096-byte receive buffer at most.
    constexpr std::size_t kMaxValue = wire::kDatagramBufferSize - wire::kQueryValueOffset;
    std::size_t volumesLength = 0;
    for (const auto& volume : config.volumes) {
        if (volume.empty()) return Problem(config, "volumes", "an empty volume name");
        if (auto e = CheckTextWidth(config, "volumes", volume, 255); !e.empty()) return e;
        volumesLength += volume.size() + 1;
    }
    if (volumesLength > kMaxValue + 1) {
        return Problem(config, "volumes", "joined longer than " + std::to_string(kMaxValue) + " characters");
    }
    const std::pair<const char*, const std::string*> texts[] = {
        {"workgroup", &config.workgroup}, {"codepage", &config.codepage},     {"ideok", &config.ideOk},
        {"share_name", &config.shareName}, {"bt_firmware", &config.btFirmware}, {"domain", &config.domain},
        {"ssl", &config.ssl},             {"admin_password", &config.adminPassword},
    };
    for (const auto& [field, text] : texts) {
        if (auto e = CheckTextWidth(config, field, *text, kMaxValue); !e.empty()) return e;
    }
    const FaultConfig& f = config.faults;
    if (f.delayMs < 0 || f.delayMs > 600000) return Problem(config, "faults.delay_ms", "not within 0 to 600000");
    if (!(f.dropProbability >= 0.0 && f.dropProbability <= 1.0)) {
        return Problem(config, "faults.drop_probability", "not within 0 to 1");
    }
    const std::pair<const char*, int> counts[] = {
        {"faults.duplicates", f.duplicates},
        {"faults.foreign_client_answers", f.foreignClientAnswers},
        {"faults.other_type_answers", f.otherTypeAnswers},
    };
    for (const auto& [field, count] : counts) {
        if (count < 0 || count > 100) return Problem(config, field, "not within 0 to 100");
    }
    return {};
}

bool ServesLink(const DeviceConfig& config, const std::string& link) {
    return link.empty() || config.link == "both" || config.link == link;
}

}  // namespace ofu::devsim
