#include "config_loader.h"

#include <fstream>
#include <limits>
#include <map>
#include <set>
#include <sstream>

#include <nlohmann/json.hpp>

namespace ofu::devsim {
namespace {

using nlohmann::json;

// Finds where a text stops being JSON, without exceptions: a SAX pass that only keeps the
// parser's error message.
class SyntaxErrorCatcher : public json::json_sax_t {
public:
    std::string message;
    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override { return true; }
    bool key(string_t&) override { return true; }
    bool end_object() override { return true; }
    bool start_array(std::size_t) override { return true; }
    bool end_array() override { return true; }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& error) override {
        message = error.what();
        return false;
    }
};

const std::set<std::string> kDeviceFields = {
    "name",     "ip",        "netmask",    "gateway",     "dhcp",   "device_id",      "answer_form",
    "match_bytes", "model",  "volumes",    "workgroup",   "codepage", "ideok",        "share_name",
    "bt_firmware", "domain", "ssl",        "admin_password", "dhcp_address", "answer_to", "link",
    "faults",   "shares",    "smb",        "web",         "silent_host", "ideok_sequence", "codepage_sequence",
    "bt_firmware_sequence", "share_name_sequence", "restart_silence_ms", "addon_folders", "smb_protocol", "smb_ports",
};
const std::set<std::string> kFaultFields = {
    "delay_ms", "drop_probability", "seed", "duplicates", "foreign_client_answers", "other_type_answers",
    "malformed", "malformed_replaces_answer", "answer_limit",
};

// Reads the fields of one device object; the first problem is kept and later reads do
// nothing, so the caller checks once at the end.
class DeviceReader {
public:
    DeviceReader(const json& object, std::string label, std::string prefix = {})
        : object_(object), label_(std::move(label)), prefix_(std::move(prefix)) {}

    const std::string& error() const { return error_; }
    void fail(std::string_view field, std::string_view what) {
        if (error_.empty()) error_ = label_ + ": field \"" + prefix_ + std::string(field) + "\": " + std::string(what);
    }

