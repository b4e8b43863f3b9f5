// Turns one genuine answer into the datagrams a faulty device sends: broken variants,
// noise, duplicates, losses and delay, as the device's FaultConfig says.
#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <vector>

#include "answer_builders.h"
#include "device_config.h"
#include "sim_answer.h"

namespace ofu::devsim {

struct InjectedAnswer {
    SimAnswer answer;
    bool dropped = false;  // lost on the way: reported, never sent
};

class FaultInjector {
public:
    explicit FaultInjector(const FaultConfig& faults);

    // Order: broken variants, foreign-ClientId copies, other-type copies, the genuine answer
    // (unless the broken variants replace it), then the duplicates. `search` carries the
    // fields of a search answer so that its broken variants can be rebuilt.
    std::vector<InjectedAnswer> apply(const SimAnswer& genuine, const SearchAnswerFields* search);

private:
    bool drawDrop();

    FaultConfig faults_;
    std::mt19937_64 random_;
};

// The answer type that a noise copy of an answer of `type` carries: one the waiting
// utility does not expect at that moment.
std::uint8_t OtherAnswerType(std::uint8_t type);

}  // namespace ofu::devsim
