#include "sim_device.h"

#include <algorithm>

namespace ofu::devsim {
namespace {

std::string JoinVolumes(const std::vector<std::string>& volumes) {
    std::string joined;
    for (const auto& volume : volumes) {
        if (!joined.empty()) joined += ':';
        joined += volume;
    }
    return joined;
}

// The address text of bytes 17 to 20, when the datagram holds them.
std::optional<std::string> KeyAddressText(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < wire::kKeyAddressOffset + 4) return std::nullopt;
    Ipv4Bytes address{};
    std::copy_n(bytes.begin() + wire::kKeyAddressOffset, 4, address.begin());
    return FormatDottedAddress(address);
}

// The config field whose sequence drives queries of this subcode, for the journal.
const char* SequenceFieldName(std::uint8_t subcode) {
    switch (subcode) {
        case wire::kQueryIdeOk: return "ideok_sequence";
        case wire::kQueryCodepage: return "codepage_sequence";
        case wire::kQueryBtFirmware: return "bt_firmware_sequence";
        default: return "share_name_sequence";
    }
}

// Set requests after which a real device restarts to apply what it was sent.
bool StartsRestart(std::uint8_t subcode) {
    return subcode == wire::kSetCodepage || subcode == wire::kSetAddOnName;
}

std::string DestinationText(const SimAnswer& answer, const RequestOrigin& origin) {
    if (answer.toGroup) return std::string(wire::kGroupAddress) + ":" + std::to_string(wire::kPort);
    const std::string host = origin.from.substr(0, origin.from.find(':'));
    return host.empty() ? std::string() : host + ":" + std::to_string(wire::kPort);
}

}  // namespace

SimDevice::SimDevice(DeviceConfig config, Journal* journal, const SimClock* clock)
    : config_(std::move(config)),
      faults_(config_.faults),
      journal_(journal),
      clock_(clock ? clock : &DefaultSimClock()) {
    state_.address = ParseDottedAddress(config_.ip).value_or(Ipv4Bytes{});
    state_.netmask = config_.netmask;
    state_.gateway = config_.gateway;
    state_.dhcp = config_.dhcp;
    state_.workgroup = config_.workgroup;
    state_.codepage = config_.codepage;
}

void SimDevice::record(nlohmann::json entry) {
    if (journal_) journal_->record(std::move(entry));
}

const AnswerSequence* SimDevice::sequenceOf(std::uint8_t subcode) const {
    const AnswerSequence* sequence = nullptr;
    switch (subcode) {
        case wire::kQueryIdeOk: sequence = &config_.ideOkSequence; break;
        // The codepage that a set request gave outlasts the sequence, restart or not.
        case wire::kQueryCodepage: sequence = state_.codepageSet ? nullptr : &config_.codepageSequence; break;
        case wire::kQueryShareName: sequence = &config_.shareNameSequence; break;
        case wire::kQueryBtFirmware: sequence = &config_.btFirmwareSequence; break;
        default: break;
    }
    return sequence && !sequence->empty() ? sequence : nullptr;
}

std::optional<std::string> SimDevice::queryValue(std::uint8_t subcode) const {
    if (const AnswerSequence* sequence = sequenceOf(subcode)) {
        const auto seen = sequencedQueries_.find(subcode);
        const std::size_t count = seen == sequencedQueries_.end() ? 0 : seen->second;
        return (*sequence)[std::min(count, sequence->size() - 1)];
    }
    switch (subcode) {
        case wire::kQueryVolumes: return JoinVolumes(config_.volumes);
        case wire::kQueryWorkgroup: return state_.workgroup;
        case wire::kQueryCodepage: return state_.codepage;
        case wire::kQueryIdeOk: return config_.ideOk;
        case wire::kQueryShareName: return config_.shareName;
        case wire::kQueryBtFirmware: return config_.btFirmware;
        case wire::kQueryDomain: return config_.domain;
        case wire::kQuerySsl: return config_.ssl;
        default: return std::nullopt;
    }
}

SimAnswer SimDevice::makeAnswer(std::vector<std::uint8_t> bytes) const {
    SimAnswer answer;
    answer.bytes = std::move(bytes);
    answer.toGroup = config_.answerTo == AnswerDestination::kGroup;
    answer.deviceAddress = state_.address;
    return answer;
}

bool SimDevice::restarting() const { return restartEnd_ && clock_->now() < *restartEnd_; }

std::optional<SimTime> SimDevice::nextEventDue() const { return restartEnd_; }

void SimDevice::tick() {
    if (!restartEnd_ || clock_->now() < *restartEnd_) return;
    restartEnd_.reset();
    record({{"dir", "note"}, {"event", "restart_end"}, {"device", config_.name},
            {"silence_ms", config_.restartSilenceMs}, {"ignored_requests", ignoredDuringRestart_}});
}

