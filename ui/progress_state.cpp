#include "ui/progress_state.h"

#include <algorithm>

namespace ofu::ui {

void ProgressState::SetRange(int low, int high) {
    low_ = low;
    high_ = std::max(low, high);
    pos_ = std::clamp(pos_, low_, high_);
}

int ProgressState::SetStep(int step) {
    const int previous = step_;
    step_ = step;
    return previous;
}

int ProgressState::StepIt() {
    const int previous = pos_;
    const long long span = static_cast<long long>(high_) - low_;
    long long next = static_cast<long long>(pos_) + step_;
    if (span == 0) {
        next = low_;
    } else if (next > high_) {
        // Carry the overshoot into a new round from the low end.
        next = low_ + (next - high_) % span;
    } else if (next < low_) {
        next = high_ - (low_ - next) % span;
    }
    pos_ = static_cast<int>(next);
    return previous;
}

int ProgressState::SetPos(int position) {
    const int previous = pos_;
    pos_ = std::clamp(position, low_, high_);
    return previous;
}

}  // namespace ofu::ui
