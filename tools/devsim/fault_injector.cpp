#include "fault_injector.h"

#include <string>

namespace ofu::devsim {

FaultInjector::FaultInjector(const FaultConfig& faults) : faults_(faults), random_(faults.seed) {}

std::uint8_t OtherAnswerType(std::uint8_t type) {
    return type == wire::kAnswerQuery ? wire::kAnswerSet : wire::kAnswerQuery;
}

bool FaultInjector::drawDrop() {
    if (faults_.dropProbability <= 0.0) return false;
    if (faults_.dropProbability >= 1.0) return true;
    // 53 random bits to a double in [0, 1): the same on every standard library.
    const double draw = static_cast<double>(random_() >> 11) * 0x1.0p-53;
    return draw < faults_.dropProbability;
}

std::vector<InjectedAnswer> FaultInjector::apply(const SimAnswer& genuine, const SearchAnswerFields* search) {
    std::vector<SimAnswer> out;
    auto variant = [&](std::vector<std::uint8_t> bytes, std::string fault) {
        SimAnswer answer = genuine;
        answer.bytes = std::move(bytes);
        answer.fault = std::move(fault);
        out.push_back(std::move(answer));
    };

    bool anyMalformed = false;
    for (const MalformedKind kind : faults_.malformed) {
        auto bytes = MakeMalformedAnswer(kind, genuine.bytes, search);
        if (bytes.empty()) continue;
        variant(std::move(bytes), "malformed:" + std::string(MalformedKindName(kind)));
        anyMalformed = true;
    }
    for (int k = 0; k < faults_.foreignClientAnswers; ++k) {
        auto bytes = genuine.bytes;
        // XOR with a non-zero value changes every ClientId byte.
        const auto mask = static_cast<std::uint8_t>(0xFF - k);
        for (std::size_t i = 0; i < wire::kClientIdSize && wire::kClientIdOffset + i < bytes.size(); ++i) {
            bytes[wire::kClientIdOffset + i] ^= mask;
        }
        variant(std::move(bytes), "foreign_client");
    }
    for (int k = 0; k < faults_.otherTypeAnswers && !genuine.bytes.empty(); ++k) {
        auto bytes = genuine.bytes;
        bytes[0] = OtherAnswerType(bytes[0]);
        variant(std::move(bytes), "other_type");
    }
    if (!(anyMalformed && faults_.malformedReplacesAnswer)) {
        out.push_back(genuine);
        for (int k = 0; k < faults_.duplicates; ++k) variant(genuine.bytes, "duplicate");
    }

    std::vector<InjectedAnswer> result;
    result.reserve(out.size());
    for (auto& answer : out) {
        answer.delayMs = faults_.delayMs;
        const bool dropped = drawDrop();
        result.push_back(InjectedAnswer{std::move(answer), dropped});
    }
    return result;
}

}  // namespace ofu::devsim