void SimDevice::beginRestart(std::uint64_t seq, std::uint8_t subcode) {
    restartEnd_ = clock_->now() + std::chrono::milliseconds(config_.restartSilenceMs);
    ++state_.restarts;
    ignoredDuringRestart_ = 0;
    record({{"dir", "note"}, {"event", "restart_begin"}, {"device", config_.name}, {"seq", seq},
            {"sub", subcode}, {"silence_ms", config_.restartSilenceMs}});
}

std::vector<SimAnswer> SimDevice::handle(std::span<const std::uint8_t> request, const RequestOrigin& origin) {
    tick();
    const std::uint64_t seq = ++requestCount_;
    nlohmann::json entry = {{"dir", "in"}, {"device", config_.name}, {"seq", seq},
                            {"len", request.size()}, {"bytes", ToHex(request)}};
    if (!origin.from.empty()) entry["from"] = origin.from;
    if (!origin.interface.empty()) entry["interface"] = origin.interface;

    const RequestParseResult parsed = ParseRequest(request);
    if (!request.empty()) entry["op"] = parsed.request.opcode;
    if (request.size() > wire::kClientIdSize) entry["client_id"] = ToHex(parsed.request.clientId);
    if (parsed.ok && parsed.request.opcode != wire::kOpSearch) {
        entry["sub"] = parsed.request.subcode;
        entry["key"] = ToHex(parsed.request.key);
        if (!std::equal(parsed.request.key.begin(), parsed.request.key.end(), key().begin())) {
            entry["status"] = "not_for_me";
            record(std::move(entry));
            return {};
        }
    }
    if (restarting()) {
        // A restarting device hears nothing of its own: no search, no query, no set.
        entry["status"] = "restarting";
        if (parsed.ok && parsed.request.set) entry["payload"] = parsed.request.set->payload;
        ++ignoredDuringRestart_;
        record(std::move(entry));
        return {};
    }
    if (!parsed.ok) {
        entry["status"] = "ignored";
        entry["reason"] = parsed.error;
        record(std::move(entry));
        return {};
    }

    const bool forKey = parsed.request.opcode != wire::kOpSearch;
    if (forKey && config_.faults.answerLimit >= 0 && answeredForKey_ >= config_.faults.answerLimit) {
        // Fallen silent: the request is heard, nothing of it is applied or answered.
        entry["status"] = "silenced";
        entry["reason"] = "answer_limit " + std::to_string(config_.faults.answerLimit) + " reached";
        record(std::move(entry));
        return {};
    }

    std::optional<Genuine> genuine;
    if (parsed.request.opcode == wire::kOpSearch) {
        entry["status"] = "answered";
        genuine = answerSearch(parsed.request);
    } else {
        genuine = parsed.request.opcode == wire::kOpQuery ? answerQuery(parsed.request, entry)
                                                          : answerSet(parsed.request, entry);
    }
    record(std::move(entry));
    if (!genuine) return {};
    if (forKey) ++answeredForKey_;

    std::vector<SimAnswer> toSend;
    for (auto& injected : faults_.apply(genuine->answer, genuine->search ? &*genuine->search : nullptr)) {
        journalAnswer(injected, seq, origin);
        if (!injected.dropped) toSend.push_back(std::move(injected.answer));
    }
    // The answer leaves first (a lost one too: the device applied the request), then the
    // device goes quiet.
    if (parsed.request.opcode == wire::kOpSet && StartsRestart(parsed.request.subcode) &&
        config_.restartSilenceMs > 0) {
        beginRestart(seq, parsed.request.subcode);
    }
    return toSend;
}

std::optional<SimDevice::Genuine> SimDevice::answerSearch(const ParsedRequest& request) {
    SearchAnswerFields fields;
    fields.form = config_.answerForm;
    fields.clientId = request.clientId;
    fields.key = key();
    fields.dhcpChar = state_.dhcp ? '1' : '0';
    fields.netmask = state_.netmask;
    fields.gateway = state_.gateway;
    fields.matchByte1 = config_.matchByte1;
    fields.matchByte2 = config_.matchByte2;
    fields.model = config_.model;
    fields.name = config_.name;
    return Genuine{makeAnswer(BuildSearchAnswer(fields)), fields};
}

