#include "answer_schedule.h"

namespace ofu::devsim {

void AnswerSchedule::add(ScheduledAnswer answer) {
    answer.order = nextOrder_++;
    queue_.push(std::move(answer));
}

std::optional<SteadyTime> AnswerSchedule::nextDue() const {
    if (queue_.empty()) return std::nullopt;
    return queue_.top().due;
}

std::vector<ScheduledAnswer> AnswerSchedule::takeDue(SteadyTime now) {
    std::vector<ScheduledAnswer> due;
    while (!queue_.empty() && queue_.top().due <= now) {
        due.push_back(queue_.top());
        queue_.pop();
    }
    return due;
}

}  // namespace ofu::devsim