    void text(const char* field, std::string& out, bool required = false) {
        const json* v = find(field, required);
        if (!v) return;
        if (!v->is_string()) return fail(field, "expected a text");
        out = v->get<std::string>();
    }
    void flag(const char* field, bool& out) {
        const json* v = find(field, false);
        if (!v) return;
        if (!v->is_boolean()) return fail(field, "expected true or false");
        out = v->get<bool>();
    }
    template <typename Int>
    void integer(const char* field, Int& out, long long low, long long high) {
        const json* v = find(field, false);
        if (!v) return;
        if (!v->is_number_integer()) return fail(field, "expected a whole number");
        const auto value = v->get<long long>();
        if (value < low || value > high) {
            return fail(field, std::to_string(value) + " is not within " + std::to_string(low) + " to " +
                                   std::to_string(high));
        }
        out = static_cast<Int>(value);
    }
    void number(const char* field, double& out) {
        const json* v = find(field, false);
        if (!v) return;
        if (!v->is_number()) return fail(field, "expected a number");
        out = v->get<double>();
    }
    // A list of texts and nulls, such as [null, null, "3"]; an empty list is refused, since
    // it would leave nothing to answer with.
    void sequence(const char* field, AnswerSequence& out) {
        const json* v = find(field, false);
        if (!v) return;
        if (!v->is_array()) return fail(field, "expected a list of texts and nulls");
        if (v->empty()) return fail(field, "an empty list (leave the field out to answer with the single value)");
        for (const auto& entry : *v) {
            if (entry.is_null()) {
                out.emplace_back(std::nullopt);
            } else if (entry.is_string()) {
                out.emplace_back(entry.get<std::string>());
            } else {
                out.clear();
                return fail(field, "expected a list of texts and nulls");
            }
        }
    }
    const json* find(const char* field, bool required) {
        if (!error_.empty()) return nullptr;
        const auto it = object_.find(field);
        if (it == object_.end()) {
            if (required) fail(field, "missing");
            return nullptr;
        }
        return &*it;
    }

private:
    const json& object_;
    std::string label_;
    std::string prefix_;
    std::string error_;
};

void ReadFaults(const json& faults, const std::string& label, FaultConfig& out, std::string& error) {
    if (!faults.is_object()) {
        error = label + ": field \"faults\": expected an object";
        return;
    }
    for (const auto& [field, value] : faults.items()) {
        if (!kFaultFields.contains(field)) {
            error = label + ": field \"faults." + field + "\": unknown field";
            return;
        }
    }
    DeviceReader reader(faults, label, "faults.");
    reader.integer("delay_ms", out.delayMs, 0, 600000);
    reader.number("drop_probability", out.dropProbability);
    reader.integer("seed", out.seed, 0, std::numeric_limits<long long>::max());
    reader.integer("duplicates", out.duplicates, 0, 100);
    reader.integer("foreign_client_answers", out.foreignClientAnswers, 0, 100);
    reader.integer("other_type_answers", out.otherTypeAnswers, 0, 100);
    reader.flag("malformed_replaces_answer", out.malformedReplacesAnswer);
    reader.integer("answer_limit", out.answerLimit, 0, 1000000);
    if (const json* kinds = reader.find("malformed", false)) {
        if (!kinds->is_array()) {
            reader.fail("malformed", "expected a list of texts");
        } else {
            for (const auto& kind : *kinds) {
                const auto parsed = kind.is_string() ? ParseMalformedKind(kind.get<std::string>()) : std::nullopt;
                if (!parsed) {
                    reader.fail("malformed", kind.dump() +
                                                 " is not \"short\", \"unterminated\", \"name_over_255\" or "
                                                 "\"name_beyond_datagram\"");
                    break;
                }
                out.malformed.push_back(*parsed);
            }
        }
    }
    error = reader.error();
}

// "shares": {"VOLUME": {"user": NAME, "password": TEXT, "read_only": BOOL, "size_kib": N}, ...};
// user and password come together or not at all (a guest share).
void ReadShares(const json& shares, const std::string& label, std::map<std::string, ShareAccount>& out,
                std::string& error) {
    if (!shares.is_object()) {
        error = label + ": field \"shares\": expected an object of volume names";
        return;
    }
    for (const auto& [volume, account] : shares.items()) {
        const std::string prefix = "shares." + volume;
        if (!account.is_object()) {
            error = label + ": field \"" + prefix + "\": expected {\"user\": ..., \"password\": ...}";
            return;
        }
        for (const auto& [field, value] : account.items()) {
            if (field != "user" && field != "password" && field != "read_only" && field != "size_kib") {
                error = label + ": field \"" + prefix + "." + field + "\": unknown field";
                return;
            }
        }
        DeviceReader reader(account, label, prefix + ".");
        ShareAccount& entry = out[volume];
        const bool hasAccount = account.contains("user") || account.contains("password");
        reader.text("user", entry.user, hasAccount);
        reader.text("password", entry.password, hasAccount);
        reader.flag("read_only", entry.readOnly);
        reader.integer("size_kib", entry.sizeKib, kMinShareSizeKib, kMaxShareSizeKib);
        if (!reader.error().empty()) {
            error = reader.error();
            return;
        }
    }
}

std::string ReadDevice(const json& object, std::size_t index, DeviceConfig& config) {
    std::string label = "device #" + std::to_string(index + 1);
    if (!object.is_object()) return label + ": expected an object";
    if (const auto it = object.find("name"); it != object.end() && it->is_string()) {
        label = "device \"" + it->get<std::string>() + "\"";
    }
    for (const auto& [field, value] : object.items()) {
        if (!kDeviceFields.contains(field)) return label + ": field \"" + field + "\": unknown field";
    }

    DeviceReader reader(object, label);
    reader.text("name", config.name, true);
    reader.text("ip", config.ip, true);
    reader.text("netmask", config.netmask);
    reader.text("gateway", config.gateway);
    reader.flag("dhcp", config.dhcp);
    std::string deviceId;
    reader.text("device_id", deviceId, true);
    if (reader.error().empty()) {
        if (const auto id = ParseDeviceId(deviceId)) {
            config.deviceId = *id;
        } else {
            reader.fail("device_id", "\"" + deviceId + "\" is not six hex bytes such as \"00:11:22:33:44:55\"");
        }
    }
    reader.integer("answer_form", config.answerForm, 0, 255);
    if (const json* match = reader.find("match_bytes", false)) {
        if (!match->is_array() || match->size() != 2 || !(*match)[0].is_number_unsigned() ||
            !(*match)[1].is_number_unsigned() || (*match)[0].get<std::uint64_t>() > 255 ||
            (*match)[1].get<std::uint64_t>() > 255) {
            reader.fail("match_bytes", "expected two numbers from 0 to 255, such as [3, 3]");
        } else {
            config.matchByte1 = static_cast<std::uint8_t>((*match)[0].get<unsigned>());
            config.matchByte2 = static_cast<std::uint8_t>((*match)[1].get<unsigned>());
        }
    }
    reader.text("model", config.model);
    if (const json* volumes = reader.find("volumes", false)) {
        if (!volumes->is_array()) {
            reader.fail("volumes", "expected a list of texts");
        } else {
            for (const auto& volume : *volumes) {
                if (!volume.is_string()) {
                    reader.fail("volumes", "expected a list of texts");
                    break;
                }
                config.volumes.push_back(volume.get<std::string>());
            }
        }
    }
    reader.text("workgroup", config.workgroup);
    reader.text("codepage", config.codepage);
    reader.text("ideok", config.ideOk);
    reader.text("share_name", config.shareName);
    reader.text("bt_firmware", config.btFirmware);
    reader.sequence("ideok_sequence", config.ideOkSequence);
    reader.sequence("codepage_sequence", config.codepageSequence);
    reader.sequence("bt_firmware_sequence", config.btFirmwareSequence);
    reader.sequence("share_name_sequence", config.shareNameSequence);
    reader.integer("restart_silence_ms", config.restartSilenceMs, 0, kMaxRestartSilenceMs);
    reader.text("domain", config.domain);
    reader.text("ssl", config.ssl);
    reader.text("admin_password", config.adminPassword);
    reader.text("dhcp_address", config.dhcpAddress);
    std::string answerTo;
    reader.text("answer_to", answerTo);
    if (answerTo == "unicast") {
        config.answerTo = AnswerDestination::kUnicast;
    } else if (!answerTo.empty() && answerTo != "group") {
        reader.fail("answer_to", "\"" + answerTo + "\" is not \"group\" or \"unicast\"");
    }
    reader.text("link", config.link);
    reader.flag("smb", config.smbServer);
    reader.text("smb_protocol", config.smbProtocol);
    if (const json* ports = reader.find("smb_ports", false)) {
        if (!ports->is_array()) {
            reader.fail("smb_ports", "expected a list of port numbers (445, 139)");
        } else {
            config.smbPorts.clear();
            for (const auto& port : *ports) {
                if (!port.is_number_integer()) {
                    reader.fail("smb_ports", "expected a list of port numbers (445, 139)");
                    break;
                }
                const auto number = port.get<long long>();
                config.smbPorts.push_back(number == 445 || number == 139 ? static_cast<int>(number) : -1);
                if (config.smbPorts.back() < 0) {
                    reader.fail("smb_ports", std::to_string(number) + " is not 445 or 139");
                    break;
                }
            }
        }
    }
    reader.flag("web", config.webServer);
    reader.flag("silent_host", config.silentHost);
    reader.flag("addon_folders", config.addOnFolders);
    if (!reader.error().empty()) return reader.error();

    if (const auto it = object.find("faults"); it != object.end()) {
        std::string error;
        ReadFaults(*it, label, config.faults, error);
        if (!error.empty()) return error;
    }
    if (const auto it = object.find("shares"); it != object.end()) {
        std::string error;
        ReadShares(*it, label, config.shares, error);
        if (!error.empty()) return error;
    }
    return ValidateDeviceConfig(config);
}

}  // namespace