std::optional<SimDevice::Genuine> SimDevice::answerQuery(const ParsedRequest& request, nlohmann::json& entry) {
    if (request.subcode == wire::kQueryLogin) {
        const bool userOk = request.login->user == kAdminUserName;
        const bool passwordOk = userOk && request.login->password == config_.adminPassword;
        entry["user"] = request.login->user;
        entry["password_ok"] = passwordOk;
        entry["status"] = "answered";
        return Genuine{makeAnswer(BuildLoginAnswer(request.clientId, key(), passwordOk ? 1 : 0)), std::nullopt};
    }
    const auto value = queryValue(request.subcode);
    if (const AnswerSequence* sequence = sequenceOf(request.subcode)) {
        std::size_t& count = sequencedQueries_[request.subcode];
        const std::size_t index = std::min(count, sequence->size() - 1);
        if (count < sequence->size()) ++count;  // past the end the last entry stays
        entry["sequence_index"] = index;
        if (!value) {
            entry["status"] = "ignored";
            entry["reason"] = std::string(SequenceFieldName(request.subcode)) + "[" + std::to_string(index) +
                              "] is null: no answer";
            return std::nullopt;
        }
    }
    if (!value) {
        entry["status"] = "ignored";
        entry["reason"] = "unknown query subcode " + std::to_string(request.subcode);
        return std::nullopt;
    }
    entry["status"] = "answered";
    entry["value"] = *value;
    return Genuine{makeAnswer(BuildQueryAnswer(request.clientId, key(), *value)), std::nullopt};
}

bool SimDevice::applyStaticAddress(const SetFields& fields, nlohmann::json& entry) {
    const auto address = ParseDottedAddress(fields.payload);
    if (!address || !IsUsableHostAddress(*address)) {
        entry["reason"] = "payload is not a usable dotted IPv4 address";
        return false;
    }
    if (!fields.netmask.empty() && !ParseDottedAddress(fields.netmask)) {
        entry["reason"] = "netmask is not a dotted IPv4 address";
        return false;
    }
    if (!fields.gateway.empty() && !ParseDottedAddress(fields.gateway)) {
        entry["reason"] = "gateway is not a dotted IPv4 address";
        return false;
    }
    state_.address = *address;
    if (!fields.netmask.empty()) state_.netmask = fields.netmask;
    if (!fields.gateway.empty()) state_.gateway = fields.gateway;
    state_.dhcp = false;
    ++state_.addressChanges;
    return true;
}

std::optional<SimDevice::Genuine> SimDevice::answerSet(const ParsedRequest& request, nlohmann::json& entry) {
    const SetFields& fields = *request.set;
    entry["payload"] = fields.payload;
    entry["netmask"] = fields.netmask;
    entry["gateway"] = fields.gateway;
    switch (request.subcode) {
        case wire::kSetStaticAddress:
            if (!applyStaticAddress(fields, entry)) {
                entry["status"] = "refused";
                entry["applied"] = false;
                return std::nullopt;
            }
            break;
        case wire::kSetDhcp:
            if (!config_.dhcpAddress.empty()) {
                state_.address = ParseDottedAddress(config_.dhcpAddress).value_or(state_.address);
            }
            state_.dhcp = true;
            ++state_.addressChanges;
            break;
        case wire::kSetParam5: state_.param5 = fields.payload; break;
        case wire::kSetWorkgroup: state_.workgroup = fields.payload; break;
        case wire::kSetCodepage:
            state_.codepage = fields.payload;
            state_.codepageSet = true;
            break;
        case wire::kSetAccessMode: state_.accessMode = fields.payload; break;
        case wire::kSetInstallControl: state_.installControl = fields.payload; break;
        case wire::kSetAddOnName: state_.addOnName = fields.payload; break;
        default:
            entry["status"] = "ignored";
            entry["reason"] = "unknown set subcode " + std::to_string(request.subcode);
            return std::nullopt;
    }
    entry["status"] = "answered";
    entry["applied"] = true;
    entry["address_after"] = addressText();
    return Genuine{makeAnswer(BuildSetAnswer(request.clientId, key())), std::nullopt};
}

void SimDevice::journalAnswer(const InjectedAnswer& injected, std::uint64_t seq, const RequestOrigin& origin) {
    const SimAnswer& answer = injected.answer;
    nlohmann::json entry = {{"dir", "out"},
                            {"device", config_.name},
                            {"seq", seq},
                            {"type", answer.bytes.empty() ? 0 : answer.bytes[0]},
                            {"dest", answer.toGroup ? "group" : "unicast"},
                            {"len", answer.bytes.size()},
                            {"delay_ms", answer.delayMs},
                            {"dropped", injected.dropped},
                            {"bytes", ToHex(answer.bytes)}};
    const std::string to = DestinationText(answer, origin);
    if (!to.empty()) entry["to"] = to;
    if (!answer.fault.empty()) entry["fault"] = answer.fault;
    if (answer.bytes.size() > wire::kClientIdSize) {
        entry["client_id"] = ToHex(std::span(answer.bytes).subspan(wire::kClientIdOffset, wire::kClientIdSize));
    }
    if (const auto address = KeyAddressText(answer.bytes)) entry["address"] = *address;
    record(std::move(entry));
}

}  // namespace ofu::devsim
