// One simulated storage device: its configuration, its changing state, and how it answers
// each request datagram. No sockets here: the caller delivers requests and sends answers,
// so tests can host devices in memory.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "answer_builders.h"
#include "device_config.h"
#include "fault_injector.h"
#include "journal.h"
#include "request_parser.h"
#include "sim_answer.h"
#include "sim_clock.h"

namespace ofu::devsim {

// What the caller knows about where a request came from; only journalled.
struct RequestOrigin {
    std::string from;       // requester address, "10.77.1.1:40000"
    std::string interface;  // arrival interface name
};

// What set requests change or record.
struct DeviceState {
    Ipv4Bytes address{};
    std::string netmask;
    std::string gateway;
    bool dhcp = false;
    std::string workgroup;
    std::string codepage;
    std::string accessMode;      // set subcode 10
    std::string installControl;  // set subcode 13
    std::string addOnName;       // set subcode 14
    std::string param5;          // set subcode 5
    int addressChanges = 0;      // applied static and DHCP changes
    bool codepageSet = false;    // a set request gave the codepage: it answers, not codepage_sequence
    int restarts = 0;            // restart silences begun
};

class SimDevice {
public:
    // The configuration should have passed ValidateDeviceConfig; an ip that does not parse
    // gives the address 0.0.0.0. The journal and the clock, if any, must outlive the device;
    // without a clock it reads the steady clock.
    explicit SimDevice(DeviceConfig config, Journal* journal = nullptr, const SimClock* clock = nullptr);

    // The datagrams to send for one received request, in sending order (lost ones are
    // journalled, not returned). Requests that do not parse, that name another device's
    // key, or that carry unknown subcodes or invalid values get no answer, and neither does
    // any request during a restart silence.
    std::vector<SimAnswer> handle(std::span<const std::uint8_t> request, const RequestOrigin& origin = {});

    // When the device next changes by itself (the end of a restart silence); nullopt when
    // nothing is pending. A server calls tick() once that time has come.
    std::optional<SimTime> nextEventDue() const;
    // Journals what has become due by now: the end of a restart silence. handle() does this
    // first itself.
    void tick();
    bool restarting() const;

    const DeviceConfig& config() const { return config_; }
    const DeviceState& state() const { return state_; }
    DeviceKeyBytes key() const { return MakeDeviceKey(config_.deviceId, state_.address); }
    std::string addressText() const { return FormatDottedAddress(state_.address); }

    // The value the next query of this subcode answers with; nullopt for login, unknown
    // subcodes and a null entry of an answer sequence.
    std::optional<std::string> queryValue(std::uint8_t subcode) const;

private:
    struct Genuine {
        SimAnswer answer;
        std::optional<SearchAnswerFields> search;
    };

    std::optional<Genuine> answerSearch(const ParsedRequest& request);
    std::optional<Genuine> answerQuery(const ParsedRequest& request, nlohmann::json& entry);
    std::optional<Genuine> answerSet(const ParsedRequest& request, nlohmann::json& entry);
    bool applyStaticAddress(const SetFields& fields, nlohmann::json& entry);
    // The answer sequence that drives queries of this subcode now, or nullptr.
    const AnswerSequence* sequenceOf(std::uint8_t subcode) const;
    void beginRestart(std::uint64_t seq, std::uint8_t subcode);
    SimAnswer makeAnswer(std::vector<std::uint8_t> bytes) const;
    void journalAnswer(const InjectedAnswer& injected, std::uint64_t seq, const RequestOrigin& origin);
    void record(nlohmann::json entry);

    DeviceConfig config_;
    DeviceState state_;
    FaultInjector faults_;
    Journal* journal_;
    const SimClock* clock_;
    std::uint64_t requestCount_ = 0;
    std::map<std::uint8_t, std::size_t> sequencedQueries_;  // queries of each sequenced subcode so far
    std::optional<SimTime> restartEnd_;                     // while a restart silence lasts
    int ignoredDuringRestart_ = 0;
    int answeredForKey_ = 0;  // queries and sets answered, against faults.answer_limit
};

}  // namespace ofu::devsim
