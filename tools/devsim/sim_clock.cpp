#include "sim_clock.h"

namespace ofu::devsim {

const SimClock& DefaultSimClock() {
    static const SteadySimClock clock;
    return clock;
}

}  // namespace ofu::devsim