ConfigLoadResult LoadConfigText(const std::string& text, const std::string& sourceName) {
    ConfigLoadResult result;
    SyntaxErrorCatcher catcher;
    if (!json::sax_parse(text, &catcher)) {
        result.error = sourceName + ": not valid JSON: " + catcher.message;
        return result;
    }
    const json root = json::parse(text, nullptr, false);
    if (!root.is_object() || !root.contains("devices")) {
        result.error = sourceName + ": expected an object with a \"devices\" list";
        return result;
    }
    for (const auto& [field, value] : root.items()) {
        if (field != "devices") {
            result.error = sourceName + ": field \"" + field + "\": unknown field";
            return result;
        }
    }
    const json& devices = root["devices"];
    if (!devices.is_array()) {
        result.error = sourceName + ": field \"devices\": expected a list";
        return result;
    }
    std::set<std::string> names;
    for (std::size_t i = 0; i < devices.size(); ++i) {
        DeviceConfig config;
        if (std::string error = ReadDevice(devices[i], i, config); !error.empty()) {
            result.error = sourceName + ": " + error;
            result.devices.clear();
            return result;
        }
        if (!names.insert(config.name).second) {
            result.error = sourceName + ": device \"" + config.name + "\": field \"name\": used by an earlier device";
            result.devices.clear();
            return result;
        }
        result.devices.push_back(std::move(config));
    }
    return result;
}

ConfigLoadResult LoadConfigFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return ConfigLoadResult{{}, path + ": can't be read"};
    std::ostringstream text;
    text << in.rdbuf();
    return LoadConfigText(text.str(), path);
}

}  // namespace ofu::devsim
