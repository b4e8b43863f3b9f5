#include "device_config.h"

#include <algorithm>

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

// A sequence is absent (empty) or 1 to 64 entries, each text as wide as its single field.
std::string CheckSequence(const DeviceConfig& config, const std::string& field, const AnswerSequence& sequence,
                          std::size_t maxLength) {
    if (sequence.size() > kMaxSequenceEntries) {
        return Problem(config, field, "more than " + std::to_string(kMaxSequenceEntries) + " entries");
    }
    for (std::size_t i = 0; i < sequence.size(); ++i) {
        if (!sequence[i]) continue;
        const std::string entry = field + "[" + std::to_string(i) + "]";
        if (auto e = CheckTextWidth(config, entry, *sequence[i], maxLength); !e.empty()) return e;
    }
    return {};
}

// ASCII only, whatever the locale: these names go into the lab's smbd and passwd files.
bool IsAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsAsciiDigit(unsigned char c) { return c >= '0' && c <= '9'; }

bool IsReservedUser(const std::string& user) {
    std::string lower(user);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lower == "root" || lower == "nobody" || lower == kAdminUserName;
}

bool IsShareUserName(const std::string& user) {
    if (user.empty() || user.size() > 32 || !IsAsciiLetter(static_cast<unsigned char>(user[0]))) return false;
    return std::all_of(user.begin(), user.end(), [](unsigned char c) {
        return IsAsciiLetter(c) || IsAsciiDigit(c) || c == '_' || c == '.' || c == '-';
    });
}

bool IsSharePassword(const std::string& password) {
    return !password.empty() && password.size() <= 64 &&
           std::all_of(password.begin(), password.end(), [](unsigned char c) { return c >= 0x20 && c <= 0x7E; });
}

// Each share of `shares` belongs to one of the volumes, its user name and password are
// usable by the lab's smbd, and a user has one password on the device (smbd keeps one).
std::string CheckShares(const DeviceConfig& config) {
    std::map<std::string, const std::string*> passwordOf;
    for (const auto& [volume, account] : config.shares) {
        const std::string field = "shares." + volume;
        if (std::find(config.volumes.begin(), config.volumes.end(), volume) == config.volumes.end()) {
            return Problem(config, "shares", Quoted(volume) + " is not one of the device's volumes");
        }
        if (account.sizeKib != 0 && (account.sizeKib < kMinShareSizeKib || account.sizeKib > kMaxShareSizeKib)) {
            return Problem(config, field + ".size_kib",
                           "not within " + std::to_string(kMinShareSizeKib) + " to " + std::to_string(kMaxShareSizeKib));
        }
        if (account.user.empty() && account.password.empty()) continue;  // a guest share
        if (!IsShareUserName(account.user)) {
            return Problem(config, field + ".user",
                           Quoted(account.user) + " is not 1 to 32 letters, digits, '_', '.' or '-' "
                                                  "starting with a letter");
        }
        if (IsReservedUser(account.user)) {
            return Problem(config, field + ".user", Quoted(account.user) + " is reserved");
        }
        if (!IsSharePassword(account.password)) {
            return Problem(config, field + ".password", "not 1 to 64 printable ASCII characters");
        }
        const auto [known, added] = passwordOf.emplace(account.user, &account.password);
        if (!added && *known->second != account.password) {
            return Problem(config, field + ".password",
                           "user " + Quoted(account.user) + " has another password on an earlier share");
        }
    }
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
    const std::pair<const char*, const AnswerSequence*> sequences[] = {
        {"ideok_sequence", &config.ideOkSequence},
        {"codepage_sequence", &config.codepageSequence},
        {"bt_firmware_sequence", &config.btFirmwareSequence},
        {"share_name_sequence", &config.shareNameSequence},
    };
    for (const auto& [field, sequence] : sequences) {
        if (auto e = CheckSequence(config, field, *sequence, kMaxValue); !e.empty()) return e;
    }
    if (config.restartSilenceMs < 0 || config.restartSilenceMs > kMaxRestartSilenceMs) {
        return Problem(config, "restart_silence_ms", "not within 0 to " + std::to_string(kMaxRestartSilenceMs));
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
    if (f.answerLimit < -1 || f.answerLimit > 1000000) {
        return Problem(config, "faults.answer_limit", "not within 0 to 1000000");
    }
    if (config.smbProtocol != "modern" && config.smbProtocol != "NT1") {
        return Problem(config, "smb_protocol", Quoted(config.smbProtocol) + " is not \"modern\" or \"NT1\"");
    }
    if (config.smbPorts.empty()) return Problem(config, "smb_ports", "an empty list");
    for (std::size_t i = 0; i < config.smbPorts.size(); ++i) {
        const int port = config.smbPorts[i];
        if (port != 445 && port != 139) {
            return Problem(config, "smb_ports", std::to_string(port) + " is not 445 or 139");
        }
        if (std::find(config.smbPorts.begin(), config.smbPorts.begin() + static_cast<std::ptrdiff_t>(i), port) !=
            config.smbPorts.begin() + static_cast<std::ptrdiff_t>(i)) {
            return Problem(config, "smb_ports", std::to_string(port) + " twice");
        }
    }
    return CheckShares(config);
}

bool ServesLink(const DeviceConfig& config, const std::string& link) {
    return link.empty() || config.link == "both" || config.link == link;
}

}  // namespace ofu::devsim
